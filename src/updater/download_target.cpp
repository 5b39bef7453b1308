// SPDX-License-Identifier: MIT

#include "updater/download_target.h"

#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>
#include <algorithm>
#include <limits>

namespace zr {

qint64 DownloadTarget::freeSpaceMargin(qint64 diskSize) {
  return std::min<qint64>(kFreeSpaceMargin, diskSize / 20);
}

DownloadTarget::DownloadTarget(const QString& name, const QString& path, const QByteArray& sha256)
    : name_(name), path_(path), sha256_(sha256.toLower()) {}

bool DownloadTarget::open() {
  if (path_.isEmpty())
    return true;
  const QStorageInfo storage(QFileInfo(path_).absolutePath());
  limit_ =
      storage.isValid() && storage.bytesAvailable() >= 0
          ? std::max<qint64>(0, storage.bytesAvailable() - freeSpaceMargin(storage.bytesTotal()))
          : std::numeric_limits<qint64>::max();
  // A link in the download folder is replaced by the file, never written through
  // (the file would land wherever the link points).
  if (QFileInfo(path_).isSymLink() && !QFile::remove(path_))
    return fail("Unable to create " + path_ + ": the link in its place cannot be removed");
  file_ = std::make_unique<QSaveFile>(path_);
  if (!file_->open(QIODevice::WriteOnly | QIODevice::Unbuffered))
    return fail("Unable to create " + path_ + ": " + file_->errorString());
  return true;
}

bool DownloadTarget::accepts(qint64 promisedLength) {
  return promisedLength <= limit_ || fail(limitText());
}

bool DownloadTarget::write(const QByteArray& data) {
  if (!error_.isEmpty())
    return false;
  received_ += data.size();
  if (received_ > limit_)
    return fail(limitText());
  hash_.addData(data);
  if (!file_) {
    memory_.append(data);
    return true;
  }
  if (file_->write(data) != data.size())
    return fail("Unable to write " + path_ + ": " + file_->errorString());
  return true;
}

bool DownloadTarget::finish(std::optional<qint64> promisedLength) {
  if (!error_.isEmpty())
    return false;
  if (promisedLength && *promisedLength != received_)
    return fail(
        QString("%1 ended after %2 of %3 bytes.").arg(name_).arg(received_).arg(*promisedLength));
  if (!sha256_.isEmpty() && hash_.result().toHex() != sha256_)
    return fail(name_ + " does not match its SHA-256 digest.");
  if (file_ && !file_->commit())
    return fail("Unable to write " + path_ + ": " + file_->errorString());
  return true;
}

void DownloadTarget::discard() {
  if (file_)
    file_->cancelWriting();
  file_.reset();
  memory_.clear();
}

bool DownloadTarget::fail(const QString& error) {
  if (error_.isEmpty())
    error_ = error;
  discard();
  return false;
}

QString DownloadTarget::limitText() const {
  if (!file_)
    return name_ + " is larger than 1 MiB.";
  return name_ + " is larger than the free space in " + QFileInfo(path_).absolutePath() + ".";
}

} // namespace zr
