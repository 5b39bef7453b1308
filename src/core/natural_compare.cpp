// SPDX-License-Identifier: MIT

#include "core/natural_compare.h"

#include "core/ascii_text.h"

#include <cstddef>

namespace zr {
namespace {

bool isDigit(char c) {
  return c >= '0' && c <= '9';
}

// The digit run starting at `position`, without its leading zeros; moves past the run.
std::string_view digitRun(std::string_view text, std::size_t& position) {
  while (position < text.size() && text[position] == '0')
    ++position;
  const std::size_t start = position;
  while (position < text.size() && isDigit(text[position]))
    ++position;
  return text.substr(start, position - start);
}

} // namespace

int naturalCompare(std::string_view left, std::string_view right) {
  std::size_t i = 0;
  std::size_t j = 0;
  while (i < left.size() && j < right.size()) {
    if (isDigit(left[i]) && isDigit(right[j])) {
      const std::string_view a = digitRun(left, i);
      const std::string_view b = digitRun(right, j);
      if (a.size() != b.size())
        return a.size() < b.size() ? -1 : 1;
      if (const int order = a.compare(b); order != 0)
        return order < 0 ? -1 : 1;
      continue;
    }
    const unsigned char a = static_cast<unsigned char>(toLowerAscii(left[i++]));
    const unsigned char b = static_cast<unsigned char>(toLowerAscii(right[j++]));
    if (a != b)
      return a < b ? -1 : 1;
  }
  if (i < left.size())
    return 1;
  return j < right.size() ? -1 : 0;
}

} // namespace zr
