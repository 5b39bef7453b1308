// SPDX-License-Identifier: MIT

// The missed search on reminders as the program leaves them in its file: their
// moments went through the writer's 15 digits, their times carry seconds and
// milliseconds, and they lie anywhere from 1900 to 9999. An independent model,
// which walks the calendar day by day in whole milliseconds, says which
// occurrences were missed.

#include "core/missed_reminders.h"
#include "core/reminders_file.h"
#include "core_test_support.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <memory>
#include <optional>
#include <random>
#include <string>

namespace zr {
namespace {

using test::at;

bool occursOn(const Reminder& reminder, std::int64_t day) {
  const CalendarDate date = dateOfSerialDay(day);
  switch (reminder.reminderType) {
  case ReminderType::Once:
    return day == serialDay(reminder.date);
  case ReminderType::Daily:
    return true;
  case ReminderType::Weekly:
    return reminder.daysOfWeek[static_cast<std::size_t>(dayOfWeekOfSerialDay(day))];
  case ReminderType::Monthly:
    return reminder.daysOfMonth[static_cast<std::size_t>(date.day)] ||
           (reminder.daysOfMonth[32] && date.day == daysInMonth(date.year, date.month));
  case ReminderType::Yearly:
    return date.month == reminder.yearlyMonth && date.day == reminder.yearlyDay;
  }
  return false;
}

// The millisecond of the latest occurrence of the schedule not before the stored
// next moment, after the last run and before the start; none when there is none.
std::optional<std::int64_t> latestMissed(const Reminder& reminder, DateTime start) {
  if (!reminder.enabled || reminder.nextScheduled == 0)
    return std::nullopt;
  const std::int64_t low =
      std::max(wholeMilliseconds(reminder.nextScheduled), wholeMilliseconds(reminder.lastRun) + 1);
  const std::int64_t end = wholeMilliseconds(start);
  const std::int64_t timeOfDay = wholeMilliseconds(fractionOfDay(reminder.time));
  for (std::int64_t day = floorDiv(end, kMillisecondsPerDay);
       day * kMillisecondsPerDay + timeOfDay >= low; --day) {
    const std::int64_t moment = day * kMillisecondsPerDay + timeOfDay;
    if (moment < end && occursOn(reminder, day))
      return moment;
  }
  return std::nullopt;
}

class StoredReminders {
public:
  explicit StoredReminders(std::uint32_t seed) : random_(seed) {}

  int pick(int low, int high) { return std::uniform_int_distribution(low, high)(random_); }

  // A time of day as the dialog gives it (whole minutes or seconds) or with milliseconds.
  DateTime timeOfDay() {
    switch (pick(0, 2)) {
    case 0:
      return encodeTime({pick(0, 23), pick(0, 59), 0, 0});
    case 1:
      return encodeTime({pick(0, 23), pick(0, 59), pick(0, 59), 0});
    default:
      return encodeTime({pick(0, 23), pick(0, 59), pick(0, 59), pick(0, 999)});
    }
  }

  // A moment read from the clock: any day from 1900 to 9999, to the millisecond.
  DateTime clockMoment() {
    const DateTime day = pick(0, 1) ? pick(2, 2958400) : at(2026, 1, 1) + pick(0, 3650);
    return day + pick(0, kMillisecondsPerDay - 1) * kOneMillisecond;
  }

