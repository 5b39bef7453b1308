// SPDX-License-Identifier: MIT

#pragma once

#include "platform/stored_text.h"

#include <QString>
#include <QStringList>
#include <QValidator>
#include <string>
#include <vector>

namespace zr {

// Texts end up as lines of the reminders file, so none may carry a line break,
// a NUL or the byte 1A (end of file for some readers).

// Line breaks (CR LF counting as one) become blanks; NUL and 1A are removed.
QString toSingleLine(const QString& text);

// Removes line breaks, NUL and 1A. For text that is already one display line.
QString toStorableLine(const QString& text);

// Keeps a line edit to one storable line: pasted or assigned text is cleaned
// with toSingleLine, so nothing is ever refused.
class SingleLineValidator final : public QValidator {
public:
  using QValidator::QValidator;
  State validate(QString& input, int& position) const override;
};

// The stored form of an edited text (see platform/stored_text.h). A text the
// user left as it was shown keeps its original bytes, so bytes that are no
// valid UTF-8 (an older file, a file name) survive an edit of other fields.
std::string toStoredText(const QString& shown, const std::string& original);

QStringList toShownLines(const std::vector<std::string>& stored);
std::vector<std::string> toStoredLines(const QStringList& shown,
                                       const std::vector<std::string>& original);

} // namespace zr
