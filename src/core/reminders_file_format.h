// SPDX-License-Identifier: MIT

#pragma once

#include "core/reminder_list.h"

#include <algorithm>
#include <cstdint>
#include <string_view>

namespace zr {

// The fixed lines of the reminders file, shared by its readers and its writer.
inline constexpr std::string_view kRemindersFileHeader = "DorvelFile";
inline constexpr std::int32_t kRemindersFileVersion = 2;
inline constexpr std::string_view kDaysOfWeekEnd = "DaysOfWeekEnd";
inline constexpr std::string_view kDaysOfMonthEnd = "DaysOfMonthEnd";
inline constexpr std::string_view kTrueText = "TRUE";
inline constexpr std::string_view kFalseText = "FALSE";

// Makes room in the list for the records a file says it holds. A record takes
// more than a dozen bytes, so a count beyond what the content could hold is not
// believed.
inline void reserveForRecords(ReminderList& list, std::int32_t count, std::string_view content) {
  list.reserveRows(list.rowCount() +
                   std::min<std::int32_t>(count, static_cast<std::int32_t>(content.size() / 16)));
}

} // namespace zr
