// SPDX-License-Identifier: MIT

#pragma once

#include "app/alert_presenter.h"
#include "app/command_prompts.h"
#include "app/main_window.h"

#include <QFile>
#include <QTemporaryDir>
#include <string>

namespace zr::bench {

// Errors would stop a benchmark run; none are expected here.
class NoPrompts final : public CommandPrompts {
public:
  bool editReminder(QWidget*, Reminder&) override { return false; }
  bool confirm(QWidget*, const QString&) override { return false; }
  void showError(QWidget*, const QString& text) override { qFatal("%s", qPrintable(text)); }
};

// Takes the alerts and shows nothing, so that a pass is measured without the windows;
// counts them, so that a benchmark can tell that its reminders came due.
class NoAlerts final : public AlertPresenter {
public:
  long shown = 0;
  void showReminderAlert(const Reminder&, const std::string&) override { ++shown; }
  void activateNewestAlert() override {}
  void closeAllAlerts() override {}
  std::vector<const Reminder*> openAlerts() const override { return {}; }
};

// A main window on a folder of its own, without the splash or an update check at start.
inline MainWindow::Options windowOptions(const QTemporaryDir& folder, const Clock& clock,
                                         NoPrompts& prompts, NoAlerts* alerts = nullptr) {
  QFile settings(folder.path() + "/ZRDorvel.ini");
  if (!settings.exists() && settings.open(QIODevice::WriteOnly))
    settings.write("[System]\r\nAutoCheckForUpdates=0\r\n");
  MainWindow::Options options;
  options.clock = &clock;
  options.programFolder = folder.path() + '/';
  options.userDataFolder = folder.path() + "/user";
  options.showSplash = false;
  options.prompts = &prompts;
  options.alerts = alerts;
  return options;
}

} // namespace zr::bench
