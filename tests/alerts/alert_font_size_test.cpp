// SPDX-License-Identifier: MIT

#include "alert_test_support.h"
#include "alerts/alert_window.h"
#include "controls/scroll_text.h"
#include "controls/spin_label.h"

#include <QApplication>
#include <QFontMetrics>
#include <QLabel>
#include <gtest/gtest.h>

namespace {

using zr::AlertWindow;

// At the desktop's font and at larger ones nothing of the snooze row is cut: the
// spin label holds "120" beside its arrows and is as tall as the font, the row fits
// in the alert, which grows where 250 x 150 is too small, and the message keeps at
// least two rows above the row.
TEST(AlertFontSize, TheSnoozeRowAndTheMessageFitAtEveryFontSize) {
  const QFont original = QApplication::font();
  for (const int points : {8, 9, 11, 16, 20}) {
    SCOPED_TRACE(points);
    QFont font = original;
    font.setPointSize(points);
    QApplication::setFont(font);
    const AlertWindow alert(zr::test::makeReminder("Pills", zr::kWhite, {"one", "two", "three"}),
                            nullptr);
    const auto* before = alert.findChild<QLabel*>("lblRemindAgain");
    const auto* minutes = alert.findChild<zr::SpinLabel*>("spnMinutes");
    const auto* after = alert.findChild<QLabel*>("lblMinutes");
    const auto* message = alert.findChild<zr::ScrollText*>("message");
    ASSERT_TRUE(before && minutes && after && message);
    const QFontMetrics metrics(minutes->font());
    EXPECT_LE(metrics.horizontalAdvance("120"), minutes->width() - 11 - 5);
    EXPECT_GE(minutes->height(), metrics.height() + 3);
    EXPECT_EQ(before->size(), before->sizeHint());
    EXPECT_EQ(after->size(), after->sizeHint());
    EXPECT_LE(after->geometry().right(), alert.width() - 1 - 10);
    EXPECT_LE(minutes->geometry().bottom(), alert.height() - 1 - 5);
    EXPECT_GE(alert.width(), AlertWindow::kWidth);
    EXPECT_GE(alert.height(), AlertWindow::kHeight);
    EXPECT_GE(message->visibleRows(), 2);
    EXPECT_LE(message->geometry().bottom() + 5, before->y());
  }
  QApplication::setFont(original);
}

} // namespace