  // A reminder of a random kind, saved at `saved` either by a command (refreshed
  // from then on) or by a pass that fired it (holding the occurrence it fired for).
  Reminder savedAt(DateTime& saved) {
    Reminder reminder(wholeDays(saved) + pick(-30, 30));
    reminder.reminderType = static_cast<ReminderType>(pick(0, 4));
    reminder.time = timeOfDay();
    for (int day = pick(1, 7); day <= 7; day += pick(1, 4))
      reminder.daysOfWeek.set(static_cast<std::size_t>(day));
    for (int day = pick(1, 32); day <= 32; day += pick(1, 12))
      reminder.daysOfMonth.set(static_cast<std::size_t>(day));
    reminder.yearlyMonth = pick(1, 12);
    reminder.yearlyDay = pick(1, 31);
    const DateTime earlier = saved - pick(0, 3000) * kOneMinute;
    reminder.lastRun = pick(0, 2) == 0 ? 0 : earlier - pick(0, 20000) * kOneMinute;
    if (pick(0, 1) == 0) {
      reminder.calculateNextScheduled(searchStart(saved, reminder.lastRun), FixedClock(saved));
      return reminder;
    }
    const DateTime due = reminder.calculateNextScheduled(searchStart(earlier, reminder.lastRun),
                                                         FixedClock(earlier));
    if (due != 0) {
      // The pass that fired it, up to a day late (a suspend), read the clock again a
      // few milliseconds later for LastRun, and saved before its refresh.
      saved = std::max(saved, due + pick(0, 1) * pick(0, 86400) / 86400.0);
      saved = wholeDays(saved) + wholeMilliseconds(fractionOfDay(saved)) * kOneMillisecond;
      reminder.lastRun = saved + pick(0, 5) * kOneMillisecond;
    }
    return reminder;
  }

private:
  std::mt19937 random_;
};

std::string formatted(const Reminder& reminder) {
  std::vector<std::unique_ptr<Reminder>> one;
  one.push_back(std::make_unique<Reminder>(reminder));
  return formatReminders(one);
}

// Through the writer and the reader, as the next start finds it.
std::unique_ptr<Reminder> roundTrip(const Reminder& reminder, const Clock& clock) {
  ReminderList list;
  list.appendReminder(std::make_unique<Reminder>(reminder));
  ReminderList read;
  parseRemindersV2(formatReminders(list), read, clock);
  return std::make_unique<Reminder>(*read.reminderAt(0));
}

TEST(MissedSearchPropertyTest, FindsTheLatestMissedOccurrenceOfStoredRemindersAndNeverOneTwice) {
  const std::uint32_t seed = std::random_device{}();
  SCOPED_TRACE("seed " + std::to_string(seed));
  StoredReminders stored(seed);
  for (int round = 0; round < 3000; ++round) {
    DateTime saved = stored.clockMoment();
    const Reminder written = stored.savedAt(saved);
    // Off for a few seconds up to a few years, started at any millisecond.
    const int offFor = stored.pick(0, 3) == 0 ? stored.pick(0, 1500) : stored.pick(0, 3);
    const DateTime start = saved + offFor + stored.pick(0, 86399999) * kOneMillisecond;
    const FixedClock clock(start);
    const std::unique_ptr<Reminder> read = roundTrip(written, clock);
    SCOPED_TRACE("round " + std::to_string(round) + ", start " + std::to_string(start) +
                 ", stored as\n" + formatted(*read));

    const std::optional<std::int64_t> expected = latestMissed(*read, start);
    const DateTime found = missedMoment(*read, start);
    ASSERT_EQ(found == 0 ? std::nullopt : std::optional(wholeMilliseconds(found)), expected);
    if (!expected)
      continue;

    // Taken at the start and saved: neither the next start nor the first
    // refresh brings the same occurrence back.
    ReminderList list;
    list.appendReminder(std::make_unique<Reminder>(*read));
    ASSERT_EQ(takeMissedReminders(list, start, clock).size(), 1u);
    const std::unique_ptr<Reminder> again = roundTrip(*list.reminderAt(0), clock);
    const DateTime restart = start + stored.pick(0, 120) * kOneMinute;
    const DateTime foundAgain = missedMoment(*again, restart);
    ASSERT_TRUE(foundAgain == 0 || wholeMilliseconds(foundAgain) >= wholeMilliseconds(start));
    list.refreshReminderList(start, clock);
    ASSERT_TRUE(list.reminderAt(0)->nextScheduled == 0 ||
                wholeMilliseconds(list.reminderAt(0)->nextScheduled) >= wholeMilliseconds(start));
  }
}

// Forty daily reminders at whole minutes between two hours and one hour before
// the start, fired yesterday and stored with today's NextScheduled as the writer
// rounds it: about half of those round up, and every one of them was missed.
TEST(MissedSearchPropertyTest, EveryDailyReminderStoredForTodayIsMissedWhicheverWayItRounded) {
  const DateTime start = at(2026, 12, 11, 14, 26, 44, 512);
  const FixedClock clock(start);
  ReminderList list;
  for (int minutesBefore = 61; minutesBefore <= 100; ++minutesBefore) {
    const int minuteOfDay = 14 * 60 + 26 - minutesBefore;
    Reminder reminder(wholeDays(start));
    reminder.name = std::to_string(minutesBefore) + " minutes before the start";
    reminder.reminderType = ReminderType::Daily;
    reminder.time = encodeTime({minuteOfDay / 60, minuteOfDay % 60, 0, 0});
    reminder.nextScheduled = wholeDays(start) + reminder.time;
    reminder.lastRun = reminder.nextScheduled - 1 + 3 * kOneMillisecond;
    list.appendReminder(std::make_unique<Reminder>(reminder));
  }
  ReminderList read;
  parseRemindersV2(formatReminders(list), read, clock);
  const std::vector<MissedReminder> missed = takeMissedReminders(read, start, clock);
  ASSERT_EQ(missed.size(), 40u);
  for (const MissedReminder& reminder : missed) {
    SCOPED_TRACE(reminder.reminder->name);
    EXPECT_EQ(wholeMilliseconds(reminder.moment),
              wholeMilliseconds(wholeDays(start) + reminder.reminder->time));
  }
}

} // namespace
} // namespace zr
