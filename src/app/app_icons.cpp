// SPDX-License-Identifier: MIT

#include "app/app_icons.h"

#include <QDir>
#include <QFileInfo>

namespace zr {

QIcon actionIcon(ActionImage image) {
  switch (image) {
  case ActionImage::Save:
    return QIcon(":/icons/save.png");
  case ActionImage::ShutDown:
    return QIcon(":/icons/shut_down.png");
  case ActionImage::Add:
    return QIcon(":/icons/add.png");
  case ActionImage::Duplicate:
    return QIcon(":/icons/duplicate.png");
  case ActionImage::Delete:
    return QIcon(":/icons/delete.png");
  case ActionImage::Options:
    return QIcon(":/icons/options.png");
  case ActionImage::Help:
    return QIcon(":/icons/help.png");
  }
  return {};
}

namespace {

const QString kThemeIconName = QStringLiteral("zrdorvel");

// Every size drawn by hand; Qt scales the nearest larger one to other sizes.
QIcon builtInApplicationIcon() {
  QIcon icon;
  for (const int size : {16, 32, 48, 64})
    icon.addFile(QString(":/icons/zrdorvel-%1.png").arg(size), QSize(size, size));
  icon.addFile(QStringLiteral(":/icons/hicolor/256x256/apps/zrdorvel.png"), QSize(256, 256));
  return icon;
}

} // namespace

QIcon applicationIcon(const QString& programFolder) {
  const QString iconThemes = QDir::cleanPath(programFolder + QStringLiteral("/../share/icons"));
  if (QFileInfo(iconThemes + QStringLiteral("/hicolor/scalable/apps/zrdorvel.svg")).isFile()) {
    QStringList searchPaths = QIcon::themeSearchPaths();
    if (!searchPaths.contains(iconThemes)) {
      searchPaths.prepend(iconThemes);
      QIcon::setThemeSearchPaths(searchPaths);
    }
    const QIcon themed = QIcon::fromTheme(kThemeIconName);
    if (!themed.isNull())
      return themed;
  }
  return builtInApplicationIcon();
}

} // namespace zr
