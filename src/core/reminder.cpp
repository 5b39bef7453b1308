// SPDX-License-Identifier: MIT

#include "core/reminder.h"

namespace zr {

std::string_view reminderTypeName(ReminderType type) {
  switch (type) {
  case ReminderType::Once:
    return "Once";
  case ReminderType::Daily:
    return "Daily";
  case ReminderType::Weekly:
    return "Weekly";
  case ReminderType::Monthly:
    return "Monthly";
  case ReminderType::Yearly:
    return "Yearly";
  }
  return {};
}

void Reminder::copyFrom(const Reminder& source) {
  *this = source;
}

DateTime searchStart(DateTime after, DateTime lastRun) {
  // The common case, a last run well before `after`, needs no rounding.
  if (!(lastRun > after - kOneMillisecond))
    return after;
  const std::int64_t lastRunMillisecond = wholeMilliseconds(lastRun);
  if (lastRunMillisecond < wholeMilliseconds(after))
    return after;
  return startOfMillisecond(lastRunMillisecond + 1);
}

} // namespace zr
