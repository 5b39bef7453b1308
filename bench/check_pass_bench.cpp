// SPDX-License-Identifier: MIT

#include "app/command_prompts.h"
#include "app/main_window.h"
#include "app/reminder_table_model.h"
#include "app/reminder_table_view.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

// Errors would stop a benchmark run; none are expected here.
class NoPrompts final : public zr::CommandPrompts {
public:
  bool editReminder(QWidget*, zr::Reminder&) override { return false; }
  bool confirm(QWidget*, const QString&) override { return false; }
  void showError(QWidget*, const QString& text) override { qFatal("%s", qPrintable(text)); }
};

// One check pass over a shown list of `count` reminders of every kind, none of
// them due: the cost is the refresh (every next moment, the sort) and the view update.
void BM_CheckPass(benchmark::State& state) {
  QTemporaryDir folder;
  zr::FixedClock clock(zr::encodeDateTime({2024, 7, 3}, {9, 0, 30, 0}));
  NoPrompts prompts;
  zr::MainWindow::Options options;
  options.clock = &clock;
  options.programFolder = folder.path() + '/';
  options.userDataFolder = folder.path() + "/user";
  options.showSplash = false;
  options.prompts = &prompts;
  zr::MainWindow window(std::move(options));

  const auto count = static_cast<int>(state.range(0));
  for (int i = 0; i < count; ++i) {
    auto reminder = std::make_unique<zr::Reminder>(clock.today());
    reminder->name = "Reminder " + std::to_string(count - i);
    reminder->reminderType = static_cast<zr::ReminderType>(i % 5);
    reminder->time = zr::encodeTime({(i * 7) % 24, (i * 13) % 60, 0, 0});
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

  for (auto _ : state) {
    window.checkReminders();
    QCoreApplication::processEvents(); // paints the view
  }
  state.SetItemsProcessed(state.iterations() * count);
}

} // namespace

BENCHMARK(BM_CheckPass)->Arg(10000)->Unit(benchmark::kMillisecond);
