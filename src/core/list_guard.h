// SPDX-License-Identifier: MIT

#pragma once

#include <deque>
#include <exception>
#include <functional>

namespace zr {

// Serialises the work on the reminder list: the check pass, the commands that
// change the list, and the close. Everything runs on the one user-interface
// thread, so the guard is a plain state, never a lock:
//
//   Free   nothing holds the list;
//   Busy   one piece of work holds it;
//   Closed the close sequence has started; the list is gone for good.
//
// A pass runs only on a free list. A change or the close that asks while the
// list is busy was started from an event loop that runs inside the holder (a
// dialog or message box the holder opened), so it cannot wait on the stack: the
// holder only resumes once the asker returns. It is queued instead and runs as
// soon as the holder lets go, while the event loop goes on meanwhile. Once the
// list is closed, every request returns at once and queued changes are dropped,
// so nothing ever waits for a list that will not come back.
class ListGuard {
public:
  using Work = std::function<void()>;
  using ErrorReporter = std::function<void(const std::exception&)>;
  enum class State { Free, Busy, Closed };

  // `reportError` hears of what queued work throws, once the list is free again.
  explicit ListGuard(ErrorReporter reportError) : reportError_(std::move(reportError)) {}
  ListGuard(const ListGuard&) = delete;
  ListGuard& operator=(const ListGuard&) = delete;

  State state() const { return state_; }
  bool isClosed() const { return state_ == State::Closed; }

  // A change: runs `work` holding the list. On a free list it runs at once and
  // what it throws reaches the caller after the list is free again; on a busy
  // list it is queued; on a closed list it is dropped.
  void change(Work work);
  // A check pass: runs `work` holding the list only when the list is free now.
  // Returns whether it ran; what it throws reaches the caller.
  bool passIfFree(const Work& work);
  // The close: the list becomes closed and `closeSequence` runs, at once on a
  // free list, or queued behind the holder on a busy one. A close asked for
  // while another is under way or done returns at once.
  void close(Work closeSequence);

private:
  struct Queued {
    Work work;
    bool closes;
  };

  void hold(const Work& work);
  // Runs the queued work in order, until the queue is empty or the list closed,
  // and reports what it threw.
  void runQueued();

  ErrorReporter reportError_;
  State state_ = State::Free;
  bool closeQueued_ = false;
  std::deque<Queued> queue_;
};

} // namespace zr
