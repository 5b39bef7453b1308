// SPDX-License-Identifier: MIT

#include "core/error.h"
#include "core/regional_date_time.h"
#include "core/reminders_file.h"
#include "core/reminders_file_format.h"
#include "core/text_file_reader.h"

#include <array>
#include <utility>

namespace zr {
namespace {

// The weekday words of the older format ("Thrusday" is how that format spells it).
constexpr std::array<std::pair<std::string_view, int>, 7> kWeekdays{{{"Sunday", 1},
                                                                     {"Monday", 2},
                                                                     {"Tuesday", 3},
                                                                     {"Wednesday", 4},
                                                                     {"Thrusday", 5},
                                                                     {"Friday", 6},
                                                                     {"Saturday", 7}}};

DateTime readTime(std::string_view line, const RegionalSettings& regional) {
  const std::optional<DateTime> time = parseRegionalTime(line, regional);
  if (!time)
    throw Error(std::string(1, '\'').append(line).append("' is not a valid time"));
  return fractionOfDay(*time);
}

DateTime readDate(std::string_view line, const RegionalSettings& regional, const Clock& clock) {
  const std::optional<DateTime> date = parseRegionalDate(line, regional, yearOf(clock.today()));
  if (!date)
    throw Error(std::string(1, '\'').append(line).append("' is not a valid date"));
  return wholeDays(*date);
}

void addWeekday(DaySet& daysOfWeek, std::string_view word) {
  for (const auto& [name, member] : kWeekdays) {
    if (word == name)
      daysOfWeek.set(static_cast<std::size_t>(member));
  }
}

void addMonthDay(DaySet& daysOfMonth, std::string_view line) {
  if (line == "Last Day") {
    daysOfMonth.set(32);
    return;
  }
  const std::int32_t day = lineToInteger(line);
  if (day >= 0 && day <= 255)
    daysOfMonth.set(static_cast<std::size_t>(day));
}

std::unique_ptr<Reminder> readReminder(TextFileReader& reader, const RegionalSettings& regional,
                                       const Clock& clock) {
  auto reminder = std::make_unique<Reminder>(clock.today());
  reminder->name = reader.readLine();
  if (!reminder->name.empty())
    reminder->text.push_back(reminder->name);
  reminder->enabled = reader.readLine() == "Yes";
  const std::string_view kind = reader.readLine();
  const std::string_view detail = reader.readLine();
  if (kind == reminderTypeName(ReminderType::Once)) {
    reminder->reminderType = ReminderType::Once;
    reminder->date = readDate(detail, regional, clock);
  } else if (kind == reminderTypeName(ReminderType::Daily)) {
    reminder->reminderType = ReminderType::Daily;
  } else if (kind == reminderTypeName(ReminderType::Weekly)) {
    reminder->reminderType = ReminderType::Weekly;
    addWeekday(reminder->daysOfWeek, detail);
  } else {
    reminder->reminderType = ReminderType::Monthly;
    addMonthDay(reminder->daysOfMonth, detail);
  }
  reminder->time = readTime(reader.readLine(), regional);
  reader.readLine();
  reminder->color = kButtonFaceSystemColor;
  reminder->audioFile.clear();
  return reminder;
}

} // namespace

void parseRemindersLegacy(std::string_view content, ReminderList& list,
                          const RegionalSettings& regional, const Clock& clock) {
  TextFileReader reader(content);
  const std::int32_t count = readCount(reader);
  reserveForRecords(list, count, content);
  for (std::int32_t index = 0; index < count; ++index) {
    std::unique_ptr<Reminder> reminder;
    try {
      reminder = readReminder(reader, regional, clock);
    } catch (const Error& error) {
      throw Error(locatedErrorText(reader.lastLine(), index + 1, error.what()));
    }
    std::string name = reminder->name;
    list.appendReminder(std::move(reminder));
    list.setNameText(list.rowCount() - 1, std::move(name));
  }
}

} // namespace zr
