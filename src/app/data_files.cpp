// SPDX-License-Identifier: MIT

#include "app/data_files.h"

#include "app/alert_presenter.h"
#include "app/reminder_table_model.h"
#include "app/single_instance.h"
#include "core/file_io.h"
#include "core/missed_reminders.h"
#include "core/reminder_checker.h"
#include "core/reminders_file.h"
#include "platform/stored_text.h"

#include <QStringList>
#include <exception>

namespace zr {

DataFiles::DataFiles(const Clock& clock, QString dataFolder, RegionalSettings regional,
                     ReminderTableModel& model, ReminderChecker& checker, Report report,
                     QObject* parent)
    : QObject(parent), clock_(clock), dataFolder_(std::move(dataFolder)),
      regional_(std::move(regional)), model_(model), checker_(checker), report_(std::move(report)),
      reminders_(toNativePath(remindersFile())), snoozed_(toNativePath(snoozedFile())) {}

DataFiles::~DataFiles() = default;

bool DataFiles::claimFolder(bool askToShow) {
  instance_ = new SingleInstance(this);
  const SingleInstance::Claim claim = instance_->claim(dataFolder_, askToShow);
  if (claim == SingleInstance::Claim::First) {
    connect(instance_, &SingleInstance::showRequested, this, &DataFiles::showRequested);
    return true;
  }
  if (claim == SingleInstance::Claim::OtherNotAnswering)
    report_("ZR Dorvel is already running on the data folder " + dataFolder_ +
            " but does not answer. End that copy before starting another one.");
  return false;
}

void DataFiles::removeLeftoverSaves(std::chrono::system_clock::time_point before) {
  for (const QString& file : {remindersFile(), settingsFile(), snoozedFile()})
    zr::removeLeftoverSaves(toNativePath(file), before);
}

std::optional<Settings> DataFiles::readSettings() {
  try {
    Settings settings = zr::readSettings(settingsFile());
    settingsLoaded_ = true;
    return settings;
  } catch (const std::exception& error) {
    report_(toShownText(error.what()) +
            "\nThe settings are at their defaults for this run, and the file is left as it is.");
    return std::nullopt;
  }
}

void DataFiles::writeSettings(const Settings& settings) {
  if (settingsLoaded_)
    zr::writeSettings(settingsFile(), settings);
}

bool DataFiles::loadReminders() {
  const std::string& path = reminders_.path();
  try {
    model_.load([&](ReminderList& list) { zr::loadReminders(path, list, regional_, clock_); });
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
  reminders_.replace(formatReminders(model_.list()));
}

void DataFiles::setKeepSnoozed(bool keep) {
  keepSnoozed_ = keep;
}

std::vector<std::unique_ptr<Reminder>> DataFiles::loadSnoozed() {
  std::vector<std::unique_ptr<Reminder>> copies;
  try {
    zr::loadReminders(snoozed_.path(), copies, regional_, clock_);
  } catch (const UnreadableFileError& error) {
    keepUnreadable(snoozed_, toShownText(error.what()), false);
  } catch (const std::exception& error) {
    keepUnreadable(snoozed_, toShownText(error.what()), true);
  }
  return copies;
}

void DataFiles::followSnoozed() {
  snoozedInUse_ = true;
}

void DataFiles::saveSnoozed() {
  if (keepSnoozed_ && snoozedInUse_)
    snoozed_.replace(formatReminders(checker_.snoozed()));
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
