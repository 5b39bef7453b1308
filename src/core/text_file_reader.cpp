// SPDX-License-Identifier: MIT

#include "core/text_file_reader.h"

#include "core/error.h"

#include <charconv>
#include <limits>
#include <optional>

namespace zr {
namespace {

constexpr char kEndOfText = '\x1A';
constexpr const char* kInvalidNumericInput = "Invalid numeric input";

bool isDigit(char c) {
  return c >= '0' && c <= '9';
}
bool isBlankOrControl(char c) {
  return static_cast<unsigned char>(c) <= 32;
}

// Optional sign and decimal digits, nothing else; empty when that does not fit 32 bits.
std::optional<std::int32_t> parseInteger(std::string_view text) {
  std::size_t position = 0;
  bool negative = false;
  if (position < text.size() && (text[position] == '+' || text[position] == '-'))
    negative = text[position++] == '-';
  if (position == text.size())
    return std::nullopt;
  std::int64_t value = 0;
  for (; position < text.size(); ++position) {
    if (!isDigit(text[position]))
      return std::nullopt;
    value = value * 10 + (text[position] - '0');
    if (value > std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1)
      return std::nullopt;
  }
  value = negative ? -value : value;
  if (value > std::numeric_limits<std::int32_t>::max())
    return std::nullopt;
  return static_cast<std::int32_t>(value);
}

// [sign] digits [. digits] [E [sign] digits], with at least one mantissa digit.
bool isDecimalNumber(std::string_view text) {
  std::size_t position = 0;
  auto digits = [&] {
    const std::size_t start = position;
    while (position < text.size() && isDigit(text[position]))
      ++position;
    return position - start;
  };
  if (position < text.size() && (text[position] == '+' || text[position] == '-'))
    ++position;
  std::size_t mantissaDigits = digits();
  if (position < text.size() && text[position] == '.') {
    ++position;
    mantissaDigits += digits();
  }
  if (mantissaDigits == 0)
    return false;
  if (position < text.size() && (text[position] == 'E' || text[position] == 'e')) {
    ++position;
    if (position < text.size() && (text[position] == '+' || text[position] == '-'))
      ++position;
    if (digits() == 0)
      return false;
  }
  return position == text.size();
}

} // namespace

TextFileReader::TextFileReader(std::string_view content)
    : content_(content.substr(0, content.find(kEndOfText))) {}

std::string_view TextFileReader::readLine() {
  const std::size_t start = position_;
  std::size_t end = start;
  while (end < content_.size() && content_[end] != '\r' && content_[end] != '\n')
    ++end;
  const std::size_t lineFeed = content_.find('\n', end);
  position_ = lineFeed == std::string_view::npos ? content_.size() : lineFeed + 1;
  lastLine_ = line_;
  if (lineFeed != std::string_view::npos)
    ++line_;
  return content_.substr(start, end - start);
}

std::string_view TextFileReader::readToken() {
  while (position_ < content_.size() && isBlankOrControl(content_[position_])) {
    if (content_[position_] == '\n')
      ++line_;
    ++position_;
  }
  const std::size_t start = position_;
  while (position_ < content_.size() && !isBlankOrControl(content_[position_]))
    ++position_;
  const std::string_view token = content_.substr(start, position_ - start);
  readLine();
  return token;
}

std::int32_t TextFileReader::readInteger() {
  const std::string_view token = readToken();
  if (token.empty())
    return 0;
  const std::optional<std::int32_t> value = parseInteger(token);
  if (!value)
    throw Error(kInvalidNumericInput);
  return *value;
}

double TextFileReader::readFloat() {
  std::string_view token = readToken();
  if (token.empty())
    return 0;
  if (!isDecimalNumber(token))
    throw Error(kInvalidNumericInput);
  if (token.front() == '+')
    token.remove_prefix(1);
  double value = 0;
  const auto result = std::from_chars(token.data(), token.data() + token.size(), value);
  if (result.ec != std::errc{})
    throw Error(kInvalidNumericInput);
  return value;
}

std::string invalidIntegerText(std::string_view line) {
  return std::string(1, '\'').append(line).append("' is not a valid integer value");
}

std::string locatedErrorText(int line, int reminder, std::string_view text) {
  std::string located = "line " + std::to_string(line);
  if (reminder > 0)
    located.append(", reminder ").append(std::to_string(reminder));
  return located.append(": ").append(text);
}

std::int32_t readCount(TextFileReader& reader) {
  try {
    return reader.readInteger();
  } catch (const Error& error) {
    throw Error(locatedErrorText(reader.lastLine(), 0, error.what()));
  }
}

std::int32_t lineToInteger(std::string_view line) {
  std::string_view text = line;
  while (!text.empty() && text.front() == ' ')
    text.remove_prefix(1);
  const std::optional<std::int32_t> value = parseInteger(text);
  if (!value)
    throw Error(invalidIntegerText(line));
  return *value;
}

} // namespace zr
