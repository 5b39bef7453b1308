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

std::vector<const Reminder*> DesktopAlerts::openAlerts() const {
  std::vector<const Reminder*> open;
  // The alerts are the window's children in the order they were made; one that is
  // closing has handed its copy over already.
  for (const AlertWindow* alert : window_.findChildren<AlertWindow*>(Qt::FindDirectChildrenOnly)) {
    if (alert->reminder())
      open.push_back(alert->reminder());
  }
  return open;
}

} // namespace zr
