// SPDX-License-Identifier: MIT

#include "core/file_io.h"

#include "core/file_errors.h"
#include "core/save_names.h"
#include "core/windows/native_file.h"

#include <cerrno>
#include <filesystem>
#include <random>

namespace zr {
namespace {

using windows::FileHandle;
using windows::systemErrorText;
using windows::toWidePath;

constexpr int kTemporaryNameAttempts = 100;

// What stands at a path instead of a file on a disk, by the type of its open handle.
std::string notAFileText(DWORD fileType) {
  if (fileType == FILE_TYPE_PIPE)
    return "it is a named pipe, not a file";
  if (fileType == FILE_TYPE_CHAR)
    return "it is a device, not a file";
  return "it is not a regular file";
}

bool isMissing(DWORD error) {
  return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

// Opens what stands at the path for reading its data or its attributes, never waiting
// for it; a folder opens too, so that it can be told apart.
HANDLE openExisting(const std::wstring& path, DWORD access) {
  return ::CreateFileW(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                       nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
}

bool isFolder(HANDLE handle) {
  BY_HANDLE_FILE_INFORMATION info{};
  return ::GetFileInformationByHandle(handle, &info) &&
         (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// The file a path names: the target of a symbolic link, else the path itself.
std::string resolvedTarget(const std::string& path) {
  const DWORD attributes = ::GetFileAttributesW(toWidePath(path).c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_REPARSE_POINT))
    return path;
  const FileHandle file(openExisting(toWidePath(path), 0));
  if (!file.valid())
    return path;
  std::wstring target(32768, L'\0');
  const DWORD length = ::GetFinalPathNameByHandleW(
      file.get(), target.data(), static_cast<DWORD>(target.size()), FILE_NAME_NORMALIZED);
  if (length == 0 || length >= target.size())
    return path;
  target.resize(length);
  const int size = ::WideCharToMultiByte(CP_UTF8, 0, target.data(), static_cast<int>(length),
                                         nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<std::size_t>(size), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, target.data(), static_cast<int>(length), utf8.data(), size,
                        nullptr, nullptr);
  return utf8;
}

std::string randomSuffix() {
  static constexpr char kLetters[] =
      "0123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ";
  std::random_device source;
  std::uniform_int_distribution<int> pick(0, sizeof kLetters - 2);
  std::string suffix;
  for (std::size_t i = 0; i < kSaveSuffixLength; ++i)
    suffix += kLetters[pick(source)];
  return suffix;
}

std::filesystem::path toFileSystemPath(const std::string& path) {
  return std::filesystem::path(
      std::u8string(reinterpret_cast<const char8_t*>(path.data()), path.size()));
}

std::string toUtf8(const std::filesystem::path& path) {
  const std::u8string text = path.u8string();
  return std::string(reinterpret_cast<const char*>(text.data()), text.size());
}

void removeLeftoverSavesOf(const std::string& file, std::chrono::system_clock::time_point before) {
  const std::filesystem::path filePath = toFileSystemPath(file);
  const std::string fileName = toUtf8(filePath.filename());
  std::filesystem::path folder = filePath.parent_path();
  if (folder.empty())
    folder = ".";
  std::error_code error;
  for (std::filesystem::directory_iterator entry(folder, error), end; !error && entry != end;
       entry.increment(error)) {
    if (!isLeftoverSaveName(toUtf8(entry->path().filename()), fileName))
      continue;
    std::error_code statusError;
    if (!entry->is_regular_file(statusError) || entry->is_symlink(statusError))
      continue;
    const auto written = entry->last_write_time(statusError);
    if (!statusError && std::chrono::file_clock::to_sys(written) < before)
      ::DeleteFileW(toWidePath(toUtf8(entry->path())).c_str());
  }
}

} // namespace

std::string fileErrorText(int errorNumber) {
  switch (errorNumber) {
  case ENOENT:
    return "File not found";
  case ENOTDIR:
  case ENAMETOOLONG:
  case EINVAL:
    return "Invalid filename";
  case EMFILE:
  case ENFILE:
    return "Too many open files";
  case EACCES:
  case EPERM:
  case EROFS:
  case EISDIR:
    return "File access denied";
  case ENOSPC:
    return "Disk full";
  default:
    return "I/O error " + std::to_string(errorNumber);
  }
}

std::optional<std::string> readDataFile(const std::string& path, std::size_t maxSize) {
  const std::wstring widePath = toWidePath(path);
  const FileHandle file(openExisting(widePath, GENERIC_READ));
  if (!file.valid()) {
    const DWORD error = ::GetLastError();
    if (isMissing(error))
      return std::nullopt;
    throwReadError(path, systemErrorText(error));
  }
  // A pipe or a device (CON, NUL, COM1...) in place of the file is refused before any read.
  if (const DWORD type = ::GetFileType(file.get()); type != FILE_TYPE_DISK)
    throwReadError(path, notAFileText(type));
  if (isFolder(file.get()))
    throwReadError(path, "it is a folder, not a file");
  LARGE_INTEGER size{};
  if (!::GetFileSizeEx(file.get(), &size))
    throwReadError(path, systemErrorText(::GetLastError()));
  const std::string tooLarge = "it is larger than " + sizeText(maxSize);
  if (static_cast<unsigned long long>(size.QuadPart) > maxSize)
    throwReadError(path, tooLarge);

  std::string content;
  content.reserve(static_cast<std::size_t>(size.QuadPart));
  char buffer[65536];
  for (;;) {
    DWORD count = 0;
    if (!::ReadFile(file.get(), buffer, sizeof buffer, &count, nullptr))
      throwReadError(path, systemErrorText(::GetLastError()));
    if (count == 0)
      return content;
    content.append(buffer, count);
    // The file may grow while it is read.
    if (content.size() > maxSize)
      throwReadError(path, tooLarge);
  }
}

void replaceFileContent(const std::string& path, std::string_view content) {
  const std::string target = resolvedTarget(path);
  const std::wstring wideTarget = toWidePath(target);
  bool exists = false;
  {
    const FileHandle old(openExisting(wideTarget, 0));
    if (old.valid()) {
      exists = true;
      if (const DWORD type = ::GetFileType(old.get()); type != FILE_TYPE_DISK)
        throwWriteError(path, notAFileText(type));
      if (isFolder(old.get()))
        throwWriteError(path, "it is a folder, not a file");
    } else if (const DWORD error = ::GetLastError(); !isMissing(error)) {
      throwWriteError(path, systemErrorText(error));
    }
  }

  std::wstring temporary;
  HANDLE created = INVALID_HANDLE_VALUE;
  for (int attempt = 0; attempt < kTemporaryNameAttempts && created == INVALID_HANDLE_VALUE;
       ++attempt) {
    temporary = toWidePath(target + std::string(kSaveMark) + randomSuffix());
    created = ::CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
    if (created == INVALID_HANDLE_VALUE && ::GetLastError() != ERROR_FILE_EXISTS)
      break;
  }
  if (created == INVALID_HANDLE_VALUE)
    throwWriteError(path, systemErrorText(::GetLastError()));
  FileHandle file(created);
  const auto failWith = [&](DWORD error) {
    if (file.valid())
      file.close();
    ::DeleteFileW(temporary.c_str());
    throwWriteError(path, systemErrorText(error));
  };

  if (!windows::writeAll(file.get(), content))
    failWith(::GetLastError());
  if (!::FlushFileBuffers(file.get()))
    failWith(::GetLastError());
  if (!file.close())
    failWith(::GetLastError());
  // ReplaceFileW keeps the old file's attributes and access rights on the new content;
  // a new file is moved into place, written through to the disk before the call returns.
  const bool replaced =
      exists ? ::ReplaceFileW(wideTarget.c_str(), temporary.c_str(), nullptr,
                              REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr) != 0
             : ::MoveFileExW(temporary.c_str(), wideTarget.c_str(),
                             MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
  if (!replaced)
    failWith(::GetLastError());
}

std::optional<std::string> danglingLinkTarget(const std::string& path) {
  namespace fs = std::filesystem;
  const fs::path link = toFileSystemPath(path);
  std::error_code error;
  if (!fs::is_symlink(fs::symlink_status(link, error)) || fs::exists(link, error) || error)
    return std::nullopt;
  const fs::path target = fs::read_symlink(link, error);
  if (error)
    return std::nullopt;
  return toUtf8((link.parent_path() / target).lexically_normal());
}

void removeLeftoverSaves(const std::string& path, std::chrono::system_clock::time_point before) {
  removeLeftoverSavesOf(path, before);
  const std::string target = resolvedTarget(path);
  if (target != path)
    removeLeftoverSavesOf(target, before);
}

} // namespace zr
