// SPDX-License-Identifier: MIT

#include "core/file_io.h"

#include "core/error.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zr {
namespace {

[[noreturn]] void throwFileError(int errorNumber) {
  throw Error(fileErrorText(errorNumber));
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

// The file a path names: the target of a symbolic link, else the path itself.
std::string resolvedTarget(const std::string& path) {
  struct stat info {};
  if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode))
    return path;
  char resolved[PATH_MAX];
  if (::realpath(path.c_str(), resolved) == nullptr)
    return path;
  return resolved;
}

void writeAll(int descriptor, std::string_view content) {
  while (!content.empty()) {
    const ssize_t written = ::write(descriptor, content.data(), content.size());
    if (written < 0) {
      if (errno == EINTR)
        continue;
      throwFileError(errno);
    }
    content.remove_prefix(static_cast<std::size_t>(written));
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

bool fileExists(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && !S_ISDIR(info.st_mode);
}

std::string readWholeFile(const std::string& path) {
  FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (file.get() < 0)
    throwFileError(errno);
  struct stat info {};
  if (::fstat(file.get(), &info) != 0)
    throwFileError(errno);
  std::string content;
  content.reserve(info.st_size > 0 ? static_cast<std::size_t>(info.st_size) : 0);
  char buffer[65536];
  for (;;) {
    const ssize_t count = ::read(file.get(), buffer, sizeof buffer);
    if (count < 0) {
      if (errno == EINTR)
        continue;
      throwFileError(errno);
    }
    if (count == 0)
      break;
    content.append(buffer, static_cast<std::size_t>(count));
  }
  return content;
}

void replaceFileContent(const std::string& path, std::string_view content) {
  const std::string target = resolvedTarget(path);
  std::string pattern = target + ".XXXXXX";
  const int descriptor = ::mkostemp(pattern.data(), O_CLOEXEC);
  if (descriptor < 0)
    throwFileError(errno);
  TemporaryFile temporary(pattern);
  FileDescriptor file(descriptor);

  // Keep the old file's permissions; a new file stays private to its owner.
  struct stat old {};
  if (::stat(target.c_str(), &old) == 0 && ::fchmod(file.get(), old.st_mode & 07777) != 0)
    throwFileError(errno);

  writeAll(file.get(), content);
  if (::fdatasync(file.get()) != 0)
    throwFileError(errno);
  if (const int error = file.close(); error != 0)
    throwFileError(error);
  if (::rename(temporary.path().c_str(), target.c_str()) != 0)
    throwFileError(errno);
  temporary.release();
}

} // namespace zr
