// SPDX-License-Identifier: MIT

#include "core/regional_date_time.h"

#include "core/ascii_text.h"

#include <cstddef>
#include <utility>

namespace zr {
namespace {

enum class Marker { None, Am, Pm };

Marker markerOf(std::string_view text, const RegionalSettings& regional) {
  if (equalsIgnoringAsciiCase(text, regional.amText))
    return Marker::Am;
  if (equalsIgnoringAsciiCase(text, regional.pmText))
    return Marker::Pm;
  return Marker::None;
}

// The AM or PM text where a locale puts it before the time (Korean does),
// taken off the front of `text` with the blanks after it.
Marker readLeadingMarker(std::string_view& text, const RegionalSettings& regional) {
  const std::pair<std::string_view, Marker> candidates[] = {{regional.amText, Marker::Am},
                                                            {regional.pmText, Marker::Pm}};
  for (const auto& [candidate, marker] : candidates) {
    if (!candidate.empty() &&
        equalsIgnoringAsciiCase(text.substr(0, candidate.size()), candidate)) {
      text = trimBlanks(text.substr(candidate.size()));
      return marker;
    }
  }
  return Marker::None;
}

// Reads one to `maxDigits` digits; false when there is none.
bool readNumber(std::string_view& text, std::size_t maxDigits, int& value, std::size_t& digits) {
  value = 0;
  digits = 0;
  while (!text.empty() && digits < maxDigits && text.front() >= '0' && text.front() <= '9') {
    value = value * 10 + (text.front() - '0');
    text.remove_prefix(1);
    ++digits;
  }
  return digits > 0;
}

bool readSeparator(std::string_view& text, std::string_view separator) {
  if (separator.empty() || text.substr(0, separator.size()) != separator)
    return false;
  text.remove_prefix(separator.size());
  return true;
}

// A date separator with the blanks some locales put after it ("2024. 03. 15.").
bool readDateSeparator(std::string_view& text, std::string_view separator) {
  if (!readSeparator(text, separator))
    return false;
  text = trimBlanks(text);
  return true;
}

int expandTwoDigitYear(int year, int currentYear) {
  int expanded = currentYear - currentYear % 100 + year;
  if (expanded < currentYear - 50)
    expanded += 100;
  else if (expanded > currentYear + 49)
    expanded -= 100;
  return expanded;
}

} // namespace

std::optional<DateTime> parseRegionalDate(std::string_view text, const RegionalSettings& regional,
                                          int currentYear) {
  text = trimBlanks(text);
  int parts[3] = {};
  std::size_t digits[3] = {};
  for (int index = 0; index < 3; ++index) {
    if (index > 0 && !readDateSeparator(text, regional.dateSeparator))
      return std::nullopt;
    if (!readNumber(text, 4, parts[index], digits[index]))
      return std::nullopt;
  }
  // Some locales end the date with its separator ("15. 3. 2024.").
  readSeparator(text, regional.dateSeparator);
  if (!text.empty())
    return std::nullopt;
  using Order = RegionalSettings::DateOrder;
  const int yearIndex = regional.dateOrder == Order::YearMonthDay ? 0 : 2;
  const int monthIndex = regional.dateOrder == Order::DayMonthYear   ? 1
                         : regional.dateOrder == Order::MonthDayYear ? 0
                                                                     : 1;
  const int dayIndex = regional.dateOrder == Order::DayMonthYear   ? 0
                       : regional.dateOrder == Order::MonthDayYear ? 1
                                                                   : 2;
  CalendarDate date{parts[yearIndex], parts[monthIndex], parts[dayIndex]};
  if (digits[yearIndex] <= 2)
    date.year = expandTwoDigitYear(date.year, currentYear);
  if (date.year < 1 || !isValidDate(date))
    return std::nullopt;
  return encodeDate(date);
}

std::optional<DateTime> parseRegionalTime(std::string_view text, const RegionalSettings& regional) {
  text = trimBlanks(text);
  Marker marker = readLeadingMarker(text, regional);
  ClockTime time;
  std::size_t digits = 0;
  if (!readNumber(text, 2, time.hour, digits) || !readSeparator(text, regional.timeSeparator) ||
      !readNumber(text, 2, time.minute, digits))
    return std::nullopt;
  if (readSeparator(text, regional.timeSeparator) && !readNumber(text, 2, time.second, digits))
    return std::nullopt;
  const std::string_view rest = trimBlanks(text);
  if (!rest.empty()) {
    if (marker != Marker::None)
      return std::nullopt;
    marker = markerOf(rest, regional);
    if (marker == Marker::None)
      return std::nullopt;
  }
  if (time.minute > 59 || time.second > 59)
    return std::nullopt;
  if (marker != Marker::None) {
    if (time.hour < 1 || time.hour > 12)
      return std::nullopt;
    time.hour = time.hour % 12 + (marker == Marker::Pm ? 12 : 0);
  } else if (time.hour > 23) {
    return std::nullopt;
  }
  return encodeTime(time);
}

} // namespace zr
