// SPDX-License-Identifier: MIT

#pragma once

#include "core/date_time.h"
#include "core/reminder.h"
#include "core/reminder_list.h"

#include <memory>
#include <utility>
#include <vector>

namespace zr {

// What one check pass found. The caller shows the alerts (`due`, then
// `snoozedDue`), saves the list when `save` is set, and then refreshes the
// list from `refreshAfter`.
struct CheckPass {
  // The list's reminders that came due, in row order, each with its LastRun set.
  // They stay owned by the list.
  std::vector<const Reminder*> due;
  // The snoozed copies whose time has come, taken out of the snooze list,
  // latest snoozed first.
  std::vector<std::unique_ptr<Reminder>> snoozedDue;
  // A reminder of the list fired, so the list (with its new LastRun values) is to be saved.
  bool save = false;
  // The moment to refresh the list from: the pass moment, or one millisecond
  // later when a reminder fired exactly on it.
  DateTime refreshAfter = 0;
};

// The five-second check pass over the reminder list, and the snoozed copies of
// alerts closed with a snooze time. It reads the moment from the clock it is
// given and changes nothing but the LastRun of due reminders and its own
// snoozed copies.
class ReminderChecker {
public:
  explicit ReminderChecker(const Clock& clock) : clock_(clock) {}

  // One pass. It first reads the local time zone again. When reminders are enabled, every enabled
  // reminder of the list whose next due moment is set and has come fires; so does every snoozed
  // copy whose time has come, whether enabled or not. Snoozed copies never ask
  // for a save. When reminders are disabled nothing fires, but the list is
  // still to be refreshed.
  CheckPass check(ReminderList& list, bool remindersEnabled);

  // An alert was closed: its copy comes due again `minutes` after now, or is
  // dropped when `minutes` is 0 or less. Returns whether it was kept.
  bool snooze(std::unique_ptr<Reminder> copy, int minutes);
  // Copies kept over a restart join the snoozed ones as they are, each due at its
  // NextScheduled; one whose moment has passed comes at the next pass.
  void restoreSnoozed(std::vector<std::unique_ptr<Reminder>> copies);
  // The alerts still open when the program closes: a copy of each joins the snoozed
  // ones with its snooze ending now, so that copies kept over a restart bring them
  // back at the next start.
  void snoozeOpenAlerts(const std::vector<const Reminder*>& openAlerts);
  const std::vector<std::unique_ptr<Reminder>>& snoozed() const { return snoozed_; }
  // The moment the last pass refreshed the list from, or 0 before the first pass. A
  // refresh between passes starts there, so a reminder that came due since is not
  // moved past its moment before a pass fires it.
  DateTime lastRefreshAfter() const { return lastRefreshAfter_; }
  // Takes all snoozed copies out, to be changed and given back with restoreSnoozed.
  std::vector<std::unique_ptr<Reminder>> takeSnoozed() { return std::exchange(snoozed_, {}); }
  void dropSnoozed() { snoozed_.clear(); }

private:
  const Clock& clock_;
  std::vector<std::unique_ptr<Reminder>> snoozed_;
  DateTime lastRefreshAfter_ = 0;
};

} // namespace zr
