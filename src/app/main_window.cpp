// SPDX-License-Identifier: MIT

#include "app/main_window.h"

#include "about/version_info.h"
#include "app/alert_presenter.h"
#include "app/app_icons.h"
#include "app/command_prompts.h"
#include "app/data_files.h"
#include "app/data_folder.h"
#include "app/desktop_alerts.h"
#include "app/logging.h"
#include "app/modal_windows.h"
#include "app/reminder_table_model.h"
#include "app/reminder_table_view.h"
#include "app/system_options_dialog.h"
#include "controls/fonts.h"
#include "controls/menu_style.h"
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
#include <QMenuBar>
#include <QScopedValueRollback>
#include <QScreen>
#include <QStatusBar>
#include <QToolBar>
#include <exception>

namespace zr {

namespace {

constexpr int kCheckInterval = 5000;
constexpr int kClientWidth = 672;
constexpr int kClientHeight = 311;
constexpr int kMenuBarHeight = 24;
constexpr int kToolBarHeight = 26;
constexpr int kStatusBarHeight = 19;

// Switches the check timer off for a pass or a change, and on again however
// it ends, so the next pass comes a full interval after it.
class TimerPause {
public:
  explicit TimerPause(QTimer& timer) : timer_(timer) { timer_.stop(); }
  ~TimerPause() { timer_.start(); }
  TimerPause(const TimerPause&) = delete;
  TimerPause& operator=(const TimerPause&) = delete;

private:
  QTimer& timer_;
};

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
  setObjectName("frmMain");
  setWindowTitle("ZR Dorvel");
  // The keyboard focus is drawn from the first key, not only after a Tab.
  setAttribute(Qt::WA_KeyboardFocusChange);
  setFont(formFont());

