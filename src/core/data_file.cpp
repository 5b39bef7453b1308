// SPDX-License-Identifier: MIT

#include "core/data_file.h"

#include "core/data_file_calls.h"
#include "core/error.h"
#include "core/file_io.h"

namespace zr {
namespace {

using data_file_calls::entryIdentityOf;
using data_file_calls::identityOf;
using data_file_calls::MoveResult;

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

bool sameFile(const DataFile::Identity& known, const DataFile::Identity& now) {
  return known.device == now.device && known.inode == now.inode && known.size == now.size &&
         known.modified == now.modified;
}

bool sameEntry(const DataFile::Identity& known, const DataFile::Identity& now) {
  return known.device == now.device && known.inode == now.inode;
}

DataFile::Identity withHash(DataFile::Identity identity, std::string_view content) {
  identity.hash = contentHash(content);
  return identity;
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
  std::optional<Identity> after;
  // A file written while it is read is read again, so what is remembered is one state of it.
  for (int attempt = 0; attempt < kReadAttempts; ++attempt) {
    const std::optional<Identity> before = identityOf(path_);
    content = readDataFile(path_);
    after = identityOf(path_);
    if (!content || !before || !after || sameFile(*before, *after))
      break;
  }
  refused_.reset();
  if (!content || !after) {
    known_.reset();
    lastContent_.clear();
    return content;
  }
  known_ = withHash(*after, *content);
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
  const std::optional<Identity> now = identityOf(path_);
  const Outside::State gone = known_ ? Outside::State::Removed : Outside::State::Unchanged;
  if (!now)
    return {gone, {}, {}};
  if (known_ && sameFile(*known_, *now))
    return {};
  std::optional<std::string> content = readDataFile(path_);
  const std::optional<Identity> after = identityOf(path_);
  if (!content || !after)
    return {gone, {}, {}};
  Outside outside{Outside::State::Changed, std::move(*content), {}};
  outside.identity = withHash(*after, outside.content);
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
  const std::optional<Identity> standing = entryIdentityOf(path_);
  if (!standing)
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
    if (content && data_file_calls::writeKeptCopy(path_, kept, *content))
      return kept;
    const MoveResult moved = data_file_calls::moveToFreeName(path_, kept);
    if (moved == MoveResult::Moved)
      return kept;
    if (moved == MoveResult::Failed)
      break;
  }
  refused_ = Identity{standing->device, standing->inode, 0, 0, 0};
  return {};
}

bool DataFile::refused() const {
  if (!refused_)
    return false;
  const std::optional<Identity> standing = entryIdentityOf(path_);
  return standing && sameEntry(*refused_, *standing);
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
  const std::optional<Identity> now = identityOf(path_);
  if (now)
    known_ = withHash(*now, content);
  else
    known_.reset();
}

} // namespace zr
