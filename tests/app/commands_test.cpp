// SPDX-License-Identifier: MIT

#include "app_fixture.h"
#include "platform/stored_text.h"

#include <QAction>
#include <QTest>

namespace zr::test {
namespace {

class CommandsTest : public AppFixture {
protected:
  // Three daily reminders; the list sorts them by next due moment: A, B, C.
  void startWithThree() {
    Reminder ran = makeReminder("B", ReminderType::Daily, clockTime(11));
    ran.lastRun = at(2024, 7, 2, 11);
    writeReminders({makeReminder("C", ReminderType::Daily, clockTime(12)), ran,
                    makeReminder("A", ReminderType::Daily, clockTime(10))});
    start();
    ASSERT_EQ(names(), (std::vector<std::string>{"A", "B", "C"}));
  }
};

TEST_F(CommandsTest, AddThenCancelChangesNeitherListNorFile) {
  startWithThree();
  const QByteArray before = [&] {
    QFile file(path("Reminders.dat"));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    return file.readAll();
  }();
  prompts.onEdit = [](Reminder& reminder) {
    reminder.name = "typed but cancelled";
    return false;
  };
  window->reminderAdd();
  EXPECT_EQ(prompts.edits, 1);
  EXPECT_EQ(names(), (std::vector<std::string>{"A", "B", "C"}));
  QFile file(path("Reminders.dat"));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_EQ(file.readAll(), before);
  EXPECT_TRUE(window->checkTimer().isActive());
}

TEST_F(CommandsTest, AddToAnEmptyListFillsTheBlankRowAndSavesOneReminder) {
  start();
  ASSERT_EQ(model().rowCount(), 1);
  prompts.onEdit = [this](Reminder& reminder) {
    EXPECT_EQ(reminder.name, "New Reminder");
    EXPECT_EQ(reminder.date, clock.today());
    reminder.name = "Team meeting";
    reminder.reminderType = ReminderType::Daily;
    reminder.time = clockTime(10);
    return true;
  };
  window->reminderAdd();
  EXPECT_EQ(model().rowCount(), 1);
  EXPECT_EQ(names(), std::vector<std::string>{"Team meeting"});
  EXPECT_EQ(model().data(model().index(0, 2), Qt::DisplayRole), "07/03/2024 10:00:00 am");
  EXPECT_EQ(savedList()->reminderCount(), 1);
  expectFileFollowsList();
  EXPECT_TRUE(window->checkTimer().isActive());
}

TEST_F(CommandsTest, AddingAPastOnceOnlyReminderShowsAndSavesItDisabled) {
  start();
  prompts.onEdit = [this](Reminder& reminder) {
    reminder.date = clock.today();
    reminder.time = clockTime(8); // an hour ago
    return true;
  };
  window->reminderAdd();
  ASSERT_EQ(list().reminderCount(), 1);
  EXPECT_FALSE(list().reminderAt(0)->enabled);
  EXPECT_EQ(model().data(model().index(0, 2), Qt::DisplayRole), "");
  EXPECT_EQ(model().data(model().index(0, 0), Qt::ForegroundRole), QColor(0xC0, 0xC0, 0xC0));
  expectFileFollowsList();
}

TEST_F(CommandsTest, EditChangesTheListedReminderInPlaceAndResorts) {
  startWithThree();
  const Reminder* a = list().reminderAt(0);
  selectRows(0, 0);
  prompts.onEdit = [](Reminder& reminder) {
    reminder.time = clockTime(13);
    return true;
  };
  window->reminderEdit();
  EXPECT_EQ(names(), (std::vector<std::string>{"B", "C", "A"}));
  EXPECT_EQ(list().reminderAt(2), a);
  EXPECT_EQ(window->reminderView()->selectedReminder(), a);
  expectFileFollowsList();
}

TEST_F(CommandsTest, DuplicateCopiesEverythingButLastRun) {
  startWithThree();
  selectRows(1, 1);
  window->reminderDuplicate();
  ASSERT_EQ(names(), (std::vector<std::string>{"A", "B", "B", "C"}));
  const Reminder& original = *list().reminderAt(1);
  const Reminder& copy = *list().reminderAt(2);
  EXPECT_NE(&original, &copy);
  EXPECT_NEAR(original.lastRun, at(2024, 7, 2, 11), 1e-9);
  EXPECT_EQ(copy.lastRun, 0);
  EXPECT_EQ(copy.nextScheduled, at(2024, 7, 3, 11));
  EXPECT_EQ(model().data(model().index(2, 3), Qt::DisplayRole), "");
  expectFileFollowsList();
}

TEST_F(CommandsTest, DeleteAsksAboutTheTopmostSelectedReminderAndRemovesOnlyIt) {
  startWithThree();
  selectRows(1, 2);
  prompts.confirmAnswer = false;
  window->reminderDelete();
  ASSERT_EQ(prompts.questions, std::vector<QString>{"Are you sure you wish to delete B?"});
  EXPECT_EQ(names(), (std::vector<std::string>{"A", "B", "C"}));

  prompts.confirmAnswer = true;
  window->reminderDelete();
  EXPECT_EQ(names(), (std::vector<std::string>{"A", "C"}));
  expectFileFollowsList();
}

// Like a grid, the list always has a selected row for the commands to act on.
TEST_F(CommandsTest, TheFirstRowIsSelectedAtStartAndTheNextOneAfterDelete) {
  startWithThree();
  ReminderTableView* view = window->reminderView();
  const auto selectedName = [view] {
    const Reminder* reminder = view->selectedReminder();
    return reminder ? reminder->name : std::string("(none)");
  };
  EXPECT_EQ(selectedName(), "A");

  selectRows(1, 1);
  window->reminderDelete(); // B: C moves up into its row
  EXPECT_EQ(selectedName(), "C");
  window->reminderDelete(); // C was the last row: the new last one
  EXPECT_EQ(selectedName(), "A");
  window->reminderTest();
  ASSERT_EQ(alerts.shown.size(), 1u);
  EXPECT_EQ(alerts.shown[0].name, "A");
  window->reminderDelete(); // the only one: the blank row stays selected
  EXPECT_EQ(view->selectionModel()->selectedRows().size(), 1);
  EXPECT_EQ(selectedName(), "(none)");
  EXPECT_EQ(prompts.questions.size(), 3u);
}

TEST_F(CommandsTest, DeletingTheOnlyReminderLeavesTheBlankRowAndAnEmptyFile) {
  writeReminders({makeReminder("Team meeting", ReminderType::Daily, clockTime(10))});
  start();
  selectRows(0, 0);
  window->reminderDelete();
  EXPECT_EQ(prompts.questions,
            std::vector<QString>{"Are you sure you wish to delete Team meeting?"});
  EXPECT_EQ(model().rowCount(), 1);
  EXPECT_TRUE(list().isEmpty());
  EXPECT_EQ(savedList()->reminderCount(), 0);
}

// What the user types is stored as UTF-8; the list and the question show it back.
TEST_F(CommandsTest, AStoredNameReadsTheSameInTheListAndTheQuestion) {
  start();
  const QString name = QString::fromUtf8("Caf\u00e9 \u00fcber \u20ac");
  prompts.onEdit = [&](Reminder& reminder) {
    reminder.name = toStoredText(name);
    return true;
  };
  window->reminderAdd();
  EXPECT_EQ(list().reminderAt(0)->name, "Caf\xc3\xa9 \xc3\xbc"
                                        "ber \xe2\x82\xac");
  EXPECT_EQ(model().data(model().index(0, 0), Qt::DisplayRole), name);
  selectRows(0, 0);
  prompts.confirmAnswer = false;
  window->reminderDelete();
  EXPECT_EQ(prompts.questions,
            std::vector<QString>{"Are you sure you wish to delete " + name + "?"});
}

TEST_F(CommandsTest, CommandsWithoutAReminderSelectedDoNothing) {
  start();
  selectRows(0, 0); // the blank row of the empty list
  for (QAction* action : {window->actions().reminderEdit, window->actions().reminderDelete,
                          window->actions().reminderDuplicate, window->actions().reminderTest})
    action->trigger();
  EXPECT_EQ(prompts.edits, 0);
  EXPECT_TRUE(prompts.questions.empty());
  EXPECT_TRUE(alerts.shown.empty());
  EXPECT_FALSE(QFile::exists(path("Reminders.dat")));
}

TEST_F(CommandsTest, AFailingSaveIsShownAndTheCheckTimerRunsOn) {
  startWithThree();
  QFile::remove(path("Reminders.dat"));
  QDir().mkdir(path("Reminders.dat")); // a folder where the file should be
  selectRows(0, 0);
  window->reminderDuplicate();
  EXPECT_EQ(list().reminderCount(), 4); // the list keeps the change
  ASSERT_EQ(prompts.errors.size(), 1u);
  EXPECT_FALSE(prompts.errors[0].isEmpty());
  EXPECT_TRUE(window->checkTimer().isActive());
}

TEST_F(CommandsTest, EnableRemindersFollowsTheCheckMark) {
  start();
  QAction* enable = window->actions().systemEnable;
  EXPECT_TRUE(enable->isChecked());
  EXPECT_TRUE(window->remindersEnabled());
  enable->trigger();
  EXPECT_FALSE(enable->isChecked());
  EXPECT_FALSE(window->remindersEnabled());
  enable->trigger();
  EXPECT_TRUE(window->remindersEnabled());
}

// The view must not take the command shortcuts (Ctrl+A would be "select all").
TEST_F(CommandsTest, ShortcutsRunTheCommandsWhileTheListHasTheFocus) {
  startWithThree();
  window->show();
  window->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
  ReminderTableView* view = window->reminderView();
  view->setFocus();
  selectRows(1, 1);

  QTest::keyClick(view, Qt::Key_A, Qt::ControlModifier);
  EXPECT_EQ(prompts.edits, 1);
  EXPECT_EQ(view->selectionModel()->selectedRows().size(), 1);
  QTest::keyClick(view, Qt::Key_E, Qt::ControlModifier);
  EXPECT_EQ(prompts.edits, 2);
  QTest::keyClick(view, Qt::Key_T, Qt::ControlModifier);
  ASSERT_EQ(alerts.shown.size(), 1u);
  EXPECT_EQ(alerts.shown[0].name, "B");
  QTest::keyClick(view, Qt::Key_U, Qt::ControlModifier);
  EXPECT_EQ(list().reminderCount(), 4);
  QTest::keyClick(view, Qt::Key_D, Qt::ControlModifier);
  EXPECT_EQ(prompts.questions.size(), 1u);
  EXPECT_EQ(list().reminderCount(), 3);
}

TEST_F(CommandsTest, MenusCarryTheCaptionsAccessKeysAndShortcuts) {
  start();
  struct Item {
    QAction* action;
    const char* text;
    const char* shortcut;
  };
  const MainWindow::Actions& a = window->actions();
  const Item items[] = {
      {a.fileSave, "&Save", "Ctrl+S"},
      {a.fileClose, "&Close Window", ""},
      {a.fileShutDown, "S&hut Down", ""},
      {a.reminderAdd, "&Add", "Ctrl+A"},
      {a.reminderEdit, "&Edit", "Ctrl+E"},
      {a.reminderDelete, "&Delete", "Ctrl+D"},
      {a.reminderDuplicate, "D&uplicate", "Ctrl+U"},
      {a.reminderTest, "&Test", "Ctrl+T"},
      {a.systemEnable, "&Enable Reminders", ""},
      {a.systemOptions, "&Options", ""},
      {a.systemUpdates, "&Check For Updates", ""},
      {a.helpHelp, "&Help", "F1"},
      {a.helpAbout, "&About", ""},
  };
  for (const Item& item : items) {
    EXPECT_EQ(item.action->text(), item.text);
    EXPECT_EQ(item.action->shortcut().toString(), item.shortcut) << item.text;
  }
  EXPECT_EQ(a.fileShutDown->toolTip(), "Shut Down Application");
  EXPECT_EQ(a.popupShow->text(), "Show Program");
  EXPECT_EQ(window->windowTitle(), "ZR Dorvel");
}

} // namespace
} // namespace zr::test
