// SPDX-License-Identifier: MIT

#pragma once

#include <cstddef>
#include <string_view>

namespace zr {

// One code point read from UTF-8 text. A byte that does not begin a well-formed
// sequence (a stray continuation byte, a cut, overlong or surrogate sequence, a
// code beyond U+10FFFF) is read alone, as an invalid code point of length 1.
struct CodePoint {
  char32_t value = 0;
  std::size_t length = 1;
  bool valid = false;
};

// The code point that starts at the given byte of the text (which must be inside it).
CodePoint readCodePoint(std::string_view text, std::size_t at);

// Whether the code point shows as a character of its own: not a C0 or C1 control
// character or DEL, not an invisible format character (the bidirectional
// embeddings, overrides and isolates U+202A-U+202E and U+2066-U+2069 among them),
// not a line or paragraph separator, private-use code point, surrogate or
// noncharacter. Code points a later Unicode version may assign are not judged.
bool isPrintableCodePoint(char32_t code);

// Whether the text is well-formed UTF-8 of printable code points only.
bool isPrintableUtf8(std::string_view text);

} // namespace zr
