// SPDX-License-Identifier: MIT

#include "core/missed_reminders.h"

#include <algorithm>
#include <limits>

namespace zr {
namespace {

// How far before the start the search for the latest missed occurrence looks first:
// a day holds a daily occurrence, a week a weekly one, two months a monthly one and
// four years a yearly one; only then does it walk on from the earliest missed moment.
constexpr DateTime kLookBackDays[] = {1, 7, 62, 1465, std::numeric_limits<DateTime>::infinity()};

// The first occurrence of the schedule not earlier than `from`, seen from that moment
// (the schedule search starts on the clock's day); 0 when there is none.
DateTime occurrenceFrom(Reminder& schedule, DateTime from) {
  const FixedClock clockAtFrom(from);
  return schedule.calculateNextScheduled(from, clockAtFrom);
}

} // namespace

DateTime missedMoment(const Reminder& reminder, DateTime start) {
  if (!reminder.enabled || reminder.nextScheduled == 0 || !(reminder.nextScheduled < start))
    return 0;
  const DateTime earliest = std::max(reminder.nextScheduled, reminder.lastRun + kOneMillisecond);
  Reminder schedule = reminder; // the search switches a past once-only reminder off
  for (const DateTime lookBack : kLookBackDays) {
    const DateTime from = std::max(earliest, start - lookBack);
    DateTime found = occurrenceFrom(schedule, from);
    // Far from day 0 a millisecond is lost in rounding: the last run itself is no miss.
    if (found != 0 && found < start && found > reminder.lastRun) {
      for (DateTime later = occurrenceFrom(schedule, found + kOneMillisecond);
           later > found && later < start;
           later = occurrenceFrom(schedule, found + kOneMillisecond))
        found = later;
      return found;
    }
    if (from == earliest)
      return 0;
  }
  return 0;
}

std::vector<MissedReminder> takeMissedReminders(ReminderList& list, DateTime start,
                                                const Clock& clock) {
  std::vector<MissedReminder> missed;
  for (int row = 0; row < list.rowCount(); ++row) {
    Reminder* reminder = list.reminderAt(row);
    if (!reminder)
      continue;
    const DateTime moment = missedMoment(*reminder, start);
    if (moment == 0)
      continue;
    reminder->lastRun = clock.now();
    missed.push_back({reminder, moment});
  }
  return missed;
}

std::string missedNote(DateTime moment, DateTime today, const DateTimeSeparators& separators) {
  const bool onToday = serialDay(moment) == serialDay(today);
  return "(missed " +
         (onToday ? formatTimeText(moment, separators) : formatDateTimeText(moment, separators)) +
         ")";
}

} // namespace zr
