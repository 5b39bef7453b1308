// SPDX-License-Identifier: MIT

// Speed of the reminder core: the next-occurrence search that runs for every
// reminder every five seconds, the refresh and sort of a large list, the search
// at start for what was missed while the program was off, and saving and loading
// a large reminders file.

#include "bench_reminders.h"
#include "core/missed_reminders.h"
#include "core/reminders_file.h"

#include <benchmark/benchmark.h>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <unistd.h>

namespace zr {
namespace {

using bench::at;
using bench::fillReminders;

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

void BM_Refresh(benchmark::State& state) {
  const FixedClock clock(at(2024, 3, 11, 12));
  ReminderList list;
  fillReminders(list, static_cast<int>(state.range(0)));
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
  fillReminders(list, static_cast<int>(state.range(0)));
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
  fillReminders(list, static_cast<int>(state.range(0)));
  for (auto _ : state)
    saveReminders(folder.file(), list);
}
BENCHMARK(BM_Save)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_Load(benchmark::State& state) {
  const BenchFolder folder;
  const FixedClock clock(at(2024, 3, 11, 12));
  {
    ReminderList list;
    fillReminders(list, static_cast<int>(state.range(0)));
    saveReminders(folder.file(), list);
  }
  for (auto _ : state) {
    ReminderList list;
    loadReminders(folder.file(), list, {}, clock);
    benchmark::DoNotOptimize(list.reminderCount());
  }
}
BENCHMARK(BM_Load)->Arg(10000)->Unit(benchmark::kMillisecond);

// A file of the older format as its writer left it: the count, then six lines a
// reminder (name, Yes/No, kind, the kind's date, weekday or day of the month, the time
// in 12- or 24-hour notation, a line the reader skips).
std::string legacyContent(int count) {
  static constexpr const char* kWeekdays[] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                              "Thrusday", "Friday", "Saturday"};
  std::mt19937 random(11);
  auto pick = [&](int low, int high) { return std::uniform_int_distribution(low, high)(random); };
  std::string content = std::to_string(count) + "\r\n";
  for (int index = 0; index < count; ++index) {
    content += "Reminder " + std::to_string(pick(0, 100000)) + "\r\n";
    content += pick(0, 3) ? "Yes\r\n" : "No\r\n";
    switch (index % 4) {
    case 0:
      content += "Once\r\n" + std::to_string(pick(1, 12)) + '/' + std::to_string(pick(1, 28)) +
                 "/2024\r\n";
      break;
    case 1:
      content += "Daily\r\n\r\n";
      break;
    case 2:
      content += std::string("Weekly\r\n") + kWeekdays[pick(0, 6)] + "\r\n";
      break;
    default:
      content += pick(0, 9) ? "Monthly\r\n" + std::to_string(pick(1, 31)) + "\r\n"
                            : std::string("Monthly\r\nLast Day\r\n");
    }
    const int hour = pick(0, 23);
    const std::string minutes = ':' + std::to_string(10 + pick(0, 49));
    content += index % 2
                   ? std::to_string(hour) + minutes + ":30\r\n"
                   : std::to_string(hour % 12 + 1) + minutes + (hour < 12 ? " AM\r\n" : " PM\r\n");
    content += "0\r\n";
  }
  return content;
}

void BM_LoadLegacy(benchmark::State& state) {
  const BenchFolder folder;
  const FixedClock clock(at(2024, 3, 11, 12));
  const auto count = static_cast<int>(state.range(0));
  {
    std::ofstream file(folder.file(), std::ios::binary);
    file << legacyContent(count);
  }
  for (auto _ : state) {
    ReminderList list;
    loadReminders(folder.file(), list, {}, clock);
    if (list.reminderCount() != count)
      state.SkipWithError("the older format did not read back whole");
  }
}
BENCHMARK(BM_LoadLegacy)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace zr
