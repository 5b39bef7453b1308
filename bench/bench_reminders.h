// SPDX-License-Identifier: MIT

#pragma once

#include "core/date_time.h"
#include "core/reminder_list.h"

#include <memory>
#include <random>
#include <string>

namespace zr::bench {

inline DateTime at(int year, int month, int day, int hour = 0) {
  return encodeDateTime({year, month, day}, {hour, 0, 0, 0});
}

// Reminders of all five kinds with varied names, times, days and three message lines,
// the same list for the same count.
inline void fillReminders(ReminderList& list, int count) {
  std::mt19937 random(7);
  auto pick = [&](int low, int high) { return std::uniform_int_distribution(low, high)(random); };
  for (int index = 0; index < count; ++index) {
    auto reminder = std::make_unique<Reminder>(at(2024, 3, 11));
    reminder->name = "Reminder " + std::to_string(pick(0, 100000));
    reminder->text = {"Bring the slides.", "Room " + std::to_string(index),
                      "Call the office first."};
    reminder->reminderType = static_cast<ReminderType>(index % 5);
    reminder->time = encodeTime({pick(0, 23), pick(0, 59), 0, 0});
    reminder->date = at(2024, pick(1, 12), pick(1, 28));
    reminder->lastRun = pick(0, 1) ? 0 : at(2024, 3, pick(1, 10), pick(0, 23));
    reminder->daysOfWeek.set(static_cast<std::size_t>(pick(1, 7)));
    reminder->daysOfMonth.set(static_cast<std::size_t>(pick(1, 32)));
    reminder->yearlyMonth = pick(1, 12);
    reminder->yearlyDay = pick(1, 31);
    list.appendReminder(std::move(reminder));
  }
}

} // namespace zr::bench
