// SPDX-License-Identifier: MIT

#include "core/error.h"
#include "core/reminders_file.h"
#include "core/reminders_file_format.h"
#include "core/text_file_reader.h"

namespace zr {
namespace {

// Lines up to the end marker, each a member; members outside 0..255 are dropped.
void readDaySet(TextFileReader& reader, DaySet& set, std::string_view endMarker) {
  set.reset();
  for (;;) {
    const std::string_view line = reader.readLine();
    if (line == endMarker)
      return;
    const std::int32_t member = lineToInteger(line);
    if (member >= 0 && member <= 255)
      set.set(static_cast<std::size_t>(member));
  }
}

void readMessageLines(TextFileReader& reader, std::vector<std::string>& text, std::int32_t count) {
  for (std::int32_t line = 0; line < count; ++line) {
    // Past the end every line reads empty and the record then fails on its
    // first weekday line; saying so at once spares reading billions of lines.
    const bool pastEnd = reader.atEnd();
    text.emplace_back(reader.readLine());
    if (pastEnd)
      throw Error(invalidIntegerText(""));
  }
}

std::unique_ptr<Reminder> readReminder(TextFileReader& reader, const Clock& clock) {
  auto reminder = std::make_unique<Reminder>(clock.today());
  reminder->name = reader.readLine();
  readMessageLines(reader, reminder->text, reader.readInteger());
  reminder->enabled = reader.readLine() == kTrueText;
  reminder->color = static_cast<Color>(reader.readInteger());
  reminder->audioFile = reader.readLine();
  reminder->reminderType =
      static_cast<ReminderType>(static_cast<std::uint8_t>(reader.readInteger()));
  reminder->time = reader.readFloat();
  reminder->nextScheduled = reader.readFloat();
  reminder->lastRun = reader.readFloat();
  reminder->date = reader.readFloat();
  readDaySet(reader, reminder->daysOfWeek, kDaysOfWeekEnd);
  readDaySet(reader, reminder->daysOfMonth, kDaysOfMonthEnd);
  reminder->yearlyMonth = reader.readInteger();
  reminder->yearlyDay = reader.readInteger();
  return reminder;
}

} // namespace

void parseRemindersV2(std::string_view content, ReminderList& list, const Clock& clock) {
  TextFileReader reader(content);
  reader.readLine();
  reader.readLine();
  const std::int32_t count = readCount(reader);
  reserveForRecords(list, count, content);
  for (std::int32_t index = 0; index < count; ++index) {
    try {
      list.appendReminder(readReminder(reader, clock));
    } catch (const Error& error) {
      throw Error(locatedErrorText(reader.lastLine(), index + 1, error.what()));
    }
  }
}

} // namespace zr
