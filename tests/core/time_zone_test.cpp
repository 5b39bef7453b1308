// SPDX-License-Identifier: MIT

// The check pass in named time zones, with a clock that turns a real instant into
// local time as the system clock does: the program's five-second passes walk
// across both nights of summer time, a clock set back and a change of zone.

#include "core/reminder_checker.h"
#include "core/reminder_list.h"

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace zr {
namespace {

constexpr std::int64_t kPassMilliseconds = 5000;

// Milliseconds since 1 January 1970 UTC.
std::int64_t utc(int year, unsigned month, unsigned day, int hour, int minute = 0, int second = 0) {
  using namespace std::chrono;
  const sys_days date = std::chrono::year{year} / std::chrono::month{month} / std::chrono::day{day};
  return duration_cast<milliseconds>(date.time_since_epoch()).count() +
         ((hour * 60LL + minute) * 60 + second) * 1000;
}

// The computer's clock at an instant the test chooses, read in the local zone.
class InstantClock final : public Clock {
public:
  explicit InstantClock(std::int64_t instant) : instant_(instant) {}
  DateTime now() const override { return localMoment(instant_); }
  std::int64_t instant() const { return instant_; }
  void set(std::int64_t instant) { instant_ = instant; }

private:
  std::int64_t instant_;
};

struct Scheduled {
  std::string name;
  ReminderType type;
  ClockTime time;
  int day = 0; // the weekday, the day of the month, or the day of a yearly month
  int month = 0;
};

// The program as it runs: a start-up refresh, then a pass every five seconds,
// each followed by the refresh from the moment the pass gives.
class Program {
public:
  Program(InstantClock& clock, const std::vector<Scheduled>& reminders)
      : clock_(clock), checker_(clock) {
    for (const Scheduled& scheduled : reminders) {
      auto reminder = std::make_unique<Reminder>(clock.today());
      reminder->name = scheduled.name;
      reminder->reminderType = scheduled.type;
      reminder->time = encodeTime(scheduled.time);
      if (scheduled.type == ReminderType::Weekly)
        reminder->daysOfWeek.set(static_cast<std::size_t>(scheduled.day));
      if (scheduled.type == ReminderType::Monthly)
        reminder->daysOfMonth.set(static_cast<std::size_t>(scheduled.day));
      reminder->yearlyMonth = scheduled.month;
      reminder->yearlyDay = scheduled.day;
      list_.appendReminder(std::move(reminder));
    }
    list_.refreshReminderList(clock.now(), clock);
  }

  // Runs the passes up to the instant; the clock then stands there.
  void runUntil(std::int64_t end) {
    for (; clock_.instant() <= end; clock_.set(clock_.instant() + kPassMilliseconds)) {
      const CheckPass pass = checker_.check(list_, true);
      for (const Reminder* reminder : pass.due)
        alerts[reminder->name].push_back(clock_.instant());
      list_.refreshReminderList(pass.refreshAfter, clock_);
    }
    clock_.set(end);
  }

  const Reminder& reminder(const std::string& name) const {
    for (int row = 0; row < list_.reminderCount(); ++row) {
      if (list_.reminderAt(row)->name == name)
        return *list_.reminderAt(row);
    }
    throw std::logic_error("no reminder " + name);
  }

  std::map<std::string, std::vector<std::int64_t>> alerts; // the instants each alerted

private:
  InstantClock& clock_;
  ReminderChecker checker_;
  ReminderList list_;
};

// Sets TZ for one test and puts the previous zone back afterwards.
class TimeZoneTest : public ::testing::Test {
protected:
  void SetUp() override {
    if (const char* zone = std::getenv("TZ"))
      previousZone_ = zone;
  }
  void TearDown() override {
    if (previousZone_)
      setenv("TZ", previousZone_->c_str(), 1);
    else
      unsetenv("TZ");
    followTimeZone();
  }
  static void useZone(const char* zone) {
    setenv("TZ", zone, 1);
    followTimeZone();
  }

private:
  std::optional<std::string> previousZone_;
};

struct Expected {
  Scheduled reminder;
  std::int64_t alertsAt; // the one instant it alerts at
};

struct Night {
  const char* what;
  const char* zone;
  std::int64_t from;
  std::int64_t until;
  std::vector<Expected> reminders;
};

constexpr auto kDaily = ReminderType::Daily;
constexpr int kSunday = 1;

// Passes run on whole multiples of five seconds, so an occurrence on one alerts at
// that very instant, any other at the first pass after it; an occurrence in the hour
// the clock skips alerts at the first pass after the gap, and one in the hour the
// clock repeats alerts the first time only.
TEST_F(TimeZoneTest, EachOccurrenceAlertsExactlyOnceAcrossTheNightsOfSummerTime) {
  const Night nights[] = {
      {"Berlin, end of summer time: 03:00 CEST becomes 02:00 CET",
       "Europe/Berlin",
       utc(2027, 10, 30, 22),
       utc(2027, 10, 31, 5),
       {
           {{"daily 02:30", kDaily, {2, 30}}, utc(2027, 10, 31, 0, 30)},
           {{"daily 02:00", kDaily, {2, 0}}, utc(2027, 10, 31, 0, 0)},
           // Between the last pass of summer time and the change: the first pass at
           // or after it is the one at 03:00 CET.
           {{"weekly Sunday 02:59:59", ReminderType::Weekly, {2, 59, 59}, kSunday},
            utc(2027, 10, 31, 2)},
           {{"monthly on the 31st 02:15", ReminderType::Monthly, {2, 15}, 31},
            utc(2027, 10, 31, 0, 15)},
           {{"yearly 31 October 02:45:30.250", ReminderType::Yearly, {2, 45, 30, 250}, 31, 10},
            utc(2027, 10, 31, 0, 45, 35)},
           {{"daily 01:30", kDaily, {1, 30}}, utc(2027, 10, 30, 23, 30)},
           {{"daily 03:00", kDaily, {3, 0}}, utc(2027, 10, 31, 2, 0)},
       }},
      {"Berlin, start of summer time: 02:00 CET becomes 03:00 CEST",
       "Europe/Berlin",
       utc(2027, 3, 27, 23),
       utc(2027, 3, 28, 4),
       {
           {{"daily 02:30", kDaily, {2, 30}}, utc(2027, 3, 28, 1)},
           {{"daily 02:00", kDaily, {2, 0}}, utc(2027, 3, 28, 1)},
           {{"weekly Sunday 02:59:59", ReminderType::Weekly, {2, 59, 59}, kSunday},
            utc(2027, 3, 28, 1)},
           {{"daily 03:00", kDaily, {3, 0}}, utc(2027, 3, 28, 1)},
           {{"daily 03:00:01", kDaily, {3, 0, 1}}, utc(2027, 3, 28, 1, 0, 5)},
           {{"daily 01:59:59", kDaily, {1, 59, 59}}, utc(2027, 3, 28, 1)},
       }},
      {"New York, end of daylight time: 02:00 EDT becomes 01:00 EST",
       "America/New_York",
       utc(2027, 11, 7, 4),
       utc(2027, 11, 7, 9),
       {
           {{"daily 01:30", kDaily, {1, 30}}, utc(2027, 11, 7, 5, 30)},
           {{"weekly Sunday 01:30", ReminderType::Weekly, {1, 30}, kSunday},
            utc(2027, 11, 7, 5, 30)},
           {{"daily 02:00", kDaily, {2, 0}}, utc(2027, 11, 7, 7)},
           // Between the last pass of daylight time and the change: the first pass
           // at or after it is the one at 02:00 EST.
           {{"daily 01:59:59.999", kDaily, {1, 59, 59, 999}}, utc(2027, 11, 7, 7)},
       }},
      {"New York, start of daylight time: 02:00 EST becomes 03:00 EDT",
       "America/New_York",
       utc(2027, 3, 14, 5),
       utc(2027, 3, 14, 10),
       {
           {{"daily 02:30", kDaily, {2, 30}}, utc(2027, 3, 14, 7)},
           {{"weekly Sunday 02:00", ReminderType::Weekly, {2, 0}, kSunday}, utc(2027, 3, 14, 7)},
       }},
      {"Lord Howe, end of summer time: 02:00 +11 becomes 01:30 +10:30",
       "Australia/Lord_Howe",
       utc(2027, 4, 3, 13),
       utc(2027, 4, 3, 19),
       {
           {{"daily 01:45", kDaily, {1, 45}}, utc(2027, 4, 3, 14, 45)},
           {{"daily 01:30", kDaily, {1, 30}}, utc(2027, 4, 3, 14, 30)},
           {{"daily 02:00", kDaily, {2, 0}}, utc(2027, 4, 3, 15, 30)},
       }},
      {"Lord Howe, start of summer time: 02:00 +10:30 becomes 02:30 +11",
       "Australia/Lord_Howe",
       utc(2027, 10, 2, 13, 30),
       utc(2027, 10, 2, 19),
       {
           {{"daily 02:15", kDaily, {2, 15}}, utc(2027, 10, 2, 15, 30)},
           {{"daily 02:30", kDaily, {2, 30}}, utc(2027, 10, 2, 15, 30)},
           {{"daily 01:59", kDaily, {1, 59}}, utc(2027, 10, 2, 15, 29)},
       }},
  };
  for (const Night& night : nights) {
    SCOPED_TRACE(night.what);
    useZone(night.zone);
    InstantClock clock(night.from);
    std::vector<Scheduled> reminders;
    for (const Expected& expected : night.reminders)
      reminders.push_back(expected.reminder);
    Program program(clock, reminders);
    program.runUntil(night.until);
    for (const Expected& expected : night.reminders) {
      SCOPED_TRACE(expected.reminder.name);
      EXPECT_EQ(program.alerts[expected.reminder.name],
                std::vector<std::int64_t>{expected.alertsAt});
      // The list shows the next occurrence, on a later day.
      EXPECT_GT(program.reminder(expected.reminder.name).nextScheduled, clock.today() + 1);
    }
  }
}

// Set back by hand or by a time server, right after an alert: the occurrence that
// has alerted does not alert again when the wall clock reaches it a second time.
TEST_F(TimeZoneTest, AClockSetBackDoesNotRepeatAnAlert) {
  const struct {
    const char* what;
    std::int64_t setBackBy;
  } cases[] = {
      {"three seconds", 3000},
      {"half an hour", 1800 * 1000},
      {"an hour", 3600 * 1000},
      {"twenty hours", 20 * 3600 * 1000},
  };
  useZone("Europe/Berlin");
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    InstantClock clock(utc(2027, 6, 15, 7, 30));
    Program program(clock, {{"daily 10:00", kDaily, {10, 0}},
                            {"weekly Tuesday 10:00", ReminderType::Weekly, {10, 0}, 3}});
    program.runUntil(utc(2027, 6, 15, 8));
    clock.set(utc(2027, 6, 15, 8) - c.setBackBy);
    program.runUntil(utc(2027, 6, 15, 9));
    EXPECT_EQ(program.alerts["daily 10:00"], std::vector<std::int64_t>{utc(2027, 6, 15, 8)});
    EXPECT_EQ(program.alerts["weekly Tuesday 10:00"],
              std::vector<std::int64_t>{utc(2027, 6, 15, 8)});
  }
}

TEST_F(TimeZoneTest, AClockSetForwardAlertsEachReminderOnceForWhatItSkipped) {
  useZone("Europe/Berlin");
  InstantClock clock(utc(2027, 6, 15, 7, 30));
  Program program(clock, {{"daily 10:00", kDaily, {10, 0}}});
  program.runUntil(utc(2027, 6, 15, 7, 40));
  clock.set(utc(2027, 6, 16, 13, 40)); // 30 hours on
  program.runUntil(utc(2027, 6, 16, 14));
  EXPECT_EQ(program.alerts["daily 10:00"], std::vector<std::int64_t>{utc(2027, 6, 16, 13, 40)});
}

// The zone changes while the program runs (TZ set anew here; the system's zone file
// replaced works the same way): the next pass reads the time in the new zone, and
// the refresh moves the list on in it.
TEST_F(TimeZoneTest, TheNextPassFollowsAChangedZone) {
  useZone("UTC");
  InstantClock clock(utc(2027, 1, 15, 0, 50));
  Program program(clock, {{"daily 05:00", kDaily, {5, 0}}, {"daily 10:00", kDaily, {10, 0}}});
  program.runUntil(utc(2027, 1, 15, 0, 58));
  EXPECT_TRUE(program.alerts.empty());
  setenv("TZ", "Asia/Tokyo", 1); // nine hours east: 09:58 there
  program.runUntil(utc(2027, 1, 15, 1, 1));
  // 05:00 has passed in Tokyo: it alerts at the first pass after the change.
  EXPECT_EQ(program.alerts["daily 05:00"], std::vector<std::int64_t>{utc(2027, 1, 15, 0, 58)});
  EXPECT_EQ(program.reminder("daily 05:00").nextScheduled,
            encodeDateTime({2027, 1, 16}, {5, 0, 0, 0}));
  EXPECT_EQ(program.alerts["daily 10:00"], std::vector<std::int64_t>{utc(2027, 1, 15, 1)});
}

} // namespace
} // namespace zr
