// SPDX-License-Identifier: MIT

#include "app_fixture.h"

namespace zr::test {
namespace {

class CheckPassTest : public AppFixture {
protected:
  // Makes the next save fail by putting a folder where the file goes.
  void breakTheFile() {
    QFile::remove(path("Reminders.dat"));
    QDir().mkdir(path("Reminders.dat"));
  }
};

TEST_F(CheckPassTest, TwoDueRemindersAlertInListOrderWithOneSave) {
  writeReminders({makeReminder("First", ReminderType::Daily, clockTime(10)),
                  makeReminder("Second", ReminderType::Daily, clockTime(10)),
                  makeReminder("Later", ReminderType::Daily, clockTime(11))});
  start();
  clock.set(at(2024, 7, 3, 10, 0, 2));
  window->checkReminders();
  ASSERT_EQ(alerts.shown.size(), 2u);
  EXPECT_EQ(alerts.shown[0].name, "First");
  EXPECT_EQ(alerts.shown[1].name, "Second");
  // The fired ones moved to tomorrow, behind the one still due today.
  ASSERT_EQ(names(), (std::vector<std::string>{"Later", "First", "Second"}));
  EXPECT_EQ(list().reminderAt(1)->lastRun, clock.now());
  EXPECT_EQ(list().reminderAt(2)->lastRun, clock.now());
  // One save, before the refresh: the fired reminders still show today 10:00.
  const std::unique_ptr<ReminderList> saved = savedList();
  EXPECT_EQ(saved->reminderAt(0)->name, "First");
  EXPECT_NEAR(saved->reminderAt(0)->nextScheduled, at(2024, 7, 3, 10), 1e-9);
  EXPECT_NEAR(saved->reminderAt(0)->lastRun, clock.now(), 1e-9);
  EXPECT_TRUE(window->checkTimer().isActive());
}

TEST_F(CheckPassTest, DailyReminderFiresAtTheFirstPassFromItsMomentThenShowsTomorrow) {
  writeReminders({makeReminder("Daily", ReminderType::Daily, clockTime(10))});
  start();
  clock.set(at(2024, 7, 3, 9, 59, 59));
  window->checkReminders();
  EXPECT_TRUE(alerts.shown.empty());
  clock.set(at(2024, 7, 3, 10, 0, 0));
  window->checkReminders();
  EXPECT_EQ(alerts.shown.size(), 1u);
  EXPECT_EQ(model().data(model().index(0, 2), Qt::DisplayRole), "07/04/2024 10:00:00 am");
  EXPECT_EQ(model().data(model().index(0, 3), Qt::DisplayRole), "07/03/2024 10:00:00 am");
  clock.advance(5.0 / 86400);
  window->checkReminders();
  EXPECT_EQ(alerts.shown.size(), 1u);
}

TEST_F(CheckPassTest, OnceOnlyReminderFiresOnceThenIsDisabledWithoutNextMoment) {
  writeReminders({makeReminder("Once", ReminderType::Once, clockTime(10), at(2024, 7, 3))});
  start();
  clock.set(at(2024, 7, 3, 10, 0, 3));
  window->checkReminders();
  clock.advance(5.0 / 86400);
  window->checkReminders();
  EXPECT_EQ(alerts.shown.size(), 1u);
  EXPECT_FALSE(list().reminderAt(0)->enabled);
  EXPECT_EQ(model().data(model().index(0, 2), Qt::DisplayRole), "");
  EXPECT_EQ(model().data(model().index(0, 1), Qt::ForegroundRole), QColor(0xC0, 0xC0, 0xC0));
}

TEST_F(CheckPassTest, DisabledRemindersDoNotFireButTheListMovesOn) {
  writeReminders({makeReminder("Daily", ReminderType::Daily, clockTime(10))});
  start();
  window->actions().systemEnable->trigger();
  ASSERT_FALSE(window->remindersEnabled());
  const QByteArray before = fileContent();
  clock.set(at(2024, 7, 3, 10, 0, 1));
  window->checkReminders();
  EXPECT_TRUE(alerts.shown.empty());
  EXPECT_EQ(list().reminderAt(0)->lastRun, 0);
  EXPECT_EQ(list().reminderAt(0)->nextScheduled, at(2024, 7, 4, 10));
  EXPECT_EQ(fileContent(), before);

  window->actions().systemEnable->trigger();
  clock.advance(5.0 / 86400);
  window->checkReminders();
  EXPECT_TRUE(alerts.shown.empty()); // the skipped occurrence stays skipped
}

TEST_F(CheckPassTest, SnoozedCopyOfADeletedReminderStillComesUp) {
  writeReminders({makeReminder("Gone", ReminderType::Daily, clockTime(10))});
  start();
  selectRows(0, 0);
  window->reminderTest();
  ASSERT_EQ(alerts.shown.size(), 1u);
  EXPECT_EQ(list().reminderAt(0)->lastRun, 0); // testing changes nothing
  window->reminderClose(std::make_unique<Reminder>(alerts.shown[0]), 1);
  window->reminderDelete();
  ASSERT_TRUE(list().isEmpty());
  clock.advance(kOneMinute);
  window->checkReminders();
  ASSERT_EQ(alerts.shown.size(), 2u);
  EXPECT_EQ(alerts.shown[1].name, "Gone");
}

TEST_F(CheckPassTest, AFailingSaveIsShownAndThePassStillRefreshesAndRearms) {
  writeReminders({makeReminder("Daily", ReminderType::Daily, clockTime(10))});
  start();
  breakTheFile();
  clock.set(at(2024, 7, 3, 10, 0, 0));
  window->checkReminders();
  EXPECT_EQ(alerts.shown.size(), 1u);
  EXPECT_EQ(prompts.errors.size(), 1u);
  EXPECT_EQ(list().reminderAt(0)->nextScheduled, at(2024, 7, 4, 10));
  EXPECT_TRUE(window->checkTimer().isActive());
}

TEST_F(CheckPassTest, TheCheckTimerRunsPassesEveryFiveSeconds) {
  start();
  EXPECT_TRUE(window->checkTimer().isActive());
  EXPECT_EQ(window->checkTimer().interval(), 5000);
}

} // namespace
} // namespace zr::test
