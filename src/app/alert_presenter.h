// SPDX-License-Identifier: MIT

#pragma once

#include "core/reminder.h"

#include <string>
#include <vector>

namespace zr {

// Shows the desktop alert of one reminder. The alert keeps its own copy and
// never changes the reminder it is given; when the user closes it, its copy
// goes back to MainWindow::reminderClose with the chosen snooze minutes.
class AlertPresenter {
public:
  virtual ~AlertPresenter() = default;
  // `lateNote` (stored text, usually empty) follows the name in the alert's caption:
  // "(missed 09:30:00 am)" for a reminder that came due while the program was off.
  virtual void showReminderAlert(const Reminder& reminder, const std::string& lateNote) = 0;
  // Gives the keyboard to the newest open alert, if any.
  virtual void activateNewestAlert() = 0;
  // Closes every open alert, each with the snooze minutes it shows.
  virtual void closeAllAlerts() = 0;
  // The copies of the alerts still on screen, oldest first; they stay the alerts' own.
  virtual std::vector<const Reminder*> openAlerts() const = 0;
};

} // namespace zr
