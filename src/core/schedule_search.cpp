// SPDX-License-Identifier: MIT

#include "core/date_time.h"
#include "core/reminder.h"

#include <cmath>
#include <cstdint>

// The search for a reminder's next due moment. It runs for every reminder on
// every refresh (every five seconds), so it allocates nothing and follows the
// calendar by counting days instead of converting each candidate.

namespace zr {
namespace {

// A yearly search gives up once a candidate lies more than this many days
// after the moment searched from (four times 366 days).
constexpr double kYearlyLimitDays = 1464.0;
// Ends every walk even for moments so large that adding a day no longer
// changes them; real searches need far fewer steps (about 1500 at most).
constexpr int kStepGuard = 4000;

// A candidate moment together with its calendar date, stepped one day (or the
// rest of a month) at a time by adding whole days, so the time of day stays.
class DayWalk {
public:
  explicit DayWalk(DateTime start) : moment_(start) {
    const std::int64_t day = serialDay(start);
    const CalendarDate date = dateOfSerialDay(day);
    year_ = date.year;
    month_ = date.month;
    day_ = date.day;
    monthLength_ = daysInMonth(year_, month_);
    weekday_ = dayOfWeekOfSerialDay(day);
  }

  DateTime moment() const { return moment_; }
  int month() const { return month_; }
  int day() const { return day_; }
  int weekday() const { return weekday_; }
  bool isLastDayOfMonth() const { return day_ == monthLength_; }
  // The candidate on the last day of the current month.
  DateTime lastMomentOfMonth() const { return moment_ + (monthLength_ - day_); }

  void nextDay() {
    moment_ += 1.0;
    weekday_ = weekday_ == 7 ? 1 : weekday_ + 1;
    if (++day_ > monthLength_)
      startNextMonth();
  }

  void nextMonth() {
    const int remaining = monthLength_ - day_ + 1;
    moment_ += remaining;
    weekday_ = (weekday_ - 1 + remaining) % 7 + 1;
    startNextMonth();
  }

private:
  void startNextMonth() {
    day_ = 1;
    if (++month_ > 12) {
      month_ = 1;
      ++year_;
    }
    monthLength_ = daysInMonth(year_, month_);
  }

  DateTime moment_;
  int year_ = 0;
  int month_ = 0;
  int day_ = 0;
  int monthLength_ = 0;
  int weekday_ = 0;
};

// Candidates earlier than `after` are never accepted, so a start far before it
// may move ahead by whole days to just before it; the result is the same.
DateTime startOfWalk(DateTime start, DateTime after) {
  const double gap = after - start;
  if (gap > 2.0)
    return start + (std::floor(gap) - 1.0);
  return start;
}

std::uint64_t daySetMask(const DaySet& set, int first, int last) {
  std::uint64_t mask = 0;
  for (int member = first; member <= last; ++member) {
    if (set[static_cast<std::size_t>(member)])
      mask |= std::uint64_t{1} << member;
  }
  return mask;
}

DateTime nextWeekly(const DaySet& daysOfWeek, DateTime start, DateTime after) {
  const std::uint64_t weekdays = daySetMask(daysOfWeek, 1, 7);
  if (weekdays == 0)
    return 0;
  DayWalk walk(startOfWalk(start, after));
  for (int step = 0; step < kStepGuard; ++step) {
    if ((weekdays >> walk.weekday() & 1) != 0 && !(after > walk.moment()))
      return walk.moment();
    walk.nextDay();
  }
  return 0;
}

DateTime nextMonthly(const DaySet& daysOfMonth, DateTime start, DateTime after) {
  const std::uint64_t days = daySetMask(daysOfMonth, 1, 32);
  if (days == 0)
    return 0;
  const bool lastDay = (days >> 32 & 1) != 0;
  DayWalk walk(startOfWalk(start, after));
  for (int step = 0; step < kStepGuard; ++step) {
    const bool matches = (days >> walk.day() & 1) != 0 || (lastDay && walk.isLastDayOfMonth());
    if (matches && !(after > walk.moment()))
      return walk.moment();
    walk.nextDay();
  }
  return 0;
}

DateTime nextYearly(int yearlyMonth, int yearlyDay, DateTime start, DateTime after) {
  DayWalk walk(startOfWalk(start, after));
  for (int step = 0; step < kStepGuard; ++step) {
    if (walk.month() != yearlyMonth) {
      // No day left in this month matches: the limit is all that can end the
      // search there, and it grows with each day, so its last day decides.
      if (walk.lastMomentOfMonth() - after > kYearlyLimitDays)
        return 0;
      walk.nextMonth();
      continue;
    }
    if (!(after > walk.moment()) && walk.day() == yearlyDay)
      return walk.moment();
    if (walk.moment() - after > kYearlyLimitDays)
      return 0;
    walk.nextDay();
  }
  return 0;
}

} // namespace

DateTime Reminder::calculateNextScheduled(DateTime after, const Clock& clock) {
  const DateTime timeOfDay = fractionOfDay(time);
  DateTime result = 0;
  switch (reminderType) {
  case ReminderType::Once: {
    const DateTime candidate = wholeDays(date) + timeOfDay;
    if (after > candidate)
      enabled = false;
    else
      result = candidate;
    break;
  }
  case ReminderType::Daily: {
    const DateTime candidate = clock.today() + timeOfDay;
    result = after > candidate ? candidate + 1.0 : candidate;
    break;
  }
  case ReminderType::Weekly:
    result = nextWeekly(daysOfWeek, clock.today() + timeOfDay, after);
    break;
  case ReminderType::Monthly:
    result = nextMonthly(daysOfMonth, clock.today() + timeOfDay, after);
    break;
  case ReminderType::Yearly:
    result = nextYearly(yearlyMonth, yearlyDay, clock.today() + timeOfDay, after);
    break;
  }
  nextScheduled = result;
  return result;
}

} // namespace zr
