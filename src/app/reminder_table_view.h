// SPDX-License-Identifier: MIT

#pragma once

#include <QList>
#include <QTableView>

class QAction;

namespace zr {

struct Reminder;
class ReminderTableModel;

// The reminder grid: four fixed-width columns, 16-pixel rows, silver grid
// lines, whole-row selection of ranges, no editing, and always a selected row. A
// header click sorts through the model, which sorts only when there are at least two
// reminders. From the keyboard, Enter edits the selected reminder and Delete deletes it;
// the menu key and a right-click open a menu of the reminder commands, with the sort
// columns in it.
class ReminderTableView final : public QTableView {
  Q_OBJECT

public:
  explicit ReminderTableView(ReminderTableModel* model, QWidget* parent = nullptr);

  // The reminder of the topmost selected row; nullptr for none or the blank row.
  Reminder* selectedReminder() const;

  // The commands of the row menu, in order; nullptr stands for a separator.
  void setRowMenuActions(QList<QAction*> actions) { rowMenuActions_ = std::move(actions); }
  // Sorts by the column as a click on its header does.
  void headerClicked(int column);

signals:
  // A double-click on a row that holds a reminder, or Enter on the list.
  void reminderDoubleClicked();
  // Delete on the list.
  void deleteRequested();

protected:
  void keyPressEvent(QKeyEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

private:
  void showSortIndicator();

  ReminderTableModel* model_;
  QList<QAction*> rowMenuActions_;
};

} // namespace zr
