// SPDX-License-Identifier: MIT

#include "core/reminder.h"
#include "core_test_support.h"

#include <functional>
#include <gtest/gtest.h>

namespace zr {
namespace {

using test::at;

Reminder weekly(std::initializer_list<int> days, int hour) {
  Reminder reminder(0);
  reminder.reminderType = ReminderType::Weekly;
  for (const int day : days)
    reminder.daysOfWeek.set(static_cast<std::size_t>(day));
  reminder.time = encodeTime({hour, 0, 0, 0});
  return reminder;
}

Reminder monthly(std::initializer_list<int> days, int hour) {
  Reminder reminder(0);
  reminder.reminderType = ReminderType::Monthly;
  for (const int day : days)
    reminder.daysOfMonth.set(static_cast<std::size_t>(day));
  reminder.time = encodeTime({hour, 0, 0, 0});
  return reminder;
}

Reminder yearly(int month, int day, int hour) {
  Reminder reminder(0);
  reminder.reminderType = ReminderType::Yearly;
  reminder.yearlyMonth = month;
  reminder.yearlyDay = day;
  reminder.time = encodeTime({hour, 0, 0, 0});
  return reminder;
}

Reminder daily(int hour) {
  Reminder reminder(0);
  reminder.reminderType = ReminderType::Daily;
  reminder.time = encodeTime({hour, 0, 0, 0});
  return reminder;
}

Reminder once(DateTime date, DateTime time) {
  Reminder reminder(0);
  reminder.date = date;
  reminder.time = time;
  return reminder;
}

Reminder ofKind(int kind) {
  Reminder reminder = daily(9);
  reminder.reminderType = static_cast<ReminderType>(kind);
  return reminder;
}

Reminder disabled(Reminder reminder) {
  reminder.enabled = false;
  return reminder;
}

// Every case computes from `after` with the clock at `now` (2024-03-11 is a
// Monday, 2024-03-15 a Friday).
TEST(ScheduleTest, NextScheduledMoment) {
  struct Case {
    const char* what;
    Reminder reminder;
    DateTime now;
    DateTime after;
    DateTime expected;
    bool enabledAfter;
  };
  const DateTime mon = at(2024, 3, 11, 8, 59, 59);
  const DateTime fri1801 = at(2024, 3, 15, 18, 0, 1);
  const Case cases[] = {
      {"daily, a second early", daily(9), mon, mon, at(2024, 3, 11, 9), true},
      {"daily, exactly due", daily(9), mon, at(2024, 3, 11, 9), at(2024, 3, 11, 9), true},
      {"daily, a millisecond late", daily(9), mon, at(2024, 3, 11, 9, 0, 0, 1), at(2024, 3, 12, 9),
       true},
      {"daily adds one day only", daily(9), mon, at(2024, 3, 20), at(2024, 3, 12, 9), true},
      {"weekly, passed on Friday", weekly({2, 6}, 18), fri1801, fri1801, at(2024, 3, 18, 18), true},
      {"weekly, due later on Friday", weekly({2, 6}, 18), at(2024, 3, 15, 17), at(2024, 3, 15, 17),
       at(2024, 3, 15, 18), true},
      {"weekly, disabled still computed", disabled(weekly({2}, 18)), mon, mon, at(2024, 3, 11, 18),
       false},
      {"weekly, searched from far ahead", weekly({2}, 9), mon, at(2034, 1, 1), at(2034, 1, 2, 9),
       true},
      {"weekly, empty set", weekly({}, 9), mon, mon, 0, true},
      {"weekly, no weekday 1..7", weekly({0, 8, 200}, 9), mon, mon, 0, true},
      {"monthly 31 from February", monthly({31}, 9), at(2024, 2, 1), at(2024, 2, 1),
       at(2024, 3, 31, 9), true},
      {"monthly last day, leap year", monthly({32}, 9), at(2024, 2, 1), at(2024, 2, 1),
       at(2024, 2, 29, 9), true},
      {"monthly last day, common year", monthly({32}, 9), at(2023, 2, 1), at(2023, 2, 1),
       at(2023, 2, 28, 9), true},
      {"monthly 30 and last, February", monthly({30, 32}, 9), at(2023, 2, 1), at(2023, 2, 1),
       at(2023, 2, 28, 9), true},
      {"monthly 30 and last, April", monthly({30, 32}, 9), at(2023, 4, 1), at(2023, 4, 1),
       at(2023, 4, 30, 9), true},
      {"monthly, no day 1..32", monthly({0, 33, 255}, 9), mon, mon, 0, true},
      {"yearly 29 February from 1 March", yearly(2, 29, 9), at(2024, 3, 1), at(2024, 3, 1),
       at(2028, 2, 29, 9), true},
      {"yearly 29 February across 2100", yearly(2, 29, 9), at(2097, 3, 1), at(2097, 3, 1), 0, true},
      {"yearly 31 April", yearly(4, 31, 9), mon, mon, 0, true},
      {"yearly nothing chosen", yearly(0, 0, 9), mon, mon, 0, true},
      {"yearly later this year", yearly(12, 25, 9), mon, mon, at(2024, 12, 25, 9), true},
      {"yearly passed this year", yearly(3, 11, 8), mon, mon, at(2025, 3, 11, 8), true},
      {"yearly match beyond the limit", yearly(2, 29, 12), at(2028, 2, 29, 8), at(2024, 2, 26),
       at(2028, 2, 29, 12), true},
      {"yearly limit before a later match", yearly(2, 29, 12), at(2028, 3, 1), at(2024, 2, 26), 0,
       true},
      {"once tomorrow", once(at(2024, 3, 12), encodeTime({9, 0, 0, 0})), mon, mon,
       at(2024, 3, 12, 9), true},
      {"once yesterday", once(at(2024, 3, 10), encodeTime({9, 0, 0, 0})), mon, mon, 0, false},
      {"once today, passed", once(at(2024, 3, 11), encodeTime({8, 0, 0, 0})), mon, mon, 0, false},
      {"once, only date's day and time's fraction count",
       once(at(2024, 3, 12, 21), 45000 + encodeTime({6, 0, 0, 0})), mon, mon, at(2024, 3, 12, 6),
       true},
      {"kind 5", ofKind(5), mon, mon, 0, true},
      {"kind 255", ofKind(255), mon, mon, 0, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Reminder reminder = c.reminder;
    reminder.nextScheduled = 12345;
    const FixedClock clock(c.now);
    const DateTime result = reminder.calculateNextScheduled(c.after, clock);
    EXPECT_NEAR(result, c.expected, 1e-9);
    EXPECT_EQ(reminder.nextScheduled, result);
    EXPECT_EQ(reminder.enabled, c.enabledAfter);
  }
}

} // namespace
} // namespace zr
