// SPDX-License-Identifier: MIT

#pragma once

#include <QByteArray>
#include <QCryptographicHash>
#include <QSaveFile>
#include <QString>
#include <memory>
#include <optional>

namespace zr {

// Where the body of one transfer goes: into memory, up to 1 MiB, or into a
// file. A file appears under its name only once the whole body has arrived,
// been written to the disk, had the length the server promised and matched
// its SHA-256 digest (when one is given), so a failed transfer neither leaves
// a partial file nor spoils an earlier file of that name. A file may not grow
// beyond the free space its folder had when it was opened, less a margin that
// is left for the rest of the system (freeSpaceMargin). Each failure leaves an
// error text that names the file.
class DownloadTarget {
public:
  static constexpr qint64 kMemoryLimit = 1024 * 1024;
  static constexpr qint64 kFreeSpaceMargin = 64 * 1024 * 1024;

  // What a download leaves free on a disk of that size: 64 MiB, or 5 % of a
  // disk smaller than 1.25 GiB, so that a small disk can still take an update.
  static qint64 freeSpaceMargin(qint64 diskSize);

  // An empty path receives into memory; sha256 is empty or 64 hex digits.
  DownloadTarget(const QString& name, const QString& path, const QByteArray& sha256 = {});

  bool open();
  // Whether a body of the promised length may come at all.
  bool accepts(qint64 promisedLength);
  bool write(const QByteArray& data);
  // Checks the received length against the promised one (when there was a
  // promise) and the digest, and puts the file in place.
  bool finish(std::optional<qint64> promisedLength);
  // Drops what was received; a file is not created.
  void discard();

  const QByteArray& memory() const { return memory_; }
  const QString& error() const { return error_; }

private:
  bool fail(const QString& error);
  QString limitText() const;

  QString name_;
  QString path_;
  QByteArray sha256_;
  std::unique_ptr<QSaveFile> file_;
  QByteArray memory_;
  QCryptographicHash hash_{QCryptographicHash::Sha256};
  qint64 received_ = 0;
  qint64 limit_ = kMemoryLimit;
  QString error_;
};

} // namespace zr
