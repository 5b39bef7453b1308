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

std::string toNativePath(const QString& path) {
  return QFile::encodeName(path).toStdString();
}

QString fromNativePath(std::string_view path) {
  return QFile::decodeName(QByteArray(path.data(), static_cast<qsizetype>(path.size())));
}

} // namespace zr
