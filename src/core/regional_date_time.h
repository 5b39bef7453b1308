// SPDX-License-Identifier: MIT

#pragma once

#include "core/date_time.h"
#include "core/date_time_text.h"

#include <optional>
#include <string_view>

namespace zr {

// A date in the user's short-date notation: day, month and year in the regional order
// with the regional separator, blanks before and after the date and after a separator
// allowed, and one more separator at the end ("2024. 03. 15.", "24. 3. 15."). A year
// of one or two digits lies within 50 years of `currentYear`.
std::optional<DateTime> parseRegionalDate(std::string_view text, const RegionalSettings& regional,
                                          int currentYear);

// A time of day in the user's notation: hours, minutes and optionally seconds with the
// regional separator, optionally with the AM or PM text (in any letter case) after or
// before it ("9:15 PM", "오후 9:15"), which then asks for a 12-hour clock.
std::optional<DateTime> parseRegionalTime(std::string_view text, const RegionalSettings& regional);

} // namespace zr
