// SPDX-License-Identifier: MIT

#include "platform/detached_process.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>

namespace zr {

bool startDetachedProgram(const QString& path) {
  const QFileInfo file(path);
  if (!file.isFile())
    return false;
  QFile::setPermissions(path, QFile::permissions(path) | QFile::ExeOwner | QFile::ExeUser);
  return QProcess::startDetached(file.absoluteFilePath(), {}, file.absolutePath());
}

} // namespace zr
