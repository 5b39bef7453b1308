// SPDX-License-Identifier: MIT

#pragma once

#include "about/about_box.h"
#include "app/main_window_actions.h"
#include "app/program_settings.h"
#include "app/settings.h"
#include "core/date_time.h"
#include "core/list_guard.h"
#include "core/reminder.h"
#include "core/reminder_checker.h"
#include "core/reminder_list.h"

#include <QMainWindow>
#include <QTimer>
#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace zr {

class AlertPresenter;
class CommandPrompts;
class DataFiles;
class PopupMenu;
class ReminderCommands;
class ReminderTableModel;
class SessionEndWatcher;
class ReminderTableView;
class SysTray;
class UpdateController;

// The program's one main window: it owns the reminder list, the five-second
// check timer that drives the check pass, and the commands. The check pass itself
// and the snoozed copies live in a ReminderChecker, the files of the data folder in
// a DataFiles, the commands on reminders in a ReminderCommands, the settings of the
// run in a ProgramSettings; a ListGuard keeps the pass, the list changes and the
// close from overlapping.
class MainWindow final : public QMainWindow {
  Q_OBJECT

public:
  struct Options {
    const Clock* clock = nullptr;       // required; outlives the window
    QString programFolder;              // the program file's folder, ending with '/'
    QString userDataFolder;             // the data folder when programFolder is read-only
    std::vector<std::string> arguments; // the command line after the program name
    bool showSplash = true;
    RegionalSettings regional;
    DateTimeSeparators separators;
    CommandPrompts* prompts = nullptr; // nullptr: the real dialogs and message boxes
    AlertPresenter* alerts = nullptr;  // nullptr: the desktop alerts
    // When given (it outlives the window), the end of the session or a termination
    // signal ends the program as endSession() says.
    SessionEndWatcher* sessionEnd = nullptr;
  };

  using Actions = MainWindowActions;

  // Runs the whole start-up sequence; the window is not shown yet.
  explicit MainWindow(Options options, QWidget* parent = nullptr);
  ~MainWindow() override;

  // True when started with the "startup" switch: the window is not to be shown.
  bool startsHidden() const { return startsHidden_; }
  const QString& programFolder() const { return programFolder_; }
  QString helpFile() const;
  DataFiles& dataFiles() { return *files_; }

  const Actions& actions() const { return actions_; }
  ReminderTableModel& reminders() { return *model_; }
  ReminderTableView* reminderView() { return view_; }
  const QTimer& checkTimer() const { return checkTimer_; }
  bool remindersEnabled() const { return remindersEnabled_; }
  const std::vector<std::unique_ptr<Reminder>>& snoozedReminders() const {
    return checker_.snoozed();
  }
  // The close sequence has begun: the list is gone and commands do nothing. Also
  // true right after construction when another copy runs on the data folder.
  bool isClosed() const { return guard_.isClosed(); }
  SysTray& sysTray() { return *sysTray_; }
  bool autoCheckForUpdates() const { return settings_->options().autoCheckForUpdates; }

  // The commands. Each shows its own errors in the error box and returns.
  void fileSave();
  void fileClose();
  void fileShutDown();
  void reminderAdd();
  void reminderEdit();
  void reminderDelete();
  void reminderDuplicate();
  void reminderTest();
  void alertsGoTo();
  void alertsCloseAll();
  void systemEnable();
  void systemOptions();
  void systemUpdates();
  void helpHelp();
  void helpAbout();
  void popupShow();

  // The session ends or the program is asked to end from outside: every modal box
  // and dialog is cancelled, the close sequence runs as for "Shut Down", and errors
  // go to the log (standard error) instead of boxes nobody is there to answer.
  void endSession();
  // Another start of the program asked for this window: shown, and brought to the front.
  void bringToFront();

  // One check pass; the check timer runs it every five seconds. It is skipped
  // while a change holds the list or after the close.
  void checkReminders();
  void showReminderAlert(const Reminder& reminder);
  // An alert was closed: its copy comes back after `minutes`, or is dropped when 0.
  void reminderClose(std::unique_ptr<Reminder> copy, int minutes);

signals:
  // The close sequence has run; the program ends.
  void closed();

protected:
  void closeEvent(QCloseEvent* event) override;

private:
  void connectActions();
  void startUp();
  // The snoozed copies kept at the last close come back.
  void loadSnoozedFile();
  void formClose();
  // Runs a list change holding the list with the check timer off, then saves
  // the list. The change may run later (see ListGuard), so it owns what it needs.
  void changeList(ListGuard::Work change);
  // Runs a command, showing whatever it throws in the error box.
  void guarded(const std::function<void()>& command);
  // The error box, or the log while the session ends.
  void reportError(const QString& text);

  void hideProgram();
  void showSplash();
  void startUpdater();

  const Clock& clock_;
  // Temporary files of saves older than this were left by a killed copy.
  const std::chrono::system_clock::time_point startedAt_;
  Options options_;
  std::unique_ptr<CommandPrompts> ownPrompts_;
  CommandPrompts* prompts_;
  std::unique_ptr<AlertPresenter> ownAlerts_;
  AlertPresenter* alerts_;
  QString programFolder_;
  bool startsHidden_ = false;
  bool remindersEnabled_ = true;
  bool sessionEnding_ = false;
  bool passErrorShowing_ = false;
  ReminderChecker checker_;
  ListGuard guard_;
  ReminderTableModel* model_;
  DataFiles* files_;
  ReminderTableView* view_;
  QTimer checkTimer_;
  Actions actions_{};
  SysTray* sysTray_ = nullptr;
  std::optional<ProgramSettings> settings_;
  PopupMenu* trayMenu_ = nullptr;
  std::unique_ptr<ReminderCommands> commands_;
  AboutBox aboutBox_;
  std::unique_ptr<UpdateController> updates_;
};

} // namespace zr
