// SPDX-License-Identifier: MIT

#include "controls/scroll_text.h"
#include "controls/spin_label.h"
#include "controls/widget_test_helpers.h"

#include <QImage>
#include <QSignalSpy>
#include <gtest/gtest.h>

namespace zr {
namespace {

using test::click;

// True when some pixel of the rectangle is darker than mid grey.
bool hasInk(const QImage& image, const QRect& rect) {
  for (int y = rect.top(); y <= rect.bottom(); ++y) {
    for (int x = rect.left(); x <= rect.right(); ++x) {
      if (qGray(image.pixel(x, y)) < 128) {
        return true;
      }
    }
  }
  return false;
}

// The control on a white parent, so that its transparent background shows white.
template <typename Control> class OnWhite {
public:
  explicit OnWhite(QSize size) {
    parent.setAutoFillBackground(true);
    QPalette palette = parent.palette();
    palette.setColor(QPalette::Window, Qt::white);
    parent.setPalette(palette);
    parent.resize(size);
    control.setGeometry(QRect(QPoint(0, 0), size));
  }

  bool show() { return test::showAndWait(parent); }
  QImage image() { return parent.grab().toImage(); }

  QWidget parent;
  Control control{&parent};
};

QStringList numberedLines(int count) {
  QStringList lines;
  for (int i = 1; i <= count; ++i) {
    lines.append(QStringLiteral("Line %1").arg(i));
  }
  return lines;
}

const QString kLongText = QStringLiteral(
    "The quarterly report is due on Friday; remember to attach the spreadsheet with the "
    "revised figures and to copy everyone on the distribution list. "
    "Averyveryverylongwordthatcannotfitontoasinglerowatall ends it.");

TEST(ScrollText, NewControlShowsOneLineThatFits) {
  ScrollText text;
  EXPECT_EQ(text.lines(), QStringList{"Lines"});
  EXPECT_EQ(text.size(), QSize(100, 50));
  EXPECT_FALSE(text.scrollBarShowing());
  EXPECT_EQ(text.min(), 0);
  EXPECT_EQ(text.max(), 1);
  EXPECT_EQ(text.position(), 0);
  EXPECT_EQ(text.lineHeight(), QFontMetrics(text.font()).height());
}

TEST(ScrollText, TextThatFitsIsDrawnFromTheTopLeftWithoutABar) {
  OnWhite<ScrollText> view(QSize(150, 80));
  for (const QStringList& lines : {QStringList{}, QStringList{"Short"}}) {
    view.control.setLines(lines);
    ASSERT_TRUE(view.show());
    EXPECT_FALSE(view.control.scrollBarShowing());
    EXPECT_EQ(view.control.max(), 1);
    const QImage image = view.image();
    EXPECT_FALSE(hasInk(image, QRect(139, 0, 11, 80))) << "bar painted";
    EXPECT_EQ(hasInk(image, QRect(0, 0, 20, view.control.lineHeight())), !lines.isEmpty());
  }
}

// A control six and a half rows high holding seven rows of text.
class ScrollTextScrolled : public ::testing::Test {
protected:
  void SetUp() override {
    view.control.setLines(numberedLines(7));
    lineHeight = view.control.lineHeight();
    view.control.resize(150, lineHeight * 6 + lineHeight / 2);
    ASSERT_TRUE(view.show());
  }

