// SPDX-License-Identifier: MIT

#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace zr {

// Stored texts (names, message lines, file names, error texts) are byte strings,
// kept byte for byte. They are shown decoded from UTF-8, and what the user types
// is stored encoded as UTF-8; these two are the only crossing between the two.
QString toShownText(std::string_view stored);
std::string toStoredText(const QString& shown);

// A text made fit for a window title, which the window system takes as a C string
// of one line: tabs and line breaks become blanks, and every other character that
// does not print (NUL and the other controls, bidirectional and other format
// characters, unassigned code points) becomes U+FFFD, so the title is neither
// cut off nor turned around.
QString toWindowTitle(const QString& text);

// File names cross the same way, in the file system's own encoding: the core opens
// files by byte-string paths.
std::string toNativePath(const QString& path);
QString fromNativePath(std::string_view path);

} // namespace zr
