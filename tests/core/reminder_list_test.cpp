// SPDX-License-Identifier: MIT

#include "core/natural_compare.h"
#include "core/reminder_list.h"
#include "core_test_support.h"

#include <gtest/gtest.h>

namespace zr {
namespace {

using test::at;

std::unique_ptr<Reminder> named(const std::string& name) {
  auto reminder = std::make_unique<Reminder>(0);
  reminder->name = name;
  return reminder;
}

// A once-only reminder due at the moment (or never, for 0: dated long ago).
std::unique_ptr<Reminder> dueAt(const std::string& name, DateTime moment) {
  auto reminder = named(name);
  reminder->date = moment == 0 ? 1 : wholeDays(moment);
  reminder->time = fractionOfDay(moment);
  return reminder;
}

std::vector<std::string> names(const ReminderList& list) {
  std::vector<std::string> result;
  for (int row = 0; row < list.rowCount(); ++row)
    result.push_back(list.cellText(row, ReminderList::NameColumn));
  return result;
}

using Names = std::vector<std::string>;

TEST(ReminderListTest, RowRules) {
  ReminderList list;
  EXPECT_TRUE(list.isEmpty());
  EXPECT_EQ(list.rowCount(), 1);
  EXPECT_EQ(list.reminderCount(), 0);
  EXPECT_EQ(list.reminderAt(0), nullptr);

  list.appendReminder(named("a"));
  EXPECT_EQ(list.rowCount(), 1);
  EXPECT_EQ(list.reminderAt(0)->name, "a");
  list.appendReminder(named("b"));
  EXPECT_EQ(list.rowCount(), 2);
  EXPECT_EQ(list.rowOf(list.reminderAt(1)), 1);

  list.removeReminderRow(0);
  EXPECT_EQ(list.rowCount(), 1);
  EXPECT_EQ(list.reminderAt(0)->name, "b");

  list.refreshReminderList(at(2024, 3, 11), FixedClock(at(2024, 3, 11)));
  EXPECT_EQ(list.cellText(0, ReminderList::NameColumn), "b");
  list.removeReminderRow(0);
  EXPECT_TRUE(list.isEmpty());
  EXPECT_EQ(list.rowCount(), 1);
  for (int column = 0; column < ReminderList::kColumnCount; ++column)
    EXPECT_EQ(list.cellText(0, column), "");

  for (const char* name : {"1", "2", "3", "4", "5"})
    list.appendReminder(named(name));
  EXPECT_EQ(list.reminderCount(), 5);
  list.clearReminderList();
  EXPECT_TRUE(list.isEmpty());
  EXPECT_EQ(list.rowCount(), 1);
}

TEST(ReminderListTest, DateTimeTexts) {
  struct Case {
    DateTime value;
    DateTimeSeparators separators;
    const char* text;
    DateTime shown; // the whole second the text reads back as
  };
  const DateTime evening = at(2024, 7, 3, 21, 5);
  const Case cases[] = {
      {evening, {}, "07/03/2024 09:05:00 pm", evening},
      {at(2024, 7, 3, 0, 30), {}, "07/03/2024 12:30:00 am", at(2024, 7, 3, 0, 30)},
      {at(2024, 7, 3, 12, 0), {}, "07/03/2024 12:00:00 pm", at(2024, 7, 3, 12, 0)},
      {at(2024, 7, 3, 23, 59, 59, 999), {}, "07/03/2024 11:59:59 pm", at(2024, 7, 3, 23, 59, 59)},
      {at(2025, 1, 1) - 0.4 / 86400000, {}, "01/01/2025 12:00:00 am", at(2025, 1, 1)},
      {at(812, 1, 2, 1, 2, 3), {".", "-"}, "01.02.0812 01-02-03 am", at(812, 1, 2, 1, 2, 3)},
      {at(2024, 2, 29, 13, 0), {"", ""}, "02292024 010000 pm", at(2024, 2, 29, 13, 0)},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(formatDateTimeText(c.value, c.separators), c.text);
    EXPECT_NEAR(parseDateTimeText(c.text, c.separators), c.shown, 1e-9) << c.text;
  }
  for (const char* unreadable :
       {"", "07/03/2024", "13/03/2024 09:05:00 pm", "02/30/2024 09:05:00 pm",
        "07/03/2024 13:05:00 pm", "07/03/2024 09:05:00 pm ", "07-03-2024 09:05:00 pm"})
    EXPECT_EQ(parseDateTimeText(unreadable, {}), 0) << unreadable;
}

TEST(ReminderListTest, RefreshWritesRowTextsAndNextMoments) {
  ReminderList list({"-", "."});
  auto weekly = named("Team meeting");
  weekly->reminderType = ReminderType::Weekly;
  weekly->daysOfWeek.set(2);
  weekly->time = encodeTime({9, 30, 0, 0});
  weekly->lastRun = at(2024, 3, 4, 9, 30, 2);
  weekly->enabled = false;
  list.appendReminder(std::move(weekly));
  auto odd = named("Odd kind");
  odd->reminderType = static_cast<ReminderType>(9);
  list.appendReminder(std::move(odd));

  list.refreshReminderList(at(2024, 3, 11, 10), FixedClock(at(2024, 3, 11, 10)));
  EXPECT_EQ(names(list), (Names{"Team meeting", "Odd kind"}));
  EXPECT_EQ(list.cellText(0, ReminderList::TypeColumn), "Weekly");
  EXPECT_EQ(list.cellText(0, ReminderList::NextScheduledColumn), "03-18-2024 09.30.00 am");
  EXPECT_EQ(list.cellText(0, ReminderList::LastRunColumn), "03-04-2024 09.30.02 am");
  EXPECT_EQ(list.cellText(1, ReminderList::TypeColumn), "");
  EXPECT_EQ(list.cellText(1, ReminderList::NextScheduledColumn), "");
  EXPECT_EQ(list.cellText(1, ReminderList::LastRunColumn), "");
}

class ReminderListSortTest : public ::testing::Test {
protected:
  void refresh() { list.refreshReminderList(now, FixedClock(now)); }

