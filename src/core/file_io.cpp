// SPDX-License-Identifier: MIT

#include "core/file_io.h"

#include "core/file_errors.h"
#include "core/save_names.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace zr {
namespace {

// What stands at a path instead of a regular file.
std::string notAFileText(mode_t mode) {
  if (S_ISDIR(mode))
    return "it is a folder, not a file";
  if (S_ISFIFO(mode))
    return "it is a named pipe, not a file";
  if (S_ISCHR(mode) || S_ISBLK(mode))
    return "it is a device, not a file";
  if (S_ISSOCK(mode))
    return "it is a socket, not a file";
  return "it is not a regular file";
}

// Closes the descriptor when it goes out of scope.
class FileDescriptor {
public:
  explicit FileDescriptor(int descriptor) : descriptor_(descriptor) {}
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  ~FileDescriptor() {
    if (descriptor_ >= 0)
      ::close(descriptor_);
  }
  int get() const { return descriptor_; }
  // Closes now and reports the error number of a failed close (0 when it worked).
  int close() {
    const int result = ::close(descriptor_);
    descriptor_ = -1;
    return result == 0 ? 0 : errno;
  }

private:
  int descriptor_;
};

// Deletes the temporary file unless it was renamed into place.
class TemporaryFile {
public:
  explicit TemporaryFile(std::string path) : path_(std::move(path)) {}
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;
  ~TemporaryFile() {
    if (!path_.empty())
      ::unlink(path_.c_str());
  }
  const std::string& path() const { return path_; }
  void release() { path_.clear(); }

private:
  std::string path_;
};

constexpr int kMaxLinkDepth = 40;

// The file a path names: the end of its chain of symbolic links, followed even
// where it leads to nothing yet, else the path itself.
std::string resolvedTarget(const std::string& path) {
  std::string current = path;
  for (int depth = 0; depth < kMaxLinkDepth; ++depth) {
    struct stat info {};
    if (::lstat(current.c_str(), &info) != 0 || !S_ISLNK(info.st_mode))
      return current;
    char target[PATH_MAX];
    const ssize_t length = ::readlink(current.c_str(), target, sizeof target);
    if (length < 0 || static_cast<std::size_t>(length) == sizeof target)
      return current;
    std::filesystem::path next(std::string(target, static_cast<std::size_t>(length)));
    if (next.is_relative())
      next = std::filesystem::path(current).parent_path() / next;
    current = next.lexically_normal().string();
  }
  return current;
}

// Writes everything; the error number of the first failed write, or 0.
int writeAll(int descriptor, std::string_view content) {
  while (!content.empty()) {
    const ssize_t written = ::write(descriptor, content.data(), content.size());
    if (written < 0) {
      if (errno == EINTR)
        continue;
      return errno;
    }
    content.remove_prefix(static_cast<std::size_t>(written));
  }
  return 0;
}

// Makes a rename in the folder last through a power cut; a failure here loses nothing.
void syncFolderOf(const std::string& path) {
  std::filesystem::path folder = std::filesystem::path(path).parent_path();
  if (folder.empty())
    folder = ".";
  const FileDescriptor descriptor(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (descriptor.get() >= 0)
    ::fsync(descriptor.get());
}

std::chrono::system_clock::time_point modificationTime(const struct stat& info) {
  const auto sinceEpoch =
      std::chrono::seconds{info.st_mtim.tv_sec} + std::chrono::nanoseconds{info.st_mtim.tv_nsec};
  return std::chrono::system_clock::time_point{
      std::chrono::duration_cast<std::chrono::system_clock::duration>(sinceEpoch)};
}

void removeLeftoverSavesOf(const std::filesystem::path& file,
                           std::chrono::system_clock::time_point before) {
  const std::string fileName = file.filename().string();
  std::filesystem::path folder = file.parent_path();
  if (folder.empty())
    folder = ".";
  std::error_code error;
  for (std::filesystem::directory_iterator entry(folder, error), end; !error && entry != end;
       entry.increment(error)) {
    if (!isLeftoverSaveName(entry->path().filename().string(), fileName))
      continue;
    struct stat info {};
    if (::lstat(entry->path().c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
        modificationTime(info) < before)
      ::unlink(entry->path().c_str());
  }
}

} // namespace

std::string fileErrorText(int errorNumber) {
  switch (errorNumber) {
  case ENOENT:
    return "File not found";
  case ENOTDIR:
  case ENAMETOOLONG:
  case ELOOP:
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
  case EDQUOT:
    return "Disk full";
  default:
    return "I/O error " + std::to_string(errorNumber);
  }
}

std::optional<std::string> readDataFile(const std::string& path, std::size_t maxSize) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) {
    if (errno == ENOENT || errno == ENOTDIR)
      return std::nullopt;
    throwReadError(path, fileErrorText(errno));
  }
  if (!S_ISREG(info.st_mode))
    throwReadError(path, notAFileText(info.st_mode));
  // Without blocking: something else may have taken the file's place since.
  FileDescriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
  if (file.get() < 0)
    throwReadError(path, fileErrorText(errno));
  if (::fstat(file.get(), &info) != 0)
    throwReadError(path, fileErrorText(errno));
  if (!S_ISREG(info.st_mode))
    throwReadError(path, notAFileText(info.st_mode));
  const std::string tooLarge = "it is larger than " + sizeText(maxSize);
  if (static_cast<std::size_t>(info.st_size) > maxSize)
    throwReadError(path, tooLarge);

