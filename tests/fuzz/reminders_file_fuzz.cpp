// SPDX-License-Identifier: MIT

// Feeds arbitrary bytes to both reminders-file readers. Whatever a reader
// accepts must give its missed moments and refresh without trouble, and the file
// written from it must read back with the same number of reminders.

#include "core/error.h"
#include "core/missed_reminders.h"
#include "core/reminders_file.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

// A missed moment lies before the start, after the last run and not before the
// stored next moment.
void checkMissed(const zr::ReminderList& list, const zr::Clock& clock) {
  for (int row = 0; row < list.reminderCount(); ++row) {
    const zr::Reminder& reminder = *list.reminderAt(row);
    const zr::DateTime missed = zr::missedMoment(reminder, clock.now());
    if (missed != 0 &&
        !(missed < clock.now() && missed > reminder.lastRun && missed >= reminder.nextScheduled))
      std::abort();
  }
}

void checkRoundTrip(zr::ReminderList& list, const zr::Clock& clock) {
  checkMissed(list, clock);
  list.refreshReminderList(clock.now(), clock);
  list.headerClicked(zr::ReminderList::NameColumn);
  const std::string saved = zr::formatReminders(list);
  zr::ReminderList reloaded;
  try {
    zr::parseRemindersV2(saved, reloaded, clock);
  } catch (const zr::Error&) {
    std::abort();
  }
  if (reloaded.reminderCount() != list.reminderCount())
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view content(reinterpret_cast<const char*>(data), size);
  const zr::FixedClock clock(45362.75);
  const zr::RegionalSettings regional{zr::RegionalSettings::DateOrder::DayMonthYear, ".", ":", "AM",
                                      "PM"};

  zr::ReminderList current;
  try {
    zr::parseRemindersV2(content, current, clock);
  } catch (const zr::Error&) {
  }
  checkRoundTrip(current, clock);

  zr::ReminderList legacy;
  try {
    zr::parseRemindersLegacy(content, legacy, regional, clock);
  } catch (const zr::Error&) {
  }
  checkRoundTrip(legacy, clock);
  return 0;
}
