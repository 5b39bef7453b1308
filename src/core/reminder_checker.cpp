// SPDX-License-Identifier: MIT

#include "core/reminder_checker.h"

#include <iterator>

namespace zr {

CheckPass ReminderChecker::check(ReminderList& list, bool remindersEnabled) {
  CheckPass pass;
  // A zone changed since the last pass (the system's zone replaced, TZ rewritten)
  // applies to this pass and to the refresh that follows it.
  followTimeZone();
  const DateTime passMoment = clock_.now();
  pass.refreshAfter = passMoment;
  lastRefreshAfter_ = passMoment;
  if (!remindersEnabled)
    return pass;

  bool firedOnPassMoment = false;
  for (int row = 0; row < list.rowCount(); ++row) {
    Reminder* reminder = list.reminderAt(row);
    if (!reminder || !reminder->enabled || reminder->nextScheduled == 0 ||
        passMoment < reminder->nextScheduled)
      continue;
    firedOnPassMoment = firedOnPassMoment || reminder->nextScheduled == passMoment;
    reminder->lastRun = clock_.now();
    pass.due.push_back(reminder);
  }
  pass.save = !pass.due.empty();
  // The search for the next moment accepts the moment it starts from; an
  // occurrence that has just fired on the pass moment must not come due again
  // at the next pass.
  if (firedOnPassMoment)
    pass.refreshAfter = passMoment + kOneMillisecond;
  lastRefreshAfter_ = pass.refreshAfter;

  for (auto i = snoozed_.size(); i-- > 0;) {
    if (clock_.now() < snoozed_[i]->nextScheduled)
      continue;
    pass.snoozedDue.push_back(std::move(snoozed_[i]));
    snoozed_.erase(std::next(snoozed_.begin(), static_cast<std::ptrdiff_t>(i)));
  }
  return pass;
}

bool ReminderChecker::snooze(std::unique_ptr<Reminder> copy, int minutes) {
  if (minutes <= 0)
    return false;
  copy->nextScheduled = clock_.now() + minutes * kOneMinute;
  snoozed_.push_back(std::move(copy));
  return true;
}

void ReminderChecker::snoozeOpenAlerts(const std::vector<const Reminder*>& openAlerts) {
  const DateTime closeMoment = clock_.now();
  for (const Reminder* alert : openAlerts) {
    auto copy = std::make_unique<Reminder>(*alert);
    copy->nextScheduled = closeMoment;
    snoozed_.push_back(std::move(copy));
  }
}

void ReminderChecker::restoreSnoozed(std::vector<std::unique_ptr<Reminder>> copies) {
  for (std::unique_ptr<Reminder>& copy : copies)
    snoozed_.push_back(std::move(copy));
}

} // namespace zr
