// SPDX-License-Identifier: MIT

#include "core/reminder_checker.h"
#include "core_test_support.h"

#include <memory>
#include <string>
#include <vector>

namespace zr::test {
namespace {

const DateTime kPassMoment = at(2024, 7, 3, 10);

// A clock that moves on by one millisecond each time it is read, so a test can
// tell which step read the moment when.
class TickingClock final : public Clock {
public:
  explicit TickingClock(DateTime start) : next_(start) {}
  DateTime now() const override {
    const DateTime moment = next_;
    next_ += kOneMillisecond;
    return moment;
  }

private:
  mutable DateTime next_;
};

Reminder* append(ReminderList& list, const std::string& name, DateTime nextScheduled,
                 bool enabled = true) {
  auto reminder = std::make_unique<Reminder>(wholeDays(kPassMoment));
  reminder->name = name;
  reminder->reminderType = ReminderType::Daily;
  reminder->time = fractionOfDay(nextScheduled);
  reminder->nextScheduled = nextScheduled;
  reminder->enabled = enabled;
  Reminder* added = reminder.get();
  list.appendReminder(std::move(reminder));
  return added;
}

std::unique_ptr<Reminder> copyNamed(const std::string& name) {
  auto copy = std::make_unique<Reminder>(wholeDays(kPassMoment));
  copy->name = name;
  return copy;
}

std::vector<std::string> namesOf(const std::vector<std::unique_ptr<Reminder>>& reminders) {
  std::vector<std::string> names;
  for (const auto& reminder : reminders)
    names.push_back(reminder->name);
  return names;
}

TEST(ReminderCheckerTest, AReminderIsDueWhenEnabledScheduledAndItsMomentHasCome) {
  const struct {
    const char* name;
    DateTime nextScheduled;
    bool enabled;
    bool due;
  } cases[] = {
      {"on the pass moment", kPassMoment, true, true},
      {"before the pass moment", kPassMoment - kOneMinute, true, true},
      {"a millisecond after it", kPassMoment + kOneMillisecond, true, false},
      {"without a next moment", 0, true, false},
      {"switched off", kPassMoment - kOneMinute, false, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    FixedClock clock(kPassMoment);
    ReminderChecker checker(clock);
    ReminderList list;
    const Reminder* reminder = append(list, c.name, c.nextScheduled, c.enabled);
    const CheckPass pass = checker.check(list, true);
    EXPECT_EQ(pass.due.size(), c.due ? 1u : 0u);
    EXPECT_EQ(pass.save, c.due);
    EXPECT_EQ(reminder->lastRun, c.due ? kPassMoment : 0);
    EXPECT_EQ(reminder->nextScheduled, c.nextScheduled); // the refresh moves it, not the pass
  }
}

TEST(ReminderCheckerTest, DueRemindersComeInRowOrderEachWithTheMomentItFired) {
  TickingClock clock(kPassMoment);
  ReminderChecker checker(clock);
  ReminderList list;
  const Reminder* first = append(list, "First", kPassMoment - kOneMinute);
  append(list, "Later", kPassMoment + kOneMinute);
  const Reminder* second = append(list, "Second", kPassMoment - 2 * kOneMinute);
  const CheckPass pass = checker.check(list, true);
  ASSERT_EQ(pass.due, (std::vector<const Reminder*>{first, second}));
  EXPECT_TRUE(pass.save);
  // The pass moment is read once; LastRun reads the clock again for each reminder.
  EXPECT_NEAR(first->lastRun, kPassMoment + kOneMillisecond, kOneMillisecond / 10);
  EXPECT_NEAR(second->lastRun, kPassMoment + 2 * kOneMillisecond, kOneMillisecond / 10);
}

TEST(ReminderCheckerTest, RefreshStartsAMillisecondLaterOnlyWhenAReminderFiredOnThePassMoment) {
  const struct {
    const char* name;
    DateTime nextScheduled;
    bool enabled;
    DateTime refreshAfter;
  } cases[] = {
      {"fired on the pass moment", kPassMoment, true, kPassMoment + kOneMillisecond},
      {"fired before it", kPassMoment - kOneMinute, true, kPassMoment},
      {"not due", kPassMoment + kOneMinute, true, kPassMoment},
      {"switched off on the pass moment", kPassMoment, false, kPassMoment},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    FixedClock clock(kPassMoment);
    ReminderChecker checker(clock);
    ReminderList list;
    append(list, c.name, c.nextScheduled, c.enabled);
    EXPECT_EQ(checker.check(list, true).refreshAfter, c.refreshAfter);
  }
}

// Without the extra millisecond the refresh would find 10:00 today again, and the
// next pass would fire the same occurrence a second time.
TEST(ReminderCheckerTest, AReminderThatFiredOnThePassMomentMovesOnAfterTheRefresh) {
  FixedClock clock(kPassMoment);
  ReminderChecker checker(clock);
  ReminderList list;
  Reminder* daily = append(list, "Daily", kPassMoment);
  const CheckPass pass = checker.check(list, true);
  ASSERT_EQ(pass.due.size(), 1u);
  list.refreshReminderList(pass.refreshAfter, clock);
  EXPECT_EQ(daily->nextScheduled, at(2024, 7, 4, 10));
  clock.advance(5.0 / 86400);
  EXPECT_TRUE(checker.check(list, true).due.empty());
}

TEST(ReminderCheckerTest, WithRemindersDisabledNothingFiresButTheListIsStillRefreshed) {
  FixedClock clock(kPassMoment);
  ReminderChecker checker(clock);
  ReminderList list;
  const Reminder* reminder = append(list, "Due", kPassMoment);
  clock.set(kPassMoment - kOneMinute);
  checker.snooze(copyNamed("Snoozed"), 1);
  clock.set(kPassMoment);
  const CheckPass pass = checker.check(list, false);
  EXPECT_TRUE(pass.due.empty());
  EXPECT_TRUE(pass.snoozedDue.empty());
  EXPECT_FALSE(pass.save);
  EXPECT_EQ(pass.refreshAfter, kPassMoment);
  EXPECT_EQ(reminder->lastRun, 0);
  EXPECT_EQ(checker.snoozed().size(), 1u);
}

TEST(ReminderCheckerTest, ASnoozedCopyComesBackOnceAfterItsMinutesWithoutAskingForASave) {
  FixedClock clock(at(2024, 7, 3, 10, 1, 30));
  ReminderChecker checker(clock);
  ReminderList list;
  auto copy = copyNamed("Daily");
  copy->enabled = false; // snoozed copies are not tested for Enabled
  copy->lastRun = at(2024, 7, 3, 10);
  checker.snooze(std::move(copy), 5);
  ASSERT_EQ(checker.snoozed().size(), 1u);
  EXPECT_EQ(checker.snoozed()[0]->nextScheduled, at(2024, 7, 3, 10, 6, 30));

  clock.set(at(2024, 7, 3, 10, 6, 30) - kOneMillisecond);
  EXPECT_TRUE(checker.check(list, true).snoozedDue.empty());
  clock.set(at(2024, 7, 3, 10, 6, 30));
  const CheckPass pass = checker.check(list, true);
  ASSERT_EQ(namesOf(pass.snoozedDue), std::vector<std::string>{"Daily"});
  EXPECT_EQ(pass.snoozedDue[0]->lastRun, at(2024, 7, 3, 10)); // nothing else of it changed
  EXPECT_FALSE(pass.save);
  EXPECT_TRUE(checker.snoozed().empty());
  EXPECT_TRUE(checker.check(list, true).snoozedDue.empty());
}

TEST(ReminderCheckerTest, ClosingWithoutMinutesDropsTheCopy) {
  FixedClock clock(kPassMoment);
  ReminderChecker checker(clock);
  checker.snooze(copyNamed("zero"), 0);
  checker.snooze(copyNamed("negative"), -3);
  EXPECT_TRUE(checker.snoozed().empty());
}

TEST(ReminderCheckerTest, DueSnoozedCopiesComeLatestFirstAndTheOthersStay) {
  FixedClock clock(kPassMoment);
  ReminderChecker checker(clock);
  checker.snooze(copyNamed("A"), 1);
  checker.snooze(copyNamed("B"), 10);
  checker.snooze(copyNamed("C"), 2);
  clock.advance(2 * kOneMinute);
  ReminderList list;
  const CheckPass pass = checker.check(list, true);
  EXPECT_EQ(namesOf(pass.snoozedDue), (std::vector<std::string>{"C", "A"}));
  EXPECT_EQ(namesOf(checker.snoozed()), std::vector<std::string>{"B"});
  checker.dropSnoozed();
  EXPECT_TRUE(checker.snoozed().empty());
}

} // namespace
} // namespace zr::test
