// SPDX-License-Identifier: MIT

#include "app/main_window.h"

#include "about/version_info.h"
#include "app/alert_presenter.h"
#include "app/command_prompts.h"
#include "app/data_files.h"
#include "app/data_folder.h"
#include "app/desktop_alerts.h"
#include "app/logging.h"
#include "app/main_window_actions.h"
#include "app/modal_windows.h"
#include "app/program_settings.h"
#include "app/program_tray.h"
#include "app/reminder_commands.h"
#include "app/reminder_table_model.h"
#include "app/reminder_table_view.h"
#include "app/system_options_dialog.h"
#include "app/timer_pause.h"
#include "controls/fonts.h"
#include "core/command_line.h"
#include "platform/build_info.h"
#include "platform/help_viewer.h"
#include "platform/installed_files.h"
#include "platform/session_end.h"
#include "platform/stored_text.h"
#include "tray/popup_menu.h"
#include "tray/sys_tray.h"
#include "updater/update_address.h"
#include "updater/update_controller.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QScopedValueRollback>
#include <QScreen>
#include <QStatusBar>
#include <exception>
#include <utility>

namespace zr {

namespace {

constexpr int kCheckInterval = 5000;
constexpr int kClientWidth = 672;
constexpr int kClientHeight = 311;
constexpr int kStatusBarHeight = 19;

QString withTrailingSlash(QString folder) {
  if (!folder.endsWith('/'))
    folder += '/';
  return folder;
}

} // namespace

MainWindow::MainWindow(Options options, QWidget* parent)
    : QMainWindow(parent), clock_(*options.clock), startedAt_(std::chrono::system_clock::now()),
      options_(std::move(options)), prompts_(options_.prompts), alerts_(options_.alerts),
      programFolder_(withTrailingSlash(options_.programFolder)), checker_(clock_),
      guard_([this](const std::exception& error) { reportError(toShownText(error.what())); }),
      model_(new ReminderTableModel(options_.separators, this)),
      files_(new DataFiles(
          clock_, chooseDataFolder(programFolder_, options_.userDataFolder), options_.regional,
          *model_, checker_, [this](const QString& text) { reportError(text); }, this)),
      view_(new ReminderTableView(model_, this)) {
  if (!prompts_) {
    ownPrompts_ = std::make_unique<DialogPrompts>();
    prompts_ = ownPrompts_.get();
  }
  if (!alerts_) {
    ownAlerts_ = std::make_unique<DesktopAlerts>(*this);
    alerts_ = ownAlerts_.get();
  }
  commands_ = std::make_unique<ReminderCommands>(
      ReminderCommands::Parts{clock_, *model_, *view_, *prompts_, *alerts_, this,
                              [this](ListGuard::Work change) { changeList(std::move(change)); }});
  setObjectName("frmMain");
  setWindowTitle("ZR Dorvel");
  // The keyboard focus is drawn from the first key, not only after a Tab.
  setAttribute(Qt::WA_KeyboardFocusChange);
  setFont(formFont());

  actions_ = createMainWindowActions(*this);
  connectActions();
  const ProgramTray tray = createProgramTray(*this);
  sysTray_ = tray.icon;
  trayMenu_ = tray.menu;
  settings_.emplace(*files_, *sysTray_);
  createMainMenu(*this, actions_);
  createToolBar(*this, actions_);
  setCentralWidget(view_);
  statusBar()->setFixedHeight(kStatusBarHeight);
  resize(scaled(kClientWidth), scaled(kClientHeight));
  // Centred on the primary screen, where the alerts come up too.
  if (const QScreen* screen = QGuiApplication::primaryScreen())
    move(screen->availableGeometry().center() - rect().center());

  checkTimer_.setInterval(kCheckInterval);
  connect(&checkTimer_, &QTimer::timeout, this, &MainWindow::checkReminders);
  // On the same timer, so that the program hidden in the tray wakes once per interval.
  connect(&checkTimer_, &QTimer::timeout, sysTray_, &SysTray::checkNotificationArea);
  connect(view_, &ReminderTableView::reminderDoubleClicked, this, &MainWindow::reminderEdit);
  connect(view_, &ReminderTableView::deleteRequested, this, &MainWindow::reminderDelete);
  view_->setRowMenuActions({actions_.reminderAdd, actions_.reminderEdit, actions_.reminderDelete,
                            actions_.reminderDuplicate, nullptr, actions_.reminderTest});
  // Connected before the start-up, whose splash and boxes run event loops of their own.
  if (options_.sessionEnd)
    connect(options_.sessionEnd, &SessionEndWatcher::sessionEnding, this, &MainWindow::endSession);

  startUp();
  view_->selectRow(0); // the first row once the list is sorted
  // A Shut Down chosen while a start-up message was open has closed the list already.
  if (!guard_.isClosed())
    checkTimer_.start();
}

MainWindow::~MainWindow() = default;

void MainWindow::connectActions() {
  const std::pair<QAction*, void (MainWindow::*)()> commands[] = {
      {actions_.fileSave, &MainWindow::fileSave},
      {actions_.fileClose, &MainWindow::fileClose},
      {actions_.fileShutDown, &MainWindow::fileShutDown},
      {actions_.reminderAdd, &MainWindow::reminderAdd},
      {actions_.reminderEdit, &MainWindow::reminderEdit},
      {actions_.reminderDelete, &MainWindow::reminderDelete},
      {actions_.reminderDuplicate, &MainWindow::reminderDuplicate},
      {actions_.reminderTest, &MainWindow::reminderTest},
      {actions_.alertsGoTo, &MainWindow::alertsGoTo},
      {actions_.alertsCloseAll, &MainWindow::alertsCloseAll},
      {actions_.systemEnable, &MainWindow::systemEnable},
      {actions_.systemOptions, &MainWindow::systemOptions},
      {actions_.systemUpdates, &MainWindow::systemUpdates},
      {actions_.helpHelp, &MainWindow::helpHelp},
      {actions_.helpAbout, &MainWindow::helpAbout},
      {actions_.popupShow, &MainWindow::popupShow},
  };
  for (const auto& [action, command] : commands)
    connect(action, &QAction::triggered, this, command);
}

QString MainWindow::helpFile() const {
  return findInstalledFile(programFolder_, "ZRDorvelHelp.html");
}

void MainWindow::startUp() {
  const bool hidden = hasCommandLineSwitch(options_.arguments, "startup");
  // Before anything touches the folder: another copy may be working in it.
  if (!files_->claimFolder(!hidden)) {
    guard_.close([this] { formClose(); });
    return;
  }
  connect(files_, &DataFiles::showRequested, this, &MainWindow::bringToFront);
  // Outside changes join the list as soon as no pass or change holds it.
  connect(files_, &DataFiles::changedOutside, this, [this] {
    guarded([this] { guard_.change([this] { files_->takeInOutsideChanges(); }); });
  });
  if (hidden)
    hideProgram();
  files_->removeLeftoverSaves(startedAt_);
  UpdateController::deleteLeftoverUpdates(files_->dataFolder());
  aboutBox_.setHomePage(build_info::kHomePageUrl);
  updates_ = std::make_unique<UpdateController>(
      this, files_->dataFolder(), updateInfoAddress(), build_info::kHomePageUrl,
      [this] { return settings_->options().autoCheckForUpdates; }, [this] { fileShutDown(); });
  if (options_.showSplash)
    showSplash();
  // Closed during the splash: the settings were never read, so nothing is written.
  if (guard_.isClosed())
    return;
  files_->reportDanglingLinks();
  settings_->read();
  fillTrayPopupMenu(*trayMenu_, actions_);
  const bool remindersRead = files_->loadReminders();
  // The snoozed copies do not depend on the list, so they come back even when the
  // reminders file failed; a close during an error box has ended the start-up.
  if (settings_->options().keepSnoozed && !guard_.isClosed())
    loadSnoozedFile();
  if (!remindersRead || guard_.isClosed())
    return;
  const DateTime start = clock_.now();
  if (settings_->options().showMissed)
    files_->alertMissed(start, *alerts_, options_.separators);
  if (guard_.isClosed())
    return;
  model_->refreshReminderList(start, clock_);
  startUpdater();
}

void MainWindow::loadSnoozedFile() {
  std::vector<std::unique_ptr<Reminder>> copies = files_->loadSnoozed();
  // A close during the error box has written what there was; these copies come too late.
  if (guard_.isClosed())
    return;
  checker_.restoreSnoozed(std::move(copies));
  files_->followSnoozed(false);
}

void MainWindow::closeEvent(QCloseEvent* event) {
  guard_.close([this] { formClose(); });
  event->accept();
}

void MainWindow::formClose() {
  // A command's dialog may hold a reminder of the list: it ends cancelled, before
  // the list goes, and so does every other box that would outlive the program.
  closeModalWindows();
  checkTimer_.stop();
  // Before the copies go: they come back at the next start, and with them the
  // alerts still on screen.
  if (settings_->options().keepSnoozed)
    checker_.snoozeOpenAlerts(alerts_->openAlerts());
  guarded([this] { files_->saveSnoozed(); });
  model_->clearReminderList();
  checker_.dropSnoozed();
  // The list is gone by now, so the program ends even when the settings could not
  // be written: running on would let a later save write an empty list.
  guarded([this] { settings_->write(); });
  emit closed();
}

void MainWindow::changeList(ListGuard::Work change) {
  guard_.change([this, change = std::move(change)] {
    const TimerPause pause(checkTimer_);
    change();
    files_->saveReminders();
  });
}

void MainWindow::guarded(const std::function<void()>& command) {
  try {
    command();
  } catch (const std::exception& error) {
    reportError(toShownText(error.what()));
  }
}

void MainWindow::reportError(const QString& text) {
  if (sessionEnding_)
    qCWarning(lcApp).noquote() << text;
  else
    prompts_->showError(this, text);
}

void MainWindow::endSession() {
  if (sessionEnding_)
    return;
  sessionEnding_ = true;
  closeModalWindows();
  fileShutDown();
}

void MainWindow::bringToFront() {
  if (isClosed())
    return;
  if (!sysTray_->programShowing()) {
    sysTray_->restoreProgram();
    return;
  }
  setWindowState(windowState() & ~Qt::WindowMinimized);
  show();
  raise();
  activateWindow();
}

void MainWindow::checkReminders() {
  QString saveError;
  guard_.passIfFree([&] {
    const TimerPause pause(checkTimer_);
    CheckPass pass = checker_.check(model_->listInPlace(), remindersEnabled_);
    for (const Reminder* reminder : pass.due)
      showReminderAlert(*reminder);
    for (const std::unique_ptr<Reminder>& copy : pass.snoozedDue)
      showReminderAlert(*copy);
    saveError = files_->saveAfterPass(pass.save, !pass.snoozedDue.empty());
    model_->refreshReminderList(pass.refreshAfter, clock_);
  });
  // Shown after the timer is on again, so checking goes on while the box is open;
  // the passes meanwhile log their failures rather than stack boxes on it.
  if (saveError.isEmpty())
    return;
  if (passErrorShowing_) {
    qCWarning(lcApp).noquote() << saveError;
    return;
  }
  const QScopedValueRollback showing(passErrorShowing_, true);
  reportError(saveError);
}

void MainWindow::showReminderAlert(const Reminder& reminder) {
  alerts_->showReminderAlert(reminder, {});
}

void MainWindow::reminderClose(std::unique_ptr<Reminder> copy, int minutes) {
  // After the close the snoozed copies are gone, and Snoozed.dat holds what they were.
  if (isClosed())
    return;
  if (checker_.snooze(std::move(copy), minutes))
    guarded([this] { files_->saveSnoozed(); });
}

void MainWindow::fileSave() {
  guarded([this] { guard_.change([this] { files_->saveReminders(); }); });
}

void MainWindow::fileClose() {
  close();
}

void MainWindow::fileShutDown() {
  sysTray_->setSysTrayOnClose(false);
  close();
  // Inside a close that is under way (its notice of the notification area is open),
  // the window lets no second close event through: the close sequence runs all the same.
  guard_.close([this] { formClose(); });
}

void MainWindow::reminderAdd() {
  guarded([this] { commands_->add(); });
}

void MainWindow::reminderEdit() {
  guarded([this] { commands_->edit(); });
}

void MainWindow::reminderDelete() {
  guarded([this] { commands_->remove(); });
}

void MainWindow::reminderDuplicate() {
  guarded([this] { commands_->duplicate(); });
}

void MainWindow::alertsGoTo() {
  alerts_->activateNewestAlert();
}

void MainWindow::alertsCloseAll() {
  alerts_->closeAllAlerts();
}

void MainWindow::reminderTest() {
  commands_->test();
}

void MainWindow::systemEnable() {
  remindersEnabled_ = actions_.systemEnable->isChecked();
}

void MainWindow::helpHelp() {
  guarded([this] { openHelp(helpFile(), "Introduction"); });
}

void MainWindow::popupShow() {
  sysTray_->restoreProgram();
}

void MainWindow::hideProgram() {
  startsHidden_ = true;
  sysTray_->hideProgram();
}

void MainWindow::showSplash() {
  aboutBox_.splash(3);
}

void MainWindow::startUpdater() {
  updates_->setCurrentVersion(fileVersion());
  updates_->checkAtStartup();
}

void MainWindow::systemOptions() {
  const bool keptSnoozed = settings_->options().keepSnoozed;
  {
    SystemOptionsDialog dialog(settings_->options(), QCoreApplication::applicationFilePath(), this);
    dialog.exec();
  }
  if (isClosed())
    return;
  files_->setKeepSnoozed(settings_->options().keepSnoozed);
  // Switched on: from now on Snoozed.dat holds the copies of this run, in place of
  // whatever an earlier run left there.
  if (settings_->options().keepSnoozed && !keptSnoozed) {
    files_->followSnoozed(true);
    guarded([this] { files_->saveSnoozed(); });
  }
  guarded([this] { settings_->write(); });
}

void MainWindow::systemUpdates() {
  if (!isClosed())
    updates_->checkInteractively();
}

void MainWindow::helpAbout() {
  aboutBox_.about();
}

} // namespace zr
