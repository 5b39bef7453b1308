// SPDX-License-Identifier: MIT

#include "app/reminder_table_view.h"

#include "app/reminder_table_model.h"
#include "controls/fonts.h"

#include <QHeaderView>
#include <algorithm>

namespace zr {

namespace {

constexpr int kColumnWidths[ReminderList::kColumnCount] = {239, 86, 160, 160};
constexpr int kRowHeight = 16;

} // namespace

ReminderTableView::ReminderTableView(ReminderTableModel* model, QWidget* parent)
    : QTableView(parent), model_(model) {
  setObjectName("grdReminders");
  setModel(model);
  setFont(formFont());
  setStyleSheet("QTableView { gridline-color: #c0c0c0; }");
  setShowGrid(true);
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setSelectionMode(QAbstractItemView::ExtendedSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setWordWrap(false);
  setCornerButtonEnabled(false);

  verticalHeader()->hide();
  verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  verticalHeader()->setMinimumSectionSize(kRowHeight);
  verticalHeader()->setDefaultSectionSize(kRowHeight);

  QHeaderView* header = horizontalHeader();
  header->setFont(menuFont());
  header->setFixedHeight(kRowHeight + 2);
  header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  header->setSectionResizeMode(QHeaderView::Interactive);
  header->setHighlightSections(false);
  header->setStretchLastSection(false);
  for (int column = 0; column < ReminderList::kColumnCount; ++column)
    setColumnWidth(column, kColumnWidths[column]);
  header->setSectionsClickable(true);
  header->setSortIndicatorShown(true);
  showSortIndicator();
  connect(header, &QHeaderView::sectionClicked, this, &ReminderTableView::headerClicked);

  // Like a grid, the list always has a selected row: the first one at start, and after
  // a removal the row that moved up into its place, or the last one.
  selectRow(0);
  connect(model_, &QAbstractItemModel::modelReset, this, [this] { selectRow(0); });
  connect(model_, &QAbstractItemModel::rowsRemoved, this,
          [this](const QModelIndex&, int first, int) {
            if (!selectionModel()->hasSelection() && model_->rowCount() > 0)
              selectRow(std::min(first, model_->rowCount() - 1));
          });

  connect(this, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex& index) {
    if (index.isValid() && model_->reminderAt(index.row()))
      emit reminderDoubleClicked();
  });
}

Reminder* ReminderTableView::selectedReminder() const {
  const QModelIndexList rows = selectionModel()->selectedRows();
  if (rows.isEmpty())
    return nullptr;
  const auto topmost =
      std::min_element(rows.begin(), rows.end(), [](const QModelIndex& a, const QModelIndex& b) {
        return a.row() < b.row();
      });
  return model_->reminderAt(topmost->row());
}

void ReminderTableView::headerClicked(int column) {
  model_->headerClicked(column);
  // The header flips its indicator on every click; it must show the list's own order.
  showSortIndicator();
}

void ReminderTableView::showSortIndicator() {
  const ReminderList& list = model_->list();
  horizontalHeader()->setSortIndicator(
      list.sortColumn(),
      list.sortDirection() == SortDirection::Ascending ? Qt::AscendingOrder : Qt::DescendingOrder);
}

} // namespace zr
