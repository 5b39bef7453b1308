// SPDX-License-Identifier: MIT

#include "core/data_file_calls.h"

#include "core/file_io.h"
#include "core/windows/native_file.h"

namespace zr::data_file_calls {
namespace {

using windows::FileHandle;
using windows::toWidePath;

std::uint64_t joined(DWORD high, DWORD low) {
  return (std::uint64_t{high} << 32) | low;
}

// The volume, file index, size and last-write time of what the handle reaches; all
// zero for something that is no file (a device), which the reading then refuses.
DataFile::Identity identityFrom(HANDLE file) {
  BY_HANDLE_FILE_INFORMATION info{};
  if (!::GetFileInformationByHandle(file, &info))
    return {};
  return {info.dwVolumeSerialNumber, joined(info.nFileIndexHigh, info.nFileIndexLow),
          static_cast<std::int64_t>(joined(info.nFileSizeHigh, info.nFileSizeLow)),
          static_cast<std::int64_t>(
              joined(info.ftLastWriteTime.dwHighDateTime, info.ftLastWriteTime.dwLowDateTime)),
          0};
}

HANDLE openForLooking(const std::string& path, DWORD flags) {
  return ::CreateFileW(toWidePath(path).c_str(), 0,
                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                       OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | flags, nullptr);
}

} // namespace

std::optional<DataFile::Identity> identityOf(const std::string& path) {
  const FileHandle file(openForLooking(path, 0));
  if (file.valid())
    return identityFrom(file.get());
  const DWORD error = ::GetLastError();
  if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)
    return std::nullopt;
  throw UnreadableFileError("Unable to read " + path + ": " + windows::systemErrorText(error));
}

std::optional<DataFile::Identity> entryIdentityOf(const std::string& path) {
  const FileHandle file(openForLooking(path, FILE_FLAG_OPEN_REPARSE_POINT));
  if (!file.valid())
    return std::nullopt;
  return identityFrom(file.get());
}

bool writeKeptCopy(const std::string&, const std::string& kept, std::string_view content) {
  const std::wstring widePath = toWidePath(kept);
  FileHandle file(::CreateFileW(widePath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid())
    return false;
  bool written = windows::writeAll(file.get(), content) && ::FlushFileBuffers(file.get());
  written = file.close() && written;
  if (!written)
    ::DeleteFileW(widePath.c_str());
  return written;
}

MoveResult moveToFreeName(const std::string& from, const std::string& to) {
  // Without MOVEFILE_REPLACE_EXISTING the move never replaces a file of that name.
  if (::MoveFileExW(toWidePath(from).c_str(), toWidePath(to).c_str(), 0))
    return MoveResult::Moved;
  const DWORD error = ::GetLastError();
  return error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS ? MoveResult::NameTaken
                                                                     : MoveResult::Failed;
}

} // namespace zr::data_file_calls
