// SPDX-License-Identifier: MIT

#pragma once

#include <QTableView>

namespace zr {

struct Reminder;
class ReminderTableModel;

// The reminder grid: four fixed-width columns, 16-pixel rows, silver grid
// lines, whole-row selection of ranges, no editing, and always a selected row. A
// header click sorts through the model, which sorts only when there are at least two
// reminders.
class ReminderTableView final : public QTableView {
  Q_OBJECT

public:
  explicit ReminderTableView(ReminderTableModel* model, QWidget* parent = nullptr);

  // The reminder of the topmost selected row; nullptr for none or the blank row.
  Reminder* selectedReminder() const;

signals:
  // A double-click on a row that holds a reminder.
  void reminderDoubleClicked();

private:
  void headerClicked(int column);
  void showSortIndicator();

  ReminderTableModel* model_;
};

} // namespace zr
