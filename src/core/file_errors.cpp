// SPDX-License-Identifier: MIT

#include "core/file_errors.h"

#include "core/file_io.h"

namespace zr {

void throwWriteError(const std::string& path, const std::string& reason) {
  throw Error(std::string("Unable to write to ").append(path).append(": ").append(reason));
}

void throwReadError(const std::string& path, const std::string& reason) {
  throw UnreadableFileError(
      std::string("Unable to read ").append(path).append(": ").append(reason));
}

} // namespace zr
