// SPDX-License-Identifier: MIT

#include "core/data_file.h"

#include "core/error.h"
#include "core/file_io.h"
#include "core/windows/native_file.h"

namespace zr {
namespace {

using windows::FileHandle;
using windows::toWidePath;

constexpr int kNameAttempts = 9;

std::string twoDigits(int value) {
  return std::string(1, char('0' + value / 10 % 10)) + char('0' + value % 10);
}

std::string keptName(const std::string& path, DateTime moment, int attempt) {
  const CalendarDate date = decodeDate(moment);
  const ClockTime time = decodeTime(moment);
  std::string name = path + ".unreadable-" + std::to_string(date.year) + twoDigits(date.month) +
                     twoDigits(date.day) + '-' + twoDigits(time.hour) + twoDigits(time.minute) +
                     twoDigits(time.second);
  if (attempt > 1)
    name += '-' + std::to_string(attempt);
  return name;
}

// Writes the content to a new file of that name; false when it could not be made whole.
bool writeNewFile(const std::string& path, std::string_view content) {
  const std::wstring widePath = toWidePath(path);
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

// The volume and file index of what stands at the path; none when nothing does.
std::optional<std::pair<std::uint64_t, std::uint64_t>> identityOf(const std::string& path) {
  const FileHandle file(::CreateFileW(
      toWidePath(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
      OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
  BY_HANDLE_FILE_INFORMATION info{};
  if (!file.valid() || !::GetFileInformationByHandle(file.get(), &info))
    return std::nullopt;
  return std::pair{std::uint64_t{info.dwVolumeSerialNumber},
                   (std::uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow};
}

} // namespace

std::string DataFile::keepAside(DateTime moment, bool contentReadable) {
  const auto identity = identityOf(path_);
  if (!identity)
    return {};
  std::optional<std::string> content;
  if (contentReadable) {
    try {
      content = readDataFile(path_);
    } catch (const Error&) {
    }
  }
  for (int attempt = 1; attempt <= kNameAttempts; ++attempt) {
    const std::string kept = keptName(path_, moment, attempt);
    if (content && writeNewFile(kept, *content))
      return kept;
    // Without MOVEFILE_REPLACE_EXISTING the move never replaces a file of that name.
    if (::MoveFileExW(toWidePath(path_).c_str(), toWidePath(kept).c_str(), 0))
      return kept;
    const DWORD error = ::GetLastError();
    if (error != ERROR_ALREADY_EXISTS && error != ERROR_FILE_EXISTS)
      break;
  }
  refused_ = Identity{identity->first, identity->second};
  return {};
}

void DataFile::replace(std::string_view content) {
  if (refused_) {
    const auto identity = identityOf(path_);
    if (identity && identity->first == refused_->device && identity->second == refused_->inode)
      throw Error(path_ + " could not be read and could not be kept aside; fix its permissions "
                          "or move it away. Nothing is saved over it while it is there.");
    refused_.reset();
  }
  replaceFileContent(path_, content);
}

} // namespace zr
