// SPDX-License-Identifier: MIT

#include "alerts/alert_stack.h"
#include "alerts/alert_window.h"
#include "alerts/show_reminder_alert.h"
#include "platform/sound_player.h"

#include <QCoreApplication>
#include <QWidget>
#include <benchmark/benchmark.h>
#include <string>
#include <vector>

namespace {

class SilentSound final : public zr::SoundPlayer {
public:
  void play(const std::string&) override {}
};

// `count` reminders coming due in one pass: every alert built, stacked and shown,
// then painted once, as the user sees them come up. The target is 500 alerts in
// under a second. Closing them all afterwards is not timed.
void BM_ShowAlerts(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  QWidget owner;
  zr::AlertStack stack;
  SilentSound sound;
  zr::Reminder reminder(45000.0);
  reminder.name = "Quarterly report";
  reminder.color = 0x0040A0F0;
  reminder.text = {"The quarterly report is due at noon.", "Room 4.12 is booked afterwards."};
  for (auto _ : state) {
    for (int i = 0; i < count; ++i)
      zr::showReminderAlert(reminder, stack, sound, &owner);
    for (zr::AlertWindow* alert : stack.openAlerts())
      alert->repaint();
    QCoreApplication::processEvents();
    state.PauseTiming();
    for (zr::AlertWindow* alert : stack.openAlerts())
      delete alert;
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(BM_ShowAlerts)->Arg(1)->Arg(500)->Unit(benchmark::kMillisecond);

} // namespace
