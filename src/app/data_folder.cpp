// SPDX-License-Identifier: MIT

#include "app/data_folder.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace zr {

namespace {

QString withTrailingSlash(QString folder) {
  if (!folder.endsWith('/'))
    folder += '/';
  return folder;
}

// A program installed under <prefix>/bin finds its shared files in
// <prefix>/share/zrdorvel; such a folder is the system's, even for root.
bool isInstalledProgram(const QString& programFolder) {
  return QFileInfo(withTrailingSlash(programFolder) + "../share/zrdorvel").isDir();
}

} // namespace

QString chooseDataFolder(const QString& programFolder, const QString& userDataFolder) {
  const QFileInfo program(programFolder);
  if (program.isDir() && program.isWritable() && !isInstalledProgram(programFolder))
    return withTrailingSlash(programFolder);
  QDir().mkpath(userDataFolder);
  return withTrailingSlash(userDataFolder);
}

QString userDataFolder() {
  return withTrailingSlash(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
}

} // namespace zr
