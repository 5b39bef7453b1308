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

} // namespace

QString chooseDataFolder(const QString& programFolder, const QString& userDataFolder) {
  const QFileInfo program(programFolder);
  if (program.isDir() && program.isWritable())
    return withTrailingSlash(programFolder);
  QDir().mkpath(userDataFolder);
  return withTrailingSlash(userDataFolder);
}

QString userDataFolder() {
  return withTrailingSlash(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
}

} // namespace zr
