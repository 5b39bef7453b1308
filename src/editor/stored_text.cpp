// SPDX-License-Identifier: MIT

#include "editor/stored_text.h"

namespace zr {

namespace {

bool isLineBreak(QChar c) {
  return c == u'\r' || c == u'\n' || c == QChar::LineSeparator || c == QChar::ParagraphSeparator;
}

bool isUnstorable(QChar c) {
  return c == u'\0' || c == u'\x1A';
}

} // namespace

QString toSingleLine(const QString& text) {
  QString result;
  result.reserve(text.size());
  for (qsizetype i = 0; i < text.size(); ++i) {
    const QChar c = text[i];
    if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
      continue;
    if (isLineBreak(c))
      result += u' ';
    else if (!isUnstorable(c))
      result += c;
  }
  return result;
}

QString toStorableLine(const QString& text) {
  QString result = text;
  result.removeIf([](QChar c) { return isLineBreak(c) || isUnstorable(c); });
  return result;
}

QValidator::State SingleLineValidator::validate(QString& input, int& position) const {
  const QString cleaned = toSingleLine(input);
  if (cleaned != input) {
    position = static_cast<int>(toSingleLine(input.left(position)).size());
    input = cleaned;
  }
  return Acceptable;
}

std::string toStoredText(const QString& shown, const std::string& original) {
  return shown == toShownText(original) ? original : toStoredText(shown);
}

QStringList toShownLines(const std::vector<std::string>& stored) {
  QStringList lines;
  lines.reserve(static_cast<qsizetype>(stored.size()));
  for (const std::string& line : stored)
    lines.append(toShownText(line));
  return lines;
}

std::vector<std::string> toStoredLines(const QStringList& shown,
                                       const std::vector<std::string>& original) {
  if (shown == toShownLines(original))
    return original;
  std::vector<std::string> lines;
  lines.reserve(static_cast<std::size_t>(shown.size()));
  for (const QString& line : shown)
    lines.push_back(toStoredText(line));
  return lines;
}

} // namespace zr
