// SPDX-License-Identifier: MIT

#include "core/reminder_list.h"

#include "core/date_time_text.h"
#include "core/natural_compare.h"

#include <algorithm>
#include <limits>
#include <numeric>

namespace zr {
namespace {

// Empty date cells come after every dated one in ascending order.
constexpr std::int64_t kEmptyDateKey = std::numeric_limits<std::int64_t>::max();

void writeDateText(std::string& text, DateTime& shown, DateTime value,
                   const DateTimeSeparators& separators) {
  shown = value;
  text.clear();
  if (value != 0)
    appendDateTimeText(text, value, separators);
}

} // namespace

ReminderList::ReminderList(DateTimeSeparators separators) : separators_(std::move(separators)) {
  rows_.emplace_back();
}

bool ReminderList::isEmpty() const {
  return rows_.size() == 1 && !rows_.front().reminder;
}

int ReminderList::rowCount() const {
  return static_cast<int>(rows_.size());
}

int ReminderList::reminderCount() const {
  return isEmpty() ? 0 : rowCount();
}

Reminder* ReminderList::reminderAt(int row) {
  if (row < 0 || row >= rowCount())
    return nullptr;
  return rows_[static_cast<std::size_t>(row)].reminder.get();
}

const Reminder* ReminderList::reminderAt(int row) const {
  if (row < 0 || row >= rowCount())
    return nullptr;
  return rows_[static_cast<std::size_t>(row)].reminder.get();
}

int ReminderList::rowOf(const Reminder* reminder) const {
  if (reminder == nullptr)
    return -1;
  for (std::size_t row = 0; row < rows_.size(); ++row) {
    if (rows_[row].reminder.get() == reminder)
      return static_cast<int>(row);
  }
  return -1;
}

const std::string& ReminderList::cellText(int row, int column) const {
  static const std::string kNoText;
  if (row < 0 || row >= rowCount() || column < 0 || column >= kColumnCount)
    return kNoText;
  return rows_[static_cast<std::size_t>(row)].texts[static_cast<std::size_t>(column)];
}

void ReminderList::setNameText(int row, std::string name) {
  if (row >= 0 && row < rowCount())
    rows_[static_cast<std::size_t>(row)].texts[NameColumn] = std::move(name);
}

void ReminderList::reserveRows(int count) {
  if (count > 0)
    rows_.reserve(static_cast<std::size_t>(count));
}

void ReminderList::appendReminder(std::unique_ptr<Reminder> reminder) {
  if (rows_.front().reminder)
    rows_.emplace_back();
  rows_.back().reminder = std::move(reminder);
}

void ReminderList::removeReminderRow(int row) {
  if (row < 0 || row >= rowCount())
    return;
  if (rows_.size() > 1)
    rows_.erase(rows_.begin() + row);
  else
    rows_.front() = Row{};
}

void ReminderList::clearReminderList() {
  rows_.clear();
  rows_.emplace_back();
}

void ReminderList::refreshReminderList(DateTime after, const Clock& clock) {
  // The reminders lie scattered in memory; fetching a few rows ahead hides
  // most of the wait for them in a long list.
  constexpr std::size_t kPrefetchDistance = 4;
  for (std::size_t index = 0; index < rows_.size(); ++index) {
    if (index + kPrefetchDistance < rows_.size())
      __builtin_prefetch(rows_[index + kPrefetchDistance].reminder.get());
    Row& row = rows_[index];
    Reminder* reminder = row.reminder.get();
    if (reminder == nullptr)
      continue;
    row.texts[NameColumn] = reminder->name;
    row.texts[TypeColumn] = reminderTypeName(reminder->reminderType);
    reminder->calculateNextScheduled(searchStart(after, reminder->lastRun), clock);
    writeDateText(row.texts[NextScheduledColumn], row.shownMoments[0], reminder->nextScheduled,
                  separators_);
    writeDateText(row.texts[LastRunColumn], row.shownMoments[1], reminder->lastRun, separators_);
  }
  sortRows();
}

int ReminderList::sortColumn() const {
  return sortColumn_;
}

SortDirection ReminderList::sortDirection() const {
  return sortDirection_;
}

void ReminderList::setSort(int column, SortDirection direction) {
  sortColumn_ = column;
  sortDirection_ = direction;
}

bool ReminderList::headerClicked(int column) {
  if (column < 0 || column >= kColumnCount || reminderCount() < 2)
    return false;
  if (column == sortColumn_) {
    sortDirection_ = sortDirection_ == SortDirection::Ascending ? SortDirection::Descending
                                                                : SortDirection::Ascending;
  } else {
    sortColumn_ = column;
    sortDirection_ = SortDirection::Ascending;
  }
  sortRows();
  return true;
}

int ReminderList::compareRows(std::uint32_t left, std::uint32_t right) const {
  if (sortColumn_ >= NextScheduledColumn) {
    const std::int64_t a = sortKeys_[left];
    const std::int64_t b = sortKeys_[right];
    return a == b ? 0 : (a < b ? -1 : 1);
  }
  const auto column = static_cast<std::size_t>(sortColumn_);
  return naturalCompare(rows_[left].texts[column], rows_[right].texts[column]);
}

// A stable sort: rows that compare equal keep their order.
void ReminderList::sortRows() {
  if (rows_.size() < 2 || sortColumn_ < 0 || sortColumn_ >= kColumnCount)
    return;
  const std::size_t count = rows_.size();
  if (sortColumn_ >= NextScheduledColumn) {
    const std::size_t which = sortColumn_ == NextScheduledColumn ? 0 : 1;
    sortKeys_.resize(count);
    for (std::size_t row = 0; row < count; ++row) {
      const DateTime shown = rows_[row].shownMoments[which];
      sortKeys_[row] = shown == 0 ? kEmptyDateKey : dateTimeTextKey(shown);
    }
  }
  sortOrder_.resize(count);
  std::iota(sortOrder_.begin(), sortOrder_.end(), std::uint32_t{0});
  const bool ascending = sortDirection_ == SortDirection::Ascending;
  std::stable_sort(sortOrder_.begin(), sortOrder_.end(), [&](std::uint32_t a, std::uint32_t b) {
    const int order = compareRows(a, b);
    return ascending ? order < 0 : order > 0;
  });
  sortedRows_.clear();
  sortedRows_.reserve(count);
  for (const std::uint32_t row : sortOrder_)
    sortedRows_.push_back(std::move(rows_[row]));
  rows_.swap(sortedRows_);
  sortedRows_.clear();
}

} // namespace zr
