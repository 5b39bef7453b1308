// SPDX-License-Identifier: MIT

#include "core/unicode_text.h"

#include <algorithm>
#include <iterator>

namespace zr {
namespace {

struct Range {
  char32_t first;
  char32_t last;
};

// Controls, format characters (Unicode category Cf), the line and paragraph
// separators, surrogates and private-use areas, in order.
constexpr Range kUnprintable[] = {
    {0x0000, 0x001F},    {0x007F, 0x009F},   {0x00AD, 0x00AD},   {0x0600, 0x0605},
    {0x061C, 0x061C},    {0x06DD, 0x06DD},   {0x070F, 0x070F},   {0x0890, 0x0891},
    {0x08E2, 0x08E2},    {0x180E, 0x180E},   {0x200B, 0x200F},   {0x2028, 0x202E},
    {0x2060, 0x206F},    {0xD800, 0xF8FF},   {0xFDD0, 0xFDEF},   {0xFEFF, 0xFEFF},
    {0xFFF9, 0xFFFB},    {0x110BD, 0x110BD}, {0x110CD, 0x110CD}, {0x13430, 0x1343F},
    {0x1BCA0, 0x1BCA3},  {0x1D173, 0x1D17A}, {0xE0001, 0xE0001}, {0xE0020, 0xE007F},
    {0xF0000, 0x10FFFF},
};

bool isContinuation(char c) {
  return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

} // namespace

CodePoint readCodePoint(std::string_view text, std::size_t at) {
  const auto lead = static_cast<unsigned char>(text[at]);
  CodePoint point{lead, 1, lead < 0x80};
  if (point.valid)
    return point;
  std::size_t length = 0;
  char32_t value = 0;
  char32_t smallest = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
    value = lead & 0x1F;
    smallest = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    value = lead & 0x0F;
    smallest = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    value = lead & 0x07;
    smallest = 0x10000;
  } else {
    return point;
  }
  if (text.size() - at < length)
    return point;
  for (std::size_t i = 1; i < length; ++i) {
    if (!isContinuation(text[at + i]))
      return point;
    value = (value << 6) | (static_cast<unsigned char>(text[at + i]) & 0x3F);
  }
  if (value < smallest || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
    return point;
  return {value, length, true};
}

bool isPrintableCodePoint(char32_t code) {
  if ((code & 0xFFFE) == 0xFFFE)
    return false;
  const auto after =
      std::upper_bound(std::begin(kUnprintable), std::end(kUnprintable), code,
                       [](char32_t value, const Range& range) { return value < range.first; });
  return after == std::begin(kUnprintable) || std::prev(after)->last < code;
}

bool isPrintableUtf8(std::string_view text) {
  for (std::size_t at = 0; at < text.size();) {
    const CodePoint point = readCodePoint(text, at);
    if (!point.valid || !isPrintableCodePoint(point.value))
      return false;
    at += point.length;
  }
  return true;
}

} // namespace zr
