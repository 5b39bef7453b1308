// SPDX-License-Identifier: MIT

#include "core/data_file.h"
#include "core/error.h"
#include "core/file_io.h"
#include "core/reminder_checker.h"
#include "core/reminders_file.h"
#include "core_test_support.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace zr {
namespace {

using test::at;
using test::crlf;
using test::readFile;
using test::writeFile;

const DateTime kClosed = at(2024, 7, 3, 17, 12, 41, 250);

// Copies as alerts hand them over: every field of the reminder, and NextScheduled the
// end of the snooze, a moment with seconds and milliseconds.
std::vector<std::unique_ptr<Reminder>> snoozedCopies() {
  std::vector<std::unique_ptr<Reminder>> copies;
  const auto add = [&](const std::string& name, int minutes) {
    auto copy = std::make_unique<Reminder>(at(2024, 7, 1));
    copy->name = name;
    copy->nextScheduled = kClosed + minutes * kOneMinute;
    copies.push_back(std::move(copy));
    return copies.back().get();
  };
  Reminder* weekly = add("Team meeting", 15);
  weekly->text = {"Bring the slides.", "", "DaysOfWeekEnd"};
  weekly->reminderType = ReminderType::Weekly;
  weekly->time = encodeTime({9, 30, 0, 0});
  weekly->lastRun = at(2024, 7, 3, 9, 30, 2, 117);
  weekly->daysOfWeek.set(2);
  weekly->color = 0x0040A0F0;
  Reminder* test = add("", 120); // a test alert of a disabled reminder without a name
  test->enabled = false;
  test->audioFile = "/home/user/sounds/chime.wav";
  Reminder* yearly = add("Birthday \xe9", 1);
  yearly->reminderType = ReminderType::Yearly;
  yearly->yearlyMonth = 2;
  yearly->yearlyDay = 29;
  return copies;
}

TEST(SnoozedCopiesTest, RoundTripThroughTheFileByteForByte) {
  const test::TemporaryFolder folder;
  DataFile file(folder.file("Snoozed.dat"));
  const std::vector<std::unique_ptr<Reminder>> saved = snoozedCopies();
  file.replace(formatReminders(saved));
  const std::string written = readFile(file.path());

  std::vector<std::unique_ptr<Reminder>> loaded;
  loadReminders(file.path(), loaded, {}, test::kFileClock);
  ASSERT_EQ(loaded.size(), saved.size());
  for (std::size_t i = 0; i < saved.size(); ++i) {
    SCOPED_TRACE(saved[i]->name);
    EXPECT_EQ(loaded[i]->name, saved[i]->name);
    EXPECT_EQ(loaded[i]->text, saved[i]->text);
    EXPECT_EQ(loaded[i]->enabled, saved[i]->enabled);
    EXPECT_TRUE(test::sameToFifteenDigits(loaded[i]->nextScheduled, saved[i]->nextScheduled));
    EXPECT_TRUE(test::sameToFifteenDigits(loaded[i]->lastRun, saved[i]->lastRun));
  }
  EXPECT_EQ(formatReminders(loaded), written);
  // The same format as a list of those reminders.
  ReminderList list;
  for (const auto& copy : saved)
    list.appendReminder(std::make_unique<Reminder>(*copy));
  EXPECT_EQ(formatReminders(list), written);
  EXPECT_EQ(formatReminders(std::vector<std::unique_ptr<Reminder>>{}),
            crlf({"DorvelFile", "2", "0"}));
}

TEST(SnoozedCopiesTest, MissingFileAddsNothing) {
  const test::TemporaryFolder folder;
  std::vector<std::unique_ptr<Reminder>> loaded;
  loadReminders(folder.file("Snoozed.dat"), loaded, {}, test::kFileClock);
  EXPECT_TRUE(loaded.empty());
}

// A damaged file: the copies before the damage come back, the error names the place,
// and the file is kept aside as a copy before anything is saved over it.
TEST(SnoozedCopiesTest, DamagedFileKeepsTheCopiesBeforeTheDamageAndIsKeptAside) {
  const test::TemporaryFolder folder;
  DataFile file(folder.file("Snoozed.dat"));
  std::string content = formatReminders(snoozedCopies());
  content.replace(content.find("Birthday"), std::string::npos, "Cut\r\nx1\r\n");
  writeFile(file.path(), content);

  std::vector<std::unique_ptr<Reminder>> loaded;
  try {
    loadReminders(file.path(), loaded, {}, test::kFileClock);
    ADD_FAILURE() << "no error";
  } catch (const UnreadableFileError&) {
    ADD_FAILURE() << "a file that was read is not unreadable";
  } catch (const Error& error) {
    EXPECT_EQ(std::string(error.what()),
              "Error in " + file.path() + ", line 37, reminder 3: Invalid numeric input");
  }
  ASSERT_EQ(loaded.size(), 2u);
  EXPECT_EQ(loaded[0]->name, "Team meeting");
  EXPECT_EQ(loaded[1]->name, "");

  const std::string kept = file.keepAside(kClosed, true);
  EXPECT_EQ(kept, file.path() + ".unreadable-20240703-171241");
  EXPECT_EQ(readFile(kept), content);
  file.replace(formatReminders(loaded));
  EXPECT_EQ(readFile(kept), content);
}

// What cannot be read at all (here a folder) is moved aside whole, and a new file
// takes its place at the next save.
TEST(SnoozedCopiesTest, UnreadableFileAddsNothingAndIsMovedAside) {
  const test::TemporaryFolder folder;
  DataFile file(folder.file("Snoozed.dat"));
  std::filesystem::create_directory(file.path());
  std::vector<std::unique_ptr<Reminder>> loaded;
  EXPECT_THROW(loadReminders(file.path(), loaded, {}, test::kFileClock), UnreadableFileError);
  EXPECT_TRUE(loaded.empty());
  const std::string kept = file.keepAside(kClosed, false);
  EXPECT_TRUE(std::filesystem::is_directory(kept));
  file.replace(formatReminders(snoozedCopies()));
  EXPECT_TRUE(std::filesystem::is_regular_file(file.path()));
}

// Restored copies keep the end of their snooze: one that ended while the program was
// off comes at the first pass, the others when their time comes, none asks for a save.
TEST(SnoozedCopiesTest, RestoredCopiesComeWhenTheirSnoozeEnds) {
  FixedClock clock(kClosed + 10 * kOneMinute);
  ReminderChecker checker(clock);
  checker.restoreSnoozed(snoozedCopies());
  ASSERT_EQ(checker.snoozed().size(), 3u);
  EXPECT_EQ(checker.snoozed()[0]->nextScheduled, kClosed + 15 * kOneMinute);

  ReminderList list;
  CheckPass pass = checker.check(list, true);
  ASSERT_EQ(pass.snoozedDue.size(), 1u);
  EXPECT_EQ(pass.snoozedDue[0]->name, "Birthday \xe9");
  EXPECT_FALSE(pass.save);

  clock.set(kClosed + 15 * kOneMinute);
  pass = checker.check(list, true);
  ASSERT_EQ(pass.snoozedDue.size(), 1u);
  EXPECT_EQ(pass.snoozedDue[0]->name, "Team meeting");
  ASSERT_EQ(checker.snoozed().size(), 1u);
  EXPECT_EQ(checker.snoozed()[0]->nextScheduled, kClosed + 120 * kOneMinute);
}

} // namespace
} // namespace zr
