// SPDX-License-Identifier: MIT

#pragma once

#include <string>
#include <string_view>

namespace zr {

// Letter case and blanks of stored text, the same in every locale: stored texts are
// bytes, and only the ASCII letters A-Z and a-z have a case here.
constexpr char toLowerAscii(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}
constexpr char toUpperAscii(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}
std::string toLowerAscii(std::string_view text);
std::string toUpperAscii(std::string_view text);
bool equalsIgnoringAsciiCase(std::string_view a, std::string_view b);

// The text without the blanks and tabs at either end.
std::string_view trimBlanks(std::string_view text);

} // namespace zr
