// SPDX-License-Identifier: MIT

#pragma once

#include <QTimer>

namespace zr {

// Switches the check timer off for a pass or a change, and on again however
// it ends, so the next pass comes a full interval after it.
class TimerPause {
public:
  explicit TimerPause(QTimer& timer) : timer_(timer) { timer_.stop(); }
  ~TimerPause() { timer_.start(); }
  TimerPause(const TimerPause&) = delete;
  TimerPause& operator=(const TimerPause&) = delete;

private:
  QTimer& timer_;
};

} // namespace zr
