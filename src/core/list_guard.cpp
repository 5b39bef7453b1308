// SPDX-License-Identifier: MIT

#include "core/list_guard.h"

#include <utility>
#include <vector>

namespace zr {

void ListGuard::change(Work work) {
  switch (state_) {
  case State::Closed:
    return;
  case State::Busy:
    queue_.push_back({std::move(work), false});
    return;
  case State::Free:
    hold(work);
    return;
  }
}

bool ListGuard::passIfFree(const Work& work) {
  if (state_ != State::Free)
    return false;
  hold(work);
  return true;
}

void ListGuard::close(Work closeSequence) {
  if (state_ == State::Closed || closeQueued_)
    return;
  if (state_ == State::Busy) {
    closeQueued_ = true;
    queue_.push_back({std::move(closeSequence), true});
    return;
  }
  state_ = State::Closed;
  closeSequence();
}

void ListGuard::hold(const Work& work) {
  state_ = State::Busy;
  std::exception_ptr failure;
  try {
    work();
  } catch (...) {
    failure = std::current_exception();
  }
  state_ = State::Free;
  runQueued();
  if (failure)
    std::rethrow_exception(failure);
}

void ListGuard::runQueued() {
  std::vector<std::exception_ptr> failures;
  while (!queue_.empty() && state_ == State::Free) {
    Queued next = std::move(queue_.front());
    queue_.pop_front();
    state_ = next.closes ? State::Closed : State::Busy;
    try {
      next.work();
    } catch (const std::exception&) {
      failures.push_back(std::current_exception());
    }
    if (state_ == State::Busy)
      state_ = State::Free;
  }
  if (state_ == State::Closed)
    queue_.clear();
  for (const std::exception_ptr& failure : failures) {
    try {
      std::rethrow_exception(failure);
    } catch (const std::exception& error) {
      reportError_(error);
    }
  }
}

} // namespace zr
