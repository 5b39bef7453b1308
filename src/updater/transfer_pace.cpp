// SPDX-License-Identifier: MIT

#include "updater/transfer_pace.h"

namespace zr {

TransferPace::TransferPace(qint64 minimumBytesPerSecond, qint64 windowMs)
    : minimumBytes_(minimumBytesPerSecond * windowMs / 1000), windowMs_(windowMs) {}

void TransferPace::record(qint64 elapsedMs, qint64 receivedBytes) {
  if (minimumBytes_ <= 0 || tooSlow_)
    return;
  samples_.emplace_back(elapsedMs, receivedBytes);
  const qint64 windowStart = elapsedMs - windowMs_;
  if (windowStart < 0)
    return;
  // Keep the newest sample at or before the window's start: the count there is
  // what the window's bytes are measured from.
  while (samples_.size() > 1 && samples_[1].first <= windowStart)
    samples_.pop_front();
  tooSlow_ = receivedBytes - samples_.front().second < minimumBytes_;
}

} // namespace zr
