// SPDX-License-Identifier: MIT

#pragma once

#include <string>

namespace zr {

// "Unable to write to <path>: <reason>", as zr::Error.
[[noreturn]] void throwWriteError(const std::string& path, const std::string& reason);
// "Unable to read <path>: <reason>", as zr::UnreadableFileError.
[[noreturn]] void throwReadError(const std::string& path, const std::string& reason);

} // namespace zr
