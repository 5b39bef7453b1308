// SPDX-License-Identifier: MIT

#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace zr {

// Reads a text file held in memory the way the reminders files are read: lines
// end with CR LF or a bare LF, a Ctrl+Z byte ends the readable text, and past
// the end every line reads as empty and every number as 0.
class TextFileReader {
public:
  explicit TextFileReader(std::string_view content);

  bool atEnd() const { return position_ >= content_.size(); }
  // The number (from 1) of the line that held the last line or number read; past
  // the end, the number of the line after the last one.
  int lastLine() const { return lastLine_; }
  // The rest of the current line, then moves to the start of the next one.
  std::string_view readLine();
  // The next token after blanks, tabs and line ends, up to the first character
  // of code 32 or below, as a 32-bit integer; the rest of its line is skipped.
  // Throws "Invalid numeric input" when the token is not a number.
  std::int32_t readInteger();
  // The same for a decimal floating-point number ("." as the decimal point).
  double readFloat();

private:
  std::string_view readToken();

  std::string_view content_;
  std::size_t position_ = 0;
  int line_ = 1; // the line that position_ is on
  int lastLine_ = 0;
};

// A line converted to an integer as a whole (leading blanks allowed); throws
// "'<line>' is not a valid integer value" when it is not one.
std::int32_t lineToInteger(std::string_view line);

std::string invalidIntegerText(std::string_view line);

// The count of records: the next number, its errors saying on which line.
std::int32_t readCount(TextFileReader& reader);

// An error text with the place it was met put in front: "line 57, reminder 4: <text>",
// or "line 3: <text>" when the line belongs to no reminder (reminder 0).
std::string locatedErrorText(int line, int reminder, std::string_view text);

} // namespace zr
