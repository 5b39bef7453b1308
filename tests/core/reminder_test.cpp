// SPDX-License-Identifier: MIT

#include "core/reminder.h"
#include "core_test_support.h"

#include <gtest/gtest.h>

namespace zr {
namespace {

TEST(ReminderTest, NewReminderDefaults) {
  const DateTime today = test::at(2024, 3, 11);
  const Reminder reminder(today);
  EXPECT_EQ(reminder.name, "New Reminder");
  EXPECT_TRUE(reminder.text.empty());
  EXPECT_TRUE(reminder.enabled);
  EXPECT_EQ(reminder.reminderType, ReminderType::Once);
  EXPECT_EQ(reminder.date, today);
  EXPECT_EQ(reminder.time, 0);
  EXPECT_EQ(reminder.color, 16777215u);
  EXPECT_TRUE(reminder.audioFile.empty());
  EXPECT_TRUE(reminder.daysOfWeek.none());
  EXPECT_TRUE(reminder.daysOfMonth.none());
  EXPECT_EQ(reminder.yearlyMonth, 1);
  EXPECT_EQ(reminder.yearlyDay, 1);
  EXPECT_EQ(reminder.nextScheduled, 0);
  EXPECT_EQ(reminder.lastRun, 0);
}

TEST(ReminderTest, CopyCarriesEveryFieldAndOwnsItsLines) {
  Reminder source(45000);
  source.name = "Dentist";
  source.text = {"Call first", "Bring card"};
  source.enabled = false;
  source.reminderType = ReminderType::Yearly;
  source.nextScheduled = 45100.5;
  source.lastRun = 45001.25;
  source.color = kButtonFaceSystemColor;
  source.audioFile = "/sounds/bell.wav";
  source.time = 0.5;
  source.daysOfWeek.set(3);
  source.daysOfMonth.set(32);
  source.yearlyMonth = 6;
  source.yearlyDay = 15;

  Reminder copy(0);
  copy.copyFrom(source);
  EXPECT_EQ(copy, source);
  copy.text.push_back("Third line");
  EXPECT_EQ(source.text.size(), 2u);
}

TEST(ReminderTest, TypeNames) {
  const std::pair<int, const char*> cases[] = {{0, "Once"},    {1, "Daily"},  {2, "Weekly"},
                                               {3, "Monthly"}, {4, "Yearly"}, {5, ""},
                                               {7, ""},        {255, ""}};
  for (const auto& [kind, name] : cases)
    EXPECT_EQ(reminderTypeName(static_cast<ReminderType>(kind)), name) << kind;
}

} // namespace
} // namespace zr
