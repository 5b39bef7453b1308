// SPDX-License-Identifier: MIT

#pragma once

#include "core/date_time.h"
#include "core/date_time_text.h"
#include "core/reminder.h"
#include "core/reminder_list.h"

#include <string>
#include <vector>

namespace zr {

// The latest moment the reminder came due while the program was not running, or 0.
// Only an enabled reminder whose stored NextScheduled is set and lies before `start`
// can have missed one: an occurrence of its schedule not earlier than that stored
// moment, later than its LastRun (the moment it last fired) and before `start`. The
// stored NextScheduled is the one of the last save, which a pass makes before it moves
// the fired reminders on, so the occurrences are searched afresh from there. Moments are
// compared as whole milliseconds: a stored one within the file's rounding of an
// occurrence is that occurrence.
DateTime missedMoment(const Reminder& reminder, DateTime start);

struct MissedReminder {
  const Reminder* reminder; // owned by the list
  DateTime moment;          // the latest occurrence it missed
};

// At start, before the first refresh: every reminder of the list that missed an
// occurrence (however many), in row order, each with its LastRun set to now as a
// check pass sets it, so that it is shown once and, once the list is saved, never again.
std::vector<MissedReminder> takeMissedReminders(ReminderList& list, DateTime start,
                                                const Clock& clock);

// What a missed reminder's alert adds to its name: "(missed <moment>)", the moment in
// the list's notation, its time alone when it lies on `today`.
std::string missedNote(DateTime moment, DateTime today, const DateTimeSeparators& separators);

} // namespace zr
