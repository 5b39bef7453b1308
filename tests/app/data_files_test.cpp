// SPDX-License-Identifier: MIT

#include "app/data_files.h"
#include "app/reminder_table_model.h"
#include "core/reminder_checker.h"
#include "core/reminders_file.h"
#include "support/qt_test_support.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace zr::test {
namespace {

namespace fs = std::filesystem;

DateTime at(int year, int month, int day, int hour = 0, int minute = 0) {
  return encodeDateTime({year, month, day}, {hour, minute, 0, 0});
}

Reminder daily(const std::string& name, int hour = 9, const std::string& message = {}) {
  Reminder reminder(at(2024, 7, 1));
  reminder.name = name;
  reminder.reminderType = ReminderType::Daily;
  reminder.time = encodeTime({hour, 0, 0, 0});
  if (!message.empty())
    reminder.text = {message};
  return reminder;
}

// The data files of a temporary folder over a model and a checker of their own, no window.
class DataFilesTest : public ::testing::Test {
protected:
  QTemporaryDir folder;
  FixedClock clock{at(2024, 7, 3, 9, 30)};
  ReminderTableModel model{DateTimeSeparators{}};
  ReminderChecker checker{clock};
  std::vector<QString> reports;
  std::unique_ptr<DataFiles> files;

  void SetUp() override {
    files =
        std::make_unique<DataFiles>(clock, folder.path() + '/', RegionalSettings{}, model, checker,
                                    [this](const QString& text) { reports.push_back(text); });
  }

  std::string path(const char* name) const {
    return QFile::encodeName(folder.path() + '/' + name).toStdString();
  }
  std::string remindersPath() const { return path("Reminders.dat"); }

  static std::string fileOf(const std::vector<Reminder>& reminders) {
    std::vector<std::unique_ptr<Reminder>> owned;
    for (const Reminder& reminder : reminders)
      owned.push_back(std::make_unique<Reminder>(reminder));
    return formatReminders(owned);
  }
  // Writes the file as a sync tool does: a new file renamed over the old one.
  void renameOver(const std::string& target, const std::vector<Reminder>& reminders) {
    const std::string temporary = target + ".sync";
    writeInPlace(temporary, reminders);
    fs::rename(temporary, target);
  }
  static void writeInPlace(const std::string& target, const std::vector<Reminder>& reminders) {
    QFile file(QString::fromStdString(target));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(QByteArray::fromStdString(fileOf(reminders)));
  }

  static std::vector<std::string> sortedNames(const ReminderList& list) {
    std::vector<std::string> names;
    for (int row = 0; row < list.reminderCount(); ++row)
      names.push_back(list.reminderAt(row)->name);
    std::sort(names.begin(), names.end());
    return names;
  }
  std::vector<std::string> namesInFile() {
    ReminderList list;
    loadReminders(remindersPath(), list, {}, clock);
    return sortedNames(list);
  }
  std::vector<std::string> namesInList() { return sortedNames(model.list()); }

  void loadWith(const std::vector<Reminder>& reminders) {
    writeInPlace(remindersPath(), reminders);
    ASSERT_TRUE(files->loadReminders());
    model.refreshReminderList(clock.now(), clock);
  }

