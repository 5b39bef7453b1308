// SPDX-License-Identifier: MIT

#include "core/date_time_text.h"

#include <algorithm>
#include <cmath>

namespace zr {
namespace {

// The moment rounded to the millisecond, which is what the text shows (down to
// whole seconds); rounding may carry into the next day.
std::int64_t totalMilliseconds(DateTime value) {
  if (std::isnan(value))
    return 0;
  return std::llround(std::clamp(value, -kDayLimit, kDayLimit) * kMillisecondsPerDay);
}

char* writeTwoDigits(char* out, int value) {
  out[0] = static_cast<char>('0' + value / 10);
  out[1] = static_cast<char>('0' + value % 10);
  return out + 2;
}

char* writeText(char* out, std::string_view text) {
  text.copy(out, text.size());
  return out + text.size();
}

// The year with at least four digits, and a "-" before a year before year 0.
int yearLength(int year) {
  int digits = 4;
  for (int limit = 10000; year >= limit || -year >= limit; limit *= 10)
    ++digits;
  return digits + (year < 0 ? 1 : 0);
}

char* writeYear(char* out, int year, int length) {
  if (year < 0) {
    *out++ = '-';
    year = -year;
    --length;
  }
  for (int index = length - 1; index >= 0; --index) {
    out[index] = static_cast<char>('0' + year % 10);
    year /= 10;
  }
  return out + length;
}

// "hh:mm:ss am" without its two time separators.
constexpr std::size_t kTimeTextLength = 9;

// Writes the time of day as "hh<sep>mm<sep>ss am", 12-hour clock.
char* writeTime(char* out, int secondOfDay, std::string_view separator) {
  const int hour = secondOfDay / 3600;
  out = writeTwoDigits(out, hour % 12 == 0 ? 12 : hour % 12);
  out = writeText(out, separator);
  out = writeTwoDigits(out, secondOfDay / 60 % 60);
  out = writeText(out, separator);
  out = writeTwoDigits(out, secondOfDay % 60);
  return writeText(out, hour < 12 ? " am" : " pm");
}

struct TextCursor {
  std::string_view text;
  std::size_t position = 0;

  bool literal(std::string_view expected) {
    if (text.substr(position, expected.size()) != expected)
      return false;
    position += expected.size();
    return true;
  }

  bool number(std::size_t minDigits, std::size_t maxDigits, int& value) {
    std::size_t count = 0;
    value = 0;
    while (position < text.size() && count < maxDigits && text[position] >= '0' &&
           text[position] <= '9') {
      value = value * 10 + (text[position] - '0');
      ++position;
      ++count;
    }
    return count >= minDigits;
  }
};

} // namespace

void appendDateTimeText(std::string& out, DateTime value, const DateTimeSeparators& separators) {
  const std::int64_t milliseconds = totalMilliseconds(value);
  const std::int64_t day = floorDiv(milliseconds, kMillisecondsPerDay);
  const auto secondOfDay = static_cast<int>((milliseconds - day * kMillisecondsPerDay) / 1000);
  const CalendarDate date = dateOfSerialDay(day);
  const int yearDigits = yearLength(date.year);
  // Sized once and filled in place: this runs twice per row on every refresh.
  const std::size_t start = out.size();
  out.resize(start + 5 + kTimeTextLength + static_cast<std::size_t>(yearDigits) +
             2 * separators.date.size() + 2 * separators.time.size());
  char* cursor = out.data() + start;
  cursor = writeTwoDigits(cursor, date.month);
  cursor = writeText(cursor, separators.date);
  cursor = writeTwoDigits(cursor, date.day);
  cursor = writeText(cursor, separators.date);
  cursor = writeYear(cursor, date.year, yearDigits);
  *cursor++ = ' ';
  writeTime(cursor, secondOfDay, separators.time);
}

std::string formatTimeText(DateTime value, const DateTimeSeparators& separators) {
  const std::int64_t milliseconds = totalMilliseconds(value);
  const std::int64_t day = floorDiv(milliseconds, kMillisecondsPerDay);
  std::string text(kTimeTextLength + 2 * separators.time.size(), ' ');
  writeTime(text.data(), static_cast<int>((milliseconds - day * kMillisecondsPerDay) / 1000),
            separators.time);
  return text;
}

std::string formatDateTimeText(DateTime value, const DateTimeSeparators& separators) {
  std::string text;
  appendDateTimeText(text, value, separators);
  return text;
}

DateTime parseDateTimeText(const std::string& text, const DateTimeSeparators& separators) {
  TextCursor cursor{text};
  CalendarDate date;
  int hour = 0;
  int minute = 0;
  int second = 0;
  const bool read = cursor.number(2, 2, date.month) && cursor.literal(separators.date) &&
                    cursor.number(2, 2, date.day) && cursor.literal(separators.date) &&
                    cursor.number(4, 9, date.year) && cursor.literal(" ") &&
                    cursor.number(2, 2, hour) && cursor.literal(separators.time) &&
                    cursor.number(2, 2, minute) && cursor.literal(separators.time) &&
                    cursor.number(2, 2, second) && cursor.literal(" ");
  if (!read || !isValidDate(date) || hour < 1 || hour > 12 || minute > 59 || second > 59)
    return 0;
  const bool pm = cursor.literal("pm");
  if (!pm && !cursor.literal("am"))
    return 0;
  if (cursor.position != text.size())
    return 0;
  const int hour24 = hour % 12 + (pm ? 12 : 0);
  return encodeDateTime(date, {hour24, minute, second, 0});
}

std::int64_t dateTimeTextKey(DateTime value) {
  const std::int64_t milliseconds = totalMilliseconds(value);
  if (dateOfSerialDay(floorDiv(milliseconds, kMillisecondsPerDay)).year < 0)
    return 0;
  return floorDiv(milliseconds, 1000);
}

} // namespace zr
