// SPDX-License-Identifier: MIT

#include "app_fixture.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QMenu>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

namespace zr::test {
namespace {

class ReminderViewTest : public AppFixture {
protected:
  void clickHeader(int column) {
    QHeaderView* header = window->reminderView()->horizontalHeader();
    const int x = header->sectionViewportPosition(column) + header->sectionSize(column) / 2;
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(x, header->height() / 2));
  }
};

// A daily reminder fires and moves to tomorrow, so the refresh re-sorts it to the end.
TEST_F(ReminderViewTest, SelectionAndScrollPositionFollowTheReminderAcrossARefresh) {
  std::vector<Reminder> reminders;
  for (int i = 0; i < 60; ++i)
    reminders.push_back(
        makeReminder("R" + std::to_string(i), ReminderType::Daily, clockTime(10, i)));
  writeReminders(reminders);
  start();
  window->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
  ReminderTableView* view = window->reminderView();
  view->verticalScrollBar()->setValue(20);
  const int scroll = view->verticalScrollBar()->value();
  view->selectRow(0);
  const Reminder* first = list().reminderAt(0);
  QSignalSpy resets(&model(), &QAbstractItemModel::modelAboutToBeReset);

  clock.set(at(2024, 7, 3, 10, 0, 1));
  window->checkReminders();
  ASSERT_EQ(list().rowOf(first), 59);
  EXPECT_EQ(view->selectedReminder(), first);
  EXPECT_EQ(view->selectionModel()->selectedRows().size(), 1);
  EXPECT_EQ(view->currentIndex().row(), 59);
  EXPECT_EQ(view->verticalScrollBar()->value(), scroll);
  EXPECT_EQ(resets.count(), 0);
}

TEST_F(ReminderViewTest, HeaderClicksSortOnlyWithTwoOrMoreReminders) {
  writeReminders({makeReminder("b", ReminderType::Daily, clockTime(10))});
  start();
  window->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
  QHeaderView* header = window->reminderView()->horizontalHeader();
  clickHeader(0);
  EXPECT_EQ(list().sortColumn(), 2);
  EXPECT_EQ(header->sortIndicatorSection(), 2);
  EXPECT_EQ(header->sortIndicatorOrder(), Qt::AscendingOrder);

  prompts.onEdit = [](Reminder& reminder) {
    reminder.name = "a";
    reminder.reminderType = ReminderType::Daily;
    reminder.time = clockTime(11);
    return true;
  };
  window->reminderAdd();
  clickHeader(0);
  EXPECT_EQ(names(), (std::vector<std::string>{"a", "b"}));
  EXPECT_EQ(header->sortIndicatorSection(), 0);
  EXPECT_EQ(header->sortIndicatorOrder(), Qt::AscendingOrder);
  clickHeader(0);
  EXPECT_EQ(names(), (std::vector<std::string>{"b", "a"}));
  EXPECT_EQ(header->sortIndicatorOrder(), Qt::DescendingOrder);
}

TEST_F(ReminderViewTest, DoubleClickEditsAReminderButNotTheBlankRow) {
  start();
  window->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
  ReminderTableView* view = window->reminderView();
  const QPoint blankRow = view->visualRect(model().index(0, 0)).center();
  QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, blankRow);
  EXPECT_EQ(prompts.edits, 0);

  prompts.onEdit = [](Reminder&) { return true; };
  window->reminderAdd();
  QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, blankRow);
  EXPECT_EQ(prompts.edits, 2);
}

TEST_F(ReminderViewTest, EnterEditsAndDeleteAsksAboutTheSelectedReminder) {
  writeReminders({makeReminder("a", ReminderType::Daily, clockTime(10)),
                  makeReminder("b", ReminderType::Daily, clockTime(11))});
  start();
  window->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
  ReminderTableView* view = window->reminderView();
  view->setFocus();
  view->selectRow(1);
  std::vector<std::string> edited;
  prompts.onEdit = [&](Reminder& reminder) {
    edited.push_back(reminder.name);
    return false;
  };
  QTest::keyClick(view, Qt::Key_Return);
  QTest::keyClick(view, Qt::Key_Enter, Qt::KeypadModifier);
  EXPECT_EQ(edited, (std::vector<std::string>{"b", "b"}));

  prompts.confirmAnswer = false;
  QTest::keyClick(view, Qt::Key_Delete);
  ASSERT_EQ(prompts.questions.size(), 1u);
  EXPECT_EQ(prompts.questions[0], "Are you sure you wish to delete b?");
  EXPECT_EQ(names(), (std::vector<std::string>{"a", "b"}));
  prompts.confirmAnswer = true;
  QTest::keyClick(view, Qt::Key_Delete);
  EXPECT_EQ(names(), (std::vector<std::string>{"a"}));
}

