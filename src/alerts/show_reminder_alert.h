// SPDX-License-Identifier: MIT

#pragma once

#include "core/reminder.h"

#include <QString>

class QWidget;

namespace zr {

class AlertStack;
class AlertWindow;
class SoundPlayer;

// Builds the alert of one reminder with a private copy of it, places it on the
// stack, starts the reminder's sound when it has one and shows the alert. A late
// note follows the name in the caption (see AlertWindow). The reminder given is
// never changed. The owner connects to AlertWindow::closing to
// take the copy and the snooze minutes; the alert deletes itself after closing.
AlertWindow* showReminderAlert(const Reminder& reminder, AlertStack& stack, SoundPlayer& sound,
                               QWidget* owner, const QString& lateNote = QString());

} // namespace zr
