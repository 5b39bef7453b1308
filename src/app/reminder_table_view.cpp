// SPDX-License-Identifier: MIT

#include "app/reminder_table_view.h"

#include "app/reminder_table_model.h"
#include "controls/fonts.h"
#include "controls/menu_style.h"

#include <QContextMenuEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <algorithm>

namespace zr {

namespace {

constexpr int kColumnWidths[ReminderList::kColumnCount] = {239, 86, 160, 160};
constexpr int kRowHeight = 16;
// The sort columns in the row menu, each with an access key of its own.
constexpr const char* kSortCaptions[ReminderList::kColumnCount] = {"&Name", "&Type",
                                                                   "Next &Scheduled", "&Last Run"};

} // namespace

ReminderTableView::ReminderTableView(ReminderTableModel* model, QWidget* parent)
    : QTableView(parent), model_(model) {
  setObjectName("grdReminders");
  setAccessibleName("Reminders");
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
  verticalHeader()->setMinimumSectionSize(scaled(kRowHeight));
  verticalHeader()->setDefaultSectionSize(scaled(kRowHeight));

  QHeaderView* header = horizontalHeader();
  header->setFont(menuFont());
  header->setFixedHeight(scaled(kRowHeight) + 2);
  header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  header->setSectionResizeMode(QHeaderView::Interactive);
  header->setHighlightSections(false);
  header->setStretchLastSection(false);
  for (int column = 0; column < ReminderList::kColumnCount; ++column)
    setColumnWidth(column, scaled(kColumnWidths[column]));
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

void ReminderTableView::keyPressEvent(QKeyEvent* event) {
  if (event->modifiers() == Qt::NoModifier || event->modifiers() == Qt::KeypadModifier) {
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      event->accept();
      emit reminderDoubleClicked();
      return;
    case Qt::Key_Delete:
      event->accept();
      emit deleteRequested();
      return;
    default:
      break;
    }
  }
  QTableView::keyPressEvent(event);
}

void ReminderTableView::contextMenuEvent(QContextMenuEvent* event) {
  QPoint place = event->globalPos();
  if (event->reason() == QContextMenuEvent::Mouse) {
    // A right-click selects the row under the pointer first, unless it is in the selection.
    const QModelIndex index = indexAt(event->pos());
    if (index.isValid() && !selectionModel()->isRowSelected(index.row(), QModelIndex()))
      selectRow(index.row());
  } else {
    // From the keyboard the menu opens under the current row.
    const QModelIndex current = currentIndex().isValid() ? currentIndex() : model_->index(0, 0);
    place = viewport()->mapToGlobal(visualRect(current.siblingAtColumn(0)).bottomLeft());
  }

  QMenu menu(this);
  menu.setStyleSheet(kMenuStyleSheet);
  for (QAction* action : rowMenuActions_) {
    if (action)
      menu.addAction(action);
    else
      menu.addSeparator();
  }
  menu.addSeparator();
  QMenu* sort = menu.addMenu("S&ort By");
  const ReminderList& list = model_->list();
  for (int column = 0; column < ReminderList::kColumnCount; ++column) {
    QAction* byColumn = sort->addAction(kSortCaptions[column]);
    byColumn->setCheckable(true);
    byColumn->setChecked(column == list.sortColumn());
    // As with a header click, sorting needs two reminders.
    byColumn->setEnabled(list.reminderCount() >= 2);
    connect(byColumn, &QAction::triggered, this, [this, column] { headerClicked(column); });
  }
  event->accept();
  menu.exec(place);
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
