// SPDX-License-Identifier: MIT

#include "core/reminder_merge.h"
#include "core_test_support.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <map>
#include <random>

namespace zr {
namespace {

Reminder named(const std::string& name, int hour = 9) {
  Reminder reminder(test::at(2024, 7, 3));
  reminder.name = name;
  reminder.reminderType = ReminderType::Daily;
  reminder.time = encodeTime({hour, 0, 0, 0});
  return reminder;
}

std::vector<Reminder> named(std::initializer_list<const char*> names) {
  std::vector<Reminder> reminders;
  for (const char* name : names)
    reminders.push_back(named(name));
  return reminders;
}

std::vector<const Reminder*> pointers(const std::vector<Reminder>& reminders) {
  std::vector<const Reminder*> result;
  for (const Reminder& reminder : reminders)
    result.push_back(&reminder);
  return result;
}

// The program's reminders once the plan is carried out.
std::vector<Reminder> applied(std::vector<Reminder> ours, const MergePlan& plan) {
  for (const MergePlan::LaterRun& run : plan.laterRuns)
    ours[run.index].lastRun = run.lastRun;
  for (auto index = plan.removed.rbegin(); index != plan.removed.rend(); ++index)
    ours.erase(ours.begin() + static_cast<std::ptrdiff_t>(*index));
  ours.insert(ours.end(), plan.added.begin(), plan.added.end());
  return ours;
}

std::vector<Reminder> merged(const std::vector<Reminder>& base, const std::vector<Reminder>& ours,
                             const std::vector<Reminder>& theirs,
                             MatchFields fields = MatchFields::Schedule) {
  return applied(ours, mergeReminders(base, pointers(ours), theirs, fields));
}

// The records as a sorted list of their keys: what a merge must get right whatever the order.
std::vector<std::string> keys(const std::vector<Reminder>& reminders,
                              MatchFields fields = MatchFields::Schedule) {
  std::vector<std::string> result;
  for (const Reminder& reminder : reminders)
    result.push_back(matchKey(reminder, fields));
  std::sort(result.begin(), result.end());
  return result;
}

std::vector<std::string> names(std::vector<Reminder> reminders) {
  std::vector<std::string> result;
  for (const Reminder& reminder : reminders)
    result.push_back(reminder.name);
  std::sort(result.begin(), result.end());
  return result;
}

TEST(ReminderMergeTest, EachSidesAdditionsRemovalsAndChangesMeet) {
  struct Case {
    const char* what;
    std::vector<Reminder> base, ours, theirs;
    std::vector<std::string> result;
    std::vector<std::string> changedOnBothSides;
  };
  const Reminder changedHere = named("Tea", 10);
  const Reminder changedOutside = named("Tea", 11);
  const std::vector<Case> cases = {
      {"nothing changed outside",
       named({"A", "B"}),
       named({"A", "B", "C"}),
       named({"A", "B"}),
       {"A", "B", "C"},
       {}},
      {"added outside", named({"A"}), named({"A", "B"}), named({"A", "C"}), {"A", "B", "C"}, {}},
      {"removed outside", named({"A", "B"}), named({"A", "B"}), named({"B"}), {"B"}, {}},
      {"removed here, kept outside", named({"A", "B"}), named({"B"}), named({"A", "B"}), {"B"}, {}},
      {"removed on both sides", named({"A", "B"}), named({"B"}), named({"B"}), {"B"}, {}},
      {"added the same on both sides",
       named({"A"}),
       named({"A", "B"}),
       named({"A", "B"}),
       {"A", "B"},
       {}},
      {"one of two equal ones removed outside",
       named({"A", "A"}),
       named({"A", "A"}),
       named({"A"}),
       {"A"},
       {}},
      {"changed outside only", {named("Tea")}, {named("Tea")}, {changedOutside}, {"Tea"}, {}},
      {"changed on both sides",
       {named("Tea")},
       {changedHere},
       {changedOutside},
       {"Tea", "Tea"},
       {"Tea"}},
      {"changed here, removed outside", {named("Tea")}, {changedHere}, {}, {"Tea"}, {}},
      {"file emptied outside", named({"A", "B"}), named({"A", "B", "C"}), {}, {"C"}, {}},
      {"file new outside, nothing read before",
       {},
       named({"A"}),
       named({"A", "B"}),
       {"A", "B"},
       {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const MergePlan plan =
        mergeReminders(c.base, pointers(c.ours), c.theirs, MatchFields::Schedule);
    EXPECT_EQ(names(applied(c.ours, plan)), c.result);
    EXPECT_EQ(plan.changedOnBothSides, c.changedOnBothSides);
  }
  // The version changed outside is the one kept when only the file changed it.
  const std::vector<Reminder> result = merged({named("Tea")}, {named("Tea")}, {changedOutside});
  ASSERT_EQ(result.size(), 1u);
  EXPECT_EQ(result[0].time, changedOutside.time);
}

// NextScheduled and LastRun move as reminders run, so they tell no reminders apart; the
// later run wins. Snoozed copies differ only in their snooze end, so there every field counts.
TEST(ReminderMergeTest, RunMomentsMatchForRemindersButNotForSnoozedCopies) {
  Reminder ran = named("A");
  ran.lastRun = test::at(2024, 7, 3, 9);
  ran.nextScheduled = test::at(2024, 7, 4, 9);
  Reminder ranLater = ran;
  ranLater.lastRun = test::at(2024, 7, 4, 9);
  ranLater.nextScheduled = test::at(2024, 7, 5, 9);

  const std::vector<Reminder> result = merged({ran}, {ran}, {ranLater});
  ASSERT_EQ(result.size(), 1u);
  EXPECT_EQ(result[0].lastRun, ranLater.lastRun);
  EXPECT_EQ(merged({ran}, {ranLater}, {ran})[0].lastRun, ranLater.lastRun);

  // Two snoozes of one reminder are two copies, and one snoozed outside is added.
  const std::vector<Reminder> copies = merged({ran}, {ran}, {ran, ranLater}, MatchFields::All);
  EXPECT_EQ(copies.size(), 2u);
  // Moments that differ only past the file's 15 digits are the same record.
  Reminder rounded = ran;
  rounded.time += 1e-17;
  EXPECT_EQ(matchKey(rounded, MatchFields::All), matchKey(ran, MatchFields::All));
}

// Random edits on each side of random lists: the merge adopts outside edits exactly when the
// program made none, keeps the program's when the file is untouched, and is the same whichever
// side is called ours.
TEST(ReminderMergeTest, PropertiesHoldForRandomEdits) {
  std::mt19937 random(20240703);
  const auto pick = [&](int below) {
    return static_cast<int>(random() % static_cast<unsigned>(below));
  };
  const auto randomReminder = [&] {
    Reminder reminder = named(std::string(1, static_cast<char>('A' + pick(5))), pick(3));
    reminder.lastRun = pick(2) ? test::at(2024, 7, 1 + pick(3), 9) : 0;
    return reminder;
  };
  const auto edited = [&](std::vector<Reminder> reminders) {
    for (int edit = pick(4); edit > 0; --edit) {
      const int kind = pick(3);
      if (kind == 0 || reminders.empty())
        reminders.push_back(randomReminder());
      else if (kind == 1)
        reminders.erase(reminders.begin() + pick(static_cast<int>(reminders.size())));
      else
        reminders[static_cast<std::size_t>(pick(static_cast<int>(reminders.size())))] =
            randomReminder();
    }
    std::shuffle(reminders.begin(), reminders.end(), random);
    return reminders;
  };
  for (int round = 0; round < 2000; ++round) {
    std::vector<Reminder> base;
    for (int n = pick(6); n > 0; --n)
      base.push_back(randomReminder());
    const std::vector<Reminder> ours = edited(base);
    const std::vector<Reminder> theirs = edited(base);
    SCOPED_TRACE(round);
    EXPECT_EQ(keys(merged(base, base, theirs)), keys(theirs));
    EXPECT_EQ(keys(merged(base, ours, base)), keys(ours));
    EXPECT_EQ(keys(merged(base, ours, ours)), keys(ours));
    EXPECT_EQ(keys(merged(base, ours, theirs)), keys(merged(base, theirs, ours)));
  }
}

} // namespace
} // namespace zr
