// SPDX-License-Identifier: MIT

#include "core/reminders_file.h"
#include "core/reminders_file_format.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace zr {
namespace {

constexpr std::string_view kLineEnd = "\r\n";

void writeLine(std::string& out, std::string_view text) {
  out += text;
  out += kLineEnd;
}

// The number and the line end, appended at once.
void writeInteger(std::string& out, std::int64_t value) {
  char text[24];
  char* end = std::to_chars(text, text + sizeof text - 2, value).ptr;
  *end++ = '\r';
  *end++ = '\n';
  out.append(text, end);
}

// The decimal digits of `magnitude` (finite, positive) rounded to 15 significant
// digits, half to even on the exact binary value, as `digits` (10^14 <= digits < 10^15)
// and its decimal exponent: the same as std::to_chars with chars_format::scientific and
// precision 14, in integer arithmetic, which is several times faster. Covers the values
// a reminders file holds, from 10^-5 up to 10^15; false for the others.
bool roundToFifteenDigits(double magnitude, std::uint64_t& digits, int& exponent) {
  static constexpr std::uint64_t kPowersOfTen[] = {1,
                                                   10,
                                                   100,
                                                   1000,
                                                   10000,
                                                   100000,
                                                   1000000,
                                                   10000000,
                                                   100000000,
                                                   1000000000,
                                                   10000000000,
                                                   100000000000,
                                                   1000000000000,
                                                   10000000000000,
                                                   100000000000000,
                                                   1000000000000000,
                                                   10000000000000000,
                                                   100000000000000000,
                                                   1000000000000000000,
                                                   10000000000000000000U};
  if (!(magnitude >= 1e-5 && magnitude < 1e15))
    return false;
  const auto bits = std::bit_cast<std::uint64_t>(magnitude);
  const int biased = static_cast<int>(bits >> 52);
  const std::uint64_t mantissa = (bits & ((std::uint64_t{1} << 52) - 1)) | std::uint64_t{1} << 52;
  const int shift = 1075 - biased; // magnitude = mantissa / 2^shift, 0 < shift < 128 here
  // A first guess of the exponent, put right below when the rounded digits say otherwise.
  static constexpr double kDecades[] = {1e-5, 1e-4, 1e-3, 1e-2, 1e-1, 1e0,  1e1,  1e2,  1e3,  1e4,
                                        1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14};
  exponent =
      static_cast<int>(std::upper_bound(std::begin(kDecades), std::end(kDecades), magnitude) -
                       std::begin(kDecades)) -
      6;
  for (;;) {
    const int scale = 14 - exponent; // 0..19 in the covered range
    if (scale < 0 || scale > 19)
      return false;
    const unsigned __int128 scaled = static_cast<unsigned __int128>(mantissa) * kPowersOfTen[scale];
    std::uint64_t rounded;
    if (shift <= 0) {
      rounded = static_cast<std::uint64_t>(scaled << -shift);
    } else {
      rounded = static_cast<std::uint64_t>(scaled >> shift);
      const unsigned __int128 rest = scaled & ((static_cast<unsigned __int128>(1) << shift) - 1);
      const unsigned __int128 half = static_cast<unsigned __int128>(1) << (shift - 1);
      if (rest > half || (rest == half && (rounded & 1) != 0))
        ++rounded;
    }
    if (rounded >= kPowersOfTen[15]) {
      ++exponent;
    } else if (rounded < kPowersOfTen[14]) {
      --exponent;
    } else {
      digits = rounded;
      return true;
    }
  }
}

// 23 characters: a blank or "-", one digit, ".", 14 digits, "E", the exponent's
// sign and four digits; the value rounded to 15 significant digits.
void writeDateTime(std::string& out, DateTime value) {
  if (!std::isfinite(value))
    value = 0; // cannot come from a date, a time or a file; keeps the file readable
  const char sign = std::signbit(value) && value != 0 ? '-' : ' ';
  const double magnitude = std::fabs(value);
  std::uint64_t digits = 0;
  int exponent = 0;
  if (magnitude == 0 || roundToFifteenDigits(magnitude, digits, exponent)) {
    // The whole line, appended at once.
    char text[25] = {sign, '0', '.', '0', '0', '0', '0', '0', '0', '0', '0',  '0', '0',
                     '0',  '0', '0', '0', 'E', '+', '0', '0', '0', '0', '\r', '\n'};
    for (int place = 16; place >= 3; --place, digits /= 10)
      text[place] = static_cast<char>('0' + digits % 10);
    text[1] = static_cast<char>('0' + digits);
    if (exponent < 0)
      text[18] = '-';
    const int size = std::abs(exponent);
    text[21] = static_cast<char>('0' + size / 10);
    text[22] = static_cast<char>('0' + size % 10);
    out.append(text, sizeof text);
    return;
  }
  char digitsText[32];
  const auto result = std::to_chars(digitsText, digitsText + sizeof digitsText, magnitude,
                                    std::chars_format::scientific, 14);
  const std::string_view text(digitsText, static_cast<std::size_t>(result.ptr - digitsText));
  const std::size_t e = text.find('e');
  out += sign;
  out += text.substr(0, e);
  out += 'E';
  out += text[e + 1];
  const std::string_view exponentDigits = text.substr(e + 2);
  out.append(4 - std::min<std::size_t>(4, exponentDigits.size()), '0');
  out += exponentDigits;
  out += kLineEnd;
}

void writeDaySet(std::string& out, const DaySet& set, int last, std::string_view endMarker) {
  for (int member = 1; member <= last; ++member) {
    if (set[static_cast<std::size_t>(member)])
      writeInteger(out, member);
  }
  writeLine(out, endMarker);
}

void writeReminder(std::string& out, const Reminder& reminder) {
  writeLine(out, reminder.name);
  writeInteger(out, static_cast<std::int64_t>(reminder.text.size()));
  for (const std::string& line : reminder.text)
    writeLine(out, line);
  writeLine(out, reminder.enabled ? kTrueText : kFalseText);
  writeInteger(out, static_cast<std::int32_t>(reminder.color));
  writeLine(out, reminder.audioFile);
  writeInteger(out, static_cast<std::uint8_t>(reminder.reminderType));
  writeDateTime(out, reminder.time);
  writeDateTime(out, reminder.nextScheduled);
  writeDateTime(out, reminder.lastRun);
  writeDateTime(out, reminder.date);
  writeDaySet(out, reminder.daysOfWeek, 7, kDaysOfWeekEnd);
  writeDaySet(out, reminder.daysOfMonth, 32, kDaysOfMonthEnd);
  writeInteger(out, reminder.yearlyMonth);
  writeInteger(out, reminder.yearlyDay);
}

} // namespace

std::string formatRecord(const Reminder& reminder) {
  std::string out;
  writeReminder(out, reminder);
  return out;
}

namespace {

// The header, the count and one record per reminder; `reminderAt` gives them in order.
template <typename ReminderAt> std::string formatFile(int count, ReminderAt reminderAt) {
  std::string out;
  out.reserve(64 + static_cast<std::size_t>(count) * 256);
  writeLine(out, kRemindersFileHeader);
  writeInteger(out, kRemindersFileVersion);
  writeInteger(out, count);
  for (int index = 0; index < count; ++index)
    writeReminder(out, reminderAt(index));
  return out;
}

} // namespace

std::string formatReminders(const ReminderList& list) {
  return formatFile(list.reminderCount(),
                    [&list](int row) -> const Reminder& { return *list.reminderAt(row); });
}

std::string formatReminders(const std::vector<std::unique_ptr<Reminder>>& reminders) {
  return formatFile(static_cast<int>(reminders.size()), [&reminders](int index) -> const Reminder& {
    return *reminders[static_cast<std::size_t>(index)];
  });
}

} // namespace zr
