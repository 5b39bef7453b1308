// SPDX-License-Identifier: MIT

#include "app/lock_file.h"

#include <QFile>
#include <QSysInfo>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zr {
namespace {

QString unusableText(const struct stat& info, qint64 maxSize) {
  if (S_ISLNK(info.st_mode))
    return "it is a symbolic link";
  if (S_ISDIR(info.st_mode))
    return "it is a folder";
  if (S_ISFIFO(info.st_mode))
    return "it is a named pipe";
  if (S_ISSOCK(info.st_mode))
    return "it is a socket";
  if (!S_ISREG(info.st_mode))
    return "it is a device";
  if (info.st_size > maxSize)
    return QString("it holds %1 bytes").arg(info.st_size);
  return {};
}

// Takes the system's locks on the whole open file without waiting: flock for this
// computer, a record lock for network file systems.
bool lockWholeFile(int descriptor) {
  if (::flock(descriptor, LOCK_EX | LOCK_NB) != 0)
    return false;
  struct flock request {};
  request.l_type = F_WRLCK;
  request.l_whence = SEEK_SET;
  return ::fcntl(descriptor, F_SETLK, &request) == 0;
}

pid_t lockHolder(int descriptor) {
  struct flock probe {};
  probe.l_type = F_WRLCK;
  probe.l_whence = SEEK_SET;
  if (::fcntl(descriptor, F_GETLK, &probe) != 0 || probe.l_type == F_UNLCK)
    return 0;
  return probe.l_pid;
}

} // namespace

LockFile::~LockFile() {
  if (handle_ < 0)
    return;
  ::unlink(QFile::encodeName(path_).constData());
  ::close(static_cast<int>(handle_));
}

QString LockFile::unusableText(const QString& path, qint64 maxSize) {
  struct stat info {};
  if (::lstat(QFile::encodeName(path).constData(), &info) != 0)
    return {};
  return zr::unusableText(info, maxSize);
}

bool LockFile::standsThere(const QString& path) {
  struct stat info {};
  return ::lstat(QFile::encodeName(path).constData(), &info) == 0;
}

LockFile::Result LockFile::take(const QString& path, qint64 maxSize) {
  path_ = path;
  holder_ = 0;
  error_.clear();
  const int descriptor =
      ::open(QFile::encodeName(path).constData(),
             O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0644);
  if (descriptor < 0) {
    error_ = std::strerror(errno);
    return Result::CannotOpen;
  }
  struct stat info {};
  if (::fstat(descriptor, &info) != 0 || !zr::unusableText(info, maxSize).isEmpty()) {
    ::close(descriptor);
    error_ = std::strerror(EINVAL);
    return Result::CannotOpen;
  }
  if (!lockWholeFile(descriptor)) {
    const int lockError = errno;
    const bool held = lockError == EWOULDBLOCK || lockError == EAGAIN || lockError == EACCES;
    holder_ = held ? lockHolder(descriptor) : 0;
    ::close(descriptor);
    error_ = std::strerror(lockError);
    return held ? Result::HeldByOther : Result::CannotOpen;
  }
  // For people who look: which process on which computer holds it.
  const QByteArray content =
      QByteArray::number(::getpid()) + "\nZRDorvel\n" + QSysInfo::machineHostName().toUtf8() + '\n';
  if (::ftruncate(descriptor, 0) != 0 ||
      ::pwrite(descriptor, content.constData(), content.size(), 0) != content.size())
    error_ = std::strerror(errno);
  handle_ = descriptor;
  return Result::Taken;
}

} // namespace zr
