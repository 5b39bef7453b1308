// SPDX-License-Identifier: MIT

#pragma once

#include "core/data_file.h"

#include <optional>
#include <string>
#include <string_view>

// The file-system calls of DataFile, one implementation per system.
namespace zr::data_file_calls {

// What stands at the path, links followed, without the content's hash; nothing when
// nothing is there. Throws UnreadableFileError "Unable to read <path>: <reason>" when
// the system cannot tell.
std::optional<DataFile::Identity> identityOf(const std::string& path);

// The device and inode of the entry at the path itself (a link is not followed);
// nothing when nothing is there or it cannot be looked at.
std::optional<DataFile::Identity> entryIdentityOf(const std::string& path);

// Writes the content to a new file `kept`, never world- or group-writable (it takes
// the original's mode otherwise); false when it could not be made whole.
bool writeKeptCopy(const std::string& original, const std::string& kept, std::string_view content);

enum class MoveResult { Moved, NameTaken, Failed };
// Moves the file, or whatever stands at the path, to a name that must still be free,
// taking away group and others' write permission from a moved file.
MoveResult moveToFreeName(const std::string& from, const std::string& to);

} // namespace zr::data_file_calls
