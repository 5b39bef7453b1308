// SPDX-License-Identifier: MIT

#include "app_fixture.h"

#include <QAction>
#include <QSignalSpy>

namespace zr::test {
namespace {

class ListBusyTest : public AppFixture {
protected:
  void startWithTwo() {
    writeReminders({makeReminder("Ten", ReminderType::Daily, clockTime(10)),
                    makeReminder("Eleven", ReminderType::Daily, clockTime(11))});
    start();
    selectRows(0, 0);
  }

  QByteArray settingsContent() const {
    QFile file(path("ZRDorvel.ini"));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }
};

void shutDownFrom(QWidget* window) {
  qobject_cast<MainWindow*>(window)->actions().fileShutDown->trigger();
}

// The tray's "Shut Down" while the box about an unreadable file is open: the
// start-up has not switched the check timer on yet, and the close must not wait for it.
TEST_F(ListBusyTest, ShutDownWhileTheStartUpErrorBoxIsOpenClosesAtOnce) {
  QFile file(path("Reminders.dat"));
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write("DorvelFile\r\n2\r\n1\r\n");
  file.close();
  prompts.whileShowingError = shutDownFrom;
  start();
  ASSERT_EQ(prompts.errors.size(), 1u);
  EXPECT_TRUE(window->isClosed());
  EXPECT_TRUE(list().isEmpty());
  EXPECT_FALSE(window->checkTimer().isActive());
  EXPECT_TRUE(settingsContent().contains("OnCloseMessage=")); // the close sequence ran
}

// A command whose dialog or question was open when the program shut down comes
// back to a closed list: it returns at once and never saves the emptied list.
TEST_F(ListBusyTest, ACommandWhoseDialogWasOpenAtTheCloseReturnsAtOnceAndSavesNothing) {
  const struct {
    const char* name;
    void (MainWindow::*command)();
  } cases[] = {{"Add", &MainWindow::reminderAdd},
               {"Edit", &MainWindow::reminderEdit},
               {"Delete", &MainWindow::reminderDelete}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    startWithTwo();
    const QByteArray before = fileContent();
    QSignalSpy closed(window.get(), &MainWindow::closed);
    prompts.onEdit = [this](Reminder&) {
      shutDownFrom(window.get());
      return true;
    };
    prompts.whileAsking = shutDownFrom;
    (window.get()->*c.command)();
    EXPECT_TRUE(window->isClosed());
    EXPECT_EQ(closed.count(), 1);
    EXPECT_TRUE(list().isEmpty());
    EXPECT_EQ(fileContent(), before);
  }
}

TEST_F(ListBusyTest, AfterTheCloseCommandsAndPassesReturnAtOnce) {
  startWithTwo();
  const QByteArray before = fileContent();
  window->reminderClose(std::make_unique<Reminder>(*list().reminderAt(0)), 1);
  window->fileShutDown();
  prompts.onEdit = [](Reminder&) { return true; };
  window->reminderAdd();
  window->fileSave();
  window->fileShutDown();
  clock.advance(1);
  window->checkReminders();
  EXPECT_TRUE(alerts.shown.empty());
  EXPECT_TRUE(list().isEmpty());
  EXPECT_EQ(fileContent(), before);
  EXPECT_FALSE(window->checkTimer().isActive());
  EXPECT_TRUE(prompts.errors.empty());
}

// An event loop inside a pass (here: while an alert is shown) may run a command
// or the close; they wait for the pass to end and then run.
TEST_F(ListBusyTest, ACommandOrTheCloseDuringAPassRunsRightAfterThePass) {
  startWithTwo();
  clock.set(at(2024, 7, 3, 10, 0, 1));
  alerts.whileShowing = [this] {
    window->reminderDuplicate();
    EXPECT_EQ(list().reminderCount(), 2);
  };
  window->checkReminders();
  EXPECT_EQ(names(), (std::vector<std::string>{"Eleven", "Ten", "Ten"}));
  expectFileFollowsList();
  EXPECT_TRUE(window->checkTimer().isActive());

  clock.set(at(2024, 7, 3, 11, 0, 1));
  alerts.whileShowing = [this] {
    window->fileShutDown();
    EXPECT_FALSE(window->isClosed());
  };
  window->checkReminders();
  EXPECT_TRUE(window->isClosed());
  EXPECT_TRUE(list().isEmpty());
  EXPECT_FALSE(window->checkTimer().isActive());
  // The pass saved before the close: the file holds the moment "Eleven" fired.
  const std::unique_ptr<ReminderList> saved = savedList();
  ASSERT_EQ(saved->reminderCount(), 3);
  EXPECT_NEAR(saved->reminderAt(0)->lastRun, clock.now(), 1e-9);
}

} // namespace
} // namespace zr::test
