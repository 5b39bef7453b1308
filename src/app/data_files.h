// SPDX-License-Identifier: MIT

#pragma once

#include "app/settings.h"
#include "core/data_file.h"
#include "core/date_time.h"
#include "core/date_time_text.h"
#include "core/reminder.h"

#include <QObject>
#include <QString>
#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

class QFileSystemWatcher;
class QTimer;

namespace zr {

class AlertPresenter;
class ReminderChecker;
class ReminderTableModel;
class SingleInstance;

// The program's files in its data folder and their whole life: the claim of the
// folder against a second copy, the reminders file loaded into the list and saved
// from it, the snoozed copies kept in Snoozed.dat, the settings file, the
// reminders missed while the program was off, and the keeping aside of a file that
// could not be loaded. The main window calls it at start, after every change and
// at close; a test drives it with a model and a checker of its own.
//
// Files change outside the program (a sync tool renames a new copy over one, an
// editor rewrites it): every save first looks at the file again and merges what
// changed outside into the list (mergeReminders), and a watch on the files and
// their folders does the same as soon as they change. A file that changed and
// cannot be read now is never written over; the save waits until it can be read.
class DataFiles final : public QObject {
  Q_OBJECT

public:
  // Errors it cannot throw to a caller (a file that failed to load) go to `report`.
  using Report = std::function<void(const QString&)>;

  DataFiles(const Clock& clock, QString dataFolder, RegionalSettings regional,
            ReminderTableModel& model, ReminderChecker& checker, Report report,
            QObject* parent = nullptr);
  ~DataFiles() override;

  const QString& dataFolder() const { return dataFolder_; }
  QString remindersFile() const { return dataFolder_ + "Reminders.dat"; }
  QString settingsFile() const { return dataFolder_ + "ZRDorvel.ini"; }
  QString snoozedFile() const { return dataFolder_ + "Snoozed.dat"; }

  // Claims the data folder for this copy; false when another copy holds it (said
  // through `report` when that copy does not answer). With `askToShow` the other
  // copy is asked to show its window.
  bool claimFolder(bool askToShow);
  // Removes what saves of a copy killed before `before` left beside the files.
  void removeLeftoverSaves(std::chrono::system_clock::time_point before);

  // The settings, or nothing when the file is there but cannot be read: the
  // defaults then hold for this run, reported, and the file is never written.
  std::optional<Settings> readSettings();
  bool settingsLoaded() const { return settingsLoaded_; }
  // Writes the settings when they were read at start; throws the write's error.
  // A value changed outside since the last read or write wins over one the
  // program did not change: the settings as written come back.
  Settings writeSettings(const Settings& settings);

  // Loads Reminders.dat into the model's list; false, reported and with the file
  // kept aside, when it could not be read whole.
  bool loadReminders();
  // Writes the list to Reminders.dat, after merging what changed in the file
  // outside the program; throws the write's error, or why the file cannot be
  // merged now (nothing is written over it then).
  void saveReminders();
  // Merges what changed outside in the files into the list and the snoozed
  // copies, and saves what could not be saved before. Throws as the saves do.
  void takeInOutsideChanges();
  // Says, naming the link and its target, which data files are symbolic links to
  // nothing yet; the saves create the targets.
  void reportDanglingLinks();

  // With `keep`, Snoozed.dat follows the snoozed copies: it is read at start (see
  // loadSnoozed) or from the moment keeping is switched on, and written whenever
  // the copies change.
  void setKeepSnoozed(bool keep);
  // The copies kept at the last close; an unreadable file is reported and kept aside.
  std::vector<std::unique_ptr<Reminder>> loadSnoozed();
  // Snoozed.dat now holds the copies of this run: it is written from here on. With
  // `replacing` (keeping was switched on), what an earlier run left there is not
  // merged but replaced.
  void followSnoozed(bool replacing);
  // Writes the checker's snoozed copies while they are kept; throws the write's error.
  void saveSnoozed();

  // The saves of a check pass: the list when a reminder fired, the snoozed copies
  // when some came due. Both are tried; the error texts come back, one a line.
  QString saveAfterPass(bool list, bool snoozed);

  // Alerts once each reminder that came due while the program was not running and
  // saves the list, so the next start does not find them again.
  void alertMissed(DateTime start, AlertPresenter& alerts, const DateTimeSeparators& separators);

signals:
  // A later start of the program asked this copy to show its window.
  void showRequested();
  // A data file or its folder changed; takeInOutsideChanges takes it in.
  void changedOutside();

private:
  // The merge of the reminders file as it is now into the list; false when there
  // was nothing to merge.
  void mergeReminders(const DataFile::Outside& outside);
  void mergeSnoozed(const DataFile::Outside& outside);
  // The file as it is now; throws, saying why nothing is written over it, when it
  // changed and cannot be read, or when a refused file still cannot be read.
  DataFile::Outside lookOutside(DataFile& file);
  // The records of a content, read as the reminders file is; throws with the path.
  std::vector<Reminder> records(const DataFile& file, std::string_view content) const;
  // What the file held at the last read or write, and what it holds now. What it holds
  // now must read; a former content that does not read counts as empty.
  std::pair<std::vector<Reminder>, std::vector<Reminder>>
  baseAndOutside(const DataFile& file, const DataFile::Outside& outside) const;
  // Says once, after the work under way, which reminders were changed on both sides.
  void noteBothKept(const std::vector<std::string>& names, const DataFile& file);
  void watch();
  // Reports the file that failed to load and keeps it aside.
  void keepUnreadable(DataFile& file, QString message, bool contentReadable);

  const Clock& clock_;
  QString dataFolder_;
  RegionalSettings regional_;
  ReminderTableModel& model_;
  ReminderChecker& checker_;
  Report report_;
  SingleInstance* instance_ = nullptr;
  DataFile reminders_;
  DataFile snoozed_;
  bool settingsLoaded_ = false;
  Settings settingsAsFiled_; // the settings as last read or written
  // A save failed: the next look at the files saves again.
  bool remindersUnsaved_ = false;
  bool snoozedUnsaved_ = false;
  QFileSystemWatcher* watcher_;
  QTimer* settle_; // one look after a burst of changes
  bool keepSnoozed_ = false;
  // Snoozed.dat follows the snoozed copies: it was read at start, or keeping them
  // was switched on since. Until then it is neither read nor written.
  bool snoozedInUse_ = false;
};

} // namespace zr
