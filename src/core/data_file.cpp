// SPDX-License-Identifier: MIT

#include "core/data_file.h"

#include "core/error.h"
#include "core/file_io.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zr {
namespace {

constexpr mode_t kGroupAndOthersWrite = S_IWGRP | S_IWOTH;
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
bool writeNewFile(const std::string& path, std::string_view content, mode_t mode) {
  const int descriptor =
      ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
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
    ::unlink(path.c_str());
  return written;
}

// Moves the file, or whatever stands at the path, to a name that is still free.
bool moveToFreeName(const std::string& from, const std::string& to) {
  if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
    return true;
  if (errno != EINVAL)
    return false;
  // A file system that cannot refuse to replace: look first.
  struct stat existing {};
  if (::lstat(to.c_str(), &existing) == 0) {
    errno = EEXIST;
    return false;
  }
  return ::rename(from.c_str(), to.c_str()) == 0;
}

} // namespace

std::string DataFile::keepAside(DateTime moment, bool contentReadable) {
  struct stat info {};
  if (::lstat(path_.c_str(), &info) != 0)
    return {};
  const mode_t keptMode = info.st_mode & 0666 & ~kGroupAndOthersWrite;
  std::optional<std::string> content;
  if (contentReadable) {
    try {
      content = readDataFile(path_);
    } catch (const Error&) {
    }
  }
  for (int attempt = 1; attempt <= kNameAttempts; ++attempt) {
    const std::string kept = keptName(path_, moment, attempt);
    if (content && writeNewFile(kept, *content, keptMode))
      return kept;
    if (moveToFreeName(path_, kept)) {
      // A link's own mode means nothing, and chmod would reach its target.
      if (!S_ISLNK(info.st_mode) && (info.st_mode & kGroupAndOthersWrite))
        ::chmod(kept.c_str(), info.st_mode & 07777 & ~kGroupAndOthersWrite);
      return kept;
    }
    if (errno != EEXIST)
      break;
  }
  refused_ =
      Identity{static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino)};
  return {};
}

void DataFile::replace(std::string_view content) {
  if (refused_) {
    struct stat info {};
    if (::lstat(path_.c_str(), &info) == 0 && info.st_dev == refused_->device &&
        info.st_ino == refused_->inode)
      throw Error(path_ + " could not be read and could not be kept aside; fix its permissions "
                          "or move it away. Nothing is saved over it while it is there.");
    refused_.reset();
  }
  replaceFileContent(path_, content);
}

} // namespace zr
