// SPDX-License-Identifier: MIT

#include "core/reminders_file.h"

#include "core/error.h"
#include "core/file_io.h"
#include "core/reminders_file_format.h"
#include "core/text_file_reader.h"

#include <cerrno>

namespace zr {
namespace {

// The version number after the header line; 1 when that token is not a number
// (as in a headerless file whose second line is a reminder's name).
std::int32_t versionOf(TextFileReader& reader) {
  try {
    return reader.readInteger();
  } catch (const Error&) {
    return 1;
  }
}

} // namespace

void parseReminders(std::string_view content, ReminderList& list, const RegionalSettings& regional,
                    const Clock& clock) {
  TextFileReader reader(content);
  const std::string_view header = reader.readLine();
  if (header == kRemindersFileHeader && versionOf(reader) == kRemindersFileVersion)
    parseRemindersV2(content, list, clock);
  else
    parseRemindersLegacy(content, list, regional, clock);
}

void parseRemindersFile(const std::string& path, std::string_view content, ReminderList& list,
                        const RegionalSettings& regional, const Clock& clock) {
  try {
    parseReminders(content, list, regional, clock);
  } catch (const Error& error) {
    throw Error(std::string("Error in ").append(path).append(", ").append(error.what()));
  }
}

void loadReminders(const std::string& path, ReminderList& list, const RegionalSettings& regional,
                   const Clock& clock) {
  if (const std::optional<std::string> content = readDataFile(path))
    parseRemindersFile(path, *content, list, regional, clock);
}

void loadReminders(const std::string& path, std::vector<std::unique_ptr<Reminder>>& reminders,
                   const RegionalSettings& regional, const Clock& clock) {
  ReminderList read;
  const auto takeRead = [&] {
    for (int row = 0; row < read.reminderCount(); ++row)
      reminders.push_back(std::make_unique<Reminder>(*read.reminderAt(row)));
  };
  try {
    loadReminders(path, read, regional, clock);
  } catch (const Error&) {
    takeRead();
    throw;
  }
  takeRead();
}

void saveReminders(const std::string& path, const ReminderList& list) {
  replaceFileContent(path, formatReminders(list));
}

void readRemindersV2(const std::string& path, ReminderList& list, const Clock& clock) {
  const std::optional<std::string> content = readDataFile(path);
  if (!content)
    throw UnreadableFileError("Unable to read " + path + ": " + fileErrorText(ENOENT));
  parseRemindersV2(*content, list, clock);
}

} // namespace zr
