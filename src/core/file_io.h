// SPDX-License-Identifier: MIT

#pragma once

#include <string>
#include <string_view>

namespace zr {

// The user-facing text of a failed file operation: "File not found",
// "Invalid filename", "Too many open files", "File access denied",
// "Disk full", or "I/O error <number>" for any other system error.
std::string fileErrorText(int errorNumber);

// Whether a regular file (or a link to one) of that name exists.
bool fileExists(const std::string& path);

// The whole content of the file; throws zr::Error with the file error text.
std::string readWholeFile(const std::string& path);

// Replaces the file's content without ever leaving a partly written file: the
// content goes to a temporary file in the same folder, is flushed to the disk
// and then renamed over the old file. When the path is a symbolic link, the
// file it points to is replaced and the link stays. Throws zr::Error with the
// file error text; the old file is then unchanged.
void replaceFileContent(const std::string& path, std::string_view content);

} // namespace zr
