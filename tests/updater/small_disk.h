// SPDX-License-Identifier: MIT

#pragma once

#include <QByteArray>
#include <QDir>
#include <QStorageInfo>
#include <QTemporaryDir>
#include <cerrno>
#include <cstring>
#include <string>
#include <sys/mount.h>

namespace zr::test {

// A small tmpfs mounted on a temporary folder for one test, for a disk that
// fills up. Mounting needs the right to mount; where it is missing, mounted()
// is false and problem() says why, for the test to skip.
class SmallDisk {
public:
  explicit SmallDisk(qint64 bytes) {
    const QByteArray options = "size=" + QByteArray::number(bytes) + ",mode=0700";
    if (::mount("tmpfs", path().toLocal8Bit().constData(), "tmpfs", MS_NOSUID | MS_NODEV,
                options.constData()) == 0)
      mounted_ = true;
    else
      problem_ = std::string("cannot mount a tmpfs: ") + std::strerror(errno);
  }

  ~SmallDisk() {
    if (mounted_)
      ::umount2(path().toLocal8Bit().constData(), MNT_DETACH);
  }

  SmallDisk(const SmallDisk&) = delete;
  SmallDisk& operator=(const SmallDisk&) = delete;

  bool mounted() const { return mounted_; }
  const std::string& problem() const { return problem_; }
  QString path() const { return dir_.path(); }
  qint64 freeBytes() const { return QStorageInfo(path()).bytesAvailable(); }
  // Every file in the disk's top folder.
  QStringList files() const { return QDir(path()).entryList(QDir::Files | QDir::Hidden); }

private:
  QTemporaryDir dir_;
  bool mounted_ = false;
  std::string problem_;
};

} // namespace zr::test