  std::string saveError() {
    try {
      files->saveReminders();
    } catch (const std::exception& error) {
      return error.what();
    }
    return {};
  }
};

using Names = std::vector<std::string>;

// A sync tool's rename-over and an editor's rewrite in place, each beside a change of
// the program's own: the save keeps both sides.
TEST_F(DataFilesTest, SaveMergesWhatChangedOutsideWithTheProgramsChanges) {
  loadWith({daily("Alpha"), daily("Beta")});
  model.appendReminder(std::make_unique<Reminder>(daily("Added here")));
  renameOver(remindersPath(), {daily("Alpha"), daily("Beta"), daily("Added by sync")});
  files->saveReminders();
  EXPECT_EQ(namesInFile(), (Names{"Added by sync", "Added here", "Alpha", "Beta"}));
  EXPECT_EQ(namesInList(), namesInFile());

  // Removed outside, and a message changed in place: the outside version is taken.
  writeInPlace(remindersPath(),
               {daily("Alpha", 9, "new message"), daily("Added here"), daily("Added by sync")});
  files->saveReminders();
  EXPECT_EQ(namesInFile(), (Names{"Added by sync", "Added here", "Alpha"}));
  EXPECT_EQ(namesInList(), namesInFile());
  for (int row = 0; row < model.list().reminderCount(); ++row) {
    if (model.list().reminderAt(row)->name == "Alpha") {
      EXPECT_EQ(model.list().reminderAt(row)->text, std::vector<std::string>{"new message"});
    }
  }
  EXPECT_TRUE(reports.empty());
}

// The same reminder changed on both sides: both versions stay, and the user hears of it
// once, after the save.
TEST_F(DataFilesTest, AReminderChangedOnBothSidesIsKeptTwiceAndSaidOnce) {
  loadWith({daily("Tea", 10)});
  model.listInPlace().reminderAt(0)->time = encodeTime({11, 0, 0, 0});
  renameOver(remindersPath(), {daily("Tea", 12)});
  files->saveReminders();
  files->saveReminders();
  EXPECT_EQ(namesInFile(), (Names{"Tea", "Tea"}));
  EXPECT_TRUE(reports.empty()); // not while the save holds the list
  QCoreApplication::processEvents();
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_TRUE(reports[0].startsWith("Tea was changed both here and in " +
                                    QString::fromStdString(remindersPath())))
      << reports[0].toStdString();
}

#ifndef _WIN32 // a named pipe: Linux file semantics
// Whatever stands at the path and cannot be read now is never written over: the save
// says why and waits, and goes ahead, merging, once the file reads again.
TEST_F(DataFilesTest, AFileThatCannotBeReadNowIsNeverWrittenOverUntilItCan) {
  loadWith({daily("Alpha")});
  model.appendReminder(std::make_unique<Reminder>(daily("Added here")));

  fs::remove(remindersPath());
  ASSERT_EQ(::mkfifo(remindersPath().c_str(), 0600), 0);
  std::string error = saveError();
  EXPECT_NE(error.find("it is a named pipe, not a file"), std::string::npos) << error;
  EXPECT_NE(error.find("nothing is saved over it"), std::string::npos) << error;
  EXPECT_TRUE(fs::is_fifo(remindersPath()));

  fs::remove(remindersPath());
  writeInPlace(remindersPath(), {daily("Alpha"), daily("Half")});
  QFile::resize(QString::fromStdString(remindersPath()), 40); // cut in the middle of a record
  error = saveError();
  EXPECT_NE(error.find("does not read as a reminders file"), std::string::npos) << error;
  EXPECT_EQ(fs::file_size(remindersPath()), 40u);

  // The watch finds the file whole again and saves what waited.
  renameOver(remindersPath(), {daily("Alpha"), daily("Whole")});
  files->takeInOutsideChanges();
  EXPECT_EQ(namesInFile(), (Names{"Added here", "Alpha", "Whole"}));
}
#endif

// A merge that comes after a reminder's moment but before the pass that fires it leaves
// it due: the list is refreshed from the last pass, not from now.
TEST_F(DataFilesTest, AMergeBeforeThePassKeepsWhatCameDue) {
  Reminder soon = daily("Soon");
  soon.time = encodeTime({9, 30, 0, 0});
  clock.set(at(2024, 7, 3, 9, 29));
  loadWith({soon});
  EXPECT_TRUE(checker.check(model.listInPlace(), true).due.empty());
  clock.set(at(2024, 7, 3, 9, 31));
  renameOver(remindersPath(), {soon, daily("Added by sync")});
  files->saveReminders();
  const CheckPass pass = checker.check(model.listInPlace(), true);
  ASSERT_EQ(pass.due.size(), 1u);
  EXPECT_EQ(pass.due[0]->name, "Soon");
}

// A file removed outside is written again at the next save; nothing of the list is lost.
TEST_F(DataFilesTest, AFileDeletedOutsideIsWrittenAgainWhole) {
  loadWith({daily("Alpha"), daily("Beta")});
  fs::remove(remindersPath());
  files->saveReminders();
  EXPECT_EQ(namesInFile(), (Names{"Alpha", "Beta"}));
}

// The watch on the files and their folder tells of a rename-over, and the change joins
// the list without a save.
TEST_F(DataFilesTest, TheWatchBringsOutsideChangesIntoTheList) {
  ASSERT_TRUE(files->claimFolder(false));
  loadWith({daily("Alpha")});
  QSignalSpy changed(files.get(), &DataFiles::changedOutside);
  renameOver(remindersPath(), {daily("Alpha"), daily("Synced")});
  ASSERT_TRUE(changed.wait(5000));
  files->takeInOutsideChanges();
  EXPECT_EQ(namesInList(), (Names{"Alpha", "Synced"}));

  writeInPlace(remindersPath(), {daily("Synced")});
  ASSERT_TRUE(changed.wait(5000));
  files->takeInOutsideChanges();
  EXPECT_EQ(namesInList(), (Names{"Synced"}));
}

// Snoozed copies snoozed in another copy's file, or taken out of it, follow at the next save.
TEST_F(DataFilesTest, SnoozedCopiesChangedOutsideAreMerged) {
  files->setKeepSnoozed(true);
  files->followSnoozed(false);
  Reminder mine = daily("Mine");
  mine.nextScheduled = at(2024, 7, 3, 9, 45);
  checker.restoreSnoozed({});
  checker.snooze(std::make_unique<Reminder>(mine), 15);
  files->saveSnoozed();
  const std::vector<Reminder> kept = {*checker.snoozed()[0]};
  Reminder theirs = daily("Theirs");
  theirs.nextScheduled = at(2024, 7, 3, 10);
  renameOver(path("Snoozed.dat"), {kept[0], theirs});
  checker.snooze(std::make_unique<Reminder>(daily("Second")), 5);
  files->saveSnoozed();
  std::vector<std::string> names;
  for (const std::unique_ptr<Reminder>& copy : checker.snoozed())
    names.push_back(copy->name);
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (Names{"Mine", "Second", "Theirs"}));
}

