// SPDX-License-Identifier: MIT

// Feeds arbitrary bytes to both reminders-file readers. Whatever a reader
// accepts must give its missed moments and refresh without trouble, must alert
// each occurrence once while the clock goes on, falls back and jumps, and the file
// written from it must read back with the same number of reminders.

#include "core/error.h"
#include "core/missed_reminders.h"
#include "core/reminder_checker.h"
#include "core/reminders_file.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <set>
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

// The start with missed reminders shown, then passes while the clock runs on, falls
// back, is set back by hand and jumps ahead: no reminder alerts twice for one
// occurrence (the moment it came due at), nor again for the one it missed.
void checkOnceOnly(const zr::ReminderList& read, const zr::Clock& startClock) {
  zr::ReminderList list;
  parseRemindersV2(zr::formatReminders(read), list, startClock);
  zr::FixedClock clock(startClock.now());
  std::map<const zr::Reminder*, std::set<std::int64_t>> alerted;
  for (const zr::MissedReminder& missed : zr::takeMissedReminders(list, clock.now(), clock))
    alerted[missed.reminder].insert(zr::wholeMilliseconds(missed.moment));
  list.refreshReminderList(clock.now(), clock);
  zr::ReminderChecker checker(clock);
  constexpr double kSecond = 1.0 / 86400;
  const double steps[] = {5 * kSecond,         3600 * kSecond, -3600 * kSecond,
                          5 * kSecond,         -2 * kSecond,   1800 * kSecond,
                          30 * 3600 * kSecond, -1.5,           5 * kSecond};
  for (const double step : steps) {
    clock.advance(step);
    const zr::CheckPass pass = checker.check(list, true);
    for (const zr::Reminder* due : pass.due) {
      std::set<std::int64_t>& moments = alerted[due];
      const std::int64_t moment = zr::wholeMilliseconds(due->nextScheduled);
      if (!moments.empty() && moment <= *moments.rbegin())
        std::abort();
      moments.insert(moment);
    }
    list.refreshReminderList(pass.refreshAfter, clock);
  }
}

void checkRoundTrip(zr::ReminderList& list, const zr::Clock& clock) {
  checkMissed(list, clock);
  checkOnceOnly(list, clock);
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
