// SPDX-License-Identifier: MIT

#include "app/desktop_alerts.h"

#include "alerts/alert_window.h"
#include "alerts/show_reminder_alert.h"
#include "app/main_window.h"
#include "platform/stored_text.h"

namespace zr {

DesktopAlerts::DesktopAlerts(MainWindow& window) : window_(window) {}

void DesktopAlerts::showReminderAlert(const Reminder& reminder, const std::string& lateNote) {
  AlertWindow* alert =
      zr::showReminderAlert(reminder, stack_, sound_, &window_, toShownText(lateNote));
  QObject::connect(alert, &AlertWindow::closing, &window_, [this](AlertWindow* closing) {
    window_.reminderClose(closing->takeReminder(), closing->snoozeMinutes());
  });
}

void DesktopAlerts::activateNewestAlert() {
  stack_.activateNewest();
}

void DesktopAlerts::closeAllAlerts() {
  stack_.closeAll();
}

std::vector<const Reminder*> DesktopAlerts::openAlerts() const {
  std::vector<const Reminder*> open;
  // One that is closing has handed its copy over already.
  for (const AlertWindow* alert : stack_.openAlerts()) {
    if (alert->reminder())
      open.push_back(alert->reminder());
  }
  return open;
}

} // namespace zr
