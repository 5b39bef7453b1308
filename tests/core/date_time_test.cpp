// SPDX-License-Identifier: MIT

#include "core/date_time.h"
#include "core_test_support.h"

#include <gtest/gtest.h>

namespace zr {
namespace {

using test::at;

TEST(DateTimeTest, CalendarFieldsOfKnownDays) {
  struct Case {
    CalendarDate date;
    DateTime serial;
    int weekday;
  };
  const Case cases[] = {
      {{1899, 12, 30}, 0, 7},       {{1899, 12, 31}, 1, 1},    {{2000, 1, 1}, 36526, 7},
      {{2000, 1, 2}, 36527, 1},     {{2024, 3, 11}, 45362, 2}, {{2024, 2, 29}, 45351, 5},
      {{9999, 12, 31}, 2958465, 6}, {{1900, 3, 1}, 61, 5},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.serial);
    EXPECT_EQ(encodeDate(c.date), c.serial);
    EXPECT_EQ(decodeDate(c.serial + 0.75), c.date);
    EXPECT_EQ(dayOfWeek(c.serial + 0.75), c.weekday);
    EXPECT_EQ(dayOfMonth(c.serial), c.date.day);
    EXPECT_EQ(monthOf(c.serial), c.date.month);
    EXPECT_EQ(yearOf(c.serial), c.date.year);
  }
}

TEST(DateTimeTest, DaysInMonthFollowsTheGregorianLeapRule) {
  EXPECT_EQ(daysInMonth(2000, 2), 29);
  EXPECT_EQ(daysInMonth(2024, 2), 29);
  EXPECT_EQ(daysInMonth(1900, 2), 28);
  EXPECT_EQ(daysInMonth(2100, 2), 28);
  EXPECT_EQ(daysInMonth(2023, 2), 28);
  EXPECT_EQ(daysInMonth(2023, 4), 30);
  EXPECT_EQ(daysInMonth(at(2023, 12, 5)), 31);
  EXPECT_FALSE(isValidDate({2023, 2, 29}));
  EXPECT_FALSE(isValidDate({2023, 13, 1}));
  EXPECT_TRUE(isValidDate({2024, 2, 29}));
}

TEST(DateTimeTest, TimeOfDaySplitsFromTheDate) {
  const DateTime moment = at(2024, 7, 3, 21, 5, 7, 250);
  EXPECT_EQ(wholeDays(moment), encodeDate({2024, 7, 3}));
  EXPECT_EQ(decodeTime(moment), (ClockTime{21, 5, 7, 250}));
  EXPECT_EQ(decodeTime(fractionOfDay(moment)), (ClockTime{21, 5, 7, 250}));
  // Just before midnight stays on the same day instead of reading 24:00.
  EXPECT_EQ(decodeTime(0.99999999999), (ClockTime{23, 59, 59, 999}));
}

TEST(DateTimeTest, AnyValueConvertsWithoutOverflow) {
  for (const DateTime value : {1e300, -1e300, std::nan(""), 1e15}) {
    const CalendarDate date = decodeDate(value);
    EXPECT_TRUE(isValidDate(date)) << value;
    EXPECT_GE(dayOfWeek(value), 1);
    EXPECT_LE(dayOfWeek(value), 7);
  }
}

TEST(DateTimeTest, SystemClockReadsTheLocalDateAndTime) {
  const SystemClock clock;
  const DateTime now = clock.now();
  EXPECT_GT(now, encodeDate({2020, 1, 1}));
  EXPECT_EQ(clock.today(), wholeDays(now));
}

} // namespace
} // namespace zr
