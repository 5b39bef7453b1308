// SPDX-License-Identifier: MIT

#pragma once

#include "alerts/alert_stack.h"
#include "app/alert_presenter.h"
#include "platform/system_sound_player.h"

namespace zr {

class MainWindow;

// Shows reminders as alert windows stacked at the lower right of the screen, with
// their sounds. Closing an alert hands its copy back to the main window, which
// snoozes it or drops it.
class DesktopAlerts final : public AlertPresenter {
public:
  explicit DesktopAlerts(MainWindow& window);
  void showReminderAlert(const Reminder& reminder, const std::string& lateNote) override;
  void activateNewestAlert() override;
  void closeAllAlerts() override;
  std::vector<const Reminder*> openAlerts() const override;

private:
  MainWindow& window_;
  AlertStack stack_;
  SystemSoundPlayer sound_;
};

} // namespace zr
