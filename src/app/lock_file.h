// SPDX-License-Identifier: MIT

#pragma once

#include <QString>
#include <cstdint>

namespace zr {

// The system's exclusive lock on a data folder's lock file, taken without waiting. It
// ends with the process that holds it, so a file a killed copy leaves is simply taken
// over. The file tells people who look which process on which computer holds it.
class LockFile {
public:
  enum class Result { Taken, HeldByOther, CannotOpen };

  LockFile() = default;
  LockFile(const LockFile&) = delete;
  LockFile& operator=(const LockFile&) = delete;
  // A taken lock file is removed while still locked, so that no later copy takes a file
  // on its way out.
  ~LockFile();

  // Why what stands at the path is no lock file ("it is a folder", "it holds 5000
  // bytes"...); empty for a regular file of at most `maxSize` bytes or nothing at all.
  static QString unusableText(const QString& path, qint64 maxSize);
  // Whether anything stands at the path (a link that leads nowhere too).
  static bool standsThere(const QString& path);

  // Opens the file, made when missing, and locks it. Only a regular file of at most
  // `maxSize` bytes is locked; anything else cannot be opened.
  Result take(const QString& path, qint64 maxSize);
  // After HeldByOther: the process that holds the lock, 0 when it cannot be told.
  qint64 holder() const { return holder_; }
  // After CannotOpen: why, as the system says it.
  const QString& error() const { return error_; }

private:
  QString path_;
  std::intptr_t handle_ = -1; // the open file: a descriptor, or a handle on Windows
  qint64 holder_ = 0;
  QString error_;
};

} // namespace zr
