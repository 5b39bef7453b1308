// SPDX-License-Identifier: MIT

#include "alerts/show_reminder_alert.h"

#include "alerts/alert_stack.h"
#include "alerts/alert_window.h"
#include "platform/sound_player.h"

namespace zr {

AlertWindow* showReminderAlert(const Reminder& reminder, AlertStack& stack, SoundPlayer& sound,
                               QWidget* owner, const QString& lateNote) {
  auto* alert = new AlertWindow(reminder, owner, lateNote);
  stack.add(alert);
  if (!reminder.audioFile.empty())
    sound.play(reminder.audioFile);
  alert->show();
  return alert;
}

} // namespace zr
