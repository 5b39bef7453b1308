// SPDX-License-Identifier: MIT

// The check pass that runs every five seconds: one in which nothing is due (the
// refresh and the view update), and one in which reminders come due (their alerts,
// taken by a sink that shows nothing, the refresh and the save of the file).

#include "app/reminder_table_model.h"
#include "app/reminder_table_view.h"
#include "bench_window.h"

#include <QCoreApplication>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

// `count` reminders of every kind, spread over the minutes of the day: at 10 000 about
// seven a minute, of mixed kinds.
void fillWindow(zr::MainWindow& window, const zr::Clock& clock, int count) {
  for (int i = 0; i < count; ++i) {
    auto reminder = std::make_unique<zr::Reminder>(clock.today());
    reminder->name = "Reminder " + std::to_string(count - i);
    reminder->reminderType = static_cast<zr::ReminderType>((i + i / 1440) % 5);
    const int minute = (i * 7) % 1440;
    reminder->time = zr::encodeTime({minute / 60, minute % 60, 0, 0});
    reminder->date = clock.today() + 1 + i % 400;
    reminder->enabled = i % 11 != 0;
    reminder->lastRun = i % 3 == 0 ? clock.now() - 1 - i % 30 : 0;
    for (int day = 1; day <= 7; day += 1 + i % 3)
      reminder->daysOfWeek.set(static_cast<std::size_t>(day));
    for (int day = 1 + i % 5; day <= 32; day += 4 + i % 7)
      reminder->daysOfMonth.set(static_cast<std::size_t>(day));
    reminder->yearlyMonth = 1 + i % 12;
    reminder->yearlyDay = 1 + i % 28;
    window.reminders().appendReminder(std::move(reminder));
  }
  window.reminders().refreshReminderList(clock.now(), clock);
  window.show();
  window.reminderView()->selectRow(count / 2);
  QCoreApplication::processEvents();
}

// One check pass over a shown list of `count` reminders, none of them due: the cost is
// the refresh (every next moment, the sort) and the view update.
void BM_CheckPass(benchmark::State& state) {
  QTemporaryDir folder;
  zr::FixedClock clock(zr::encodeDateTime({2024, 7, 3}, {9, 0, 30, 0}));
  zr::bench::NoPrompts prompts;
  zr::MainWindow window(zr::bench::windowOptions(folder, clock, prompts));
  const auto count = static_cast<int>(state.range(0));
  fillWindow(window, clock, count);

  for (auto _ : state) {
    window.checkReminders();
    QCoreApplication::processEvents(); // paints the view
  }
  state.SetItemsProcessed(state.iterations() * count);
}

// The same list with the clock a minute further at each pass, so that every pass finds
// the reminders of that minute due (about four at 10 000): their alerts, the refresh,
// the save of the whole file and the view update.
void BM_FiringPass(benchmark::State& state) {
  QTemporaryDir folder;
  zr::FixedClock clock(zr::encodeDateTime({2024, 7, 3}, {9, 0, 30, 0}));
  zr::bench::NoPrompts prompts;
  zr::bench::NoAlerts alerts;
  zr::MainWindow window(zr::bench::windowOptions(folder, clock, prompts, &alerts));
  const auto count = static_cast<int>(state.range(0));
  fillWindow(window, clock, count);

  for (auto _ : state) {
    clock.advance(zr::encodeTime({0, 1, 0, 0}));
    window.checkReminders();
    QCoreApplication::processEvents();
  }
  if (alerts.shown < state.iterations())
    state.SkipWithError("fewer reminders came due than passes ran");
  state.counters["alerts/pass"] =
      static_cast<double>(alerts.shown) / static_cast<double>(state.iterations());
}

} // namespace

BENCHMARK(BM_CheckPass)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FiringPass)->Arg(10000)->Unit(benchmark::kMillisecond);
