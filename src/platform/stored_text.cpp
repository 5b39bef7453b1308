// SPDX-License-Identifier: MIT

#include "platform/stored_text.h"

namespace zr {

QString toShownText(std::string_view stored) {
  return QString::fromUtf8(stored.data(), static_cast<qsizetype>(stored.size()));
}

std::string toStoredText(const QString& shown) {
  return shown.toStdString();
}

} // namespace zr
