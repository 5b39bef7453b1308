// SPDX-License-Identifier: MIT

#include "alert_test_support.h"
#include "alerts/alert_stack.h"
#include "alerts/alert_window.h"
#include "alerts/show_reminder_alert.h"
#include "controls/scroll_text.h"
#include "controls/spin_label.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QPointer>
#include <QSignalSpy>
#include <QTest>
#include <QWheelEvent>
#include <gtest/gtest.h>
#include <memory>

namespace {

using zr::AlertWindow;

std::vector<std::string> manyLines(int count) {
  std::vector<std::string> lines;
  for (int i = 1; i <= count; ++i)
    lines.push_back("Line " + std::to_string(i));
  return lines;
}

void turnWheel(QWidget* widget, int notches) {
  const QPointF at(widget->width() / 2.0, widget->height() / 2.0);
  QWheelEvent wheel(at, widget->mapToGlobal(at), QPoint(), QPoint(0, 120 * notches), Qt::NoButton,
                    Qt::NoModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(widget, &wheel);
}

class AlertKeyboardTest : public ::testing::Test {
protected:
  AlertWindow* show(const std::string& name, std::vector<std::string> text = {"Line one"}) {
    AlertWindow* alert = zr::showReminderAlert(zr::test::makeReminder(name, zr::kWhite, text),
                                               stack_, sound_, owner_.get());
    EXPECT_TRUE(QTest::qWaitForWindowExposed(alert));
    return alert;
  }
  struct Closed {
    int minutes = -1;
    std::string name;
  };
  // Records how the alert closed.
  static void record(AlertWindow* alert, Closed& closed) {
    QObject::connect(alert, &AlertWindow::closing, [&closed](AlertWindow* closing) {
      closed.minutes = closing->snoozeMinutes();
      closed.name = closing->reminder()->name;
    });
  }

  std::unique_ptr<QWidget> owner_ = std::make_unique<QWidget>();
  zr::AlertStack stack_;
  zr::test::RecordingSoundPlayer sound_;
};

TEST_F(AlertKeyboardTest, KeysSetTheMinutesWithinZeroTo120AndEnterClosesWithThem) {
  AlertWindow* alert = show("Tea");
  Closed closed;
  record(alert, closed);
  QTest::keyClick(alert, Qt::Key_Down);
  EXPECT_EQ(alert->snoozeMinutes(), 0);
  for (int i = 0; i < 3; ++i)
    QTest::keyClick(alert, Qt::Key_Up);
  QTest::keyClick(alert, Qt::Key_Plus);
  QTest::keyClick(alert, Qt::Key_Minus);
  EXPECT_EQ(alert->snoozeMinutes(), 3);
  for (int i = 0; i < 130; ++i)
    QTest::keyClick(alert, Qt::Key_Up);
  EXPECT_EQ(alert->snoozeMinutes(), 120);

  // The wheel over the minutes turns them; elsewhere it leaves them.
  auto* minutes = alert->findChild<zr::SpinLabel*>("spnMinutes");
  turnWheel(minutes, -5);
  EXPECT_EQ(alert->snoozeMinutes(), 115);
  turnWheel(alert, 3);
  EXPECT_EQ(alert->snoozeMinutes(), 115);

  QTest::keyClick(alert, Qt::Key_Return);
  EXPECT_EQ(closed.minutes, 115);
  EXPECT_EQ(closed.name, "Tea");
}

TEST_F(AlertKeyboardTest, EscapeClosesWithoutASnooze) {
  AlertWindow* alert = show("Tea");
  Closed closed;
  record(alert, closed);
  QTest::keyClick(alert, Qt::Key_Up);
  QTest::keyClick(alert, Qt::Key_Escape);
  EXPECT_EQ(closed.minutes, 0);
}

TEST_F(AlertKeyboardTest, PageKeysAndTheWheelScrollALongMessageByWholeRows) {
  AlertWindow* alert = show("Long", manyLines(40));
  auto* message = alert->findChild<zr::ScrollText*>("message");
  ASSERT_TRUE(message->scrollBarShowing());
  const int page = message->visibleRows();
  ASSERT_GT(page, 0);
  QTest::keyClick(alert, Qt::Key_PageDown);
  EXPECT_EQ(message->position(), page);
  QTest::keyClick(alert, Qt::Key_PageUp);
  QTest::keyClick(alert, Qt::Key_PageUp);
  EXPECT_EQ(message->position(), 0);
  turnWheel(message, -2);
  EXPECT_EQ(message->position(), 2);
  turnWheel(alert, 1); // over the body, away from the minutes
  EXPECT_EQ(message->position(), 1);
  for (int i = 0; i < 20; ++i)
    QTest::keyClick(alert, Qt::Key_PageDown);
  EXPECT_EQ(message->position(), message->max());
  EXPECT_EQ(alert->snoozeMinutes(), 0);

  // A message that fits does not move.
  AlertWindow* shortOne = show("Short");
  auto* fits = shortOne->findChild<zr::ScrollText*>("message");
  QTest::keyClick(shortOne, Qt::Key_PageDown);
  turnWheel(fits, -1);
  EXPECT_EQ(fits->position(), 0);
}

TEST_F(AlertKeyboardTest, TabLeadsFromAlertToAlertAndTheNewestIsReachedFirst) {
  AlertWindow* first = show("First");
  AlertWindow* second = show("Second");
  AlertWindow* third = show("Third");
  // Dragged away, the second leaves the stack but not the round.
  emit second->movedByUser(second);

  ASSERT_TRUE(stack_.activateNewest());
  EXPECT_TRUE(QTest::qWaitForWindowActive(third));
  EXPECT_TRUE(third->hasFocus());
  QSignalSpy steps(third, &AlertWindow::stepRequested);
  QTest::keyClick(third, Qt::Key_Tab);
  EXPECT_EQ(steps.count(), 1);
  EXPECT_TRUE(QTest::qWaitForWindowActive(first));
  QTest::keyClick(first, Qt::Key_Backtab);
  EXPECT_TRUE(QTest::qWaitForWindowActive(third));
  QTest::keyClick(third, Qt::Key_Backtab);
  EXPECT_TRUE(QTest::qWaitForWindowActive(second));
}

// Closing all gives each its own minutes; an alert whose copy was taken (its reminder
// gone meanwhile) closes as well.
TEST_F(AlertKeyboardTest, CloseAllClosesEveryAlertWithTheMinutesItShows) {
  std::vector<QPointer<AlertWindow>> alerts;
  std::vector<int> minutes;
  for (int i = 0; i < 4; ++i) {
    AlertWindow* alert = show("Alert " + std::to_string(i));
    alert->findChild<zr::SpinLabel*>("spnMinutes")->setValue(i * 5);
    QObject::connect(alert, &AlertWindow::closing, [&minutes](AlertWindow* closing) {
      minutes.push_back(closing->snoozeMinutes());
    });
    alerts.emplace_back(alert);
  }
  emit alerts[1]->movedByUser(alerts[1]);
  alerts[3]->takeReminder();
  stack_.closeAll();
  EXPECT_EQ(minutes, (std::vector<int>{0, 5, 10, 15}));
  EXPECT_TRUE(stack_.openAlerts().empty());
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  for (const auto& alert : alerts)
    EXPECT_TRUE(alert.isNull());
  EXPECT_FALSE(stack_.activateNewest());
}

// What a screen reader finds: the alert with its name and message, the minutes as a
// value it can set, the close button it can press, the message as text with its
// scroll bar.
TEST_F(AlertKeyboardTest, ScreenReadersFindTheAlertItsValuesAndItsActions) {
  const std::vector<std::string> text = manyLines(30);
  AlertWindow* alert = show("Call Ann", text);
  Closed closed;
  record(alert, closed);

  QAccessibleInterface* window = QAccessible::queryAccessibleInterface(alert);
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(window->role(), QAccessible::AlertMessage);
  EXPECT_EQ(window->text(QAccessible::Name), "Call Ann");
  EXPECT_TRUE(window->text(QAccessible::Description).startsWith("Line 1\nLine 2\n"));

  QAccessibleInterface* spin =
      QAccessible::queryAccessibleInterface(alert->findChild<zr::SpinLabel*>("spnMinutes"));
  ASSERT_NE(spin, nullptr);
  EXPECT_EQ(spin->role(), QAccessible::SpinBox);
  EXPECT_EQ(spin->text(QAccessible::Name), "Remind again in 0 minutes.");
  QAccessibleValueInterface* value = spin->valueInterface();
  ASSERT_NE(value, nullptr);
  EXPECT_EQ(value->minimumValue().toInt(), 0);
  EXPECT_EQ(value->maximumValue().toInt(), 120);
  value->setCurrentValue(25);
  EXPECT_EQ(alert->snoozeMinutes(), 25);
  EXPECT_EQ(spin->text(QAccessible::Name), "Remind again in 25 minutes.");
  spin->actionInterface()->doAction(QAccessibleActionInterface::increaseAction());
  EXPECT_EQ(value->currentValue().toInt(), 26);

  QAccessibleInterface* message =
      QAccessible::queryAccessibleInterface(alert->findChild<zr::ScrollText*>("message"));
  ASSERT_NE(message, nullptr);
  ASSERT_NE(message->textInterface(), nullptr);
  EXPECT_EQ(message->textInterface()->text(0, message->textInterface()->characterCount()),
            "Line 1\nLine 2\nLine 3\nLine 4\nLine 5\nLine 6\nLine 7\nLine 8\nLine 9\nLine 10\n"
            "Line 11\nLine 12\nLine 13\nLine 14\nLine 15\nLine 16\nLine 17\nLine 18\nLine 19\n"
            "Line 20\nLine 21\nLine 22\nLine 23\nLine 24\nLine 25\nLine 26\nLine 27\nLine 28\n"
            "Line 29\nLine 30");
  ASSERT_EQ(message->childCount(), 1);
  QAccessibleInterface* bar = message->child(0);
  EXPECT_EQ(bar->role(), QAccessible::ScrollBar);
  EXPECT_EQ(bar->parent(), message);
  EXPECT_EQ(message->indexOfChild(bar), 0);
  bar->valueInterface()->setCurrentValue(4);
  EXPECT_EQ(alert->findChild<zr::ScrollText*>("message")->position(), 4);

  QAccessibleInterface* close =
      QAccessible::queryAccessibleInterface(alert->findChild<QAbstractButton*>("btnClose"));
  ASSERT_NE(close, nullptr);
  EXPECT_EQ(close->role(), QAccessible::Button);
  EXPECT_EQ(close->text(QAccessible::Name), "Close");
  // The press is animated: the click follows a moment later.
  close->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
  for (int wait = 0; wait < 100 && closed.minutes < 0; ++wait)
    QTest::qWait(20);
  EXPECT_EQ(closed.minutes, 26);
}

// A huge message, an empty one and an alert whose copy is gone stay operable.
TEST_F(AlertKeyboardTest, AHugeOrEmptyMessageStaysOperable) {
  AlertWindow* huge = show("Huge", {std::string(100000, 'x'), std::string(50000, ' ') + "end"});
  auto* message = huge->findChild<zr::ScrollText*>("message");
  EXPECT_TRUE(message->scrollBarShowing());
  for (int i = 0; i < 5; ++i)
    QTest::keyClick(huge, Qt::Key_PageDown);
  EXPECT_GT(message->position(), 0);
  QAccessibleInterface* text = QAccessible::queryAccessibleInterface(message);
  EXPECT_EQ(text->textInterface()->characterCount(), 100000 + 1 + 50003);
  EXPECT_LE(QAccessible::queryAccessibleInterface(huge)->text(QAccessible::Description).size(),
            1001);

  AlertWindow* empty = show("Empty", {});
  EXPECT_FALSE(empty->findChild<zr::ScrollText*>("message")->scrollBarShowing());
  EXPECT_EQ(QAccessible::queryAccessibleInterface(empty)->text(QAccessible::Description), "");
  QTest::keyClick(empty, Qt::Key_Up);
  empty->takeReminder();
  EXPECT_EQ(QAccessible::queryAccessibleInterface(empty)->text(QAccessible::Name), "Empty");
  int closings = 0;
  QObject::connect(empty, &AlertWindow::closing, [&closings] { ++closings; });
  QTest::keyClick(empty, Qt::Key_Return);
  EXPECT_EQ(closings, 1);
}

} // namespace
