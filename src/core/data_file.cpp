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

// What stands at the path, links followed; nothing when there is nothing.
std::optional<struct stat> statOf(const std::string& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) == 0)
    return info;
  if (errno == ENOENT || errno == ENOTDIR)
    return std::nullopt;
  throw UnreadableFileError("Unable to read " + path + ": " + fileErrorText(errno));
}

bool sameFile(const DataFile::Identity& known, const struct stat& info) {
  return known.device == info.st_dev && known.inode == info.st_ino && known.size == info.st_size &&
         known.modified.tv_sec == info.st_mtim.tv_sec &&
         known.modified.tv_nsec == info.st_mtim.tv_nsec;
}

DataFile::Identity identityOf(const struct stat& info, std::string_view content) {
  return {info.st_dev, info.st_ino, info.st_size, info.st_mtim, contentHash(content)};
}

constexpr int kReadAttempts = 3;

} // namespace

std::uint64_t contentHash(std::string_view content) {
  std::uint64_t hash = 14695981039346656037u;
  for (const char c : content) {
    hash ^= static_cast<unsigned char>(c);
    hash *= 1099511628211u;
  }
  return hash;
}

std::optional<std::string> DataFile::read() {
  std::optional<std::string> content;
  std::optional<struct stat> after;
  // A file written while it is read is read again, so what is remembered is one state of it.
  for (int attempt = 0; attempt < kReadAttempts; ++attempt) {
    const std::optional<struct stat> before = statOf(path_);
    content = readDataFile(path_);
    after = statOf(path_);
    if (!content || !before || !after || sameFile(identityOf(*before, {}), *after))
      break;
  }
  refused_.reset();
  if (!content || !after) {
    known_.reset();
    lastContent_.clear();
    return content;
  }
  known_ = identityOf(*after, *content);
  lastContent_ = *content;
  return content;
}

DataFile::Outside DataFile::lookOutside() {
  if (refused()) {
    // Read again at every look: once it reads, all it holds is new to the program.
    try {
      readDataFile(path_);
    } catch (const UnreadableFileError& error) {
      throw Error(std::string(error.what()) + "\n" + refusalText());
    }
    refused_.reset();
  }
  const std::optional<struct stat> now = statOf(path_);
  const Outside::State gone = known_ ? Outside::State::Removed : Outside::State::Unchanged;
  if (!now)
    return {gone, {}, {}};
  if (known_ && sameFile(*known_, *now))
    return {};
  std::optional<std::string> content = readDataFile(path_);
  const std::optional<struct stat> after = statOf(path_);
  if (!content || !after)
    return {gone, {}, {}};
  Outside outside{Outside::State::Changed, std::move(*content), {}};
  outside.identity = identityOf(*after, outside.content);
  // Written again with the same content (touched, or replaced by a copy of itself).
  if (known_ && outside.identity.hash == known_->hash && outside.content == lastContent_) {
    known_ = outside.identity;
    return {};
  }
  return outside;
}

void DataFile::accept(const Outside& outside) {
  if (outside.state == Outside::State::Unchanged)
    return;
  if (outside.state == Outside::State::Removed) {
    known_.reset();
    lastContent_.clear();
    return;
  }
  known_ = outside.identity;
  lastContent_ = outside.content;
}

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
  refused_ = Identity{info.st_dev, info.st_ino, {}, {}, 0};
  return {};
}

bool DataFile::refused() const {
  if (!refused_)
    return false;
  struct stat info {};
  return ::lstat(path_.c_str(), &info) == 0 && info.st_dev == refused_->device &&
         info.st_ino == refused_->inode;
}

std::string DataFile::refusalText() const {
  return path_ + " could not be read and could not be kept aside, so nothing is saved over it. "
                 "Every save reads it again and goes ahead once it can be read (fix its "
                 "permissions) or once it is moved away.";
}

void DataFile::replace(std::string_view content) {
  if (refused())
    throw Error(refusalText());
  refused_.reset();
  replaceFileContent(path_, content);
  lastContent_ = content;
  const std::optional<struct stat> now = statOf(path_);
  if (now)
    known_ = identityOf(*now, content);
  else
    known_.reset();
}

} // namespace zr
