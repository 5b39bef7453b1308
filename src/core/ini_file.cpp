// SPDX-License-Identifier: MIT

#include "core/ini_file.h"

#include "core/ascii_text.h"
#include "core/file_io.h"

#include <filesystem>
#include <optional>

namespace zr {
namespace {

constexpr std::string_view kLineEnd = "\r\n";

// The line without its line end.
std::string_view content(const std::string& line) {
  std::string_view text = line;
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
    text.remove_suffix(1);
  return text;
}

bool hasLineEnd(const std::string& line) {
  return !line.empty() && line.back() == '\n';
}

// The name of a "[Section]" line, or nothing for any other line.
std::optional<std::string_view> sectionName(const std::string& line) {
  const auto text = trimBlanks(content(line));
  if (text.empty() || text.front() != '[')
    return std::nullopt;
  const auto close = text.find(']');
  return trimBlanks(
      text.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1));
}

// The key of a "key=value" line, or nothing for comments and other lines.
std::optional<std::string_view> keyName(const std::string& line) {
  const auto text = content(line);
  const auto trimmed = trimBlanks(text);
  if (trimmed.empty() || trimmed.front() == ';')
    return std::nullopt;
  const auto equals = text.find('=');
  if (equals == std::string_view::npos)
    return std::nullopt;
  return trimBlanks(text.substr(0, equals));
}

std::string_view valueOf(const std::string& line) {
  const auto text = content(line);
  auto value = trimBlanks(text.substr(text.find('=') + 1));
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front())
    value = value.substr(1, value.size() - 2);
  return value;
}

// Whether the text is an integer equal to zero; nothing when it is no integer.
std::optional<bool> isZeroInteger(std::string_view text) {
  if (!text.empty() && (text.front() == '-' || text.front() == '+'))
    text.remove_prefix(1);
  bool hexadecimal = false;
  if (text.starts_with('$')) {
    hexadecimal = true;
    text.remove_prefix(1);
  } else if (text.starts_with("0x") || text.starts_with("0X")) {
    hexadecimal = true;
    text.remove_prefix(2);
  }
  if (text.empty())
    return std::nullopt;
  bool zero = true;
  for (const char c : text) {
    const bool digit = (c >= '0' && c <= '9') ||
                       (hexadecimal && ((c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F')));
    if (!digit)
      return std::nullopt;
    zero = zero && c == '0';
  }
  return zero;
}

std::string displayPath(const std::string& path) {
  std::error_code error;
  const auto absolute = std::filesystem::absolute(path, error);
  return error ? path : absolute.string();
}

} // namespace

IniFile::IniFile(std::string path) : path_(std::move(path)) {
  const std::string data = readDataFile(path_).value_or(std::string());
  std::size_t start = 0;
  while (start < data.size()) {
    const auto end = data.find('\n', start);
    const auto next = end == std::string::npos ? data.size() : end + 1;
    lines_.push_back(data.substr(start, next - start));
    start = next;
  }
}

bool IniFile::locate(std::string_view section, std::string_view key, Position& position) const {
  std::size_t line = 0;
  while (line < lines_.size() && !(sectionName(lines_[line]) &&
                                   equalsIgnoringAsciiCase(*sectionName(lines_[line]), section)))
    ++line;
  if (line == lines_.size())
    return false;
  position = {line, lines_.size(), line + 1};
  for (++line; line < lines_.size() && !sectionName(lines_[line]); ++line) {
    const auto name = keyName(lines_[line]);
    if (!name)
      continue;
    position.sectionEnd = line + 1;
    if (position.keyLine == lines_.size() && equalsIgnoringAsciiCase(*name, key))
      position.keyLine = line;
  }
  return true;
}

bool IniFile::readBool(std::string_view section, std::string_view key, bool defaultValue) const {
  Position position{};
  if (!locate(section, key, position) || position.keyLine == lines_.size())
    return defaultValue;
  const auto zero = isZeroInteger(valueOf(lines_[position.keyLine]));
  return zero ? !*zero : defaultValue;
}

void IniFile::writeBool(std::string_view section, std::string_view key, bool value) {
  setValue(section, key, value ? "1" : "0");
}

void IniFile::setValue(std::string_view section, std::string_view key, const std::string& value) {
  Position position{};
  if (!locate(section, key, position)) {
    appendLine(std::string(1, '[').append(section).append("]"));
    appendLine(std::string(key) + "=" + value);
    return;
  }
  if (position.keyLine != lines_.size()) {
    std::string& line = lines_[position.keyLine];
    const auto text = content(line);
    const std::string ending = line.substr(text.size());
    line = std::string(text.substr(0, text.find('=') + 1)) + value + ending;
    return;
  }
  std::string& previous = lines_[position.sectionEnd - 1];
  if (!hasLineEnd(previous))
    previous += kLineEnd;
  lines_.insert(lines_.begin() + std::ptrdiff_t(position.sectionEnd),
                std::string(key) + "=" + value + std::string(kLineEnd));
}

void IniFile::appendLine(std::string text) {
  if (!lines_.empty() && !hasLineEnd(lines_.back()))
    lines_.back() += kLineEnd;
  lines_.push_back(std::move(text) + std::string(kLineEnd));
}

void IniFile::save() const {
  std::string data;
  for (const auto& line : lines_)
    data += line;
  replaceFileContent(displayPath(path_), data);
}

} // namespace zr
