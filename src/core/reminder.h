// SPDX-License-Identifier: MIT

#pragma once

#include "core/date_time.h"

#include <bitset>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zr {

// The schedule kind. Stored in one byte; files may carry values outside the
// named ones, which are kept as they are and never come due.
enum class ReminderType : std::uint8_t { Once = 0, Daily = 1, Weekly = 2, Monthly = 3, Yearly = 4 };

// "Once", "Daily", "Weekly", "Monthly", "Yearly"; empty for any other value.
std::string_view reminderTypeName(ReminderType type);

// A colour as 32 bits: red in the lowest byte, then green, then blue. A highest
// byte of FF names a system colour by the index in the lowest byte.
using Color = std::uint32_t;
inline constexpr Color kWhite = 0x00FFFFFF;
inline constexpr Color kButtonFaceSystemColor = 0xFF00000F;

// Members 0..255. Weekdays use 1 = Sunday ... 7 = Saturday; month days use
// 1..31 and 32 for the last day of the month.
using DaySet = std::bitset<256>;

struct Reminder {
  // A new reminder is dated today (time 0); everything else takes the defaults below.
  explicit Reminder(DateTime today) : date(today) {}

  std::string name = "New Reminder";
  std::vector<std::string> text;
  bool enabled = true;
  ReminderType reminderType = ReminderType::Once;
  DateTime nextScheduled = 0;
  DateTime lastRun = 0;
  Color color = kWhite;
  std::string audioFile;
  DateTime time = 0;
  DateTime date = 0;
  DaySet daysOfWeek;
  DaySet daysOfMonth;
  std::int32_t yearlyMonth = 1;
  std::int32_t yearlyDay = 1;

  // Makes this reminder equal to the source in every field, message lines included.
  void copyFrom(const Reminder& source);

  // Finds the first moment of the schedule that is not earlier than `after`,
  // stores it in nextScheduled and returns it; 0 when there is none. A once-only
  // reminder whose moment has passed is switched off. Today's date comes from the clock.
  DateTime calculateNextScheduled(DateTime after, const Clock& clock);

  bool operator==(const Reminder&) const = default;
};

// The moment a refresh searches a reminder's next occurrence from: `after`, or,
// when the reminder last fired at or after that millisecond (the wall clock went
// back: the end of summer time, a clock set back), the millisecond after its last
// run, so the occurrence it fired for does not come due a second time.
DateTime searchStart(DateTime after, DateTime lastRun);

} // namespace zr