// The menu key opens the row menu: the reminder commands, then the sort columns.
TEST_F(ReminderViewTest, RowMenuOffersTheCommandsAndSortsFromTheKeyboard) {
  writeReminders({makeReminder("b", ReminderType::Daily, clockTime(10)),
                  makeReminder("a", ReminderType::Daily, clockTime(11))});
  start();
  window->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
  ReminderTableView* view = window->reminderView();
  QStringList seen;
  const auto openMenu = [&](const std::function<void(QMenu&)>& act) {
    QTimer::singleShot(0, [&, act] {
      auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
      ASSERT_NE(menu, nullptr);
      seen.clear();
      for (const QAction* action : menu->actions())
        seen.append(action->isSeparator() ? "-" : action->text());
      act(*menu);
    });
    QContextMenuEvent event(QContextMenuEvent::Keyboard, QPoint(5, 5),
                            view->viewport()->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(view->viewport(), &event);
  };
  const auto sortBy = [](const char* caption) {
    return [caption](QMenu& menu) {
      QMenu* sort = menu.actions().last()->menu();
      ASSERT_NE(sort, nullptr);
      for (QAction* action : sort->actions())
        if (action->text() == QLatin1String(caption))
          action->trigger();
      menu.close();
    };
  };

  openMenu(sortBy("&Name"));
  EXPECT_EQ(seen,
            (QStringList{"&Add", "&Edit", "&Delete", "D&uplicate", "-", "&Test", "-", "S&ort By"}));
  EXPECT_EQ(names(), (std::vector<std::string>{"a", "b"}));
  openMenu(sortBy("&Name"));
  EXPECT_EQ(names(), (std::vector<std::string>{"b", "a"}));
  EXPECT_EQ(view->horizontalHeader()->sortIndicatorSection(), 0);
  EXPECT_EQ(view->horizontalHeader()->sortIndicatorOrder(), Qt::DescendingOrder);

  // A command chosen in the menu acts on the selected row.
  view->selectRow(1);
  openMenu([](QMenu& menu) {
    menu.close();
    menu.actions().at(1)->trigger();
  });
  EXPECT_EQ(prompts.edits, 1);
}

// Silver alone does not tell everyone the reminder is off.
TEST_F(ReminderViewTest, ADisabledReminderSaysSoBesidesItsColour) {
  Reminder off = makeReminder("off", ReminderType::Daily, clockTime(10));
  off.enabled = false;
  writeReminders({off, makeReminder("on", ReminderType::Daily, clockTime(11))});
  start();
  const int offRow = list().rowOf(list().reminderAt(0)->name == "off" ? list().reminderAt(0)
                                                                      : list().reminderAt(1));
  for (int column = 0; column < 4; ++column) {
    const QModelIndex offCell = model().index(offRow, column);
    const QModelIndex onCell = model().index(1 - offRow, column);
    EXPECT_EQ(model().data(offCell, Qt::AccessibleDescriptionRole), "Disabled");
    EXPECT_EQ(model().data(offCell, Qt::ToolTipRole), "Disabled");
    EXPECT_TRUE(model().data(offCell, Qt::FontRole).value<QFont>().italic());
    EXPECT_FALSE(model().data(onCell, Qt::AccessibleDescriptionRole).isValid());
    EXPECT_FALSE(model().data(onCell, Qt::FontRole).isValid());
  }
}

TEST_F(ReminderViewTest, LayoutOfTheList) {
  start();
  ReminderTableView* view = window->reminderView();
  const int widths[] = {239, 86, 160, 160};
  const char* headers[] = {"Name", "Type", "Next Scheduled", "Last Run"};
  for (int column = 0; column < 4; ++column) {
    EXPECT_EQ(view->columnWidth(column), widths[column]);
    EXPECT_EQ(model().headerData(column, Qt::Horizontal, Qt::DisplayRole), headers[column]);
  }
  EXPECT_EQ(view->rowHeight(0), 16);
  EXPECT_EQ(view->selectionBehavior(), QAbstractItemView::SelectRows);
  EXPECT_EQ(view->selectionMode(), QAbstractItemView::ExtendedSelection);
  EXPECT_FALSE(model().flags(model().index(0, 0)) & Qt::ItemIsEditable);
}

} // namespace
} // namespace zr::test
