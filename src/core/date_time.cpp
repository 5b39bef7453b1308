// SPDX-License-Identifier: MIT

#include "core/date_time.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <ctime>

namespace zr {
namespace {

constexpr std::int64_t kUnixEpochDay = 25569; // 1 January 1970

} // namespace

std::int64_t floorDiv(std::int64_t a, std::int64_t b) {
  return a / b - ((a % b != 0) && ((a < 0) != (b < 0)) ? 1 : 0);
}

std::int64_t serialDay(DateTime value) {
  if (std::isnan(value))
    return 0;
  return static_cast<std::int64_t>(std::clamp(value, -kDayLimit, kDayLimit));
}

std::int64_t wholeMilliseconds(DateTime value) {
  if (std::isnan(value))
    return 0;
  return std::llround(std::clamp(value, -kDayLimit, kDayLimit) * kMillisecondsPerDay);
}

DateTime startOfMillisecond(std::int64_t milliseconds) {
  return (static_cast<double>(milliseconds) - 0.5) / kMillisecondsPerDay;
}

// Calendar conversions by arithmetic on 400-year eras (146097 days each).
CalendarDate dateOfSerialDay(std::int64_t day) {
  const std::int64_t z = day - kUnixEpochDay + 719468;
  const std::int64_t era = floorDiv(z, 146097);
  const std::int64_t dayOfEra = z - era * 146097;
  const std::int64_t yearOfEra =
      (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const std::int64_t shiftedMonth = (5 * dayOfYear + 2) / 153; // 0 = March
  const int dayOfMonth = static_cast<int>(dayOfYear - (153 * shiftedMonth + 2) / 5 + 1);
  const int month = static_cast<int>(shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9);
  const int year = static_cast<int>(yearOfEra + era * 400 + (month <= 2 ? 1 : 0));
  return {year, month, dayOfMonth};
}

std::int64_t serialDayOf(const CalendarDate& date) {
  const std::int64_t year = date.year - (date.month <= 2 ? 1 : 0);
  const std::int64_t era = floorDiv(year, 400);
  const std::int64_t yearOfEra = year - era * 400;
  const std::int64_t dayOfYear =
      (153 * (date.month > 2 ? date.month - 3 : date.month + 9) + 2) / 5 + date.day - 1;
  const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146097 + dayOfEra - 719468 + kUnixEpochDay;
}

int dayOfWeekOfSerialDay(std::int64_t day) {
  const std::int64_t index = (day + 6) % 7;
  return static_cast<int>(index < 0 ? index + 7 : index) + 1;
}

DateTime wholeDays(DateTime value) {
  return std::trunc(value);
}
DateTime fractionOfDay(DateTime value) {
  return value - std::trunc(value);
}
int dayOfWeek(DateTime value) {
  return dayOfWeekOfSerialDay(serialDay(value));
}
int dayOfMonth(DateTime value) {
  return decodeDate(value).day;
}
int monthOf(DateTime value) {
  return decodeDate(value).month;
}
int yearOf(DateTime value) {
  return decodeDate(value).year;
}

bool isLeapYear(int year) {
  return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int daysInMonth(int year, int month) {
  static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12)
    return 0;
  if (month == 2 && isLeapYear(year))
    return 29;
  return kDays[month - 1];
}

int daysInMonth(DateTime value) {
  const CalendarDate date = decodeDate(value);
  return daysInMonth(date.year, date.month);
}

bool isValidDate(const CalendarDate& date) {
  return date.month >= 1 && date.month <= 12 && date.day >= 1 &&
         date.day <= daysInMonth(date.year, date.month);
}

DateTime encodeDate(const CalendarDate& date) {
  return static_cast<DateTime>(serialDayOf(date));
}

DateTime encodeTime(const ClockTime& time) {
  const double milliseconds =
      ((time.hour * 60.0 + time.minute) * 60.0 + time.second) * 1000.0 + time.millisecond;
  return milliseconds / kMillisecondsPerDay;
}

DateTime encodeDateTime(const CalendarDate& date, const ClockTime& time) {
  return encodeDate(date) + encodeTime(time);
}

CalendarDate decodeDate(DateTime value) {
  return dateOfSerialDay(serialDay(value));
}

ClockTime decodeTime(DateTime value) {
  const double fraction = std::fabs(fractionOfDay(value));
  const auto rounded = std::isnan(fraction) ? 0 : std::llround(fraction * kMillisecondsPerDay);
  const auto milliseconds = std::min<long long>(rounded, kMillisecondsPerDay - 1);
  return {static_cast<int>(milliseconds / 3600000), static_cast<int>(milliseconds / 60000 % 60),
          static_cast<int>(milliseconds / 1000 % 60), static_cast<int>(milliseconds % 1000)};
}

DateTime localMoment(std::int64_t unixMilliseconds) {
  const std::int64_t seconds = floorDiv(unixMilliseconds, 1000);
  const auto time = static_cast<std::time_t>(seconds);
  std::tm local{};
#ifdef _WIN32
  localtime_s(&local, &time);
#else
  localtime_r(&time, &local);
#endif
  return encodeDateTime({local.tm_year + 1900, local.tm_mon + 1, local.tm_mday},
                        {local.tm_hour, local.tm_min, local.tm_sec,
                         static_cast<int>(unixMilliseconds - seconds * 1000)});
}

void followTimeZone() {
  tzset();
}

DateTime SystemClock::now() const {
  const auto moment = std::chrono::system_clock::now();
  return localMoment(
      std::chrono::duration_cast<std::chrono::milliseconds>(moment.time_since_epoch()).count());
}

} // namespace zr
