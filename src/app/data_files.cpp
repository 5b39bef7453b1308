// SPDX-License-Identifier: MIT

#include "app/data_files.h"

#include "app/alert_presenter.h"
#include "app/logging.h"
#include "app/reminder_table_model.h"
#include "app/single_instance.h"
#include "core/error.h"
#include "core/file_io.h"
#include "core/missed_reminders.h"
#include "core/reminder_checker.h"
#include "core/reminder_merge.h"
#include "core/reminders_file.h"
#include "platform/stored_text.h"

#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QStringList>
#include <QTimer>
#include <exception>

namespace zr {
namespace {

// Sync tools and editors write in bursts (a temporary file, a rename, a touch):
// the files are looked at once things have settled.
constexpr int kSettleMilliseconds = 300;

// A value of the settings file: the one changed outside, unless the program changed it.
void takeOutside(bool& ours, bool asFiled, bool outside) {
  if (ours == asFiled)
    ours = outside;
}

} // namespace

DataFiles::DataFiles(const Clock& clock, QString dataFolder, RegionalSettings regional,
                     ReminderTableModel& model, ReminderChecker& checker, Report report,
                     QObject* parent)
    : QObject(parent), clock_(clock), dataFolder_(std::move(dataFolder)),
      regional_(std::move(regional)), model_(model), checker_(checker), report_(std::move(report)),
      reminders_(toNativePath(remindersFile())), snoozed_(toNativePath(snoozedFile())),
      watcher_(new QFileSystemWatcher(this)), settle_(new QTimer(this)) {
  settle_->setSingleShot(true);
  settle_->setInterval(kSettleMilliseconds);
  connect(settle_, &QTimer::timeout, this, &DataFiles::changedOutside);
  connect(watcher_, &QFileSystemWatcher::fileChanged, settle_, qOverload<>(&QTimer::start));
  connect(watcher_, &QFileSystemWatcher::directoryChanged, settle_, qOverload<>(&QTimer::start));
}

DataFiles::~DataFiles() = default;

bool DataFiles::claimFolder(bool askToShow) {
  instance_ = new SingleInstance(this);
  const SingleInstance::Claim claim = instance_->claim(dataFolder_, askToShow);
  if (claim == SingleInstance::Claim::First) {
    connect(instance_, &SingleInstance::showRequested, this, &DataFiles::showRequested);
    watch();
    return true;
  }
  if (claim == SingleInstance::Claim::OtherNotAnswering)
    report_(instance_->notAnsweringText());
  return false;
}

void DataFiles::removeLeftoverSaves(std::chrono::system_clock::time_point before) {
  for (const QString& file : {remindersFile(), settingsFile(), snoozedFile()})
    zr::removeLeftoverSaves(toNativePath(file), before);
}

std::optional<Settings> DataFiles::readSettings() {
  try {
    settingsAsFiled_ = zr::readSettings(settingsFile());
    settingsLoaded_ = true;
    return settingsAsFiled_;
  } catch (const std::exception& error) {
    report_(toShownText(error.what()) +
            "\nThe settings are at their defaults for this run, and the file is left as it is.");
    return std::nullopt;
  }
}

Settings DataFiles::writeSettings(const Settings& settings) {
  if (!settingsLoaded_)
    return settings;
  Settings merged = settings;
  Settings outside;
  try {
    outside = zr::readSettings(settingsFile());
  } catch (const UnreadableFileError& error) {
    throw Error(std::string(error.what()) +
                "\nThe settings are written once the file can be read again.");
  }
  takeOutside(merged.autoCheckForUpdates, settingsAsFiled_.autoCheckForUpdates,
              outside.autoCheckForUpdates);
  takeOutside(merged.onCloseMessage, settingsAsFiled_.onCloseMessage, outside.onCloseMessage);
  takeOutside(merged.onMinimizeMessage, settingsAsFiled_.onMinimizeMessage,
              outside.onMinimizeMessage);
  takeOutside(merged.keepSnoozed, settingsAsFiled_.keepSnoozed, outside.keepSnoozed);
  takeOutside(merged.showMissed, settingsAsFiled_.showMissed, outside.showMissed);
  zr::writeSettings(settingsFile(), merged);
  settingsAsFiled_ = merged;
  return merged;
}

bool DataFiles::loadReminders() {
  const std::string& path = reminders_.path();
  try {
    const std::optional<std::string> content = reminders_.read();
    if (content)
      model_.load(
          [&](ReminderList& list) { parseRemindersFile(path, *content, list, regional_, clock_); });
  } catch (const UnreadableFileError& error) {
    keepUnreadable(reminders_, toShownText(error.what()), false);
    return false;
  } catch (const std::exception& error) {
    keepUnreadable(reminders_, toShownText(error.what()), true);
    return false;
  }
  return true;
}

void DataFiles::saveReminders() {
  remindersUnsaved_ = true;
  const DataFile::Outside outside = lookOutside(reminders_);
  mergeReminders(outside);
  reminders_.replace(formatReminders(model_.list()));
  remindersUnsaved_ = false;
}

void DataFiles::takeInOutsideChanges() {
  watch();
  // A file that cannot be merged now was reported by the save that needed it; the
  // watch only notes it, as it may see many changes.
  const auto quietly = [](const std::function<void()>& work) {
    try {
      work();
    } catch (const std::exception& error) {
      qCWarning(lcApp).noquote() << toShownText(error.what());
    }
  };
  quietly([this] {
    mergeReminders(lookOutside(reminders_));
    if (remindersUnsaved_)
      saveReminders();
  });
  if (keepSnoozed_ && snoozedInUse_)
    quietly([this] {
      mergeSnoozed(lookOutside(snoozed_));
      if (snoozedUnsaved_)
        saveSnoozed();
    });
}

DataFile::Outside DataFiles::lookOutside(DataFile& file) {
  try {
    return file.lookOutside();
  } catch (const UnreadableFileError& error) {
    throw Error(std::string(error.what()) +
                "\nIt changed outside ZR Dorvel since it was last read and cannot be read now, "
                "so nothing is saved over it. The save is tried again whenever the file or the "
                "list changes, and goes ahead once the file can be read or is removed.");
  }
}

std::vector<Reminder> DataFiles::records(const DataFile& file, std::string_view content) const {
  ReminderList list;
  parseRemindersFile(file.path(), content, list, regional_, clock_);
  std::vector<Reminder> result;
  result.reserve(static_cast<std::size_t>(list.reminderCount()));
  for (int row = 0; row < list.reminderCount(); ++row)
    result.push_back(*list.reminderAt(row));
  return result;
}

std::pair<std::vector<Reminder>, std::vector<Reminder>>
DataFiles::baseAndOutside(const DataFile& file, const DataFile::Outside& outside) const {
  std::vector<Reminder> theirs;
  try {
    theirs = records(file, outside.content);
  } catch (const Error& error) {
    throw Error(std::string(error.what()) +
                "\nIt changed outside ZR Dorvel and does not read as a reminders file, so "
                "nothing is saved over it until it does or is removed.");
  }
  std::vector<Reminder> base;
  try {
    base = records(file, file.lastContent());
  } catch (const Error&) {
    // What was there before did not read either: everything in the file is new.
  }
  return {std::move(base), std::move(theirs)};
}

void DataFiles::mergeReminders(const DataFile::Outside& outside) {
  // A file removed outside is written again from the list at the next save.
  if (outside.state != DataFile::Outside::State::Changed)
    return;
  const auto [base, theirs] = baseAndOutside(reminders_, outside);
  const ReminderList& list = model_.list();
  std::vector<const Reminder*> ours;
  for (int row = 0; row < list.reminderCount(); ++row)
    ours.push_back(list.reminderAt(row));
  const MergePlan plan = zr::mergeReminders(base, ours, theirs, MatchFields::Schedule);
  for (const MergePlan::LaterRun& run : plan.laterRuns)
    model_.listInPlace().reminderAt(static_cast<int>(run.index))->lastRun = run.lastRun;
  for (auto index = plan.removed.rbegin(); index != plan.removed.rend(); ++index)
    model_.removeReminderRow(static_cast<int>(*index));
  for (const Reminder& reminder : plan.added)
    model_.appendReminder(std::make_unique<Reminder>(reminder));
  reminders_.accept(outside);
  if (!plan.changesNothing()) {
    // From the last pass: what came due since still fires at the next pass.
    const DateTime lastPass = checker_.lastRefreshAfter();
    model_.refreshReminderList(lastPass > 0 ? lastPass : clock_.now(), clock_);
  }
  noteBothKept(plan.changedOnBothSides, reminders_);
  if (!plan.changedOnBothSides.empty())
    remindersUnsaved_ = true;
}

void DataFiles::mergeSnoozed(const DataFile::Outside& outside) {
  if (outside.state != DataFile::Outside::State::Changed)
    return;
  const auto [base, theirs] = baseAndOutside(snoozed_, outside);
  std::vector<std::unique_ptr<Reminder>> copies = checker_.takeSnoozed();
  std::vector<const Reminder*> ours;
  for (const std::unique_ptr<Reminder>& copy : copies)
    ours.push_back(copy.get());
  const MergePlan plan = zr::mergeReminders(base, ours, theirs, MatchFields::All);
  for (auto index = plan.removed.rbegin(); index != plan.removed.rend(); ++index)
    copies.erase(copies.begin() + static_cast<std::ptrdiff_t>(*index));
  for (const Reminder& copy : plan.added)
    copies.push_back(std::make_unique<Reminder>(copy));
  checker_.restoreSnoozed(std::move(copies));
  snoozed_.accept(outside);
}

void DataFiles::noteBothKept(const std::vector<std::string>& names, const DataFile& file) {
  if (names.empty())
    return;
  QStringList shown;
  for (const std::string& name : names)
    shown.append(toShownText(name));
  const QString text = shown.join(", ") + (names.size() == 1 ? " was" : " were") +
                       " changed both here and in " + fromNativePath(file.path()) +
                       ". Both versions are kept: the one changed outside, and this program's "
                       "as a copy beside it.";
  // Said after the work under way, which may be a check pass holding the list.
  QTimer::singleShot(0, this, [this, text] { report_(text); });
}

void DataFiles::reportDanglingLinks() {
  for (const QString& file : {remindersFile(), settingsFile(), snoozedFile()}) {
    const std::optional<std::string> target = danglingLinkTarget(toNativePath(file));
    if (!target)
      continue;
    const QString shownTarget = fromNativePath(*target);
    const bool folderThere = QFileInfo(QFileInfo(shownTarget).absolutePath()).isDir();
    report_(file + " is a link to " + shownTarget + ", where there is no file yet. " +
            (folderThere ? "ZR Dorvel starts without it and creates " + shownTarget +
                               " when it first saves there; the link stays."
                         : "Its folder does not exist either, so nothing is saved there until "
                           "it does; the link stays."));
  }
}

// Files that are replaced by a rename drop out of the watch, so the watch is renewed
// after every change; the folders see the renames and new files.
void DataFiles::watch() {
  QStringList paths{dataFolder_};
  for (const QString& file : {remindersFile(), settingsFile(), snoozedFile()}) {
    const QFileInfo info(file);
    if (info.exists())
      paths.append(file);
    if (info.isSymLink()) {
      const QFileInfo target(info.symLinkTarget());
      paths.append(target.absolutePath());
      if (target.exists())
        paths.append(target.absoluteFilePath());
    }
  }
  paths.removeDuplicates();
  for (const QString& path : paths) {
    if (!watcher_->files().contains(path) && !watcher_->directories().contains(path) &&
        QFileInfo::exists(path))
      watcher_->addPath(path);
  }
}

void DataFiles::setKeepSnoozed(bool keep) {
  keepSnoozed_ = keep;
}

std::vector<std::unique_ptr<Reminder>> DataFiles::loadSnoozed() {
  ReminderList read;
  try {
    if (const std::optional<std::string> content = snoozed_.read())
      parseRemindersFile(snoozed_.path(), *content, read, regional_, clock_);
  } catch (const UnreadableFileError& error) {
    keepUnreadable(snoozed_, toShownText(error.what()), false);
  } catch (const std::exception& error) {
    keepUnreadable(snoozed_, toShownText(error.what()), true);
  }
  // Those read before an error come back too.
  std::vector<std::unique_ptr<Reminder>> copies;
  for (int row = 0; row < read.reminderCount(); ++row)
    copies.push_back(std::make_unique<Reminder>(*read.reminderAt(row)));
  return copies;
}

void DataFiles::followSnoozed(bool replacing) {
  snoozedInUse_ = true;
  if (!replacing)
    return;
  try {
    snoozed_.read();
  } catch (const UnreadableFileError&) {
    // Then it is not written over: the save says why and waits.
  }
}

void DataFiles::saveSnoozed() {
  if (!keepSnoozed_ || !snoozedInUse_)
    return;
  snoozedUnsaved_ = true;
  mergeSnoozed(lookOutside(snoozed_));
  snoozed_.replace(formatReminders(checker_.snoozed()));
  snoozedUnsaved_ = false;
}

QString DataFiles::saveAfterPass(bool list, bool snoozed) {
  QStringList errors;
  const auto save = [&errors](const std::function<void()>& saveFile) {
    try {
      saveFile();
    } catch (const std::exception& error) {
      errors.append(toShownText(error.what()));
    }
  };
  if (list)
    save([this] { saveReminders(); });
  if (snoozed)
    save([this] { saveSnoozed(); });
  return errors.join('\n');
}

void DataFiles::alertMissed(DateTime start, AlertPresenter& alerts,
                            const DateTimeSeparators& separators) {
  const std::vector<MissedReminder> missed =
      takeMissedReminders(model_.listInPlace(), start, clock_);
  if (missed.empty())
    return;
  for (const MissedReminder& reminder : missed)
    alerts.showReminderAlert(*reminder.reminder,
                             missedNote(reminder.moment, wholeDays(start), separators));
  // Saved with their new LastRun values, they are not missed again at the next start.
  try {
    saveReminders();
  } catch (const std::exception& error) {
    report_(toShownText(error.what()));
  }
}

// Before anything is saved over the file, it is kept aside: copied when it was read
// but did not make sense, moved away when it could not be read at all.
void DataFiles::keepUnreadable(DataFile& file, QString message, bool contentReadable) {
  const std::string kept = file.keepAside(clock_.now(), contentReadable);
  message += kept.empty() ? "\nIt could not be kept aside, so nothing is saved over it: fix its "
                            "permissions or move it away."
                          : "\nThe unreadable file was kept as " + fromNativePath(kept) + ".";
  report_(message);
}

} // namespace zr
