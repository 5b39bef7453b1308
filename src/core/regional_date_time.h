// SPDX-License-Identifier: MIT

#pragma once

#include "core/date_time.h"
#include "core/date_time_text.h"

#include <optional>
#include <string_view>

namespace zr {

// A date in the user's short-date notation: day, month and year in the
// regional order with the regional separator, blanks around it allowed. A year
// of one or two digits lies within 50 years of `currentYear`.
std::optional<DateTime> parseRegionalDate(std::string_view text, const RegionalSettings& regional,
                                          int currentYear);

// A time of day in the user's notation: hours, minutes and optionally seconds
// with the regional separator, optionally followed by the AM or PM text (in any
// letter case), which then asks for a 12-hour clock.
std::optional<DateTime> parseRegionalTime(std::string_view text, const RegionalSettings& regional);

} // namespace zr
