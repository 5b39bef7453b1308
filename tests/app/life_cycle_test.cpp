// SPDX-License-Identifier: MIT

#include "app_fixture.h"
#include "platform/session_end.h"
#include "support/small_disk.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QLockFile>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <csignal>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace zr::test {
namespace {

// Acts once on the first modal window that opens (checked every 10 ms from the event
// loops that run meanwhile, the modal one's included), then waits for it to go: one
// still open two seconds after the action is closed by force and counted as lingering.
class ModalWatch {
public:
  explicit ModalWatch(std::function<void(QWidget*)> action) : action_(std::move(action)) {
    timer_.callOnTimeout([this] { tick(); });
    timer_.start(10);
  }

  QString opened; // class of the modal window acted on; empty when none opened
  bool lingered = false;

private:
  void tick() {
    QWidget* modal = QApplication::activeModalWidget();
    if (opened.isEmpty()) {
      if (modal && modal->isVisible()) {
        opened = modal->metaObject()->className();
        sinceAction_.start();
        action_(modal);
      }
      return;
    }
    if (!modal) {
      timer_.stop();
    } else if (sinceAction_.elapsed() > 2000) {
      lingered = true;
      if (auto* dialog = qobject_cast<QDialog*>(modal))
        dialog->done(QDialog::Rejected);
    }
  }

  std::function<void(QWidget*)> action_;
  QTimer timer_;
  QElapsedTimer sinceAction_;
};

// Collects what the program logs in its own categories.
class LogCapture {
public:
  LogCapture() {
    lines_ = &lines;
    previous_ = qInstallMessageHandler(
        [](QtMsgType, const QMessageLogContext& context, const QString& message) {
          if (QByteArray(context.category).startsWith("zrdorvel."))
            lines_->append(message);
        });
  }
  ~LogCapture() {
    qInstallMessageHandler(previous_);
    lines_ = nullptr;
  }
  QStringList lines;

private:
  static inline QStringList* lines_ = nullptr;
  QtMessageHandler previous_;
};

constexpr char kSeededSettings[] = "[System]\r\nAutoCheckForUpdates=0\r\n";

class LifeCycleTest : public AppFixture {
protected:
  void SetUp() override {
    QFile settings(path("ZRDorvel.ini"));
    ASSERT_TRUE(settings.open(QIODevice::WriteOnly));
    settings.write(kSeededSettings);
  }

  QByteArray settingsContent() const {
    QFile file(path("ZRDorvel.ini"));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }

