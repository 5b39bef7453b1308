// SPDX-License-Identifier: MIT

#include "app/reminder_commands.h"

#include "app/alert_presenter.h"
#include "app/command_prompts.h"
#include "app/reminder_table_model.h"
#include "app/reminder_table_view.h"
#include "platform/stored_text.h"

#include <memory>

namespace zr {

void ReminderCommands::add() {
  auto reminder = std::make_shared<Reminder>(parts_.clock.today());
  if (!parts_.prompts.editReminder(parts_.dialogParent, *reminder))
    return;
  parts_.changeList([this, reminder] {
    const DateTime now = parts_.clock.now();
    parts_.model.appendReminder(std::make_unique<Reminder>(std::move(*reminder)));
    parts_.model.refreshReminderList(now, parts_.clock);
  });
}

void ReminderCommands::edit() {
  const Reminder* reminder = parts_.view.selectedReminder();
  if (!reminder)
    return;
  // The dialog edits a copy: a pass or a change made outside may move or remove the
  // reminder while it is open.
  auto edited = std::make_shared<Reminder>(*reminder);
  if (!parts_.prompts.editReminder(parts_.dialogParent, *edited))
    return;
  parts_.changeList([this, reminder, edited] {
    const int row = parts_.model.rowOf(reminder);
    if (row < 0) {
      parts_.model.appendReminder(std::make_unique<Reminder>(std::move(*edited)));
    } else {
      Reminder& original = *parts_.model.reminderAt(row);
      edited->lastRun = original.lastRun;
      original = std::move(*edited);
    }
    parts_.model.refreshReminderList(parts_.clock.now(), parts_.clock);
  });
}

void ReminderCommands::remove() {
  const Reminder* reminder = parts_.view.selectedReminder();
  if (!reminder ||
      !parts_.prompts.confirm(parts_.dialogParent, "Are you sure you wish to delete " +
                                                       toShownText(reminder->name) + "?"))
    return;
  parts_.changeList([this, reminder] {
    // A check pass during the question may have moved the reminder to another row.
    const int row = parts_.model.rowOf(reminder);
    if (row >= 0)
      parts_.model.removeReminderRow(row);
  });
}

void ReminderCommands::duplicate() {
  const Reminder* reminder = parts_.view.selectedReminder();
  if (!reminder)
    return;
  auto copy = std::make_shared<Reminder>(parts_.clock.today());
  copy->copyFrom(*reminder);
  copy->lastRun = 0;
  parts_.changeList([this, copy] {
    const DateTime now = parts_.clock.now();
    parts_.model.appendReminder(std::make_unique<Reminder>(std::move(*copy)));
    parts_.model.refreshReminderList(now, parts_.clock);
  });
}

void ReminderCommands::test() {
  if (const Reminder* reminder = parts_.view.selectedReminder())
    parts_.alerts.showReminderAlert(*reminder, {});
}

} // namespace zr
