// SPDX-License-Identifier: MIT

#pragma once

#include "app/alert_presenter.h"
#include "app/command_prompts.h"
#include "app/data_files.h"
#include "app/main_window.h"
#include "app/reminder_table_model.h"
#include "app/reminder_table_view.h"
#include "core/reminders_file.h"
#include "support/qt_test_support.h"

#include <QDir>
#include <QFile>
#include <QItemSelectionModel>
#include <QTemporaryDir>
#include <cmath>
#include <deque>
#include <functional>
#include <gtest/gtest.h>
#include <list>
#include <memory>
#include <string>
#include <vector>

namespace zr::test {

inline DateTime at(int year, int month, int day, int hour = 0, int minute = 0, int second = 0) {
  return encodeDateTime({year, month, day}, {hour, minute, second, 0});
}

// Answers the commands' questions in place of the user and records what was asked.
class FakePrompts final : public CommandPrompts {
public:
  // Called with the reminder to edit; returns whether the user pressed OK.
  std::function<bool(Reminder&)> onEdit = [](Reminder&) { return false; };
  // Called while the question or the error box is open, with the window it belongs to.
  std::function<void(QWidget*)> whileAsking = [](QWidget*) {};
  std::function<void(QWidget*)> whileShowingError = [](QWidget*) {};
  bool confirmAnswer = true;
  std::vector<QString> questions;
  std::vector<QString> errors;
  int edits = 0;

  bool editReminder(QWidget*, Reminder& reminder) override {
    ++edits;
    return onEdit(reminder);
  }
  bool confirm(QWidget* parent, const QString& question) override {
    questions.push_back(question);
    whileAsking(parent);
    return confirmAnswer;
  }
  void showError(QWidget* parent, const QString& text) override {
    errors.push_back(text);
    whileShowingError(parent);
  }
};

// Records every alert shown, with a copy of the reminder as it was then and its late note.
class FakeAlerts final : public AlertPresenter {
public:
  std::vector<Reminder> shown;
  std::vector<std::string> lateNotes;
  // Called after each alert is shown, as an event loop inside the pass would.
  std::function<void()> whileShowing = [] {};
  // The alerts still on screen: each one shown, until closeLatest closes it or the
  // window it belongs to goes.
  std::list<Reminder> onScreen;
  void showReminderAlert(const Reminder& reminder, const std::string& lateNote) override {
    shown.push_back(reminder);
    lateNotes.push_back(lateNote);
    onScreen.push_back(reminder);
    whileShowing();
  }
  int activations = 0;
  int closeAlls = 0;
  void activateNewestAlert() override { ++activations; }
  void closeAllAlerts() override { ++closeAlls; }
  std::vector<const Reminder*> openAlerts() const override {
    std::vector<const Reminder*> open;
    for (const Reminder& alert : onScreen)
      open.push_back(&alert);
    return open;
  }
  // Closes the latest alert still on screen and hands its copy over, as its close does.
  std::unique_ptr<Reminder> closeLatest() {
    auto copy = std::make_unique<Reminder>(onScreen.back());
    onScreen.pop_back();
    return copy;
  }
};

inline Reminder makeReminder(const std::string& name, ReminderType type, DateTime timeOfDay,
                             DateTime date = 0) {
  Reminder reminder(date);
  reminder.name = name;
  reminder.reminderType = type;
  reminder.time = timeOfDay;
  return reminder;
}

inline DateTime clockTime(int hour, int minute = 0) {
  return encodeTime({hour, minute, 0, 0});
}

// A main window over a temporary program folder, a clock that stands still
// until a test moves it, and fakes for the dialogs and the alerts.
class AppFixture : public ::testing::Test {
protected:
  QTemporaryDir folder;
  FixedClock clock{at(2024, 7, 3, 9, 0, 0)};
  FakePrompts prompts;
  FakeAlerts alerts;
  // What start() gives the window besides the fakes.
  bool realDialogs = false; // the real dialogs and boxes instead of `prompts`
  bool showSplash = false;
  SessionEndWatcher* sessionEnd = nullptr;
  std::unique_ptr<MainWindow> window;

