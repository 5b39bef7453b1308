// SPDX-License-Identifier: MIT

#include "core/reminder_merge.h"

#include "core/reminders_file.h"

#include <algorithm>
#include <map>
#include <set>

namespace zr {
namespace {

// Where each matching key stands in the base, the program's and the file's records.
struct Places {
  std::vector<std::size_t> base;
  std::vector<std::size_t> ours;
  std::vector<std::size_t> theirs;
};

} // namespace

std::string matchKey(const Reminder& reminder, MatchFields fields) {
  if (fields == MatchFields::All)
    return formatRecord(reminder);
  Reminder schedule = reminder;
  schedule.nextScheduled = 0;
  schedule.lastRun = 0;
  return formatRecord(schedule);
}

MergePlan mergeReminders(const std::vector<Reminder>& base,
                         const std::vector<const Reminder*>& ours,
                         const std::vector<Reminder>& theirs, MatchFields fields) {
  std::map<std::string, Places> places;
  for (std::size_t i = 0; i < base.size(); ++i)
    places[matchKey(base[i], fields)].base.push_back(i);
  for (std::size_t i = 0; i < ours.size(); ++i)
    places[matchKey(*ours[i], fields)].ours.push_back(i);
  for (std::size_t i = 0; i < theirs.size(); ++i)
    places[matchKey(theirs[i], fields)].theirs.push_back(i);

  MergePlan plan;
  std::set<std::string> gainedHere;
  std::set<std::string> gainedOutside;
  std::vector<std::string> lostOnBothSides;
  for (const auto& [key, at] : places) {
    const std::size_t b = at.base.size();
    const std::size_t o = at.ours.size();
    const std::size_t t = at.theirs.size();
    // The program's count after the merge: each side's gains and losses since the base
    // (a record both gained or both lost counts once).
    std::size_t result = 0;
    if (t >= b)
      result = o > b ? std::max(o, t) : o + (t - b);
    else
      result = o < b ? std::min(o, t) : o - (b - t);
    for (std::size_t j = t - (result > o ? result - o : 0); j < t && result > o; ++j)
      plan.added.push_back(theirs[at.theirs[j]]);
    for (std::size_t j = result; j < o; ++j)
      plan.removed.push_back(at.ours[j]);
    const std::size_t kept = std::min(o, result);
    if (t > b)
      gainedOutside.insert(theirs[at.theirs.front()].name);
    if (o > b)
      gainedHere.insert(ours[at.ours.front()]->name);
    if (o < b && t < b)
      lostOnBothSides.push_back(base[at.base.front()].name);
    for (std::size_t j = 0; j < std::min(kept, t); ++j) {
      const std::size_t index = at.ours[j];
      const DateTime lastRun = theirs[at.theirs[j]].lastRun;
      if (lastRun > ours[index]->lastRun)
        plan.laterRuns.push_back({index, lastRun});
    }
  }
  std::sort(plan.removed.begin(), plan.removed.end());
  for (const std::string& name : lostOnBothSides) {
    const bool changedOnBoth = gainedHere.contains(name) && gainedOutside.contains(name);
    if (changedOnBoth && std::find(plan.changedOnBothSides.begin(), plan.changedOnBothSides.end(),
                                   name) == plan.changedOnBothSides.end())
      plan.changedOnBothSides.push_back(name);
  }
  return plan;
}

} // namespace zr
