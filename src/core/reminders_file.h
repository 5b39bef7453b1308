// SPDX-License-Identifier: MIT

#pragma once

#include "core/date_time.h"
#include "core/date_time_text.h"
#include "core/reminder_list.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace zr {

// Appends the reminders of the file to the list. A missing file changes nothing.
// A file that cannot be read (see readDataFile) throws UnreadableFileError and
// adds nothing. Content that does not read throws zr::Error "Error in <path>,
// line <n>, reminder <k>: <text>", with the reminders read before it left in the list.
void loadReminders(const std::string& path, ReminderList& list, const RegionalSettings& regional,
                   const Clock& clock);
// The same for reminders kept outside the list, such as the snoozed copies: the
// file's reminders are appended to `reminders` in its order, those read before an
// error included.
void loadReminders(const std::string& path, std::vector<std::unique_ptr<Reminder>>& reminders,
                   const RegionalSettings& regional, const Clock& clock);
// Writes every reminder of the list, in row order, in the current format.
// The old file stays whole until the new one is complete (see replaceFileContent).
void saveReminders(const std::string& path, const ReminderList& list);

void readRemindersV2(const std::string& path, ReminderList& list, const Clock& clock);

// The same on content already in memory: parseReminders decides the format as
// loadReminders does and calls one of the two readers. Their errors say where:
// "line <n>, reminder <k>: <text>" (only the line for the count of reminders).
void parseReminders(std::string_view content, ReminderList& list, const RegionalSettings& regional,
                    const Clock& clock);
// parseReminders on the content of the file at `path`, its errors starting with
// "Error in <path>, " as loadReminders' do.
void parseRemindersFile(const std::string& path, std::string_view content, ReminderList& list,
                        const RegionalSettings& regional, const Clock& clock);
void parseRemindersV2(std::string_view content, ReminderList& list, const Clock& clock);
void parseRemindersLegacy(std::string_view content, ReminderList& list,
                          const RegionalSettings& regional, const Clock& clock);
// The file content saveReminders writes.
std::string formatReminders(const ReminderList& list);
// The lines of one reminder's record, as the file stores it.
std::string formatRecord(const Reminder& reminder);
// The same content for reminders kept outside the list, in the order given.
std::string formatReminders(const std::vector<std::unique_ptr<Reminder>>& reminders);

} // namespace zr
