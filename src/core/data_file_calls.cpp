// SPDX-License-Identifier: MIT

#include "core/data_file_calls.h"

#include "core/file_io.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zr::data_file_calls {
namespace {

constexpr mode_t kGroupAndOthersWrite = S_IWGRP | S_IWOTH;

DataFile::Identity identityFrom(const struct stat& info) {
  return {info.st_dev, info.st_ino, info.st_size,
          std::int64_t{info.st_mtim.tv_sec} * 1'000'000'000 + info.st_mtim.tv_nsec, 0};
}

} // namespace

std::optional<DataFile::Identity> identityOf(const std::string& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) == 0)
    return identityFrom(info);
  if (errno == ENOENT || errno == ENOTDIR)
    return std::nullopt;
  throw UnreadableFileError("Unable to read " + path + ": " + fileErrorText(errno));
}

std::optional<DataFile::Identity> entryIdentityOf(const std::string& path) {
  struct stat info {};
  if (::lstat(path.c_str(), &info) != 0)
    return std::nullopt;
  return identityFrom(info);
}

bool writeKeptCopy(const std::string& original, const std::string& kept, std::string_view content) {
  struct stat info {};
  if (::lstat(original.c_str(), &info) != 0)
    return false;
  const int descriptor = ::open(kept.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                                info.st_mode & 0666 & ~kGroupAndOthersWrite);
  if (descriptor < 0)
    return false;
  bool written = true;
  while (written && !content.empty()) {
    const ssize_t count = ::write(descriptor, content.data(), content.size());
    if (count < 0 && errno == EINTR)
      continue;
    written = count > 0;
    if (written)
      content.remove_prefix(static_cast<std::size_t>(count));
  }
  written = written && ::fsync(descriptor) == 0;
  written = ::close(descriptor) == 0 && written;
  if (!written)
    ::unlink(kept.c_str());
  return written;
}

MoveResult moveToFreeName(const std::string& from, const std::string& to) {
  struct stat info {};
  if (::lstat(from.c_str(), &info) != 0)
    return MoveResult::Failed;
  bool moved = ::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0;
  if (!moved && errno == EINVAL) {
    // A file system that cannot refuse to replace: look first.
    struct stat existing {};
    if (::lstat(to.c_str(), &existing) == 0)
      errno = EEXIST;
    else
      moved = ::rename(from.c_str(), to.c_str()) == 0;
  }
  if (!moved)
    return errno == EEXIST ? MoveResult::NameTaken : MoveResult::Failed;
  // A link's own mode means nothing, and chmod would reach its target.
  if (!S_ISLNK(info.st_mode) && (info.st_mode & kGroupAndOthersWrite))
    ::chmod(to.c_str(), info.st_mode & 07777 & ~kGroupAndOthersWrite);
  return MoveResult::Moved;
}

} // namespace zr::data_file_calls
