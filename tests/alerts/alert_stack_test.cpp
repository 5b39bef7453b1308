// SPDX-License-Identifier: MIT

#include "alert_test_support.h"
#include "alerts/alert_placement.h"
#include "alerts/alert_stack.h"
#include "alerts/alert_window.h"
#include "alerts/show_reminder_alert.h"

#include <QApplication>
#include <QPointer>
#include <QScreen>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

namespace {

using zr::AlertWindow;
using zr::kAlertCascadeStep;
using zr::kAlertMargin;
using zr::kAlertSpacing;

const QSize kAlert(AlertWindow::kWidth, AlertWindow::kHeight);
constexpr int kStepUp = AlertWindow::kHeight + kAlertSpacing;
constexpr int kStepLeft = AlertWindow::kWidth + kAlertSpacing;

TEST(StackedAlertPosition, FillsColumnsUpwardThenLeftwardThenPilesUp) {
  // 800 x 800: five rows and three columns of 250 x 150 alerts fit.
  const QRect screen(0, 0, 800, 800);
  const int right = 800 - kAlertMargin - AlertWindow::kWidth;
  const int bottom = 800 - kAlertMargin - AlertWindow::kHeight;
  struct Case {
    int index;
    QPoint expected;
  };
  const Case cases[] = {
      {0, {right, bottom}},
      {1, {right, bottom - kStepUp}},
      {4, {right, bottom - 4 * kStepUp}},
      {5, {right - kStepLeft, bottom}},
      {14, {right - 2 * kStepLeft, bottom - 4 * kStepUp}},
      {15, {right - kAlertCascadeStep, bottom - kAlertCascadeStep}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.index);
    EXPECT_EQ(zr::stackedAlertPosition(screen, kAlert, c.index), c.expected);
  }
}

TEST(StackedAlertPosition, StaysInsideAWorkAreaThatIsNotAtTheOrigin) {
  // A panel on the left and one on top take 100 and 30 pixels.
  const QRect area(100, 30, 700, 400);
  EXPECT_EQ(
      zr::stackedAlertPosition(area, kAlert, 0),
      QPoint(800 - kAlertMargin - AlertWindow::kWidth, 430 - kAlertMargin - AlertWindow::kHeight));
  for (int index : {1, 2, 7, 100, 100000}) {
    SCOPED_TRACE(index);
    const QRect placed(zr::stackedAlertPosition(area, kAlert, index), kAlert);
    EXPECT_GE(placed.left(), area.left());
    EXPECT_GE(placed.top(), area.top());
    EXPECT_LE(placed.right(), area.right());
    EXPECT_LE(placed.bottom(), area.bottom());
  }
  // Smaller than one alert: pinned to the top left corner rather than pushed off screen.
  EXPECT_EQ(zr::stackedAlertPosition(QRect(10, 20, 200, 100), kAlert, 3), QPoint(10, 20));
}

class AlertStackTest : public ::testing::Test {
protected:
  AlertWindow* show(const std::string& name, const std::string& audioFile = {}) {
    zr::Reminder reminder = zr::test::makeReminder(name, zr::kWhite);
    reminder.audioFile = audioFile;
    return zr::showReminderAlert(reminder, stack_, sound_, owner_.get());
  }

  static QPoint slot(int index) {
    return zr::stackedAlertPosition(QGuiApplication::primaryScreen()->availableGeometry(), kAlert,
                                    index);
  }

  static void closeAndDelete(AlertWindow* alert) {
    QPointer<AlertWindow> guard(alert);
    alert->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(guard.isNull());
  }

  std::unique_ptr<QWidget> owner_ = std::make_unique<QWidget>();
  zr::AlertStack stack_;
  zr::test::RecordingSoundPlayer sound_;
};

TEST_F(AlertStackTest, NewAlertsStackUpwardFromTheLowerRightAndCloseTheGap) {
  ZR_SKIP_WHERE_ALERTS_GROW_WITH_THE_FONT();
  AlertWindow* first = show("first");
  AlertWindow* second = show("second");
  AlertWindow* third = show("third");
  const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
  EXPECT_EQ(first->frameGeometry().bottomRight(),
            area.bottomRight() - QPoint(kAlertMargin, kAlertMargin));
  EXPECT_EQ(second->pos(), first->pos() - QPoint(0, kStepUp));
  EXPECT_EQ(third->pos(), second->pos() - QPoint(0, kStepUp));
  // The owner, like a main window hidden in the tray, is not shown; the alerts are.
  for (AlertWindow* alert : {first, second, third})
    EXPECT_TRUE(QTest::qWaitForWindowExposed(alert));

  closeAndDelete(second);
  EXPECT_EQ(first->pos(), slot(0));
  EXPECT_EQ(third->pos(), slot(1));
  EXPECT_EQ(stack_.alerts(), (std::vector<AlertWindow*>{first, third}));

  // The next alert takes the first free place above the others.
  AlertWindow* fourth = show("fourth");
  EXPECT_EQ(fourth->pos(), slot(2));
}

TEST_F(AlertStackTest, AFullColumnContinuesInANewColumnToTheLeft) {
  ZR_SKIP_WHERE_ALERTS_GROW_WITH_THE_FONT();
  std::vector<AlertWindow*> alerts;
  for (int i = 0; i < 7; ++i)
    alerts.push_back(show("alert " + std::to_string(i)));
  const QPoint lowest = slot(0);
  EXPECT_EQ(alerts[5]->pos(), QPoint(lowest.x() - kStepLeft, lowest.y()));
  EXPECT_EQ(alerts[6]->pos(), QPoint(lowest.x() - kStepLeft, lowest.y() - kStepUp));
  // Closing one in the first column pulls the first of the second column back into it.
  closeAndDelete(alerts[0]);
  EXPECT_EQ(alerts[5]->pos(), slot(4));
}

TEST_F(AlertStackTest, AnAlertDraggedAwayLeavesTheStackAndStaysWhereItWasPut) {
  ZR_SKIP_WHERE_ALERTS_GROW_WITH_THE_FONT();
  AlertWindow* first = show("first");
  AlertWindow* second = show("second");
  const QPoint start = first->pos();
  const QPoint grip(120, 80);
  const QPoint travel(-300, -200);
  QTest::mousePress(first, Qt::LeftButton, {}, grip);
  QTest::mouseMove(first, grip + travel);
  QTest::mouseRelease(first, Qt::LeftButton, {}, grip + travel);

  EXPECT_EQ(first->pos(), start + travel);
  EXPECT_EQ(second->pos(), slot(0));
  EXPECT_EQ(stack_.alerts(), (std::vector<AlertWindow*>{second}));
  AlertWindow* third = show("third");
  EXPECT_EQ(third->pos(), slot(1));
  EXPECT_EQ(first->pos(), start + travel);
}

TEST_F(AlertStackTest, AlertsGoWithTheirOwnerAndLeaveTheStack) {
  QPointer<AlertWindow> first = show("first");
  QPointer<AlertWindow> second = show("second");
  owner_.reset();
  EXPECT_TRUE(first.isNull());
  EXPECT_TRUE(second.isNull());
  EXPECT_TRUE(stack_.alerts().empty());
}

TEST_F(AlertStackTest, SoundPlaysOnlyForAReminderWithAnAudioFile) {
  show("silent");
  show("loud", "/sounds/chime \xE9.wav");
  EXPECT_EQ(sound_.played, (std::vector<std::string>{"/sounds/chime \xE9.wav"}));
}

} // namespace
