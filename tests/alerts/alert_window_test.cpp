// SPDX-License-Identifier: MIT

#include "alert_test_support.h"
#include "alerts/alert_stack.h"
#include "alerts/alert_window.h"
#include "alerts/show_reminder_alert.h"
#include "controls/scroll_text.h"
#include "controls/spin_label.h"
#include "controls/system_colors.h"
#include "support/qt_test_support.h"

#include <QAbstractButton>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QPointer>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QTextDocumentFragment>
#include <cstdlib>
#include <gtest/gtest.h>
#include <memory>

namespace {

using zr::AlertWindow;

template <typename T> T* child(const AlertWindow& alert, const char* name) {
  T* found = alert.findChild<T*>(QString::fromLatin1(name));
  EXPECT_NE(found, nullptr) << name;
  return found;
}

class AlertWindowTest : public ::testing::Test {
protected:
  std::unique_ptr<QWidget> owner_ = std::make_unique<QWidget>();
};

// A window of its own, not a tool window of the main window, which window managers
// hide with it; it comes up without the keyboard but takes it when clicked.
TEST_F(AlertWindowTest, IsAFramelessOnTopWindowOfItsOwnThatLeavesTheFocusAlone) {
  ZR_SKIP_WHERE_ALERTS_GROW_WITH_THE_FONT();
  QPointer<AlertWindow> alert =
      new AlertWindow(zr::test::makeReminder("Tea", zr::kWhite), owner_.get());
  EXPECT_EQ(alert->size(), QSize(250, 150));
  const Qt::WindowFlags flags = alert->windowFlags();
  EXPECT_EQ(flags & Qt::WindowType_Mask, Qt::Window);
  EXPECT_TRUE(flags.testFlag(Qt::FramelessWindowHint));
  EXPECT_TRUE(flags.testFlag(Qt::WindowStaysOnTopHint));
  EXPECT_FALSE(flags.testFlag(Qt::WindowDoesNotAcceptFocus));
  EXPECT_TRUE(alert->testAttribute(Qt::WA_ShowWithoutActivating));
  EXPECT_TRUE(alert->testAttribute(Qt::WA_DeleteOnClose));
  EXPECT_EQ(alert->parentWidget(), nullptr);
  EXPECT_EQ(alert->focusPolicy(), Qt::StrongFocus);
  // Still destroyed with its owner.
  owner_.reset();
  EXPECT_TRUE(alert.isNull());
}

TEST_F(AlertWindowTest, ControlsSitWhereTheLayoutPutsThem) {
  ZR_SKIP_WHERE_ALERTS_GROW_WITH_THE_FONT();
  const std::vector<std::string> text = {"Take the pills", "", "with a glass of water"};
  AlertWindow alert(zr::test::makeReminder("Pills", zr::kWhite, text), owner_.get());
  auto* heading = child<QLabel>(alert, "lblHeading");
  auto* message = child<zr::ScrollText>(alert, "message");
  auto* before = child<QLabel>(alert, "lblRemindAgain");
  auto* minutes = child<zr::SpinLabel>(alert, "spnMinutes");
  auto* after = child<QLabel>(alert, "lblMinutes");
  ASSERT_TRUE(heading && message && before && minutes && after);

  EXPECT_EQ(heading->text(), "Pills");
  EXPECT_LE(heading->geometry().bottom(), alert.captionHeight());

  EXPECT_EQ(message->lines(), QStringList({"Take the pills", "", "with a glass of water"}));
  const int top = heading->y() + heading->height() + 10;
  EXPECT_EQ(message->geometry().topLeft(), QPoint(20, top));
  EXPECT_EQ(message->width(), 250 - 40);
  EXPECT_LE(message->geometry().bottom() + 5, before->y());
  EXPECT_GE(message->height(), 2 * message->lineHeight());

  EXPECT_EQ(before->text(), "Remind again in");
  EXPECT_EQ(before->size(), before->sizeHint());
  EXPECT_EQ(before->pos(), QPoint(15, 150 - before->height() - 10));

  EXPECT_EQ(minutes->pos(), QPoint(before->x() + before->width() + 5, before->y()));
  // Wide and tall enough for "120" in the alert's font, arrows and gap beside it.
  const QFontMetrics metrics(minutes->font());
  EXPECT_GE(minutes->width(), 30);
  EXPECT_LE(metrics.horizontalAdvance("120"), minutes->width() - 11 - 5);
  EXPECT_GE(minutes->height(), metrics.height() + 3);
  EXPECT_EQ(minutes->min(), 0);
  EXPECT_EQ(minutes->max(), 120);
  EXPECT_EQ(minutes->value(), 0);

  EXPECT_EQ(after->text(), "minutes.");
  EXPECT_EQ(after->size(), after->sizeHint());
  EXPECT_EQ(after->pos(), QPoint(minutes->x() + minutes->width() + 5, minutes->y()));
  EXPECT_LE(after->geometry().right(), 250 - 1);
  for (const QLabel* label : {before, after})
    EXPECT_EQ(label->font(), alert.font()) << label->text().toStdString();
}

// A name is text, never markup: "<b>" shows as typed, in the heading and its tooltip.
TEST_F(AlertWindowTest, ALongNameIsShortenedBeforeTheCloseButtonAndShownAsWritten) {
  const std::string name = "<b>" + std::string(80, 'W');
  AlertWindow alert(zr::test::makeReminder(name, zr::kWhite), owner_.get());
  auto* heading = child<QLabel>(alert, "lblHeading");
  auto* close = child<QAbstractButton>(alert, "btnClose");
  ASSERT_TRUE(heading && close);
  EXPECT_EQ(heading->textFormat(), Qt::PlainText);
  EXPECT_TRUE(heading->text().startsWith("<b>W"));
  EXPECT_TRUE(heading->text().endsWith(QChar(0x2026)));
  EXPECT_LE(heading->fontMetrics().horizontalAdvance(heading->text()), heading->width());
  EXPECT_LT(heading->geometry().right(), close->x());
  EXPECT_EQ(QTextDocumentFragment::fromHtml(heading->toolTip()).toPlainText(),
            QString::fromStdString(name));
}

// A missed reminder's late note follows the name on its line when both fit; otherwise
// it takes a line of its own in the caption bar, which grows, and the message moves down.
TEST_F(AlertWindowTest, ALateNoteFollowsTheNameOrTakesALineOfItsOwn) {
  ZR_SKIP_WHERE_ALERTS_GROW_WITH_THE_FONT();
  const QString today = QStringLiteral("(missed 09:30:00 am)");
  AlertWindow alert(zr::test::makeReminder("Pills", zr::kWhite), owner_.get(), today);
  auto* heading = child<QLabel>(alert, "lblHeading");
  ASSERT_NE(heading, nullptr);
  EXPECT_EQ(heading->text(), "Pills " + today);
  EXPECT_EQ(heading->toolTip(), QString());
  EXPECT_EQ(alert.findChild<QLabel*>("lblLateNote"), nullptr);
  EXPECT_EQ(alert.windowTitle(), "Pills " + today);

  const QString earlier = QStringLiteral("(missed 07/02/2024 02:00:00 pm)");
  for (const std::string& name : {std::string("Team meeting"), std::string(80, 'W')}) {
    SCOPED_TRACE(name);
    AlertWindow late(zr::test::makeReminder(name, zr::kWhite, {"line"}), owner_.get(), earlier);
    heading = child<QLabel>(late, "lblHeading");
    auto* note = child<QLabel>(late, "lblLateNote");
    auto* close = child<QAbstractButton>(late, "btnClose");
    auto* message = child<zr::ScrollText>(late, "message");
    ASSERT_TRUE(heading && note && close && message);
    EXPECT_TRUE(heading->text().startsWith(QString::fromStdString(name.substr(0, 4))));
    EXPECT_EQ(note->text(), earlier);
    EXPECT_FALSE(note->font().bold());
    EXPECT_EQ(note->geometry().top(), heading->geometry().bottom() + 1);
    EXPECT_LE(note->fontMetrics().horizontalAdvance(note->text()), note->width());
    EXPECT_LT(heading->geometry().right(), close->x());
    EXPECT_EQ(close->height(), alert.findChild<QAbstractButton*>("btnClose")->height());
    EXPECT_LE(note->geometry().bottom(), late.captionHeight());
    EXPECT_EQ(message->y(), note->geometry().bottom() + 1 + 10);
    EXPECT_EQ(late.windowTitle(), QString::fromStdString(name) + ' ' + earlier);
    // A snooze takes the copy with its name alone.
    EXPECT_EQ(late.reminder()->name, name);
  }
}

// The window system takes the title as one line of C string: a NUL would cut it and a
// bidirectional override would turn it around, so neither reaches it.
TEST_F(AlertWindowTest, TitleHoldsNoControlOrBidirectionalCharacter) {
  const std::string name("Pay\0rent\tnow\xe2\x80\xae"
                         "exe.doc\x1b",
                         23);
  AlertWindow alert(zr::test::makeReminder(name, zr::kWhite), owner_.get());
  EXPECT_EQ(alert.windowTitle(), QString::fromUtf8("Pay\xef\xbf\xbdrent now\xef\xbf\xbd"
                                                   "exe.doc\xef\xbf\xbd"));
  EXPECT_EQ(alert.reminder()->name, name);
}

// Colours read back from the painted window: caption from darken 100 (left) to
// darken 150 (right), body from the colour (top) to darken 80 (bottom), the frame
// in the colour; text black on light and white on dark reminders. An end that would
// leave the text less than 4.5:1 is lightened under black text (the white alert's
// caption, the orange one's body); nothing else changes.
TEST_F(AlertWindowTest, PaintsTheCaptionBodyAndFrameInShadesOfTheReminderColour) {
  ZR_SKIP_WHERE_ALERTS_GROW_WITH_THE_FONT();
  struct Case {
    const char* what;
    zr::Color color;
    QColor frame, captionLeft, captionRight, bodyTop, bodyBottom, text;
  };
  const QColor lightened; // invalid: checked for its contrast instead
  const Case cases[] = {
      {"white", zr::kWhite, QColor(255, 255, 255), QColor(155, 155, 155), lightened,
       QColor(255, 255, 255), QColor(175, 175, 175), Qt::black},
      {"dark blue", 0x00800000, QColor(0, 0, 128), QColor(0, 0, 28), QColor(0, 0, 0),
       QColor(0, 0, 128), QColor(0, 0, 48), Qt::white},
      {"orange", 0x0040A0F0, QColor(240, 160, 64), QColor(140, 60, 0), QColor(90, 10, 0),
       QColor(240, 160, 64), lightened, Qt::black},
  };
  const auto near = [](const QColor& actual, const QColor& expected) {
    return std::abs(actual.red() - expected.red()) <= 3 &&
           std::abs(actual.green() - expected.green()) <= 3 &&
           std::abs(actual.blue() - expected.blue()) <= 3;
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    AlertWindow alert(zr::test::makeReminder("Colours", c.color, {}), owner_.get());
    const QImage image = alert.grab().toImage();
    const int caption = alert.captionHeight() / 2;
    const std::pair<QPoint, QColor> samples[] = {
        {{0, 75}, c.frame},
        {{249, 0}, c.frame},
        {{2, caption}, c.captionLeft},
        {{247, caption}, c.captionRight},
        {{125, alert.captionHeight()}, c.bodyTop},
        {{125, 148}, c.bodyBottom},
    };
    for (const auto& [point, wanted] : samples) {
      const QColor actual = image.pixelColor(point);
      if (!wanted.isValid()) {
        EXPECT_GE(zr::contrastRatio(actual, c.text), 4.4) << "at " << point.x() << "," << point.y();
        continue;
      }
      const QColor& expected = wanted;
      EXPECT_TRUE(near(actual, expected))
          << "at " << point.x() << "," << point.y() << ": " << actual.name().toStdString()
          << " instead of " << expected.name().toStdString();
    }
    EXPECT_EQ(child<QLabel>(alert, "lblRemindAgain")->palette().color(QPalette::WindowText),
              c.text);
    EXPECT_EQ(child<zr::ScrollText>(alert, "message")->textColor(), c.text);
    EXPECT_EQ(child<zr::SpinLabel>(alert, "spnMinutes")->textColor(), c.text);
  }
}

TEST_F(AlertWindowTest, KeepsACopyThatLaterChangesToTheOriginalDoNotReach) {
  zr::Reminder original = zr::test::makeReminder("Call Ann", 0x0000FF00, {"555-0134"});
  original.audioFile = "/sounds/ring.wav";
  original.nextScheduled = 45000.5;
  const zr::Reminder before = original;

  zr::AlertStack stack;
  zr::test::RecordingSoundPlayer sound;
  AlertWindow* alert = zr::showReminderAlert(original, stack, sound, owner_.get());
  EXPECT_EQ(original, before);
  original.name = "Changed";
  original.text.push_back("more");
  original.color = zr::kWhite;

  ASSERT_NE(alert->reminder(), nullptr);
  EXPECT_EQ(*alert->reminder(), before);
  EXPECT_EQ(child<QLabel>(*alert, "lblHeading")->text(), "Call Ann");
  std::unique_ptr<zr::Reminder> taken = alert->takeReminder();
  ASSERT_NE(taken, nullptr);
  EXPECT_EQ(*taken, before);
  EXPECT_EQ(alert->reminder(), nullptr);
  EXPECT_EQ(alert->takeReminder(), nullptr);
}

TEST_F(AlertWindowTest, ClosingHandsOverTheCopyAndTheSnoozeMinutesThenDeletesItself) {
  zr::AlertStack stack;
  zr::test::RecordingSoundPlayer sound;
  QPointer<AlertWindow> alert = zr::showReminderAlert(zr::test::makeReminder("Stretch", zr::kWhite),
                                                      stack, sound, owner_.get());
  auto* minutes = child<zr::SpinLabel>(*alert, "spnMinutes");
  ASSERT_NE(minutes, nullptr);
  // The up arrow in the rightmost 11 pixels of the spin label, as a user would press it.
  for (int i = 0; i < 5; ++i)
    QTest::mouseClick(minutes, Qt::LeftButton, {}, QPoint(minutes->width() - 5, 1));
  EXPECT_EQ(alert->snoozeMinutes(), 5);

  int closings = 0;
  int snooze = -1;
  std::unique_ptr<zr::Reminder> copy;
  QObject::connect(alert, &AlertWindow::closing, [&](AlertWindow* closing) {
    ++closings;
    snooze = closing->snoozeMinutes();
    copy = closing->takeReminder();
  });
  auto* close = child<QAbstractButton>(*alert, "btnClose");
  ASSERT_NE(close, nullptr);
  QTest::mouseClick(close, Qt::LeftButton);
  alert->close();

  EXPECT_EQ(closings, 1);
  EXPECT_EQ(snooze, 5);
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(copy->name, "Stretch");
  EXPECT_TRUE(stack.alerts().empty());
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(alert.isNull());
}

// Takes a picture of three stacked alerts of different colours over a plain
// desktop, as the screen shows them. Runs only when ZR_SCREENSHOT_DIR names the
// folder to write alerts.png to; works on the offscreen and on the xcb platform.
TEST(AlertScreenshot, ThreeStackedAlerts) {
  const QString folder = qEnvironmentVariable("ZR_SCREENSHOT_DIR");
  if (folder.isEmpty())
    GTEST_SKIP() << "set ZR_SCREENSHOT_DIR to write the screenshot";
  QScreen* screen = QGuiApplication::primaryScreen();
  QWidget desktop(nullptr, Qt::FramelessWindowHint);
  desktop.setGeometry(screen->geometry());
  QPalette background = desktop.palette();
  background.setColor(QPalette::Window, QColor(0x3a, 0x6e, 0xa5));
  desktop.setPalette(background);
  desktop.setAutoFillBackground(true);
  desktop.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&desktop));

  zr::AlertStack stack;
  zr::test::RecordingSoundPlayer sound;
  const std::vector<std::string> longText = {
      "The quarterly report is due at noon. Check the figures for March once more "
      "and send the file to the whole team.",
      "Room 4.12 is booked for the review afterwards.", "Bring the printed copies."};
  const struct {
    const char* name;
    zr::Color color;
  } reminders[] = {{"Quarterly report", zr::kWhite},
                   {"Water the plants", 0x00800000},
                   {"Stand-up meeting in the small conference room", zr::kButtonFaceSystemColor}};
  std::vector<AlertWindow*> alerts;
  for (const auto& r : reminders)
    alerts.push_back(zr::showReminderAlert(zr::test::makeReminder(r.name, r.color, longText), stack,
                                           sound, &desktop));
  child<zr::SpinLabel>(*alerts[1], "spnMinutes")->setValue(15);
  for (AlertWindow* alert : alerts)
    ASSERT_TRUE(QTest::qWaitForWindowExposed(alert));
  QTest::qWait(300);

  QRect shown;
  for (const AlertWindow* alert : alerts)
    shown |= alert->frameGeometry();
  const QRect area = shown.adjusted(-60, -40, 0, 0) & screen->geometry();
  const QPixmap picture = screen->grabWindow(0, area.x(), area.y(), area.width(), area.height());
  ASSERT_TRUE(QDir().mkpath(folder));
  EXPECT_TRUE(picture.save(QDir(folder).filePath("alerts.png")));
}

} // namespace
