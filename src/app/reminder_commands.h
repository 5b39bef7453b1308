// SPDX-License-Identifier: MIT

#pragma once

#include "core/list_guard.h"

#include <functional>

class QWidget;

namespace zr {

class AlertPresenter;
class Clock;
class CommandPrompts;
class ReminderTableModel;
class ReminderTableView;

// The commands on the reminders of the list: add, edit, delete, duplicate and test.
// They ask through the prompts, then hand their change of the list to `changeList`,
// which may run it later; errors are thrown to the caller.
class ReminderCommands {
public:
  struct Parts {
    const Clock& clock;
    ReminderTableModel& model;
    const ReminderTableView& view; // its selected reminder is the one worked on
    CommandPrompts& prompts;
    AlertPresenter& alerts;
    QWidget* dialogParent;
    std::function<void(ListGuard::Work)> changeList;
  };

  explicit ReminderCommands(Parts parts) : parts_(std::move(parts)) {}

  void add();
  void edit();
  void remove();
  void duplicate();
  void test();

private:
  Parts parts_;
};

} // namespace zr
