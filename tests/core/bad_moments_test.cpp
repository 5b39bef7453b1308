// SPDX-License-Identifier: MIT

// Stored moments the readers accept but the program never writes: the far ends of
// the floating-point range, the smallest number above 0, moments beyond the
// calendar's limit, a LastRun later than NextScheduled or in the future. The start
// and the passes after it must neither hang nor alert an occurrence twice.

#include "core/missed_reminders.h"
#include "core/reminder_checker.h"
#include "core_test_support.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <limits>
#include <memory>
#include <set>
#include <string>

namespace zr {
namespace {

using test::at;

const DateTime kStart = at(2024, 3, 20, 10);

Reminder stored(ReminderType type, DateTime nextScheduled, DateTime lastRun) {
  Reminder reminder(at(2024, 3, 20));
  reminder.reminderType = type;
  reminder.time = encodeTime({9, 30, 0, 0});
  reminder.nextScheduled = nextScheduled;
  reminder.lastRun = lastRun;
  reminder.daysOfWeek.set(4); // Wednesday, the day of the start
  reminder.daysOfMonth.set(20).set(32);
  reminder.yearlyMonth = 3;
  reminder.yearlyDay = 20;
  return reminder;
}

// The start with missed reminders shown, then passes while the clock runs on, falls
// back an hour, is set back a few seconds and jumps a day and a half ahead. Returns
// the millisecond of each occurrence alerted, in order; none may come twice.
std::vector<std::int64_t> alertsFromTheStart(const Reminder& reminder) {
  FixedClock clock(kStart);
  ReminderList list;
  list.appendReminder(std::make_unique<Reminder>(reminder));
  std::vector<std::int64_t> alerted;
  for (const MissedReminder& missed : takeMissedReminders(list, clock.now(), clock))
    alerted.push_back(wholeMilliseconds(missed.moment));
  list.refreshReminderList(clock.now(), clock);
  ReminderChecker checker(clock);
  constexpr double kSecond = 1.0 / 86400;
  for (const double step : {5 * kSecond, 3600 * kSecond, -3600 * kSecond, 5 * kSecond, -2 * kSecond,
                            1.5, 5 * kSecond, 23 * 3600 * kSecond}) {
    clock.advance(step);
    const CheckPass pass = checker.check(list, true);
    for (const Reminder* due : pass.due)
      alerted.push_back(wholeMilliseconds(due->nextScheduled));
    list.refreshReminderList(pass.refreshAfter, clock);
  }
  return alerted;
}

TEST(BadMomentsTest, ExtremeStoredMomentsNeitherHangNorAlertAnOccurrenceTwice) {
  constexpr double kLargest = std::numeric_limits<double>::max();
  const DateTime moments[] = {
      0,
      std::numeric_limits<double>::denorm_min(),
      -kLargest,
      kLargest,
      -1e12,
      1e12,
      at(9999, 12, 31, 23, 59, 59, 999),
      -0.5,
      at(2024, 3, 20, 9, 30), // today's occurrence
      at(2024, 3, 20, 9, 30) + 1e-11,
      at(2024, 3, 25, 12), // in the future: a clock set forward and back
  };
  for (const int type : {0, 1, 2, 3, 4, 9}) {
    for (const DateTime nextScheduled : moments) {
      for (const DateTime lastRun : moments) {
        SCOPED_TRACE("kind " + std::to_string(type) + ", next " + std::to_string(nextScheduled) +
                     ", last run " + std::to_string(lastRun));
        const Reminder reminder = stored(static_cast<ReminderType>(type), nextScheduled, lastRun);
        const DateTime missed = missedMoment(reminder, kStart);
        EXPECT_TRUE(missed == 0 || (missed < kStart && missed > lastRun)) << missed;
        const std::vector<std::int64_t> alerted = alertsFromTheStart(reminder);
        EXPECT_EQ(std::set<std::int64_t>(alerted.begin(), alerted.end()).size(), alerted.size());
      }
    }
  }
}

// The rule of a refresh: from the moment given, or just after a last run that is not
// earlier, compared to the millisecond.
TEST(BadMomentsTest, ARefreshStartsAfterALastRunThatIsNotEarlier) {
  const DateTime now = at(2024, 3, 20, 10);
  const struct {
    const char* what;
    DateTime lastRun;
    DateTime start;
  } cases[] = {
      {"never run", 0, now},
      {"run a millisecond before", now - kOneMillisecond, now},
      {"run in the same millisecond", now + 1e-11, now + kOneMillisecond / 2},
      {"run an hour later: the clock went back", now + 1.0 / 24,
       now + 1.0 / 24 + kOneMillisecond / 2},
      {"run beyond the calendar", std::numeric_limits<double>::max(), 1e9 + kOneMillisecond / 2},
      {"run at the far negative end", -std::numeric_limits<double>::max(), now},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_NEAR(searchStart(now, c.lastRun), c.start, kOneMillisecond / 100);
  }
}

} // namespace
} // namespace zr
