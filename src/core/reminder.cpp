#include "core/reminder.h"

namespace zr {

std::string_view reminderTypeNameView(ReminderType type) {
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

std::string reminderTypeName(ReminderType type) {
  return std::string(reminderTypeNameView(type));
}

void Reminder::copyFrom(const Reminder& source) {
  *this = source;
}

} // namespace zr
