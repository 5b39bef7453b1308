// SPDX-License-Identifier: MIT

#include "platform/help_viewer.h"

#include "core/error.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>

namespace zr {

void openHelp(const QString& helpFile, const QString& section) {
  if (!QFileInfo::exists(helpFile))
    throw Error("Cannot find the help file " + helpFile.toStdString());
  QUrl url = QUrl::fromLocalFile(helpFile);
  url.setFragment(section);
  if (!QDesktopServices::openUrl(url))
    throw Error("Cannot open the help file " + helpFile.toStdString());
}

} // namespace zr