  std::string content;
  content.reserve(static_cast<std::size_t>(info.st_size));
  char buffer[65536];
  for (;;) {
    const ssize_t count = ::read(file.get(), buffer, sizeof buffer);
    if (count < 0) {
      if (errno == EINTR)
        continue;
      throwReadError(path, fileErrorText(errno));
    }
    if (count == 0)
      return content;
    content.append(buffer, static_cast<std::size_t>(count));
    // The file may grow while it is read.
    if (content.size() > maxSize)
      throwReadError(path, tooLarge);
  }
}

void replaceFileContent(const std::string& path, std::string_view content) {
  const std::string target = resolvedTarget(path);
  struct stat old {};
  const bool exists = ::lstat(target.c_str(), &old) == 0;
  // Only a chain of links that never ends still stands at the target: never replaced.
  if (exists && S_ISLNK(old.st_mode))
    throwWriteError(path, fileErrorText(ELOOP));
  if (exists && !S_ISREG(old.st_mode))
    throwWriteError(path, notAFileText(old.st_mode));
  if (!exists && target != path &&
      !std::filesystem::is_directory(std::filesystem::path(target).parent_path()))
    throwWriteError(path, "it is a link to " + target + ", whose folder does not exist");

  std::string pattern = target;
  pattern.append(kSaveMark).append(kSaveSuffixLength, 'X');
  const int descriptor = ::mkostemp(pattern.data(), O_CLOEXEC);
  if (descriptor < 0)
    throwWriteError(path, fileErrorText(errno));
  TemporaryFile temporary(pattern);
  FileDescriptor file(descriptor);

  // Keep the old file's permissions; a new file stays private to its owner.
  if (exists && S_ISREG(old.st_mode) && ::fchmod(file.get(), old.st_mode & 07777) != 0)
    throwWriteError(path, fileErrorText(errno));

  if (const int error = writeAll(file.get(), content); error != 0)
    throwWriteError(path, fileErrorText(error));
  if (::fdatasync(file.get()) != 0)
    throwWriteError(path, fileErrorText(errno));
  if (const int error = file.close(); error != 0)
    throwWriteError(path, fileErrorText(error));
  if (::rename(temporary.path().c_str(), target.c_str()) != 0)
    throwWriteError(path, fileErrorText(errno));
  temporary.release();
  syncFolderOf(target);
}

std::optional<std::string> danglingLinkTarget(const std::string& path) {
  struct stat info {};
  if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode))
    return std::nullopt;
  if (::stat(path.c_str(), &info) == 0 || (errno != ENOENT && errno != ENOTDIR))
    return std::nullopt;
  return resolvedTarget(path);
}

void removeLeftoverSaves(const std::string& path, std::chrono::system_clock::time_point before) {
  removeLeftoverSavesOf(path, before);
  const std::string target = resolvedTarget(path);
  if (target != path)
    removeLeftoverSavesOf(target, before);
}

} // namespace zr