  const DateTime now = at(2024, 3, 11, 8);
  ReminderList list;
};

TEST_F(ReminderListSortTest, EmptyMomentsAfterDatedOnesAscendingAndBeforeThemDescending) {
  list.appendReminder(dueAt("never", 0));
  list.appendReminder(dueAt("late", at(2024, 3, 20, 9)));
  list.appendReminder(dueAt("early", at(2024, 3, 12, 9)));
  list.appendReminder(dueAt("gone", 0));
  refresh();
  EXPECT_EQ(names(list), (Names{"early", "late", "never", "gone"}));
  EXPECT_TRUE(list.headerClicked(ReminderList::NextScheduledColumn));
  EXPECT_EQ(list.sortDirection(), SortDirection::Descending);
  EXPECT_EQ(names(list), (Names{"never", "gone", "late", "early"}));
  refresh();
  EXPECT_EQ(names(list), (Names{"never", "gone", "late", "early"}));
}

TEST_F(ReminderListSortTest, RowsShowingTheSameSecondKeepTheirOrder) {
  const DateTime moment = at(2024, 3, 12, 9);
  list.appendReminder(dueAt("b", moment + 0.4 / 86400));
  list.appendReminder(dueAt("a", moment));
  list.appendReminder(dueAt("c", moment + 0.2 / 86400));
  list.appendReminder(dueAt("first", at(2024, 3, 12, 8)));
  refresh();
  EXPECT_EQ(names(list), (Names{"first", "b", "a", "c"}));
  list.headerClicked(ReminderList::NextScheduledColumn);
  EXPECT_EQ(names(list), (Names{"b", "a", "c", "first"}));
}

TEST_F(ReminderListSortTest, HeaderClicks) {
  list.appendReminder(dueAt("Item 10", at(2024, 3, 12)));
  EXPECT_FALSE(list.headerClicked(ReminderList::NameColumn));
  EXPECT_EQ(list.sortColumn(), ReminderList::NextScheduledColumn);

  list.appendReminder(dueAt("item 9", at(2024, 3, 13)));
  list.appendReminder(dueAt("Alpha", at(2024, 3, 14)));
  list.reminderAt(2)->lastRun = at(2024, 3, 1);
  refresh();
  EXPECT_TRUE(list.headerClicked(ReminderList::NameColumn));
  EXPECT_EQ(list.sortDirection(), SortDirection::Ascending);
  EXPECT_EQ(names(list), (Names{"Alpha", "item 9", "Item 10"}));
  EXPECT_TRUE(list.headerClicked(ReminderList::NameColumn));
  EXPECT_EQ(names(list), (Names{"Item 10", "item 9", "Alpha"}));
  EXPECT_TRUE(list.headerClicked(ReminderList::LastRunColumn));
  EXPECT_EQ(list.sortDirection(), SortDirection::Ascending);
  EXPECT_EQ(names(list), (Names{"Alpha", "Item 10", "item 9"}));
  // Rows move whole: each reminder keeps its texts.
  for (int row = 0; row < list.rowCount(); ++row)
    EXPECT_EQ(list.cellText(row, ReminderList::NameColumn), list.reminderAt(row)->name);
  EXPECT_FALSE(list.headerClicked(ReminderList::kColumnCount));
}

TEST_F(ReminderListSortTest, RowsNotYetRefreshedSortAsTheirTextsShow) {
  list.appendReminder(dueAt("b", at(2024, 3, 13)));
  list.appendReminder(dueAt("a", at(2024, 3, 12)));
  list.reminderAt(0)->nextScheduled = at(2024, 3, 13);
  list.reminderAt(1)->nextScheduled = at(2024, 3, 12);
  list.headerClicked(ReminderList::NextScheduledColumn);
  list.headerClicked(ReminderList::NextScheduledColumn);
  EXPECT_EQ(names(list), (Names{"", ""}));
  EXPECT_EQ(list.reminderAt(0)->name, "b");
}

TEST(NaturalCompareTest, Order) {
  struct Case {
    const char* left;
    const char* right;
    int order;
  };
  const Case cases[] = {
      {"apple", "Banana", -1},
      {"APPLE", "apple", 0},
      {"item 9", "Item 10", -1},
      {"a2b", "a10b", -1},
      {"a007", "a7", 0},
      {"a7x", "a007y", -1},
      {"", "a", -1},
      {"abc", "ab", 1},
      {"x99999999999999999999", "x100000000000000000000", -1},
      {"Week 2", "Week-2", -1},
      {"", "", 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(naturalCompare(c.left, c.right), c.order) << c.left << " ? " << c.right;
    EXPECT_EQ(naturalCompare(c.right, c.left), -c.order) << c.right << " ? " << c.left;
  }
}

} // namespace
} // namespace zr
