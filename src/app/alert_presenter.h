// SPDX-License-Identifier: MIT

#pragma once

#include "core/reminder.h"

namespace zr {

// Shows the desktop alert of one reminder. The alert keeps its own copy and
// never changes the reminder it is given; when the user closes it, its copy
// goes back to MainWindow::reminderClose with the chosen snooze minutes.
class AlertPresenter {
public:
  virtual ~AlertPresenter() = default;
  virtual void showReminderAlert(const Reminder& reminder) = 0;
};

} // namespace zr
