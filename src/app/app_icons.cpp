// SPDX-License-Identifier: MIT

#include "app/app_icons.h"

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

QIcon applicationIcon() {
  QIcon icon;
  for (const int size : {16, 32, 48, 64})
    icon.addFile(QString(":/icons/zrdorvel-%1.png").arg(size), QSize(size, size));
  return icon;
}

} // namespace zr
