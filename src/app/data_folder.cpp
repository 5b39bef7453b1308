// SPDX-License-Identifier: MIT

#include "app/data_folder.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

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

// Whether files can be made in the folder. On Windows a folder's attributes say nothing
// about that (a per-user install is writable, one under Program Files is not), so a
// file is made there and removed again.
bool isWritableFolder(const QFileInfo& folder) {
  if (!folder.isDir())
    return false;
#ifdef Q_OS_WIN
  QTemporaryFile probe(folder.absoluteFilePath() + QStringLiteral("/ZRDorvel-XXXXXX.tmp"));
  return probe.open();
#else
  return folder.isWritable();
#endif
}

} // namespace

QString chooseDataFolder(const QString& programFolder, const QString& userDataFolder) {
  const QFileInfo program(programFolder);
  if (isWritableFolder(program) && !isInstalledProgram(programFolder))
    return withTrailingSlash(programFolder);
  QDir().mkpath(userDataFolder);
  return withTrailingSlash(userDataFolder);
}

QString userDataFolder() {
  return withTrailingSlash(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
}

} // namespace zr
