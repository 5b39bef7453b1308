// SPDX-License-Identifier: MIT

#pragma once

#include "core/date_time.h"

#include <cstdint>
#include <string>

namespace zr {

// The user's date and time separators, used in the list's date-time texts.
struct DateTimeSeparators {
  std::string date = "/";
  std::string time = ":";
};

// The user's regional notation, which only files of the older headerless format use.
struct RegionalSettings {
  enum class DateOrder { MonthDayYear, DayMonthYear, YearMonthDay };
  DateOrder dateOrder = DateOrder::MonthDayYear;
  std::string dateSeparator = "/";
  std::string timeSeparator = ":";
  std::string amText = "AM";
  std::string pmText = "PM";
};

// The list's date-time text of the value: "mm/dd/yyyy hh:mm:ss am/pm" with the
// given separators; 12-hour clock, lower-case am/pm.
std::string formatDateTimeText(DateTime value, const DateTimeSeparators& separators);
// The time of day of that text alone: "hh:mm:ss am/pm".
std::string formatTimeText(DateTime value, const DateTimeSeparators& separators);
// The date-time text, appended to `out`.
void appendDateTimeText(std::string& out, DateTime value, const DateTimeSeparators& separators);
// Reads such a text back; a text that cannot be read gives 0.
DateTime parseDateTimeText(const std::string& text, const DateTimeSeparators& separators);

// A number that orders date-times as their list texts compare once read back:
// the whole seconds the text shows, and 0 for a text that cannot be read back.
// Equal keys belong to equal texts.
std::int64_t dateTimeTextKey(DateTime value);

} // namespace zr
