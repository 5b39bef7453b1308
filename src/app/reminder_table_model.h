// SPDX-License-Identifier: MIT

#pragma once

#include "core/reminder_list.h"

#include <QAbstractTableModel>
#include <functional>
#include <memory>

namespace zr {

// Shows a ReminderList in a table view. The list stays the only store of the
// reminders; every change goes through this model so the view hears of it.
// Re-sorting is announced as a layout change with each row's persistent
// indexes moved to the row its reminder went to, so the selection and the
// scroll position follow the reminders instead of being reset.
class ReminderTableModel final : public QAbstractTableModel {
  Q_OBJECT

public:
  explicit ReminderTableModel(DateTimeSeparators separators, QObject* parent = nullptr);

  const ReminderList& list() const { return list_; }
  // The list for changes to the reminders' fields that keep the rows, their
  // order and their texts (a check pass sets LastRun); the rows show them at
  // the next refresh.
  ReminderList& listInPlace() { return list_; }
  Reminder* reminderAt(int row);
  int rowOf(const Reminder* reminder) const { return list_.rowOf(reminder); }

  void appendReminder(std::unique_ptr<Reminder> reminder);
  void removeReminderRow(int row);
  void clearReminderList();
  void refreshReminderList(DateTime after, const Clock& clock);
  // Runs a loader that appends to the list; the view is told even when it throws.
  void load(const std::function<void(ReminderList&)>& loader);
  // A click on a column header; returns whether the rows were sorted.
  bool headerClicked(int column);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
  // Runs a change that may reorder the rows but keeps the row count.
  void rearrange(const std::function<void()>& change);

  ReminderList list_;
};

} // namespace zr
