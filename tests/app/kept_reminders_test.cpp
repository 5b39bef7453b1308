// SPDX-License-Identifier: MIT

#include "app_fixture.h"
#include "support/warning_catcher.h"

#include <QApplication>
#include <QCheckBox>
#include <QFileInfo>
#include <QPushButton>
#include <QTimer>
#include <sys/stat.h>

namespace zr::test {
namespace {

// Reminders that must not slip through a restart: snoozed copies kept in Snoozed.dat,
// reminders that came due while the program was off, and the passes after a wake-up.
class KeptRemindersTest : public AppFixture {
protected:
  // The settings file, with no update check and the keys given.
  void useSettings(const QByteArray& keys) {
    QFile settings(path("ZRDorvel.ini"));
    ASSERT_TRUE(settings.open(QIODevice::WriteOnly));
    settings.write("[System]\r\nAutoCheckForUpdates=0\r\n" + keys);
  }

  QString snoozedPath() const { return path("Snoozed.dat"); }
  QByteArray snoozedContent() const {
    QFile file(snoozedPath());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }
  std::vector<std::unique_ptr<Reminder>> snoozedInFile() {
    std::vector<std::unique_ptr<Reminder>> copies;
    loadReminders(QFile::encodeName(snoozedPath()).toStdString(), copies, {}, clock);
    return copies;
  }
  void writeSnoozed(const std::vector<Reminder>& copies) {
    std::vector<std::unique_ptr<Reminder>> owned;
    for (const Reminder& copy : copies)
      owned.push_back(std::make_unique<Reminder>(copy));
    QFile file(snoozedPath());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray::fromStdString(formatReminders(owned)));
  }

  // Tests the first reminder and closes its alert with that snooze time.
  void snoozeFirst(int minutes) {
    selectRows(0, 0);
    window->reminderTest();
    ASSERT_FALSE(alerts.shown.empty());
    window->reminderClose(alerts.closeLatest(), minutes);
  }

