// SPDX-License-Identifier: MIT

#pragma once

#include "core/date_time.h"
#include "core/date_time_text.h"
#include "core/reminder.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace zr {

enum class SortDirection { Ascending, Descending };

// The list of reminders as the user sees it: rows of four texts, each row owning
// one reminder. An empty list is a single blank row. Row numbers count data rows
// from 0 (the header is not a row here). The row order is the display order and
// the order in which the reminders file is written.
class ReminderList {
public:
  enum Column { NameColumn = 0, TypeColumn = 1, NextScheduledColumn = 2, LastRunColumn = 3 };
  static constexpr int kColumnCount = 4;

  explicit ReminderList(DateTimeSeparators separators = {});

  bool isEmpty() const;
  int rowCount() const; // 1 for an empty list (the blank row)
  int reminderCount() const;
  Reminder* reminderAt(int row);             // nullptr for the blank row
  const Reminder* reminderAt(int row) const; // nullptr for the blank row
  int rowOf(const Reminder* reminder) const; // -1 when not in the list
  const std::string& cellText(int row, int column) const;
  // Writes the row's "Name" cell before any refresh has filled the row.
  void setNameText(int row, std::string name);

  void appendReminder(std::unique_ptr<Reminder> reminder);
  // Makes room for that many rows, so appending them moves no rows.
  void reserveRows(int count);
  // Removes the row and destroys its reminder; the only row is blanked instead.
  void removeReminderRow(int row);
  void clearReminderList();
  // Rewrites every row's texts, recomputes every reminder's next due moment
  // from the given moment (or from just after its last run, when that is not
  // earlier: see searchStart), and sorts by the current column and direction.
  void refreshReminderList(DateTime after, const Clock& clock);

  int sortColumn() const;
  SortDirection sortDirection() const;
  // Chooses the sort column and direction; the rows are sorted at the next refresh.
  void setSort(int column, SortDirection direction);
  // A click on a column header: sorts only when the list holds at least two
  // reminders; the same column reverses the direction, another column ascends.
  // Returns whether the rows were sorted.
  bool headerClicked(int column);

private:
  struct Row {
    std::unique_ptr<Reminder> reminder;
    std::array<std::string, kColumnCount> texts;
    // The NextScheduled and LastRun values the date texts were written from
    // (0 for an empty text), so sorting needs no reading back of the texts.
    std::array<DateTime, 2> shownMoments{};
  };
  void sortRows();
  int compareRows(std::uint32_t left, std::uint32_t right) const;

  DateTimeSeparators separators_;
  std::vector<Row> rows_;
  int sortColumn_ = NextScheduledColumn;
  SortDirection sortDirection_ = SortDirection::Ascending;
  // Scratch space of the sort, kept between refreshes to spare allocations.
  std::vector<std::int64_t> sortKeys_;
  std::vector<std::uint32_t> sortOrder_;
  std::vector<Row> sortedRows_;
};

} // namespace zr
