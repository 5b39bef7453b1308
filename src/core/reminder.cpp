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

} // namespace zr
