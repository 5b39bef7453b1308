// SPDX-License-Identifier: MIT

#include "core/update_info.h"

namespace zr {
namespace {

std::string upperCaseAscii(std::string_view text) {
  std::string result(text);
  for (char& c : result)
    if (c >= 'a' && c <= 'z')
      c = static_cast<char>(c - 'a' + 'A');
  return result;
}

std::vector<std::string_view> splitLines(std::string_view text) {
  text = text.substr(0, text.find('\0'));
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) {
      lines.push_back(text.substr(start));
      break;
    }
    lines.push_back(text.substr(start, end - start));
    start = end + 1;
    if (text[end] == '\r' && start < text.size() && text[start] == '\n')
      ++start;
  }
  return lines;
}

bool isSectionHeader(std::string_view line) {
  return !line.empty() && line.front() == '[' && line.back() == ']';
}

bool isBlankOrControl(char c) {
  return static_cast<unsigned char>(c) <= 32;
}

std::string_view trimControls(std::string_view text) {
  while (!text.empty() && isBlankOrControl(text.front()))
    text.remove_prefix(1);
  while (!text.empty() && isBlankOrControl(text.back()))
    text.remove_suffix(1);
  return text;
}

} // namespace

UpdateInfo readUpdateInfo(std::string_view text) {
  UpdateInfo info;
  std::string section;
  for (std::string_view line : splitLines(text)) {
    if (isSectionHeader(line)) {
      section = upperCaseAscii(line);
    } else if (section == "[VERSION]") {
      if (!line.empty())
        info.version = line;
    } else if (section == "[FILES]") {
      if (!line.empty())
        info.files.emplace_back(line);
    } else if (section == "[NOTES]") {
      info.notes.emplace_back(line);
    }
  }
  return info;
}

bool isUpdateOnOffer(std::string_view currentVersion, std::string_view offeredVersion) {
  const std::string current = upperCaseAscii(currentVersion);
  const std::string offered = upperCaseAscii(offeredVersion);
  return trimControls(current) != trimControls(offered);
}

} // namespace zr
