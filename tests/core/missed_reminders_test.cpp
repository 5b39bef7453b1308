// SPDX-License-Identifier: MIT

#include "core/missed_reminders.h"
#include "core/reminders_file.h"
#include "core_test_support.h"

#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <string>

namespace zr {
namespace {

using test::at;

const DateTime kHalfPastNine = encodeTime({9, 30, 0, 0});

// A reminder at 9:30 as the last save left it: its next moment and its last run.
Reminder saved(
    ReminderType type, DateTime nextScheduled, DateTime lastRun,
    const std::function<void(Reminder&)>& adjust = [](Reminder&) {}) {
  Reminder reminder(at(2024, 3, 1));
  reminder.name = "Team meeting";
  reminder.reminderType = type;
  reminder.time = kHalfPastNine;
  reminder.nextScheduled = nextScheduled;
  reminder.lastRun = lastRun;
  adjust(reminder);
  return reminder;
}

// 18 March 2024 is a Monday.
TEST(MissedRemindersTest, TheLatestOccurrenceAfterTheLastRunAndBeforeTheStart) {
  const struct {
    const char* what;
    Reminder reminder;
    DateTime start;
    DateTime missed;
  } cases[] = {
      {"daily, fired Monday, off until Wednesday: Wednesday's, once",
       saved(ReminderType::Daily, at(2024, 3, 18, 9, 30), at(2024, 3, 18, 9, 30, 2)),
       at(2024, 3, 20, 10), at(2024, 3, 20, 9, 30)},
      {"daily, fired Monday, started Tuesday before it is due",
       saved(ReminderType::Daily, at(2024, 3, 18, 9, 30), at(2024, 3, 18, 9, 30, 2)),
       at(2024, 3, 19, 9), 0},
      {"daily, saved before it came due, never run",
       saved(ReminderType::Daily, at(2024, 3, 19, 9, 30), 0), at(2024, 3, 19, 9, 45),
       at(2024, 3, 19, 9, 30)},
      {"due on the start moment: the first pass fires it",
       saved(ReminderType::Daily, at(2024, 3, 19, 9, 30), 0), at(2024, 3, 19, 9, 30), 0},
      {"switched off",
       saved(ReminderType::Daily, at(2024, 3, 19, 9, 30), 0,
             [](Reminder& r) { r.enabled = false; }),
       at(2024, 3, 19, 9, 45), 0},
      {"without a next moment", saved(ReminderType::Daily, 0, 0), at(2024, 3, 19, 9, 45), 0},
      {"once, came while off",
       saved(ReminderType::Once, at(2024, 3, 19, 9, 30), 0,
             [](Reminder& r) { r.date = at(2024, 3, 19); }),
       at(2024, 3, 20, 8), at(2024, 3, 19, 9, 30)},
      {"once, fired before the close (the file still shows it enabled)",
       saved(ReminderType::Once, at(2024, 3, 19, 9, 30), at(2024, 3, 19, 9, 30, 4),
             [](Reminder& r) { r.date = at(2024, 3, 19); }),
       at(2024, 3, 20, 8), 0},
      {"weekly on Monday and Thursday, fired a week ago Monday",
       saved(ReminderType::Weekly, at(2024, 3, 11, 9, 30), at(2024, 3, 11, 9, 30, 1),
             [](Reminder& r) { r.daysOfWeek.set(2).set(5); }),
       at(2024, 3, 20, 10), at(2024, 3, 18, 9, 30)},
      {"monthly on the 31st, fired in January, February has none",
       saved(ReminderType::Monthly, at(2024, 1, 31, 9, 30), at(2024, 1, 31, 9, 31),
             [](Reminder& r) { r.daysOfMonth.set(31); }),
       at(2024, 4, 15), at(2024, 3, 31, 9, 30)},
      {"monthly on the last day, through a leap February",
       saved(ReminderType::Monthly, at(2024, 1, 31, 9, 30), at(2024, 1, 31, 9, 31),
             [](Reminder& r) { r.daysOfMonth.set(32); }),
       at(2024, 3, 1, 8), at(2024, 2, 29, 9, 30)},
      {"yearly on 29 February, fired four years before",
       saved(ReminderType::Yearly, at(2020, 2, 29, 9, 30), at(2020, 2, 29, 9, 30, 3),
             [](Reminder& r) { r.yearlyMonth = 2, r.yearlyDay = 29; }),
       at(2024, 6, 1), at(2024, 2, 29, 9, 30)},
      {"yearly on a day no year has",
       saved(ReminderType::Yearly, at(2023, 1, 1, 9, 30), 0,
             [](Reminder& r) { r.yearlyMonth = 2, r.yearlyDay = 30; }),
       at(2024, 6, 1), 0},
      {"a kind the program does not know",
       saved(static_cast<ReminderType>(7), at(2024, 3, 19, 9, 30), 0), at(2024, 3, 20), 0},
      {"last run after the start: the clock was set back",
       saved(ReminderType::Daily, at(2024, 3, 18, 9, 30), at(2024, 3, 20, 11)), at(2024, 3, 20, 10),
       0},
      {"a stored moment long before the start, years of occurrences missed",
       saved(ReminderType::Daily, at(1990, 1, 1, 9, 30), 0), at(2024, 3, 20, 10),
       at(2024, 3, 20, 9, 30)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(formatDateTimeText(missedMoment(c.reminder, c.start), {}),
              formatDateTimeText(c.missed, {}));
  }
}

// However many occurrences were missed, each reminder alerts once, in row order, with
// its LastRun set as a pass sets it; saved and read back at the next start, it is
// not missed again.
TEST(MissedRemindersTest, EachIsTakenOnceAndNotAgainAfterTheSaveAndARestart) {
  const DateTime start = at(2024, 3, 20, 10);
  FixedClock clock(start + kOneMillisecond);
  ReminderList list;
  const auto add = [&](Reminder reminder, const char* name) {
    reminder.name = name;
    list.appendReminder(std::make_unique<Reminder>(std::move(reminder)));
    return list.reminderAt(list.reminderCount() - 1);
  };
  const Reminder* month = add(saved(ReminderType::Daily, at(2024, 2, 19, 9, 30), 0), "Month off");
  const Reminder* later = add(saved(ReminderType::Daily, at(2024, 3, 20, 11), 0), "Later today");
  const Reminder* once = add(saved(ReminderType::Once, at(2024, 3, 19, 9, 30), 0,
                                   [](Reminder& r) { r.date = at(2024, 3, 19); }),
                             "Once");

  const std::vector<MissedReminder> missed = takeMissedReminders(list, start, clock);
  ASSERT_EQ(missed.size(), 2u);
  EXPECT_EQ(missed[0].reminder, month);
  EXPECT_EQ(missed[0].moment, at(2024, 3, 20, 9, 30));
  EXPECT_EQ(missed[1].reminder, once);
  EXPECT_EQ(missed[1].moment, at(2024, 3, 19, 9, 30));
  EXPECT_EQ(month->lastRun, clock.now());
  EXPECT_EQ(once->lastRun, clock.now());
  EXPECT_EQ(later->lastRun, 0);

  // The start saves the list before it refreshes it, as a pass does.
  ReminderList reloaded;
  parseReminders(formatReminders(list), reloaded, {}, clock);
  clock.advance(kOneMinute);
  EXPECT_TRUE(takeMissedReminders(reloaded, clock.now(), clock).empty());
}

TEST(MissedRemindersTest, NoteShowsTheTimeAloneOnTheDayOfTheStart) {
  const DateTime today = at(2024, 3, 20);
  const struct {
    DateTime moment;
    DateTimeSeparators separators;
    const char* note;
  } cases[] = {
      {at(2024, 3, 20, 9, 30), {}, "(missed 09:30:00 am)"},
      {at(2024, 3, 20), {}, "(missed 12:00:00 am)"},
      {at(2024, 3, 20, 23, 59, 59), {}, "(missed 11:59:59 pm)"},
      {at(2024, 3, 19, 21, 5), {}, "(missed 03/19/2024 09:05:00 pm)"},
      {at(2024, 3, 20, 9, 30), {".", "."}, "(missed 09.30.00 am)"},
      {at(2023, 12, 31, 12, 0), {"-", "h"}, "(missed 12-31-2023 12h00h00 pm)"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(missedNote(c.moment, today, c.separators), c.note);
}

} // namespace
} // namespace zr