  // Reminders as the last save of a pass left them: next moment and last run.
  static Reminder stored(const std::string& name, ReminderType type, DateTime timeOfDay,
                         DateTime nextScheduled, DateTime lastRun = 0) {
    Reminder reminder = makeReminder(name, type, timeOfDay, wholeDays(nextScheduled));
    reminder.nextScheduled = nextScheduled;
    reminder.lastRun = lastRun;
    return reminder;
  }
};

TEST_F(KeptRemindersTest, SnoozedCopiesFollowTheirFileAndComeBackAfterARestart) {
  useSettings("KeepSnoozed=1\r\n");
  writeReminders({makeReminder("Stretch", ReminderType::Daily, clockTime(10))});
  start();
  snoozeFirst(0);
  EXPECT_FALSE(QFileInfo::exists(snoozedPath())); // nothing to keep yet

  snoozeFirst(15);
  std::vector<std::unique_ptr<Reminder>> inFile = snoozedInFile();
  ASSERT_EQ(inFile.size(), 1u);
  EXPECT_EQ(inFile[0]->name, "Stretch");
  EXPECT_NEAR(inFile[0]->nextScheduled, at(2024, 7, 3, 9, 15), 1e-9);
  EXPECT_EQ(snoozedContent().toStdString(), formatReminders(window->snoozedReminders()));

  clock.set(at(2024, 7, 3, 9, 15));
  window->checkReminders();
  EXPECT_EQ(alerts.shown.size(), 3u);
  EXPECT_TRUE(snoozedInFile().empty()); // it came, so it is no longer kept
  window->reminderClose(alerts.closeLatest(), 0);

  snoozeFirst(30);
  const QByteArray beforeClose = snoozedContent();
  window->fileShutDown();
  EXPECT_EQ(snoozedContent(), beforeClose);
  ASSERT_EQ(snoozedInFile().size(), 1u);

  // Started again after the snooze ended: the copy comes at the first pass.
  clock.set(at(2024, 7, 3, 9, 50));
  alerts.shown.clear();
  start();
  ASSERT_EQ(window->snoozedReminders().size(), 1u);
  EXPECT_NEAR(window->snoozedReminders()[0]->nextScheduled, at(2024, 7, 3, 9, 45, 0), 1e-9);
  EXPECT_TRUE(alerts.shown.empty());
  clock.advance(5.0 / 86400);
  window->checkReminders();
  ASSERT_EQ(alerts.shown.size(), 1u);
  EXPECT_EQ(alerts.shown[0].name, "Stretch");
  EXPECT_TRUE(snoozedInFile().empty());
}

// Off, as it is unless the user turns it on: the file is neither read nor written.
TEST_F(KeptRemindersTest, WithKeepingOffSnoozedDatIsLeftAlone) {
  useSettings("");
  writeReminders({makeReminder("Stretch", ReminderType::Daily, clockTime(10))});
  start();
  snoozeFirst(5);
  window->fileShutDown();
  EXPECT_FALSE(QFileInfo::exists(snoozedPath()));

  writeSnoozed(
      {stored("Left by an earlier run", ReminderType::Daily, clockTime(8), at(2024, 7, 3, 8, 5))});
  const QByteArray before = snoozedContent();
  start();
  EXPECT_TRUE(window->snoozedReminders().empty());
  snoozeFirst(5);
  clock.advance(5 * kOneMinute);
  window->checkReminders();
  window->fileShutDown();
  EXPECT_EQ(snoozedContent(), before);
}

// A termination signal or the end of the session closes like Shut Down: the copies are
// written first, and a failure to write them goes to the log, not to a box.
TEST_F(KeptRemindersTest, TheEndOfTheSessionWritesTheCopiesOrLogsWhyNot) {
  useSettings("KeepSnoozed=1\r\n");
  writeReminders({makeReminder("Stretch", ReminderType::Daily, clockTime(10))});
  start();
  snoozeFirst(15);
  ASSERT_TRUE(QFile::remove(snoozedPath()));
  window->endSession();
  EXPECT_TRUE(window->isClosed());
  EXPECT_EQ(snoozedInFile().size(), 1u);

  start();
  snoozeFirst(20);
  ASSERT_TRUE(QFile::remove(snoozedPath()));
  ASSERT_TRUE(QDir().mkdir(snoozedPath()));
  WarningCatcher warnings;
  window->endSession();
  EXPECT_TRUE(window->isClosed());
  EXPECT_TRUE(prompts.errors.empty());
  const QStringList logged = warnings.take("zrdorvel.app");
  ASSERT_EQ(logged.size(), 1);
  // A folder in its place is never written over: it cannot be read to merge with.
  EXPECT_TRUE(logged[0].startsWith("zrdorvel.app: Unable to read " + snoozedPath() +
                                   ": it is a folder, not a file"))
      << logged[0].toStdString();
  // The rest of the close went on.
  EXPECT_TRUE(list().isEmpty());
  EXPECT_TRUE(window->snoozedReminders().empty());
}

// A Snoozed.dat that cannot be read never stops the start: the error names the file,
// the file is kept aside, the copies read before the damage come back and the next
// snooze writes a new file in its place.
TEST_F(KeptRemindersTest, UnreadableSnoozedDatIsKeptAsideAndTheStartGoesOn) {
  const QString kept = snoozedPath() + ".unreadable-20240703-090000";
  const struct {
    const char* what;
    std::function<void()> make;
    QString error;
    std::size_t copiesBack;
  } cases[] = {
      {"damaged after its first copy",
       [this] {
         writeSnoozed({stored("Kept", ReminderType::Daily, clockTime(8), at(2024, 7, 3, 9, 5))});
         QFile file(snoozedPath());
         ASSERT_TRUE(file.open(QIODevice::ReadWrite));
         QByteArray content = file.readAll();
         content.replace("\r\n1\r\n", "\r\n2\r\n"); // promises a second copy
         ASSERT_TRUE(file.seek(0));
         file.write(content);
       },
       "Error in " + snoozedPath() + ", line 18, reminder 2: '' is not a valid integer value", 1},
      {"a folder", [this] { ASSERT_TRUE(QDir().mkdir(snoozedPath())); },
       "Unable to read " + snoozedPath() + ": it is a folder, not a file", 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    window.reset();
    prompts.errors.clear();
    for (const QString& name : {snoozedPath(), kept}) {
      QDir(name).removeRecursively();
      QFile::remove(name);
    }
    useSettings("KeepSnoozed=1\r\n");
    writeReminders({makeReminder("Stretch", ReminderType::Daily, clockTime(10))});
    c.make();
    start();
    ASSERT_EQ(prompts.errors.size(), 1u);
    EXPECT_EQ(prompts.errors[0], c.error + "\nThe unreadable file was kept as " + kept + ".");
    EXPECT_TRUE(QFileInfo::exists(kept));
    EXPECT_EQ(window->snoozedReminders().size(), c.copiesBack);
    EXPECT_EQ(model().data(model().index(0, 2), Qt::DisplayRole), "07/03/2024 10:00:00 am");
    EXPECT_TRUE(window->checkTimer().isActive());

    snoozeFirst(5);
    EXPECT_TRUE(QFileInfo(snoozedPath()).isFile());
    EXPECT_EQ(snoozedInFile().size(), c.copiesBack + 1);
    EXPECT_EQ(prompts.errors.size(), 1u);
  }
}

// The copies do not depend on the list: they come back even when the reminders cannot.
TEST_F(KeptRemindersTest, CopiesComeBackWhenTheRemindersFileFails) {
  useSettings("KeepSnoozed=1\r\n");
  writeSnoozed({stored("Kept", ReminderType::Daily, clockTime(8), at(2024, 7, 3, 9, 5))});
  QFile reminders(path("Reminders.dat"));
  ASSERT_TRUE(reminders.open(QIODevice::WriteOnly));
  reminders.write("DorvelFile\r\n2\r\n1\r\n");
  reminders.close();
  start();
  EXPECT_EQ(prompts.errors.size(), 1u);
  ASSERT_EQ(window->snoozedReminders().size(), 1u);
  clock.set(at(2024, 7, 3, 9, 5));
  window->checkReminders();
  ASSERT_EQ(alerts.shown.size(), 1u);
  EXPECT_EQ(alerts.shown[0].name, "Kept");
}

// Switched on in System Options, keeping takes the copies of this run at once, in place
// of what an earlier run left; switched off, it leaves the file as it is.
TEST_F(KeptRemindersTest, SwitchingKeepingOnInTheOptionsWritesTheCopiesAtOnce) {
  QTemporaryDir config; // the logon entry the dialog applies goes here
  const QByteArray savedConfig = qgetenv("XDG_CONFIG_HOME");
  qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
  const auto setKeeping = [this](bool on) {
    QTimer::singleShot(0, [on] {
      QWidget* dialog = QApplication::activeModalWidget();
      ASSERT_NE(dialog, nullptr);
      for (QCheckBox* box : dialog->findChildren<QCheckBox*>())
        if (QString(box->text()).remove(u'&') == "Keep Snoozed Reminders When Program Closes")
          box->setChecked(on);
      for (QPushButton* button : dialog->findChildren<QPushButton*>())
        if (button->text() == "OK")
          button->click();
    });
    window->systemOptions();
  };
  useSettings("");
  writeSnoozed(
      {stored("Left by an earlier run", ReminderType::Daily, clockTime(8), at(2024, 7, 3, 8, 5))});
  writeReminders({makeReminder("Stretch", ReminderType::Daily, clockTime(10))});
  start();
  snoozeFirst(10);
  setKeeping(true);
  std::vector<std::unique_ptr<Reminder>> inFile = snoozedInFile();
  ASSERT_EQ(inFile.size(), 1u);
  EXPECT_EQ(inFile[0]->name, "Stretch");
  QFile settings(path("ZRDorvel.ini"));
  ASSERT_TRUE(settings.open(QIODevice::ReadOnly));
  EXPECT_TRUE(settings.readAll().contains("\r\nKeepSnoozed=1\r\n"));

  setKeeping(false);
  const QByteArray before = snoozedContent();
  snoozeFirst(20);
  window->fileShutDown();
  EXPECT_EQ(snoozedContent(), before);
  qputenv("XDG_CONFIG_HOME", savedConfig);
}

// An alert still on screen when the program ends (a log-out while it pops up) comes
// back at the next start when snoozed copies are kept: its copy is written with its
// snooze ending at the close. Alerts the user closed do not come back; with keeping
// off nothing is written.
TEST_F(KeptRemindersTest, AlertsStillOnScreenAtTheCloseComeBackAtTheNextStart) {
  for (const bool keep : {true, false}) {
    SCOPED_TRACE(keep ? "kept" : "not kept");
    QFile::remove(snoozedPath());
    useSettings(keep ? "KeepSnoozed=1\r\n" : "");
    clock.set(at(2024, 7, 3, 8, 59, 58));
    writeReminders({makeReminder("Stand-up", ReminderType::Daily, clockTime(9)),
                    makeReminder("Read", ReminderType::Daily, clockTime(9))});
    alerts.shown.clear();
    start();
    clock.set(at(2024, 7, 3, 9));
    window->checkReminders();
    ASSERT_EQ(alerts.onScreen.size(), 2u);
    window->reminderClose(alerts.closeLatest(), 0); // "Read" is closed, "Stand-up" stays
    clock.set(at(2024, 7, 3, 9, 20));
    window->endSession();
    ASSERT_TRUE(window->isClosed());
    if (!keep) {
      EXPECT_FALSE(QFileInfo::exists(snoozedPath()));
      continue;
    }
    const std::vector<std::unique_ptr<Reminder>> inFile = snoozedInFile();
    ASSERT_EQ(inFile.size(), 1u);
    EXPECT_EQ(inFile[0]->name, "Stand-up");
    EXPECT_NEAR(inFile[0]->nextScheduled, at(2024, 7, 3, 9, 20), 1e-9);
    EXPECT_NEAR(inFile[0]->lastRun, at(2024, 7, 3, 9), 1e-9);

    clock.set(at(2024, 7, 3, 11));
    alerts.shown.clear();
    start();
    window->checkReminders();
    ASSERT_EQ(alerts.shown.size(), 1u);
    EXPECT_EQ(alerts.shown[0].name, "Stand-up");
    window->checkReminders();
    EXPECT_EQ(alerts.shown.size(), 1u);
    window->fileShutDown();
  }
}

// Reminders that came due while the program was off alert once at start, however often
// they were missed, with the missed moment after the name; the list is saved with
// their new LastRun, so the next start does not show them again.
TEST_F(KeptRemindersTest, MissedRemindersAlertOnceAtStartAndNotAgain) {
  useSettings("ShowMissed=1\r\n");
  // The program last ran on Monday 1 July; it starts on Wednesday 3 July at 9:00.
  Reminder off = stored("Switched off", ReminderType::Daily, clockTime(8), at(2024, 7, 2, 8));
  off.enabled = false;
  writeReminders({stored("Daily", ReminderType::Daily, clockTime(8, 30), at(2024, 7, 1, 8, 30),
                         at(2024, 7, 1, 8, 30, 2)),
                  stored("Once", ReminderType::Once, clockTime(14), at(2024, 7, 2, 14)),
                  stored("Fired once", ReminderType::Once, clockTime(10), at(2024, 7, 1, 10),
                         at(2024, 7, 1, 10, 0, 3)),
                  stored("Later today", ReminderType::Daily, clockTime(10), at(2024, 7, 3, 10)),
                  off});
  start();
  ASSERT_EQ(alerts.shown.size(), 2u);
  EXPECT_EQ(alerts.shown[0].name, "Daily");
  EXPECT_EQ(alerts.lateNotes[0], "(missed 08:30:00 am)");
  EXPECT_EQ(alerts.shown[1].name, "Once");
  EXPECT_EQ(alerts.lateNotes[1], "(missed 07/02/2024 02:00:00 pm)");
  EXPECT_TRUE(prompts.errors.empty());

  // Then the refresh runs as it always does.
  EXPECT_EQ(names(), (std::vector<std::string>{"Later today", "Switched off", "Daily", "Once",
                                               "Fired once"}));
  EXPECT_EQ(list().reminderAt(2)->lastRun, clock.now());
  EXPECT_EQ(list().reminderAt(2)->nextScheduled, at(2024, 7, 4, 8, 30));
  EXPECT_FALSE(list().reminderAt(3)->enabled);
  EXPECT_EQ(list().reminderAt(3)->lastRun, clock.now());
  EXPECT_NEAR(list().reminderAt(4)->lastRun, at(2024, 7, 1, 10, 0, 3), 1e-9);
  const std::unique_ptr<ReminderList> saved = savedList();
  EXPECT_NEAR(saved->reminderAt(0)->lastRun, clock.now(), 1e-9);
  EXPECT_NEAR(saved->reminderAt(1)->lastRun, clock.now(), 1e-9);

  window->fileShutDown();
  clock.advance(kOneMinute);
  alerts.shown.clear();
  start();
  EXPECT_TRUE(alerts.shown.empty());
}

TEST_F(KeptRemindersTest, WithShowingMissedOffTheStartIsAsBefore) {
  useSettings("");
  writeReminders({stored("Daily", ReminderType::Daily, clockTime(8, 30), at(2024, 7, 1, 8, 30))});
  const QByteArray before = fileContent();
  start();
  EXPECT_TRUE(alerts.shown.empty());
  EXPECT_EQ(list().reminderAt(0)->nextScheduled, at(2024, 7, 4, 8, 30));
  EXPECT_EQ(fileContent(), before);
}

// After a suspend the clock jumps: the first pass fires what came due meanwhile, each
// reminder once however many of its occurrences passed, with one save, and the list
// moves on, so the next pass fires and saves nothing.
TEST_F(KeptRemindersTest, AWakeUpHoursLaterFiresEachDueReminderOnceWithOneSave) {
  Reminder weekly = makeReminder("Weekly", ReminderType::Weekly, clockTime(11, 30));
  weekly.daysOfWeek.set(4).set(5); // Wednesday and Thursday
  writeReminders(
      {makeReminder("Daily", ReminderType::Daily, clockTime(10)), weekly,
       makeReminder("Once", ReminderType::Once, clockTime(12), at(2024, 7, 3)),
       makeReminder("Tomorrow evening", ReminderType::Once, clockTime(20), at(2024, 7, 4))});
  start();
  const auto inode = [this] {
    struct stat info {};
    return ::stat(QFile::encodeName(path("Reminders.dat")).constData(), &info) == 0 ? info.st_ino
                                                                                    : 0;
  };
  const ino_t beforeSleep = inode();

  clock.set(at(2024, 7, 4, 15)); // 30 hours later
  window->checkReminders();
  ASSERT_EQ(alerts.shown.size(), 3u);
  EXPECT_EQ(alerts.shown[0].name, "Daily");
  EXPECT_EQ(alerts.shown[1].name, "Weekly");
  EXPECT_EQ(alerts.shown[2].name, "Once");
  const ino_t afterWakeUp = inode();
  EXPECT_NE(afterWakeUp, beforeSleep);
  const QByteArray saved = fileContent();
  EXPECT_EQ(savedList()->reminderAt(0)->lastRun, clock.now());
  EXPECT_EQ(list().reminderAt(0)->name, "Tomorrow evening");
  EXPECT_EQ(list().reminderAt(1)->nextScheduled, at(2024, 7, 5, 10));
  EXPECT_EQ(list().reminderAt(2)->nextScheduled, at(2024, 7, 10, 11, 30));

  clock.advance(5.0 / 86400);
  window->checkReminders();
  EXPECT_EQ(alerts.shown.size(), 3u);
  EXPECT_EQ(inode(), afterWakeUp);
  EXPECT_EQ(fileContent(), saved);
}

} // namespace
} // namespace zr::test
