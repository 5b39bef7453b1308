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

QString toWindowTitle(const QString& text) {
  QString title;
  title.reserve(text.size());
  for (const char32_t code : text.toUcs4()) {
    switch (QChar::category(code)) {
    case QChar::Other_Control:
    case QChar::Other_Format:
    case QChar::Other_Surrogate:
    case QChar::Other_PrivateUse:
    case QChar::Other_NotAssigned:
    case QChar::Separator_Line:
    case QChar::Separator_Paragraph:
      title += code == U'\t' || code == U'\n' || code == U'\r' || code == 0x2028 || code == 0x2029
                   ? QChar(u' ')
                   : QChar(QChar::ReplacementCharacter);
      break;
    default:
      title += QString::fromUcs4(&code, 1);
    }
  }
  return title;
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
