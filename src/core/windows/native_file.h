// SPDX-License-Identifier: MIT

#pragma once

#include <string>
#include <windows.h>

namespace zr::windows {

// A UTF-8 path as the wide path the system's file calls take: made full (relative to the
// current folder, "." and ".." resolved) and given the "\\?\" prefix, so that it may be
// longer than MAX_PATH; "/" becomes "\" on the way. A name that the system takes for a
// device (such as "CON") stays a device path, which the callers refuse by its file type.
std::wstring toWidePath(const std::string& path);

// The user-facing text of a failed file call, as fileErrorText gives it for an errno.
std::string systemErrorText(DWORD error);

// Closes the handle when it goes out of scope.
class FileHandle {
public:
  explicit FileHandle(HANDLE handle) : handle_(handle) {}
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  ~FileHandle() {
    if (valid())
      ::CloseHandle(handle_);
  }
  bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
  HANDLE get() const { return handle_; }
  // Closes now; false when the close failed (GetLastError says why).
  bool close() {
    const bool closed = ::CloseHandle(handle_) != 0;
    handle_ = INVALID_HANDLE_VALUE;
    return closed;
  }

private:
  HANDLE handle_;
};

// Writes everything; false at the first failed write (GetLastError says why).
bool writeAll(HANDLE file, std::string_view content);

} // namespace zr::windows
