// SPDX-License-Identifier: MIT

#include "app/reminder_table_model.h"

#include "platform/stored_text.h"

#include <QColor>
#include <QFont>
#include <unordered_map>

namespace zr {

namespace {

const char* const kHeaders[ReminderList::kColumnCount] = {"Name", "Type", "Next Scheduled",
                                                          "Last Run"};
const QColor kDisabledText(0xC0, 0xC0, 0xC0);
// Said by assistive tools and shown as a tooltip, as the silver text is not seen by all.
constexpr char kDisabledNote[] = "Disabled";

} // namespace

ReminderTableModel::ReminderTableModel(DateTimeSeparators separators, QObject* parent)
    : QAbstractTableModel(parent), list_(std::move(separators)) {}

Reminder* ReminderTableModel::reminderAt(int row) {
  return list_.reminderAt(row);
}

void ReminderTableModel::appendReminder(std::unique_ptr<Reminder> reminder) {
  if (list_.isEmpty()) {
    list_.appendReminder(std::move(reminder));
    emit dataChanged(index(0, 0), index(0, ReminderList::kColumnCount - 1));
    return;
  }
  const int row = list_.rowCount();
  beginInsertRows({}, row, row);
  list_.appendReminder(std::move(reminder));
  endInsertRows();
}

void ReminderTableModel::removeReminderRow(int row) {
  if (list_.rowCount() > 1) {
    beginRemoveRows({}, row, row);
    list_.removeReminderRow(row);
    endRemoveRows();
    return;
  }
  list_.removeReminderRow(row);
  emit dataChanged(index(0, 0), index(0, ReminderList::kColumnCount - 1));
}

void ReminderTableModel::clearReminderList() {
  beginResetModel();
  list_.clearReminderList();
  endResetModel();
}

void ReminderTableModel::load(const std::function<void(ReminderList&)>& loader) {
  beginResetModel();
  struct EndReset {
    ReminderTableModel* model;
    ~EndReset() { model->endResetModel(); }
  } endReset{this};
  loader(list_);
}

void ReminderTableModel::refreshReminderList(DateTime after, const Clock& clock) {
  rearrange([&] { list_.refreshReminderList(after, clock); });
}

bool ReminderTableModel::headerClicked(int column) {
  bool sorted = false;
  rearrange([&] { sorted = list_.headerClicked(column); });
  return sorted;
}

void ReminderTableModel::rearrange(const std::function<void()>& change) {
  emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
  const QModelIndexList before = persistentIndexList();
  std::unordered_map<int, const Reminder*> reminderOfRow;
  for (const QModelIndex& old : before)
    reminderOfRow.emplace(old.row(), list_.reminderAt(old.row()));

  struct Finish {
    ReminderTableModel* model;
    const QModelIndexList& before;
    const std::unordered_map<int, const Reminder*>& reminderOfRow;
    ~Finish() {
      QModelIndexList after;
      after.reserve(before.size());
      for (const QModelIndex& old : before) {
        const Reminder* reminder = reminderOfRow.at(old.row());
        const int row = reminder ? model->list_.rowOf(reminder) : old.row();
        after.append(row < 0 ? QModelIndex() : model->index(row, old.column()));
      }
      model->changePersistentIndexList(before, after);
      emit model->layoutChanged({}, QAbstractItemModel::VerticalSortHint);
    }
  } finish{this, before, reminderOfRow};
  change();
}

int ReminderTableModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : list_.rowCount();
}

int ReminderTableModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : ReminderList::kColumnCount;
}

QVariant ReminderTableModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid())
    return {};
  if (role == Qt::DisplayRole)
    return toShownText(list_.cellText(index.row(), index.column()));
  const Reminder* reminder = list_.reminderAt(index.row());
  if (!reminder || reminder->enabled)
    return {};
  switch (role) {
  case Qt::ForegroundRole:
    return kDisabledText;
  case Qt::ToolTipRole:
  case Qt::AccessibleDescriptionRole:
    return QString::fromLatin1(kDisabledNote);
  case Qt::FontRole: {
    // Slanted as well as silver, so the row stands apart without its colour; the rest
    // of the font is the list's.
    QFont font;
    font.setItalic(true);
    return font;
  }
  default:
    return {};
  }
}

QVariant ReminderTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 &&
      section < ReminderList::kColumnCount)
    return QString::fromLatin1(kHeaders[section]);
  return QAbstractTableModel::headerData(section, orientation, role);
}

Qt::ItemFlags ReminderTableModel::flags(const QModelIndex& index) const {
  if (!index.isValid())
    return Qt::NoItemFlags;
  return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

} // namespace zr
