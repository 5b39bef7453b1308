// SPDX-License-Identifier: MIT

#pragma once

#include <QtGlobal>
#include <deque>
#include <utility>

namespace zr {

// Tells a transfer that goes too slowly: one that received fewer than
// minimumBytesPerSecond on average over the last window (measured from its
// start, so a new transfer has a whole window to get going). A floor of 0
// never finds a transfer too slow.
class TransferPace {
public:
  TransferPace(qint64 minimumBytesPerSecond, qint64 windowMs);

  // The bytes received in all by the moment elapsedMs after the start; moments
  // come in order.
  void record(qint64 elapsedMs, qint64 receivedBytes);
  bool tooSlow() const { return tooSlow_; }

private:
  qint64 minimumBytes_;
  qint64 windowMs_;
  // The samples of the last window, and the newest one before it.
  std::deque<std::pair<qint64, qint64>> samples_{{0, 0}};
  bool tooSlow_ = false;
};

} // namespace zr