  void writeBrokenRemindersFile() {
    QFile file(path("Reminders.dat"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("DorvelFile\r\n2\r\n1\r\n");
  }
};

// A termination signal while a modal box or dialog is open: the box closes, the close
// sequence runs and the program ends, with the settings written unless they were never
// read (the splash comes before them) or cannot be written.
class SignalDuringAModalBoxTest;
struct SignalCase {
  const char* name;
  std::function<void(SignalDuringAModalBoxTest&)> before; // before the start
  std::function<void(SignalDuringAModalBoxTest&)> open;   // after it: opens the box
  const char* modalClass;
  bool settingsWritten;
};

class SignalDuringAModalBoxTest : public LifeCycleTest,
                                  public ::testing::WithParamInterface<SignalCase> {
public:
  void breakRemindersFile() { writeBrokenRemindersFile(); }
  void withSplash() { showSplash = true; }
  void withAReminder() {
    writeReminders({makeReminder("Ten", ReminderType::Daily, clockTime(10))});
  }
  void selectFirst() { selectRows(0, 0); }
  void removeDataFolder() { ASSERT_TRUE(QDir(folder.path()).removeRecursively()); }
  MainWindow& win() { return *window; }
};

TEST_P(SignalDuringAModalBoxTest, EndsTheProgram) {
  const SignalCase& c = GetParam();
  SessionEndWatcher watcher;
  sessionEnd = &watcher;
  realDialogs = true;
  c.before(*this);
  ModalWatch watch([](QWidget*) { ::raise(SIGTERM); });
  start();
  c.open(*this);
  EXPECT_EQ(watch.opened, c.modalClass);
  EXPECT_FALSE(watch.lingered);
  EXPECT_TRUE(window->isClosed());
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
  EXPECT_TRUE(list().isEmpty());
  if (c.settingsWritten)
    EXPECT_TRUE(settingsContent().contains("OnMinimizeMessage=1")) << settingsContent().data();
  else
    EXPECT_FALSE(settingsContent().contains("OnMinimizeMessage")) << settingsContent().data();
}

using Test = SignalDuringAModalBoxTest;
const auto nothing = [](Test&) {};
const SignalCase kSignalCases[] = {
    {"StartUpErrorBox", [](Test& t) { t.breakRemindersFile(); }, nothing, "QMessageBox", true},
    {"Splash", [](Test& t) { t.withSplash(); }, nothing, "zr::AboutDialog", false},
    {"PropertiesDialog", nothing, [](Test& t) { t.win().reminderAdd(); }, "zr::PropertiesDialog",
     true},
    {"DeleteQuestion", [](Test& t) { t.withAReminder(); },
     [](Test& t) {
       t.selectFirst();
       t.win().reminderDelete();
     },
     "QMessageBox", true},
    {"Options", nothing, [](Test& t) { t.win().systemOptions(); }, "zr::SystemOptionsDialog", true},
    {"About", nothing, [](Test& t) { t.win().helpAbout(); }, "zr::AboutDialog", true},
    // "Shut Down" whose settings cannot be written (the data folder is gone): the
    // error box of the close, then the signal.
    {"SettingsErrorBoxAtTheClose", nothing,
     [](Test& t) {
       t.removeDataFolder();
       t.win().fileShutDown();
     },
     "QMessageBox", false},
};

INSTANTIATE_TEST_SUITE_P(Boxes, SignalDuringAModalBoxTest, ::testing::ValuesIn(kSignalCases),
                         [](const auto& info) { return std::string(info.param.name); });

// While the session ends nobody answers boxes: what the close meets goes to the log.
TEST_F(LifeCycleTest, ErrorsTheCloseMeetsWhileTheSessionEndsGoToTheLog) {
  SessionEndWatcher watcher;
  sessionEnd = &watcher;
  start();
  ASSERT_TRUE(QDir(folder.path()).removeRecursively());
  LogCapture log;
  ModalWatch watch([](QWidget*) { ::raise(SIGTERM); });
  window->systemOptions();
  EXPECT_TRUE(window->isClosed());
  EXPECT_TRUE(prompts.errors.empty());
  EXPECT_TRUE(log.lines.contains("Unable to write to " + path("ZRDorvel.ini") + ": File not found"))
      << log.lines.join('\n').toStdString();
}

// "Shut Down" (from the notification area's menu, say) while Edit's dialog holds a
// reminder of the list: the dialog ends cancelled before the list goes, so an OK
// pressed afterwards cannot write into a reminder that is gone.
TEST_F(LifeCycleTest, ShutDownWhileEditingCancelsTheDialogBeforeTheListGoes) {
  writeReminders({makeReminder("Ten", ReminderType::Daily, clockTime(10))});
  realDialogs = true;
  start();
  selectRows(0, 0);
  const QByteArray before = fileContent();
  ModalWatch watch([this](QWidget* modal) {
    const QPointer<QWidget> dialog = modal;
    window->fileShutDown();
    if (dialog && dialog->isVisible())
      dialog->findChild<QPushButton*>("okButton")->click();
  });
  window->reminderEdit();
  EXPECT_EQ(watch.opened, "zr::PropertiesDialog");
  EXPECT_TRUE(window->isClosed());
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
  EXPECT_EQ(fileContent(), before);
}

// What may stand where a data file belongs and is no file.
struct NotAFile {
  const char* what;
  std::function<void(const std::string&)> make;
  const char* reason;
};
const NotAFile kNotAFile[] = {
    {"named pipe", [](const std::string& p) { ASSERT_EQ(::mkfifo(p.c_str(), 0600), 0); },
     "it is a named pipe, not a file"},
    {"folder", [](const std::string& p) { ASSERT_EQ(::mkdir(p.c_str(), 0700), 0); },
     "it is a folder, not a file"},
    {"link to a device",
     [](const std::string& p) { ASSERT_EQ(::symlink("/dev/zero", p.c_str()), 0); },
     "it is a device, not a file"},
};

void removeWhateverIsAt(const QString& path) {
  QDir(path).removeRecursively();
  QFile::remove(path);
}

// A settings file that is there but cannot be read is not an empty file: the defaults
// hold for this run, the error is shown once, and the file is never written over.
TEST_F(LifeCycleTest, UnreadableSettingsFileKeepsTheDefaultsAndIsNeverWrittenOver) {
  // The defaults ask for an update check at start: it must not leave the machine.
  const QByteArray savedAddress = qgetenv("ZRDORVEL_UPDATE_INFO_URL");
  qputenv("ZRDORVEL_UPDATE_INFO_URL", "http://127.0.0.1:1/version.dat");
  for (const NotAFile& c : kNotAFile) {
    SCOPED_TRACE(c.what);
    window.reset();
    prompts.errors.clear();
    const QString settings = path("ZRDorvel.ini");
    removeWhateverIsAt(settings);
    c.make(QFile::encodeName(settings).toStdString());
    struct stat before {};
    ASSERT_EQ(::lstat(QFile::encodeName(settings).constData(), &before), 0);

    start();
    ASSERT_EQ(prompts.errors.size(), 1u);
    EXPECT_EQ(prompts.errors[0], "Unable to read " + settings + ": " + c.reason +
                                     "\nThe settings are at their defaults for this run, and "
                                     "the file is left as it is.");
    EXPECT_FALSE(window->dataFiles().settingsLoaded());
    EXPECT_TRUE(window->autoCheckForUpdates());
    QTimer::singleShot(0, [] {
      if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
        dialog->accept();
    });
    window->systemOptions();
    window->fileShutDown();
    EXPECT_EQ(prompts.errors.size(), 1u);
    struct stat after {};
    ASSERT_EQ(::lstat(QFile::encodeName(settings).constData(), &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino);
    EXPECT_EQ(after.st_mode, before.st_mode);
  }
  window.reset();
  qputenv("ZRDORVEL_UPDATE_INFO_URL", savedAddress);
}

// What stands in the place of the reminders file and is no file: reported with its
// path at start, moved aside whole, and the next save writes a new file there.
TEST_F(LifeCycleTest, RemindersFileThatIsNoFileIsReportedAndMovedAside) {
  for (const NotAFile& c : kNotAFile) {
    SCOPED_TRACE(c.what);
    window.reset();
    prompts.errors.clear();
    const QString reminders = path("Reminders.dat");
    const QString kept = reminders + ".unreadable-20240703-090000";
    removeWhateverIsAt(reminders);
    removeWhateverIsAt(kept);
    c.make(remindersPath());

    start();
    ASSERT_EQ(prompts.errors.size(), 1u);
    EXPECT_EQ(prompts.errors[0], "Unable to read " + reminders + ": " + c.reason +
                                     "\nThe unreadable file was kept as " + kept + ".");
    EXPECT_TRUE(list().isEmpty());
    prompts.onEdit = [](Reminder&) { return true; };
    window->reminderAdd();
    EXPECT_EQ(prompts.errors.size(), 1u);
    EXPECT_TRUE(QFileInfo(reminders).isFile());
    expectFileFollowsList();
  }
}

// With the disk full, each pass in which a reminder fires fails to save. One box at a
// time: passes while it is open go on checking and alerting, and log their failures.
TEST_F(LifeCycleTest, FailingSavesOfPassesShowOneBoxAtATime) {
  const SmallDisk disk(folder.path().toStdString(), 64 * 1024);
  if (!disk.mounted())
    GTEST_SKIP() << "cannot mount a small tmpfs here (needs root)";
  LifeCycleTest::SetUp(); // the settings, on the new disk
  writeReminders({makeReminder("Ten", ReminderType::Daily, clockTime(10)),
                  makeReminder("Eleven", ReminderType::Daily, clockTime(11)),
                  makeReminder("Twelve", ReminderType::Daily, clockTime(12))});
  start();
  ASSERT_TRUE(disk.fill());
  LogCapture log;
  const QString diskFull = "Unable to write to " + path("Reminders.dat") + ": Disk full";

  prompts.whileShowingError = [this](QWidget*) {
    clock.set(at(2024, 7, 3, 11, 0, 1));
    window->checkReminders();
  };
  clock.set(at(2024, 7, 3, 10, 0, 1));
  window->checkReminders();
  EXPECT_EQ(prompts.errors, std::vector<QString>{diskFull});
  EXPECT_EQ(log.lines, QStringList{diskFull});
  ASSERT_EQ(alerts.shown.size(), 2u);
  EXPECT_EQ(alerts.shown[1].name, "Eleven");
  EXPECT_TRUE(window->checkTimer().isActive());

  // The box is closed: the next failure gets one of its own.
  prompts.whileShowingError = [](QWidget*) {};
  clock.set(at(2024, 7, 3, 12, 0, 1));
  window->checkReminders();
  EXPECT_EQ(prompts.errors.size(), 2u);
  window.reset();
}

// A second start on the same data folder brings the first copy's window up and ends
// before it touches anything in the folder; one started hidden just ends.
TEST_F(LifeCycleTest, SecondStartOnTheFolderShowsTheFirstAndEnds) {
  start();
  ASSERT_FALSE(window->isVisible());
  ASSERT_TRUE(QDir().mkpath(path("Updates")));
  const QByteArray settings = settingsContent();

  const auto second = [this](std::vector<std::string> arguments) {
    return std::make_unique<MainWindow>(options(std::move(arguments)));
  };
  const std::unique_ptr<MainWindow> hidden = second({"-startup"});
  EXPECT_TRUE(hidden->isClosed());
  const std::unique_ptr<MainWindow> shown = second({});
  EXPECT_TRUE(shown->isClosed());
  EXPECT_TRUE(QTest::qWaitFor([this] { return window->isVisible(); }, 2000));
  EXPECT_FALSE(window->isClosed());
  EXPECT_TRUE(QFileInfo(path("Updates")).isDir());
  EXPECT_EQ(settingsContent(), settings);
  EXPECT_TRUE(prompts.errors.empty());
}

// The lock of a copy that was killed is taken over.
TEST_F(LifeCycleTest, LockOfAKilledCopyIsTakenOver) {
  const QString lockPath = path("ZRDorvel.lock");
  const pid_t child = ::fork();
  if (child == 0) {
    QLockFile lock(lockPath);
    ::_exit(lock.tryLock(0) ? 0 : 1); // ends without unlocking, as a killed copy does
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  ASSERT_TRUE(QFileInfo::exists(lockPath));
  start();
  EXPECT_FALSE(window->isClosed());
  EXPECT_TRUE(prompts.errors.empty());
}

// A copy that holds the folder but does not answer (hung, say): the new start says so
// and ends rather than open a second list.
TEST_F(LifeCycleTest, SecondStartBesideACopyThatDoesNotAnswerSaysSoAndEnds) {
  const QString lockPath = path("ZRDorvel.lock");
  int ready[2];
  ASSERT_EQ(::pipe(ready), 0);
  const pid_t child = ::fork();
  if (child == 0) {
    // Locked as a running copy locks it: flock and a record lock on the whole file.
    const int lock = ::open(QFile::encodeName(lockPath).constData(), O_RDWR | O_CREAT, 0644);
    struct flock whole {};
    whole.l_type = F_WRLCK;
    whole.l_whence = SEEK_SET;
    const char locked =
        ::flock(lock, LOCK_EX | LOCK_NB) == 0 && ::fcntl(lock, F_SETLK, &whole) == 0;
    [[maybe_unused]] const auto written = ::write(ready[1], &locked, 1);
    for (;;)
      ::pause();
  }
  const struct Reap { // the holder ends with the test, however it ends
    pid_t pid;
    int pipe[2];
    ~Reap() {
      ::kill(pid, SIGKILL);
      ::waitpid(pid, nullptr, 0);
      ::close(pipe[0]);
      ::close(pipe[1]);
    }
  } reap{child, {ready[0], ready[1]}};
  char locked = 0;
  ASSERT_EQ(::read(ready[0], &locked, 1), 1);
  ASSERT_EQ(locked, 1);
  start();
  EXPECT_TRUE(window->isClosed());
  EXPECT_EQ(prompts.errors,
            std::vector<QString>{QString("ZR Dorvel is already running on the data folder %1/ but "
                                         "does not answer. End that copy (process %2, which holds "
                                         "the lock file %3) before starting another one; a copy "
                                         "that was stopped can also be continued.")
                                     .arg(folder.path())
                                     .arg(child)
                                     .arg(lockPath)});
  EXPECT_EQ(settingsContent(), kSeededSettings);
}

// A save killed in the middle left its temporary file; the start removes it, and only it.
TEST_F(LifeCycleTest, StartRemovesTheLeftoversOfKilledSaves) {
  const QString leftover = path("Reminders.dat.zrdorvel-save-a1B2c3");
  const QString settingsLeftover = path("ZRDorvel.ini.zrdorvel-save-x9Y8z7");
  const QString snoozedLeftover = path("Snoozed.dat.zrdorvel-save-q1W2e3");
  const QString usersOwn = path("Reminders.dat.a1B2c3");
  for (const QString& name : {leftover, settingsLeftover, snoozedLeftover, usersOwn}) {
    QFile file(name);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("x");
    file.close();
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    file.setFileTime(QDateTime::currentDateTime().addSecs(-60), QFileDevice::FileModificationTime);
  }
  start();
  EXPECT_FALSE(QFileInfo::exists(leftover));
  EXPECT_FALSE(QFileInfo::exists(settingsLeftover));
  EXPECT_FALSE(QFileInfo::exists(snoozedLeftover));
  EXPECT_TRUE(QFileInfo::exists(usersOwn));
}

} // namespace
} // namespace zr::test
