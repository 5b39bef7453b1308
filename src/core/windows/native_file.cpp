// SPDX-License-Identifier: MIT

#include "core/windows/native_file.h"

#include <algorithm>

namespace zr::windows {

std::wstring toWidePath(const std::string& path) {
  std::wstring wide;
  if (!path.empty()) {
    const int length =
        ::MultiByteToWideChar(CP_UTF8, 0, path.data(), static_cast<int>(path.size()), nullptr, 0);
    wide.resize(static_cast<std::size_t>(length));
    ::MultiByteToWideChar(CP_UTF8, 0, path.data(), static_cast<int>(path.size()), wide.data(),
                          length);
  }
  std::replace(wide.begin(), wide.end(), L'/', L'\\');
  if (wide.empty() || wide.starts_with(L"\\\\?\\") || wide.starts_with(L"\\\\.\\"))
    return wide;
  // The full path, with "." and ".." resolved, which the "\\?\" form does not do.
  std::wstring full(MAX_PATH, L'\0');
  DWORD length =
      ::GetFullPathNameW(wide.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
  if (length >= full.size()) {
    full.resize(length);
    length = ::GetFullPathNameW(wide.c_str(), length, full.data(), nullptr);
  }
  if (length == 0)
    return wide;
  full.resize(length);
  if (full.size() > 2 && full[1] == L':' && full[2] == L'\\')
    return L"\\\\?\\" + full;
  if (full.starts_with(L"\\\\") && !full.starts_with(L"\\\\.\\"))
    return L"\\\\?\\UNC\\" + full.substr(2);
  return full;
}

std::string systemErrorText(DWORD error) {
  switch (error) {
  case ERROR_FILE_NOT_FOUND:
  case ERROR_PATH_NOT_FOUND:
    return "File not found";
  case ERROR_INVALID_NAME:
  case ERROR_BAD_PATHNAME:
  case ERROR_FILENAME_EXCED_RANGE:
  case ERROR_DIRECTORY:
    return "Invalid filename";
  case ERROR_TOO_MANY_OPEN_FILES:
    return "Too many open files";
  case ERROR_ACCESS_DENIED:
  case ERROR_SHARING_VIOLATION:
  case ERROR_LOCK_VIOLATION:
  case ERROR_WRITE_PROTECT:
    return "File access denied";
  case ERROR_DISK_FULL:
  case ERROR_HANDLE_DISK_FULL:
    return "Disk full";
  default:
    return "I/O error " + std::to_string(error);
  }
}

bool writeAll(HANDLE file, std::string_view content) {
  while (!content.empty()) {
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(content.size(), 1u << 20));
    DWORD written = 0;
    if (!::WriteFile(file, content.data(), chunk, &written, nullptr))
      return false;
    content.remove_prefix(written);
  }
  return true;
}

} // namespace zr::windows