// Values changed in ZRDorvel.ini outside win over the ones the user left alone; the
// user's own changes of this run win over the file's.
TEST_F(DataFilesTest, SettingsChangedOutsideWinOverValuesTheUserLeftAlone) {
  const QString ini = folder.path() + "/ZRDorvel.ini";
  QFile file(ini);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write("[System]\r\nAutoCheckForUpdates=1\r\nOnCloseMessage=1\r\nOnMinimizeMessage=1\r\n");
  file.close();
  const std::optional<Settings> read = files->readSettings();
  ASSERT_TRUE(read);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write("[System]\r\nAutoCheckForUpdates=1\r\nOnCloseMessage=0\r\nOnMinimizeMessage=0\r\n"
             "; edited by hand\r\n");
  file.close();

  Settings ours = *read;
  ours.autoCheckForUpdates = false; // changed by the user in this run
  ours.onMinimizeMessage = true;    // as read: left alone
  const Settings written = files->writeSettings(ours);
  EXPECT_FALSE(written.autoCheckForUpdates);
  EXPECT_FALSE(written.onCloseMessage);
  EXPECT_FALSE(written.onMinimizeMessage);
  const Settings inFile = readSettings(ini);
  EXPECT_FALSE(inFile.autoCheckForUpdates);
  EXPECT_FALSE(inFile.onCloseMessage);
  EXPECT_FALSE(inFile.onMinimizeMessage);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_TRUE(file.readAll().contains("; edited by hand"));
}

#ifndef _WIN32 // symbolic links: Linux file semantics
// A data file that is a link into a folder not filled yet: the start names the link and
// its target, and the save creates the target through the link, which stays.
TEST_F(DataFilesTest, ADanglingLinkIsNamedAndWrittenThrough) {
  const std::string target = path("sync") + "/Reminders.dat";
  fs::create_directory(path("sync"));
  fs::create_symlink(target, remindersPath());
  files->reportDanglingLinks();
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_EQ(reports[0], QString::fromStdString(remindersPath()) + " is a link to " +
                            QString::fromStdString(target) +
                            ", where there is no file yet. ZR Dorvel starts without it and "
                            "creates " +
                            QString::fromStdString(target) +
                            " when it first saves there; the link stays.");
  ASSERT_TRUE(files->loadReminders());
  model.appendReminder(std::make_unique<Reminder>(daily("Alpha")));
  files->saveReminders();
  EXPECT_TRUE(fs::is_symlink(remindersPath()));
  EXPECT_EQ(namesInFile(), (Names{"Alpha"}));

  // Where the target's folder is missing too, the save fails and leaves the link.
  fs::remove(remindersPath());
  fs::create_symlink(path("missing") + "/Reminders.dat", remindersPath());
  files->reportDanglingLinks();
  EXPECT_TRUE(reports.back().endsWith("Its folder does not exist either, so nothing is saved "
                                      "there until it does; the link stays."));
  EXPECT_NE(saveError().find("whose folder does not exist"), std::string::npos);
  EXPECT_TRUE(fs::is_symlink(remindersPath()));
}
#endif

} // namespace
} // namespace zr::test
