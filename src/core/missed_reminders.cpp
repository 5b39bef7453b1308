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
  if (!reminder.enabled || reminder.nextScheduled == 0)
    return 0;
  // Stored moments meet computed ones here: the file keeps 15 digits, so a stored
  // moment may lie a little above or below the occurrence it stands for. Both are
  // compared as whole milliseconds, the resolution at which they are shown.
  const std::int64_t startMillisecond = wholeMilliseconds(start);
  const std::int64_t earliestMillisecond =
      std::max(wholeMilliseconds(reminder.nextScheduled), wholeMilliseconds(reminder.lastRun) + 1);
  if (earliestMillisecond >= startMillisecond)
    return 0;
  const auto isMissed = [&](DateTime found) {
    if (found == 0)
      return false;
    const std::int64_t millisecond = wholeMilliseconds(found);
    return millisecond >= earliestMillisecond && millisecond < startMillisecond;
  };
  const DateTime earliest = startOfMillisecond(earliestMillisecond);
  Reminder schedule = reminder; // the search switches a past once-only reminder off
  for (const DateTime lookBack : kLookBackDays) {
    const DateTime from = std::max(earliest, start - lookBack);
    DateTime found = occurrenceFrom(schedule, from);
    if (isMissed(found)) {
      for (DateTime later = occurrenceFrom(schedule, found + kOneMillisecond);
           later > found && isMissed(later);
           later = occurrenceFrom(schedule, later + kOneMillisecond))
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
