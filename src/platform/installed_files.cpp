// SPDX-License-Identifier: MIT

#include "platform/installed_files.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace zr {

QString findInstalledFile(const QString& name) {
  return findInstalledFile(QCoreApplication::applicationDirPath(), name);
}

QString findInstalledFile(const QString& programFolder, const QString& name) {
  const QDir folder(programFolder);
  const QString besideProgram = folder.filePath(name);
  if (QFileInfo(besideProgram).isFile())
    return besideProgram;
  const QString shared = QDir::cleanPath(folder.filePath("../share/zrdorvel/" + name));
  if (QFileInfo(shared).isFile())
    return shared;
  return besideProgram;
}

} // namespace zr
