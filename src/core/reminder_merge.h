// SPDX-License-Identifier: MIT

#pragma once

#include "core/reminder.h"

#include <cstddef>
#include <string>
#include <vector>

namespace zr {

// Which stored fields tell two records apart.
enum class MatchFields {
  // Every field but NextScheduled and LastRun, which the program itself moves on as
  // the reminders run: the rule for the reminders file.
  Schedule,
  // Every field: the rule for the snoozed copies, whose NextScheduled is the end of
  // their snooze.
  All,
};

// The text two records are matched by: the record as the reminders file stores it
// (so moments compare after their 15-digit rounding), with NextScheduled and LastRun
// left out under MatchFields::Schedule.
std::string matchKey(const Reminder& reminder, MatchFields fields);

// What to do to the program's reminders so that they take in what changed in the
// file since the program last read or wrote it.
struct MergePlan {
  // Indexes into the program's reminders to remove, ascending: removed outside, or
  // changed outside (their outside version is in `added`).
  std::vector<std::size_t> removed;
  // Reminders of the file to append: added or changed outside.
  std::vector<Reminder> added;
  struct LaterRun {
    std::size_t index; // into the program's reminders
    DateTime lastRun;  // the later LastRun the file holds
  };
  // Reminders both hold whose LastRun in the file is the later one.
  std::vector<LaterRun> laterRuns;
  // Names of reminders changed both here and outside: both versions are kept.
  std::vector<std::string> changedOnBothSides;

  bool changesNothing() const { return removed.empty() && added.empty() && laterRuns.empty(); }
};

// The three-way merge of a data file. `base` is what the file held at the last read
// or write, `ours` the program's reminders now, `theirs` the file now. Records are
// matched by matchKey, counting equal records:
// - a record the file gained since `base` is added (when the program gained the same
//   record too, it is there once);
// - a record the file lost since `base` is removed from the program's, as often as it
//   was lost and the program still holds it;
// - a changed record is one lost and one gained, so a change outside replaces the
//   program's unchanged version, and a record changed on both sides stays in both
//   versions; it counts as changed on both sides when each side lost it and gained a
//   record of the same name;
// - a record both hold keeps the later of the two LastRun values.
MergePlan mergeReminders(const std::vector<Reminder>& base,
                         const std::vector<const Reminder*>& ours,
                         const std::vector<Reminder>& theirs, MatchFields fields);

} // namespace zr