  QString path(const QString& name) const { return folder.path() + '/' + name; }
  std::string remindersPath() const {
    return QFile::encodeName(path("Reminders.dat")).toStdString();
  }
  QByteArray fileContent() const {
    QFile file(path("Reminders.dat"));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }

  void writeReminders(const std::vector<Reminder>& reminders) {
    ReminderList list;
    for (const Reminder& reminder : reminders)
      list.appendReminder(std::make_unique<Reminder>(reminder));
    saveReminders(remindersPath(), list);
  }

  void start(std::vector<std::string> arguments = {}) {
    // One window at a time: a second one on the folder would find it taken.
    window.reset();
    alerts.onScreen.clear(); // they went with their window
    // No update check at start: the tests never reach for the network.
    QFile settings(path("ZRDorvel.ini"));
    if (!settings.exists() && settings.open(QIODevice::WriteOnly))
      settings.write("[System]\r\nAutoCheckForUpdates=0\r\n");
    settings.close();
    window = std::make_unique<MainWindow>(options(std::move(arguments)));
  }

  // What start() gives a window over the folder.
  MainWindow::Options options(std::vector<std::string> arguments) {
    MainWindow::Options options;
    options.clock = &clock;
    options.programFolder = folder.path() + '/';
    options.userDataFolder = path("user-data");
    options.arguments = std::move(arguments);
    options.showSplash = showSplash;
    options.prompts = realDialogs ? nullptr : &prompts;
    options.alerts = &alerts;
    options.sessionEnd = sessionEnd;
    return options;
  }

  ReminderTableModel& model() { return window->reminders(); }
  const ReminderList& list() { return model().list(); }

  std::vector<std::string> names() {
    std::vector<std::string> result;
    for (int row = 0; row < list().rowCount(); ++row)
      if (const Reminder* reminder = list().reminderAt(row))
        result.push_back(reminder->name);
    return result;
  }

  void selectRows(int first, int last) {
    QItemSelectionModel* selection = window->reminderView()->selectionModel();
    selection->select(QItemSelection(model().index(first, 0), model().index(last, 3)),
                      QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
  }

  // The reminders file read back into a list of its own.
  std::unique_ptr<ReminderList> savedList() {
    auto saved = std::make_unique<ReminderList>();
    loadReminders(remindersPath(), *saved, {}, clock);
    return saved;
  }

  // Every field of the file's reminders matches the list's, in row order.
  void expectFileFollowsList() {
    const std::unique_ptr<ReminderList> saved = savedList();
    ASSERT_EQ(saved->reminderCount(), list().reminderCount());
    for (int row = 0; row < list().reminderCount(); ++row) {
      const Reminder& a = *list().reminderAt(row);
      const Reminder& b = *saved->reminderAt(row);
      SCOPED_TRACE(a.name);
      EXPECT_EQ(a.name, b.name);
      EXPECT_EQ(a.text, b.text);
      EXPECT_EQ(a.enabled, b.enabled);
      EXPECT_EQ(a.reminderType, b.reminderType);
      EXPECT_EQ(a.color, b.color);
      EXPECT_EQ(a.audioFile, b.audioFile);
      // Moments are stored with 15 significant digits.
      EXPECT_NEAR(a.time, b.time, 1e-9);
      EXPECT_NEAR(a.date, b.date, 1e-9);
      EXPECT_NEAR(a.nextScheduled, b.nextScheduled, 1e-9);
      EXPECT_NEAR(a.lastRun, b.lastRun, 1e-9);
      EXPECT_EQ(a.daysOfWeek, b.daysOfWeek);
      EXPECT_EQ(a.daysOfMonth, b.daysOfMonth);
    }
  }
};

} // namespace zr::test