  createActions();
  createSysTray();
  createMenus();
  createToolBar();
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

void MainWindow::createSysTray() {
  sysTray_ = new SysTray(this);
  sysTray_->setHint("Dorvel");
  sysTray_->setIconAlwaysShow(false);
  SysTray::MessageOptions& messages = sysTray_->messageOptions();
  messages.msgOnClose = true;
  messages.msgOnCloseDNSA = true;
  messages.msgOnMinimize = true;
  messages.msgOnMinimizeDNSA = true;
  trayMenu_ = new PopupMenu(this);
  trayMenu_->setStyleSheet(kMenuStyleSheet);
  sysTray_->setPopupMenu(trayMenu_);
  sysTray_->setUsePopupMenu(true);
  sysTray_->setSysTrayOnClose(true);
  sysTray_->setSysTrayOnMinimize(true);
}

QString MainWindow::helpFile() const {
  return findInstalledFile(programFolder_, "ZRDorvelHelp.html");
}

void MainWindow::createActions() {
  const auto make = [this](const char* name, const QString& caption, const QString& hint,
                           const QKeySequence& shortcut, void (MainWindow::*command)()) {
    auto* action = new QAction(caption, this);
    action->setObjectName(name);
    if (!hint.isEmpty())
      action->setToolTip(hint);
    action->setShortcut(shortcut);
    // The shortcuts work wherever the focus is in the window, the list included.
    action->setShortcutContext(Qt::WindowShortcut);
    connect(action, &QAction::triggered, this, command);
    addAction(action);
    return action;
  };
  actions_.fileSave =
      make("actFileSave", "&Save", "Save", QKeySequence("Ctrl+S"), &MainWindow::fileSave);
  actions_.fileClose = make("actFileClose", "&Close Window", {}, {}, &MainWindow::fileClose);
  actions_.fileShutDown =
      make("actFileShutDown", "S&hut Down", "Shut Down Application", {}, &MainWindow::fileShutDown);
  actions_.reminderAdd =
      make("actReminderAdd", "&Add", "Add", QKeySequence("Ctrl+A"), &MainWindow::reminderAdd);
  actions_.reminderEdit =
      make("actReminderEdit", "&Edit", {}, QKeySequence("Ctrl+E"), &MainWindow::reminderEdit);
  actions_.reminderDelete = make("actReminderDelete", "&Delete", "Delete", QKeySequence("Ctrl+D"),
                                 &MainWindow::reminderDelete);
  actions_.reminderDuplicate = make("actReminderDuplicate", "D&uplicate", "Duplicate",
                                    QKeySequence("Ctrl+U"), &MainWindow::reminderDuplicate);
  actions_.reminderTest =
      make("actReminderTest", "&Test", {}, QKeySequence("Ctrl+T"), &MainWindow::reminderTest);
  actions_.alertsGoTo =
      make("actAlertsGoTo", "&Go to Alerts", {}, QKeySequence("Ctrl+G"), &MainWindow::alertsGoTo);
  actions_.alertsCloseAll =
      make("actAlertsCloseAll", "C&lose All Alerts", {}, {}, &MainWindow::alertsCloseAll);
  actions_.systemEnable =
      make("actSystemEnable", "&Enable Reminders", {}, {}, &MainWindow::systemEnable);
  actions_.systemEnable->setCheckable(true);
  actions_.systemEnable->setChecked(true);
  actions_.systemOptions = make("actSystemOptions", "&Options", {}, {}, &MainWindow::systemOptions);
  actions_.systemUpdates =
      make("actSystemUpdates", "&Check For Updates", {}, {}, &MainWindow::systemUpdates);
  actions_.helpHelp =
      make("actHelpHelp", "&Help", "Help", QKeySequence("F1"), &MainWindow::helpHelp);
  actions_.helpAbout = make("actHelpAbout", "&About", {}, {}, &MainWindow::helpAbout);
  actions_.popupShow = new QAction("Show Program", this);
  actions_.popupShow->setObjectName("actPopupShow");
  connect(actions_.popupShow, &QAction::triggered, this, &MainWindow::popupShow);

  actions_.fileSave->setIcon(actionIcon(ActionImage::Save));
  actions_.fileShutDown->setIcon(actionIcon(ActionImage::ShutDown));
  actions_.reminderAdd->setIcon(actionIcon(ActionImage::Add));
  actions_.reminderDuplicate->setIcon(actionIcon(ActionImage::Duplicate));
  actions_.reminderDelete->setIcon(actionIcon(ActionImage::Delete));
  actions_.systemOptions->setIcon(actionIcon(ActionImage::Options));
  actions_.helpHelp->setIcon(actionIcon(ActionImage::Help));
}

void MainWindow::createMenus() {
  QMenuBar* bar = menuBar();
  bar->setObjectName("mnuMainMenu");
  bar->setFont(menuFont());
  bar->setFixedHeight(scaled(kMenuBarHeight));
  bar->setStyleSheet(kMenuStyleSheet);

  QMenu* file = bar->addMenu("&File");
  file->addAction(actions_.fileSave);
  file->addAction(actions_.fileClose);
  file->addSeparator();
  file->addAction(actions_.fileShutDown);

  QMenu* reminder = bar->addMenu("&Reminder");
  reminder->addAction(actions_.reminderAdd);
  reminder->addAction(actions_.reminderEdit);
  reminder->addAction(actions_.reminderDelete);
  reminder->addAction(actions_.reminderDuplicate);
  reminder->addSeparator();
  reminder->addAction(actions_.reminderTest);
  reminder->addAction(actions_.alertsGoTo);
  reminder->addAction(actions_.alertsCloseAll);

  QMenu* system = bar->addMenu("&System");
  system->addAction(actions_.systemEnable);
  system->addAction(actions_.systemOptions);
  system->addSeparator();
  system->addAction(actions_.systemUpdates);

  QMenu* help = bar->addMenu("&Help");
  help->addAction(actions_.helpHelp);
  help->addSeparator();
  help->addAction(actions_.helpAbout);
}

void MainWindow::createToolBar() {
  QToolBar* bar = addToolBar("Toolbar");
  bar->setObjectName("mnuToolBar");
  bar->setMovable(false);
  bar->setFloatable(false);
  bar->setFixedHeight(kToolBarHeight);
  bar->setIconSize(QSize(16, 16));
  bar->setToolButtonStyle(Qt::ToolButtonIconOnly);
  bar->toggleViewAction()->setVisible(false);
  bar->setContextMenuPolicy(Qt::PreventContextMenu);
  for (QAction* action : {actions_.fileSave, actions_.reminderAdd, actions_.reminderDelete,
                          actions_.reminderDuplicate, actions_.helpHelp, actions_.fileShutDown}) {
    bar->addAction(action);
    // The buttons take their turn in the Tab order, so the keyboard reaches them too.
    bar->widgetForAction(action)->setFocusPolicy(Qt::TabFocus);
  }
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
      [this] { return systemOptions_.autoCheckForUpdates; }, [this] { fileShutDown(); });
  if (options_.showSplash)
    showSplash();
  // Closed during the splash: the settings were never read, so nothing is written.
  if (guard_.isClosed())
    return;
  files_->reportDanglingLinks();
  readSettings();
  fillTrayPopupMenu();
  const bool remindersRead = files_->loadReminders();
  // The snoozed copies do not depend on the list, so they come back even when the
  // reminders file failed; a close during an error box has ended the start-up.
  if (systemOptions_.keepSnoozed && !guard_.isClosed())
    loadSnoozedFile();
  if (!remindersRead || guard_.isClosed())
    return;
  const DateTime start = clock_.now();
  if (systemOptions_.showMissed)
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
  if (systemOptions_.keepSnoozed)
    checker_.snoozeOpenAlerts(alerts_->openAlerts());
  guarded([this] { files_->saveSnoozed(); });
  model_->clearReminderList();
  checker_.dropSnoozed();
  // The list is gone by now, so the program ends even when the settings could not
  // be written: running on would let a later save write an empty list.
  guarded([this] { writeSettings(); });
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
  guarded([this] {
    auto reminder = std::make_shared<Reminder>(clock_.today());
    if (!prompts_->editReminder(this, *reminder))
      return;
    changeList([this, reminder] {
      const DateTime now = clock_.now();
      model_->appendReminder(std::make_unique<Reminder>(std::move(*reminder)));
      model_->refreshReminderList(now, clock_);
    });
  });
}

void MainWindow::reminderEdit() {
  guarded([this] {
    const Reminder* reminder = view_->selectedReminder();
    if (!reminder)
      return;
    // The dialog edits a copy: a pass or a change made outside may move or remove the
    // reminder while it is open.
    auto edited = std::make_shared<Reminder>(*reminder);
    if (!prompts_->editReminder(this, *edited))
      return;
    changeList([this, reminder, edited] {
      const int row = model_->rowOf(reminder);
      if (row < 0) {
        model_->appendReminder(std::make_unique<Reminder>(std::move(*edited)));
      } else {
        Reminder& original = *model_->reminderAt(row);
        edited->lastRun = original.lastRun;
        original = std::move(*edited);
      }
      model_->refreshReminderList(clock_.now(), clock_);
    });
  });
}

void MainWindow::reminderDelete() {
  guarded([this] {
    const Reminder* reminder = view_->selectedReminder();
    if (!reminder || !prompts_->confirm(this, "Are you sure you wish to delete " +
                                                  toShownText(reminder->name) + "?"))
      return;
    changeList([this, reminder] {
      // A check pass during the question may have moved the reminder to another row.
      const int row = model_->rowOf(reminder);
      if (row >= 0)
        model_->removeReminderRow(row);
    });
  });
}

void MainWindow::reminderDuplicate() {
  guarded([this] {
    const Reminder* reminder = view_->selectedReminder();
    if (!reminder)
      return;
    auto copy = std::make_shared<Reminder>(clock_.today());
    copy->copyFrom(*reminder);
    copy->lastRun = 0;
    changeList([this, copy] {
      const DateTime now = clock_.now();
      model_->appendReminder(std::make_unique<Reminder>(std::move(*copy)));
      model_->refreshReminderList(now, clock_);
    });
  });
}

void MainWindow::alertsGoTo() {
  alerts_->activateNewestAlert();
}

void MainWindow::alertsCloseAll() {
  alerts_->closeAllAlerts();
}

void MainWindow::reminderTest() {
  if (const Reminder* reminder = view_->selectedReminder())
    showReminderAlert(*reminder);
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

// A file that cannot be read leaves the defaults for this run (see DataFiles).
void MainWindow::readSettings() {
  if (const std::optional<Settings> settings = files_->readSettings())
    useSettings(*settings);
}

// Values changed in the file outside the program come back from the write.
void MainWindow::writeSettings() {
  const SysTray::MessageOptions& messages = sysTray_->messageOptions();
  useSettings(files_->writeSettings({systemOptions_.autoCheckForUpdates, messages.msgOnClose,
                                     messages.msgOnMinimize, systemOptions_.keepSnoozed,
                                     systemOptions_.showMissed}));
}

void MainWindow::useSettings(const Settings& settings) {
  systemOptions_ = {settings.autoCheckForUpdates, settings.keepSnoozed, settings.showMissed};
  files_->setKeepSnoozed(systemOptions_.keepSnoozed);
  sysTray_->messageOptions().msgOnClose = settings.onCloseMessage;
  sysTray_->messageOptions().msgOnMinimize = settings.onMinimizeMessage;
}

void MainWindow::fillTrayPopupMenu() {
  trayMenu_->addActionItem(actions_.popupShow);
  trayMenu_->addActionItem(actions_.systemEnable);
  trayMenu_->addActionItem(actions_.alertsGoTo);
  trayMenu_->addActionItem()->setText("-");
  trayMenu_->addActionItem(actions_.fileShutDown);
}

void MainWindow::startUpdater() {
  updates_->setCurrentVersion(fileVersion());
  updates_->checkAtStartup();
}

void MainWindow::systemOptions() {
  const bool keptSnoozed = systemOptions_.keepSnoozed;
  {
    SystemOptionsDialog dialog(systemOptions_, QCoreApplication::applicationFilePath(), this);
    dialog.exec();
  }
  if (isClosed())
    return;
  files_->setKeepSnoozed(systemOptions_.keepSnoozed);
  // Switched on: from now on Snoozed.dat holds the copies of this run, in place of
  // whatever an earlier run left there.
  if (systemOptions_.keepSnoozed && !keptSnoozed) {
    files_->followSnoozed(true);
    guarded([this] { files_->saveSnoozed(); });
  }
  guarded([this] { writeSettings(); });
}

void MainWindow::systemUpdates() {
  if (!isClosed())
    updates_->checkInteractively();
}

void MainWindow::helpAbout() {
  aboutBox_.about();
}

} // namespace zr
