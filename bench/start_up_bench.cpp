// SPDX-License-Identifier: MIT

// The start-up the user waits for: from the reminders file on disk to the first
// refreshed list on the screen (the folder claimed, the settings read, the file loaded,
// every next moment found, the list sorted and painted).

#include "app/reminder_table_model.h"
#include "bench_reminders.h"
#include "bench_window.h"
#include "core/reminders_file.h"

#include <QCoreApplication>
#include <QFile>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

void BM_StartUp(benchmark::State& state) {
  QTemporaryDir folder;
  const zr::FixedClock clock(zr::bench::at(2024, 3, 11, 12));
  zr::bench::NoPrompts prompts;
  const auto count = static_cast<int>(state.range(0));
  {
    zr::ReminderList list;
    zr::bench::fillReminders(list, count);
    zr::saveReminders(QFile::encodeName(folder.path() + "/Reminders.dat").toStdString(), list);
  }

  for (auto _ : state) {
    auto window =
        std::make_unique<zr::MainWindow>(zr::bench::windowOptions(folder, clock, prompts));
    window->show();
    QCoreApplication::processEvents(); // paints the list
    state.PauseTiming();
    if (window->reminders().list().reminderCount() != count)
      state.SkipWithError("the start-up did not load the whole file");
    window.reset();
    QCoreApplication::processEvents();
    state.ResumeTiming();
  }
}

} // namespace

BENCHMARK(BM_StartUp)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
