// SPDX-License-Identifier: MIT

// Speed of the reminder core: the next-occurrence search that runs for every
// reminder every five seconds, the refresh and sort of a large list, the search
// at start for what was missed while the program was off, and saving and loading
// a large reminders file.

#include "core/missed_reminders.h"
#include "core/reminders_file.h"

#include <benchmark/benchmark.h>
#include <filesystem>
#include <random>
#include <unistd.h>

namespace zr {
namespace {

DateTime at(int year, int month, int day, int hour = 0) {
  return encodeDateTime({year, month, day}, {hour, 0, 0, 0});
}

Reminder scheduled(ReminderType type) {
  Reminder reminder(at(2024, 3, 11));
  reminder.reminderType = type;
  reminder.time = encodeTime({9, 30, 0, 0});
  reminder.date = at(2024, 12, 24);
  reminder.daysOfWeek.set(6);
  reminder.daysOfMonth.set(31);
  reminder.yearlyMonth = 2;
  reminder.yearlyDay = 29;
  return reminder;
}

void nextScheduled(benchmark::State& state, ReminderType type) {
  // 1 March 2024: a yearly 29 February is four years away, the longest walk.
  const FixedClock clock(at(2024, 3, 1, 12));
  Reminder reminder = scheduled(type);
  for (auto _ : state) {
    reminder.enabled = true;
    benchmark::DoNotOptimize(reminder.calculateNextScheduled(clock.now(), clock));
  }
}
BENCHMARK_CAPTURE(nextScheduled, once, ReminderType::Once)->Name("BM_NextScheduled/once");
BENCHMARK_CAPTURE(nextScheduled, daily, ReminderType::Daily)->Name("BM_NextScheduled/daily");
BENCHMARK_CAPTURE(nextScheduled, weekly, ReminderType::Weekly)->Name("BM_NextScheduled/weekly");
BENCHMARK_CAPTURE(nextScheduled, monthly, ReminderType::Monthly)->Name("BM_NextScheduled/monthly");
BENCHMARK_CAPTURE(nextScheduled, yearly, ReminderType::Yearly)->Name("BM_NextScheduled/yearly");

// Reminders of all five kinds with varied names, times, days and three message lines.
void fill(ReminderList& list, int count) {
  std::mt19937 random(7);
  auto pick = [&](int low, int high) { return std::uniform_int_distribution(low, high)(random); };
  for (int index = 0; index < count; ++index) {
    auto reminder = std::make_unique<Reminder>(at(2024, 3, 11));
    reminder->name = "Reminder " + std::to_string(pick(0, 100000));
    reminder->text = {"Bring the slides.", "Room " + std::to_string(index),
                      "Call the office first."};
    reminder->reminderType = static_cast<ReminderType>(index % 5);
    reminder->time = encodeTime({pick(0, 23), pick(0, 59), 0, 0});
    reminder->date = at(2024, pick(1, 12), pick(1, 28));
    reminder->lastRun = pick(0, 1) ? 0 : at(2024, 3, pick(1, 10), pick(0, 23));
    reminder->daysOfWeek.set(static_cast<std::size_t>(pick(1, 7)));
    reminder->daysOfMonth.set(static_cast<std::size_t>(pick(1, 32)));
    reminder->yearlyMonth = pick(1, 12);
    reminder->yearlyDay = pick(1, 31);
    list.appendReminder(std::move(reminder));
  }
}

void BM_Refresh(benchmark::State& state) {
  const FixedClock clock(at(2024, 3, 11, 12));
  ReminderList list;
  fill(list, static_cast<int>(state.range(0)));
  list.refreshReminderList(clock.now(), clock);
  for (auto _ : state)
    list.refreshReminderList(clock.now(), clock);
}
BENCHMARK(BM_Refresh)->Arg(10000)->Unit(benchmark::kMillisecond);

// The list as it was saved a month before the start: every enabled reminder with an
// occurrence since has missed it, a daily one thirty times.
void BM_MissedAtStart(benchmark::State& state) {
  const FixedClock lastSave(at(2024, 2, 11, 12));
  const DateTime start = at(2024, 3, 11, 12);
  ReminderList list;
  fill(list, static_cast<int>(state.range(0)));
  list.refreshReminderList(lastSave.now(), lastSave);
  for (auto _ : state) {
    for (int row = 0; row < list.reminderCount(); ++row)
      benchmark::DoNotOptimize(missedMoment(*list.reminderAt(row), start));
  }
}
BENCHMARK(BM_MissedAtStart)->Arg(10000)->Unit(benchmark::kMillisecond);

// A folder of its own under /tmp, removed afterwards.
class BenchFolder {
public:
  BenchFolder()
      : path_(std::filesystem::temp_directory_path() /
              ("zrdorvel-bench-" + std::to_string(::getpid()))) {
    std::filesystem::create_directories(path_);
  }
  ~BenchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  std::string file() const { return (path_ / "Reminders.dat").string(); }

private:
  std::filesystem::path path_;
};

void BM_Save(benchmark::State& state) {
  const BenchFolder folder;
  ReminderList list;
  fill(list, static_cast<int>(state.range(0)));
  for (auto _ : state)
    saveReminders(folder.file(), list);
}
BENCHMARK(BM_Save)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_Load(benchmark::State& state) {
  const BenchFolder folder;
  const FixedClock clock(at(2024, 3, 11, 12));
  {
    ReminderList list;
    fill(list, static_cast<int>(state.range(0)));
    saveReminders(folder.file(), list);
  }
  for (auto _ : state) {
    ReminderList list;
    loadReminders(folder.file(), list, {}, clock);
    benchmark::DoNotOptimize(list.reminderCount());
  }
}
BENCHMARK(BM_Load)->Arg(10000)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace zr
