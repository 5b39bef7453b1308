// SPDX-License-Identifier: MIT

#pragma once

#include <cstdint>

namespace zr {

// A point in local time: whole days since 30 December 1899 (day 0), the fraction
// is the time of day (0.5 is noon). 0 also stands for "no date".
using DateTime = double;

inline constexpr std::int64_t kMillisecondsPerDay = 86'400'000;
inline constexpr DateTime kOneMinute = 1.0 / 1440.0;
inline constexpr DateTime kOneMillisecond = 1.0 / kMillisecondsPerDay;
// Day serials are clamped to this many days either way before they become
// integers, so that any value, even one read from a damaged file, converts safely.
inline constexpr double kDayLimit = 1e9;

struct CalendarDate {
  int year = 1899;
  int month = 12;
  int day = 30;
  bool operator==(const CalendarDate&) const = default;
};

struct ClockTime {
  int hour = 0;
  int minute = 0;
  int second = 0;
  int millisecond = 0;
  bool operator==(const ClockTime&) const = default;
};

// Calendar operations on the proleptic Gregorian calendar.
DateTime wholeDays(DateTime value);     // the date alone, time 0
DateTime fractionOfDay(DateTime value); // the time of day alone
int dayOfWeek(DateTime value);          // 1 = Sunday ... 7 = Saturday
int dayOfMonth(DateTime value);         // 1..31
int monthOf(DateTime value);            // 1..12
int yearOf(DateTime value);
bool isLeapYear(int year);
int daysInMonth(int year, int month);
int daysInMonth(DateTime value);
bool isValidDate(const CalendarDate& date);

// The whole day of a value as an integer (day 0 = 30 December 1899), with the
// value clamped to kDayLimit days either way and NaN read as day 0.
std::int64_t serialDay(DateTime value);
CalendarDate dateOfSerialDay(std::int64_t day);
std::int64_t serialDayOf(const CalendarDate& date);
int dayOfWeekOfSerialDay(std::int64_t day); // 1 = Sunday ... 7 = Saturday

// A moment as a whole number of milliseconds since day 0, the resolution at
// which moments are shown and, within the file's 15 digits, stored. Values are
// clamped to kDayLimit days either way and NaN reads as 0.
std::int64_t wholeMilliseconds(DateTime value);
// The earliest moment that wholeMilliseconds gives as this millisecond: a search
// from it accepts every moment shown as that millisecond or later.
DateTime startOfMillisecond(std::int64_t milliseconds);

// Integer division that rounds towards minus infinity.
std::int64_t floorDiv(std::int64_t a, std::int64_t b);

DateTime encodeDate(const CalendarDate& date);
DateTime encodeTime(const ClockTime& time);
DateTime encodeDateTime(const CalendarDate& date, const ClockTime& time);
CalendarDate decodeDate(DateTime value);
// The time of day rounded to the nearest millisecond.
ClockTime decodeTime(DateTime value);

// Where "now" comes from. Everything that needs the current moment or today's
// date takes a clock, so the program reads local time and tests stand still.
class Clock {
public:
  virtual ~Clock() = default;
  virtual DateTime now() const = 0;
  DateTime today() const { return wholeDays(now()); }
};

// The local moment of an instant given in milliseconds since 1 January 1970 UTC,
// in the time zone last read by followTimeZone (or at the first conversion).
DateTime localMoment(std::int64_t unixMilliseconds);

// Reads the local time zone again (the TZ variable, the file it names or the
// system's zone file), so a zone changed while the program runs applies from
// the next conversion on. It costs one look at the zone file.
void followTimeZone();

// The local time of this computer, to the millisecond.
class SystemClock final : public Clock {
public:
  DateTime now() const override;
};

// A clock that shows the moment it is set to, until it is set or advanced.
class FixedClock final : public Clock {
public:
  explicit FixedClock(DateTime moment = 0) : moment_(moment) {}
  DateTime now() const override { return moment_; }
  void set(DateTime moment) { moment_ = moment; }
  void advance(DateTime by) { moment_ += by; }

private:
  DateTime moment_;
};

} // namespace zr
