// SPDX-License-Identifier: MIT

#include "core/reminders_file.h"
#include "core/reminders_file_format.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>

namespace zr {
namespace {

constexpr std::string_view kLineEnd = "\r\n";

void writeLine(std::string& out, std::string_view text) {
  out += text;
  out += kLineEnd;
}

void writeInteger(std::string& out, std::int64_t value) {
  char digits[24];
  const auto result = std::to_chars(digits, digits + sizeof digits, value);
  out.append(digits, result.ptr);
  out += kLineEnd;
}

// 23 characters: a blank or "-", one digit, ".", 14 digits, "E", the exponent's
// sign and four digits; the value rounded to 15 significant digits.
void writeDateTime(std::string& out, DateTime value) {
  if (!std::isfinite(value))
    value = 0; // cannot come from a date, a time or a file; keeps the file readable
  char digits[32];
  const auto result = std::to_chars(digits, digits + sizeof digits, std::fabs(value),
                                    std::chars_format::scientific, 14);
  const std::string_view text(digits, static_cast<std::size_t>(result.ptr - digits));
  const std::size_t e = text.find('e');
  out += std::signbit(value) && value != 0 ? '-' : ' ';
  out += text.substr(0, e);
  out += 'E';
  out += text[e + 1];
  const std::string_view exponent = text.substr(e + 2);
  out.append(4 - std::min<std::size_t>(4, exponent.size()), '0');
  out += exponent;
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
