// SPDX-License-Identifier: MIT

#include "core/error.h"
#include "core/reminders_file.h"
#include "core_test_support.h"

#include <gtest/gtest.h>

namespace zr {
namespace {

using test::at;
using test::crlf;
using test::parseError;

TEST(LegacyRemindersFileTest, ReadsEveryKind) {
  const std::string content =
      crlf({"7",        "Pay rent", "Yes",      "Once",     "03/31/2024", "9:15 PM",  "x",
            "Stretch",  "No",       "Daily",    "whatever", "14:05:30",   "x",        "Gym",
            "Yes",      "Weekly",   "Thrusday", "6:00 am",  "x",          "Misspelt", "Yes",
            "Weekly",   "Thursday", "6:00",     "x",        "Bills",      "Yes",      "Monthly",
            "Last Day", "12:00 AM", "x",        "",         "Yes",        "Yearly",   "15",
            "0:00",     "x",        "Odd day",  "yes",      "Other",      "40",       "23:59",
            ""});
  ReminderList list;
  ASSERT_EQ(parseError(content, list), "");
  ASSERT_EQ(list.reminderCount(), 7);

  const Reminder& once = *list.reminderAt(0);
  EXPECT_EQ(once.name, "Pay rent");
  EXPECT_EQ(once.text, std::vector<std::string>{"Pay rent"});
  EXPECT_TRUE(once.enabled);
  EXPECT_EQ(once.reminderType, ReminderType::Once);
  EXPECT_EQ(once.date, at(2024, 3, 31));
  EXPECT_DOUBLE_EQ(once.time, encodeTime({21, 15, 0, 0}));

  const Reminder& daily = *list.reminderAt(1);
  EXPECT_FALSE(daily.enabled);
  EXPECT_EQ(daily.reminderType, ReminderType::Daily);
  EXPECT_EQ(daily.date, test::kFileClock.today());
  EXPECT_DOUBLE_EQ(daily.time, encodeTime({14, 5, 30, 0}));

  EXPECT_EQ(list.reminderAt(2)->reminderType, ReminderType::Weekly);
  EXPECT_EQ(list.reminderAt(2)->daysOfWeek, DaySet().set(5));
  EXPECT_EQ(list.reminderAt(3)->reminderType, ReminderType::Weekly);
  EXPECT_TRUE(list.reminderAt(3)->daysOfWeek.none());
  EXPECT_EQ(list.reminderAt(4)->reminderType, ReminderType::Monthly);
  EXPECT_EQ(list.reminderAt(4)->daysOfMonth, DaySet().set(32));
  EXPECT_EQ(list.reminderAt(4)->time, 0);
  EXPECT_EQ(list.reminderAt(5)->reminderType, ReminderType::Monthly);
  EXPECT_EQ(list.reminderAt(5)->daysOfMonth, DaySet().set(15));
  EXPECT_TRUE(list.reminderAt(5)->text.empty());
  EXPECT_FALSE(list.reminderAt(6)->enabled);
  EXPECT_EQ(list.reminderAt(6)->daysOfMonth, DaySet().set(40));

  for (int row = 0; row < list.rowCount(); ++row) {
    const Reminder& reminder = *list.reminderAt(row);
    EXPECT_EQ(reminder.color, kButtonFaceSystemColor);
    EXPECT_TRUE(reminder.audioFile.empty());
    EXPECT_EQ(reminder.nextScheduled, 0);
    EXPECT_EQ(reminder.yearlyMonth, 1);
    EXPECT_EQ(list.cellText(row, ReminderList::NameColumn), reminder.name);
  }
}

TEST(LegacyRemindersFileTest, RegionalNotations) {
  struct Case {
    RegionalSettings regional;
    std::string date;
    std::string time;
    DateTime expected;
  };
  using Order = RegionalSettings::DateOrder;
  const std::string koreanAm = "\xEC\x98\xA4\xEC\xA0\x84"; // in UTF-8
  const std::string koreanPm = "\xEC\x98\xA4\xED\x9B\x84";
  const RegionalSettings korean{Order::YearMonthDay, ".", ":", koreanAm, koreanPm};
  const Case cases[] = {
      {{Order::DayMonthYear, ".", ":", "vorm.", "nachm."},
       "31.03.2024",
       "21:15",
       at(2024, 3, 31, 21, 15)},
      {{Order::DayMonthYear, ".", ":", "vorm.", "nachm."},
       "1.4.24",
       "9:15 nachm.",
       at(2024, 4, 1, 21, 15)},
      {{Order::YearMonthDay, "-", ".", "AM", "PM"},
       "2024-03-31",
       "09.15.30",
       at(2024, 3, 31, 9, 15, 30)},
      {{}, " 3/31/99 ", " 12:00 am ", at(1999, 3, 31)},
      {{}, "3/31/2024", "12:30 pm", at(2024, 3, 31, 12, 30)},
      // Blanks after the separators and one at the end, the marker before the time.
      {{Order::YearMonthDay, ".", ":", "de.", "du."},
       "2024. 03. 15.",
       "9:05",
       at(2024, 3, 15, 9, 5)},
      {korean, "24. 3. 15.", koreanPm + " 9:05:30", at(2024, 3, 15, 21, 5, 30)},
      {korean, "24.3.15", koreanAm + " 12:05", at(2024, 3, 15, 0, 5)},
      {{Order::DayMonthYear, ".", ":", "AM", "PM"}, "15.03.24.", "PM 9:05", at(2024, 3, 15, 21, 5)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.date + " " + c.time);
    ReminderList list;
    ASSERT_EQ(parseError(crlf({"1", "n", "Yes", "Once", c.date, c.time, ""}), list, c.regional),
              "");
    const Reminder& reminder = *list.reminderAt(0);
    EXPECT_NEAR(reminder.date + reminder.time, c.expected, 1e-9);
  }
}

TEST(LegacyRemindersFileTest, Errors) {
  struct Case {
    std::string content;
    std::string error;
    int kept;
  };
  const std::string good = crlf({"Kept", "Yes", "Daily", "", "9:00", ""});
  const Case cases[] = {
      {"Shopping\r\nYes\r\n", "line 1: Invalid numeric input", 0},
      {crlf({"2"}) + good + crlf({"n", "Yes", "Once", "02/30/2024", "9:00", ""}),
       "line 11, reminder 2: '02/30/2024' is not a valid date", 1},
      {crlf({"2"}) + good + crlf({"n", "Yes", "Once", "03/11/2024 09:00", "9:00", ""}),
       "line 11, reminder 2: '03/11/2024 09:00' is not a valid date", 1},
      {crlf({"2"}) + good + crlf({"n", "Yes", "Daily", "", "25:00", ""}),
       "line 12, reminder 2: '25:00' is not a valid time", 1},
      {crlf({"2"}) + good + crlf({"n", "Yes", "Weekly", "Monday", "13:00 PM", ""}),
       "line 12, reminder 2: '13:00 PM' is not a valid time", 1},
      {crlf({"2"}) + good + crlf({"n", "Yes", "Daily", "", "PM 9:00 PM", ""}),
       "line 12, reminder 2: 'PM 9:00 PM' is not a valid time", 1},
      {crlf({"2"}) + good + crlf({"n", "Yes", "Once", "03/11/2024//", "9:00", ""}),
       "line 11, reminder 2: '03/11/2024//' is not a valid date", 1},
      {crlf({"2"}) + good + crlf({"n", "Yes", "Once", "03 /11/2024", "9:00", ""}),
       "line 11, reminder 2: '03 /11/2024' is not a valid date", 1},
      {crlf({"2"}) + good + crlf({"n", "Yes", "Monthly", "first", "9:00", ""}),
       "line 11, reminder 2: 'first' is not a valid integer value", 1},
      {crlf({"2"}) + good + crlf({"n", "Yes", "Once"}),
       "line 11, reminder 2: '' is not a valid date", 1},
      {crlf({"2000000000"}) + good, "line 8, reminder 2: '' is not a valid integer value", 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.content);
    ReminderList list;
    EXPECT_EQ(parseError(c.content, list), c.error);
    EXPECT_EQ(list.reminderCount(), c.kept);
  }
}

TEST(LegacyRemindersFileTest, SavingWritesTheCurrentFormat) {
  const test::TemporaryFolder folder;
  const std::string path = folder.file("Reminders.dat");
  test::writeFile(path, crlf({"1", "Gym", "Yes", "Weekly", "Monday", "6:00 PM", ""}));
  ReminderList list;
  loadReminders(path, list, {}, test::kFileClock);
  saveReminders(path, list);
  EXPECT_EQ(test::readFile(path).substr(0, 12), "DorvelFile\r\n");

  ReminderList reloaded;
  readRemindersV2(path, reloaded, test::kFileClock);
  ASSERT_EQ(reloaded.reminderCount(), 1);
  EXPECT_EQ(*reloaded.reminderAt(0), *list.reminderAt(0));
}

} // namespace
} // namespace zr
