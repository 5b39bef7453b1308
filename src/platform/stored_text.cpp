// SPDX-License-Identifier: MIT

#include "platform/stored_text.h"

#include <QFile>

namespace zr {

QString toShownText(std::string_view stored) {
  return QString::fromUtf8(stored.data(), static_cast<qsizetype>(stored.size()));
}

std::string toStoredText(const QString& shown) {
  return shown.toStdString();
}

// The core opens byte-string paths: on Windows UTF-8, which its file calls turn into
// the system's UTF-16; elsewhere the file system's own encoding.
std::string toNativePath(const QString& path) {
#ifdef Q_OS_WIN
  return path.toStdString();
#else
  return QFile::encodeName(path).toStdString();
#endif
}

QString fromNativePath(std::string_view path) {
#ifdef Q_OS_WIN
  return QString::fromUtf8(path.data(), static_cast<qsizetype>(path.size()));
#else
  return QFile::decodeName(QByteArray(path.data(), static_cast<qsizetype>(path.size())));
#endif
}

} // namespace zr