  OnWhite<ScrollText> view{QSize(150, 120)};
  int lineHeight = 0;
};

TEST_F(ScrollTextScrolled, DownArrowMovesTheTextUpOneLine) {
  ASSERT_TRUE(view.control.scrollBarShowing());
  EXPECT_EQ(view.control.max(), 1); // 7 rows - 6 whole rows in view
  const QImage before = view.image();

  QSignalSpy changes(&view.control, &TinyScroller::changed);
  click(view.control, QPoint(144, view.control.height() - 2));
  EXPECT_EQ(view.control.position(), 1);
  EXPECT_EQ(changes.count(), 1);

  const QImage after = view.image();
  const QRect textArea(0, 0, 150 - 16, lineHeight * 5);
#ifdef _WIN32
  if (before.copy(textArea) == before.copy(textArea.translated(0, lineHeight)))
    GTEST_SKIP() << "the offscreen platform under Wine has no font: every row looks the same";
#endif
  EXPECT_EQ(after.copy(textArea), before.copy(textArea.translated(0, lineHeight)));
  EXPECT_NE(after.copy(textArea), before.copy(textArea));
}

TEST_F(ScrollTextScrolled, PartlyVisibleLastRowIsNotDrawn) {
  const QImage image = view.image();
  EXPECT_TRUE(hasInk(image, QRect(0, lineHeight * 5, 40, lineHeight)));
  EXPECT_FALSE(
      hasInk(image, QRect(0, lineHeight * 6, 134, view.control.height() - lineHeight * 6)));
}

TEST_F(ScrollTextScrolled, SettingLinesReturnsToTheTopOnce) {
  click(view.control, QPoint(144, view.control.height() - 2));
  ASSERT_EQ(view.control.position(), 1);
  QSignalSpy changes(&view.control, &TinyScroller::changed);
  view.control.setLines(numberedLines(9));
  EXPECT_EQ(view.control.position(), 0);
  EXPECT_EQ(view.control.max(), 3);
  EXPECT_EQ(changes.count(), 1);
}

TEST_F(ScrollTextScrolled, ResizeAndFontChangeLayTheTextOutAgain) {
  view.control.resize(150, lineHeight * 7);
  QCoreApplication::processEvents();
  EXPECT_EQ(view.control.stripLeft(), 139);
  EXPECT_FALSE(view.control.scrollBarShowing());

  QFont big = view.control.font();
  big.setPixelSize(big.pixelSize() > 0 ? big.pixelSize() * 2 : 24);
  view.control.setFont(big);
  EXPECT_EQ(view.control.lineHeight(), QFontMetrics(big).height());
  EXPECT_TRUE(view.control.scrollBarShowing());
}

TEST(ScrollText, HiddenStripStillScrollsByOneLine) {
  OnWhite<ScrollText> view(QSize(150, 80));
  view.control.setLines({"Short"});
  ASSERT_TRUE(view.show());
  ASSERT_FALSE(view.control.scrollBarShowing());
  click(view.control, QPoint(145, 78));
  EXPECT_EQ(view.control.position(), 1);
  EXPECT_FALSE(hasInk(view.image(), QRect(0, 0, 134, 80)));
  click(view.control, QPoint(145, 1));
  EXPECT_EQ(view.control.position(), 0);
}

TEST(ScrollText, WrapsAtWordsAndKeepsOutOfTheStripAndGap) {
  for (const int height : {40, 400}) {
    OnWhite<ScrollText> view(QSize(160, height));
    view.control.setLines({kLongText, "", "End"});
    ASSERT_TRUE(view.show());
    EXPECT_EQ(view.control.scrollBarShowing(), height == 40);

    const QFontMetrics metrics(view.control.font());
    const QStringList& rows = view.control.wrappedLines();
    ASSERT_GT(rows.size(), 4);
    for (const QString& row : rows) {
      EXPECT_LE(metrics.horizontalAdvance(row.trimmed()), 160 - 16) << row.toStdString();
    }
    EXPECT_EQ(rows.mid(0, rows.size() - 2).join(""), kLongText);
    EXPECT_TRUE(rows.at(0).endsWith(' ')) << "broke inside a word";
    EXPECT_EQ(rows.mid(rows.size() - 2), (QStringList{"", "End"}));
    EXPECT_FALSE(hasInk(view.image(), QRect(160 - 16, 0, 5, height)));
    if (height == 400) {
      EXPECT_FALSE(hasInk(view.image(), QRect(160 - 16, 0, 16, height)));
    }
  }
}

// Counts the presses that reach it, as an alert does to be dragged.
class PressCounter : public QWidget {
public:
  int presses = 0;

protected:
  void mousePressEvent(QMouseEvent*) override { ++presses; }
};

TEST(ScrollText, PressesOnTheTextGoToTheParent) {
  PressCounter parent;
  parent.resize(150, 80);
  ScrollText text(&parent);
  text.setGeometry(0, 0, 150, 80);
  ASSERT_TRUE(test::showAndWait(parent));
  click(text, QPoint(40, 10));
  EXPECT_EQ(parent.presses, 1);
  click(text, QPoint(145, 78));
  EXPECT_EQ(parent.presses, 1);
  EXPECT_EQ(text.position(), 1);
}

TEST(SpinLabel, FollowsTheAlertSequence) {
  SpinLabel spin;
  EXPECT_EQ(spin.size(), QSize(60, 15));
  EXPECT_EQ(spin.stripLeft(), 49);
  EXPECT_EQ(spin.value(), 10);
  spin.setMax(120);
  EXPECT_EQ(spin.value(), 120);
  spin.setValue(0);
  EXPECT_EQ(spin.value(), 0);
  EXPECT_EQ(spin.position(), 120);
}

TEST(SpinLabel, ValueIsClampedAndSignalledWhenRequested) {
  SpinLabel spin;
  spin.setMax(120);
  QSignalSpy changes(&spin, &TinyScroller::changed);
  spin.setValue(200);
  EXPECT_EQ(spin.value(), 120);
  EXPECT_EQ(changes.count(), 1);
  spin.setValue(120);
  EXPECT_EQ(changes.count(), 1);
  spin.setValue(-5);
  EXPECT_EQ(spin.value(), 0);
  EXPECT_EQ(changes.count(), 2);

  spin.setMin(-3);
  spin.setMax(200);
  spin.setValue(-3);
  EXPECT_EQ(spin.value(), -3);
  spin.setMax(210); // the position stays, so the value rises with the maximum
  EXPECT_EQ(spin.value(), 7);
}

TEST(SpinLabel, ArrowClicksStepTheValueWithinTheRange) {
  SpinLabel spin;
  spin.setMax(120);
  spin.setValue(0);
  ASSERT_TRUE(test::showAndWait(spin));
  QSignalSpy changes(&spin, &TinyScroller::changed);
  click(spin, QPoint(54, 12));
  EXPECT_EQ(spin.value(), 0);
  EXPECT_EQ(changes.count(), 0);
  click(spin, QPoint(54, 2));
  EXPECT_EQ(spin.value(), 1);
  EXPECT_EQ(changes.count(), 1);
  spin.setValue(120);
  click(spin, QPoint(54, 2));
  EXPECT_EQ(spin.value(), 120);
}

TEST(SpinLabel, ArrowZonesOfTheDefaultSize) {
  SpinLabel spin;
  spin.setMax(120);
  spin.setValue(60);
  ASSERT_TRUE(test::showAndWait(spin));
  struct Case {
    QPoint at;
    int step;
  };
  const Case cases[] = {{{54, 0}, 1},  {{54, 5}, 1},   {{54, 6}, 0},  {{54, 8}, 0},
                        {{54, 9}, -1}, {{54, 14}, -1}, {{49, 2}, 1},  {{60, 2}, 1},
                        {{48, 2}, 0},  {{61, 2}, 0},   {{30, 12}, 0}, {{49, 12}, -1}};
  for (const Case& c : cases) {
    const int before = spin.value();
    click(spin, c.at);
    EXPECT_EQ(spin.value() - before, c.step) << c.at.x() << "," << c.at.y();
  }
}

TEST(SpinLabel, NarrowLabelDrawsNumberUnderlineAndArrowsInPlace) {
  OnWhite<SpinLabel> view(QSize(30, 15));
  view.control.setMax(120);
  view.control.setValue(0);
  view.control.setColorArrows(Qt::red);
  ASSERT_TRUE(view.show());
  const QImage image = view.image();

  EXPECT_TRUE(hasInk(image, QRect(0, 14, 14, 1))) << "underline";
  EXPECT_FALSE(hasInk(image, QRect(14, 14, 5, 1))) << "underline too long";
  for (int x = 0; x < 14; ++x) {
    EXPECT_LT(qGray(image.pixel(x, 14)), 128) << x;
  }

  const QRect number(0, 0, 14, 12);
  EXPECT_TRUE(hasInk(image, number));
  EXPECT_FALSE(hasInk(image, QRect(14, 0, 5, 12))) << "number ends after x 13";
  const int width = QFontMetrics(view.control.font()).horizontalAdvance("0");
  EXPECT_FALSE(hasInk(image, QRect(0, 0, 14 - width, 12))) << "number not right-aligned";

  EXPECT_EQ(image.pixelColor(19, 5), QColor(Qt::red));
  EXPECT_EQ(image.pixelColor(29, 5), QColor(Qt::red));
  EXPECT_EQ(image.pixelColor(24, 14), QColor(Qt::red));
  EXPECT_NE(image.pixelColor(18, 5), QColor(Qt::red));
}

TEST(SpinLabel, PressedArrowIsHighlighted) {
  OnWhite<SpinLabel> view(QSize(60, 15));
  ASSERT_TRUE(view.show());
  test::press(view.control, QPoint(54, 12));
  const QImage image = view.image();
  EXPECT_EQ(image.pixelColor(54, 12), QColor(Qt::yellow));
  EXPECT_EQ(image.pixelColor(54, 3), QColor(Qt::black));
  test::release(view.control, QPoint(54, 12));
  EXPECT_EQ(view.control.value(), 9);
}

} // namespace
} // namespace zr
