// SPDX-License-Identifier: MIT

#pragma once

#include "core/error.h"

#include <chrono>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace zr {

// The user-facing text of a failed file operation: "File not found",
// "Invalid filename", "Too many open files", "File access denied",
// "Disk full", or "I/O error <number>" for any other system error.
std::string fileErrorText(int errorNumber);

// The largest data file the program reads; a larger one is refused, not read.
inline constexpr std::size_t kMaxDataFileSize = std::size_t{256} * 1024 * 1024;

// A file that is there but cannot be read as a data file: access denied, not a
// regular file, too large, or a read error.
class UnreadableFileError : public Error {
public:
  using Error::Error;
};

// The whole content of a data file, or nothing when there is none (a symbolic
// link that leads nowhere, or a path through a file, counts as none). Only a regular file, or a
// link to one, is read: a folder, a named pipe, a device or a socket is refused before it is
// opened, the file is opened without blocking, and one larger than `maxSize` is
// refused. Throws UnreadableFileError "Unable to read <path>: <reason>", the
// reason being the file error text or what stands there instead of a file.
std::optional<std::string> readDataFile(const std::string& path,
                                        std::size_t maxSize = kMaxDataFileSize);

// Replaces the file's content without ever leaving a partly written file: the
// content goes to a temporary file "<name>.zrdorvel-save-XXXXXX" beside the file,
// is flushed to the disk and then renamed over the old file. When the path is a
// symbolic link, the file it points to is replaced and the link stays; a link
// that leads nowhere yet gets its target made, when the target's folder exists.
// A link is never replaced, nor anything but a regular file at the target. Throws zr::Error
// "Unable to write to <path>: <file error text>"; the old file is then unchanged.
void replaceFileContent(const std::string& path, std::string_view content);

// Where a symbolic link at the path leads when nothing is there (the end of its
// chain of links); nothing when the path is no link or leads to something.
std::optional<std::string> danglingLinkTarget(const std::string& path);

// Removes the temporary files that replaceFileContent left for this path when the
// program was killed in the middle of a save, beside the path and beside the file
// a link there points to, when they were last written before `before`.
void removeLeftoverSaves(const std::string& path, std::chrono::system_clock::time_point before);

} // namespace zr
