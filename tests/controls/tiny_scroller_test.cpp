// SPDX-License-Identifier: MIT

#include "controls/tiny_scroller.h"
#include "controls/widget_test_helpers.h"

#include <QImage>
#include <QSignalSpy>
#include <gtest/gtest.h>
#include <limits>

namespace zr {
namespace {

using test::click;
using test::drag;
using test::press;
using test::release;

// The base control with every setter made public.
class Scroller : public TinyScroller {
public:
  using TinyScroller::setArrowHeight;
  using TinyScroller::setBarWidth;
  using TinyScroller::setColorArrows;
  using TinyScroller::setColorBar;
  using TinyScroller::setColorHighlight;
  using TinyScroller::setColorScroller;
  using TinyScroller::setMax;
  using TinyScroller::setMin;
  using TinyScroller::setPosition;
  using TinyScroller::setShowBar;
  using TinyScroller::setShowScroller;
  using TinyScroller::setStripLeft;
  using TinyScroller::setStripWidth;
};

// An 11 x 50 bar filling the whole widget, shown so that it takes the mouse.
class TinyScrollerTest : public ::testing::Test {
protected:
  void SetUp() override {
    bar.resize(11, 50);
    bar.setStripLeft(0);
    bar.setStripWidth(11);
    ASSERT_TRUE(test::showAndWait(bar));
  }

  Scroller bar;
  QSignalSpy changes{&bar, &TinyScroller::changed};
};

constexpr QPoint kUpArrow{5, 2};
constexpr QPoint kDownArrow{5, 47};

TEST_F(TinyScrollerTest, ArrowClicksStepWithinTheRange) {
  click(bar, kUpArrow);
  EXPECT_EQ(bar.position(), 0);
  EXPECT_EQ(changes.count(), 0);

  click(bar, kDownArrow);
  EXPECT_EQ(bar.position(), 1);
  EXPECT_EQ(changes.count(), 1);

  bar.setPosition(100);
  changes.clear();
  click(bar, kDownArrow);
  EXPECT_EQ(bar.position(), 100);
  EXPECT_EQ(changes.count(), 0);
}

TEST_F(TinyScrollerTest, StepIsAppliedOnReleaseWhereverThePointerIs) {
  press(bar, kDownArrow);
  EXPECT_EQ(bar.pressedArea(), TinyScroller::Area::ArrowDown);
  EXPECT_EQ(bar.position(), 0);

  drag(bar, QPoint(300, -40));
  release(bar, QPoint(300, -40));
  EXPECT_EQ(bar.position(), 1);
  EXPECT_EQ(changes.count(), 1);
  EXPECT_EQ(bar.pressedArea(), TinyScroller::Area::None);
}

TEST_F(TinyScrollerTest, DoubleClickStepsTwice) {
  QTest::mouseDClick(bar.windowHandle(), Qt::LeftButton, {}, kDownArrow);
  EXPECT_EQ(bar.position(), 2);
  EXPECT_EQ(changes.count(), 2);
}

TEST_F(TinyScrollerTest, SetPositionComparesTheRequestedValue) {
  bar.setPosition(500);
  EXPECT_EQ(bar.position(), 100);
  EXPECT_EQ(changes.count(), 1);

  bar.setPosition(500);
  EXPECT_EQ(bar.position(), 100);
  EXPECT_EQ(changes.count(), 2);

  bar.setPosition(100);
  EXPECT_EQ(changes.count(), 2);

  bar.setPosition(-7);
  EXPECT_EQ(bar.position(), 0);
  EXPECT_EQ(changes.count(), 3);
}

TEST_F(TinyScrollerTest, RangeChangesDragTheOtherEndAndClampSilently) {
  bar.setPosition(80);
  changes.clear();

  bar.setMax(50);
  EXPECT_EQ(bar.position(), 50);

  bar.setMax(-10);
  EXPECT_EQ(bar.min(), -10);
  EXPECT_EQ(bar.max(), -10);
  EXPECT_EQ(bar.position(), -10);

  bar.setMin(20);
  EXPECT_EQ(bar.max(), 20);
  EXPECT_EQ(bar.position(), 20);
  EXPECT_EQ(changes.count(), 0);
}

TEST_F(TinyScrollerTest, SettersClampTheirValues) {
  bar.setArrowHeight(0);
  EXPECT_EQ(bar.arrowHeight(), 1);
  bar.setArrowHeight(-4);
  EXPECT_EQ(bar.arrowHeight(), 1);
  bar.setBarWidth(0);
  EXPECT_EQ(bar.barWidth(), 1);
  bar.setBarWidth(40);
  EXPECT_EQ(bar.barWidth(), 11);
  bar.setStripLeft(-3);
  EXPECT_EQ(bar.stripLeft(), 0);
  bar.setStripWidth(0);
  EXPECT_EQ(bar.stripWidth(), 1);
}

struct GeometryCase {
  int height;
  int arrowHeight;
  int min;
  int max;
  int position;
  int trackLength;
  int scrollerHeight;
  int scrollerTop;
};

class TinyScrollerGeometry : public ::testing::TestWithParam<GeometryCase> {};

TEST_P(TinyScrollerGeometry, MetricsFollowHeightRangeAndPosition) {
  const GeometryCase& c = GetParam();
  Scroller bar;
  bar.resize(11, c.height);
  ASSERT_TRUE(test::showAndWait(bar));
  bar.setArrowHeight(c.arrowHeight);
  bar.setMin(c.min);
  bar.setMax(c.max);
  bar.setPosition(c.position);
  EXPECT_EQ(bar.trackLength(), c.trackLength);
  EXPECT_EQ(bar.scrollerHeight(), c.scrollerHeight);
  EXPECT_EQ(bar.scrollerTop(), c.scrollerTop);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TinyScrollerGeometry,
    ::testing::Values(
        // 36 / 10 = 3.6 rounds to 4 and is raised to the minimum of 5.
        GeometryCase{50, 5, 0, 9, 9, 36, 5, 31}, GeometryCase{50, 5, 0, 9, 4, 36, 5, 14},
        GeometryCase{50, 5, 0, 9, 0, 36, 5, 0}, GeometryCase{50, 5, -5, 4, -1, 36, 5, 14},
        // Halves round to the even neighbour: 13 / 2 = 6.5 -> 6, 5 / 2 = 2.5 -> 2.
        GeometryCase{27, 5, 0, 1, 0, 13, 6, 0}, GeometryCase{16, 1, 0, 2, 1, 10, 5, 2},
        // A big page share: one of two positions takes half the track.
        GeometryCase{104, 5, 0, 1, 1, 90, 45, 45}),
    [](const ::testing::TestParamInfo<GeometryCase>& info) {
      return "Case" + std::to_string(info.index);
    });

TEST(TinyScrollerResize, ResizeRecomputesTheMetrics) {
  Scroller bar;
  bar.resize(11, 50);
  ASSERT_TRUE(test::showAndWait(bar));
  bar.setMax(9);
  bar.setPosition(9);
  bar.resize(11, 80);
  QCoreApplication::processEvents();
  EXPECT_EQ(bar.trackLength(), 66);
  EXPECT_EQ(bar.scrollerHeight(), 7);
  EXPECT_EQ(bar.scrollerTop(), 59);
}

TEST_F(TinyScrollerTest, PressesOutsideTheStripAreIgnored) {
  bar.resize(40, 50);
  bar.setStripLeft(10);
  bar.setStripWidth(11);
  QCoreApplication::processEvents();
  struct Case {
    int x;
    int step;
  };
  for (const Case c : {Case{9, 0}, Case{10, 1}, Case{21, 1}, Case{22, 0}}) {
    const int before = bar.position();
    click(bar, QPoint(c.x, kDownArrow.y()));
    EXPECT_EQ(bar.position() - before, c.step) << "x " << c.x;
  }
}

// Bar 11 x 50, arrow height 5, range 0..9 at position 4: the scroller covers
// rows 21..26 (top 7 + 14, height 5, both edges counted).
struct AreaCase {
  bool showBar;
  bool showScroller;
  int y;
  TinyScroller::Area area;
  int step;
};

class TinyScrollerAreas : public ::testing::TestWithParam<AreaCase> {};

TEST_P(TinyScrollerAreas, FirstMatchingAreaTakesThePress) {
  const AreaCase& c = GetParam();
  Scroller bar;
  bar.resize(11, 50);
  bar.setStripWidth(11);
  ASSERT_TRUE(test::showAndWait(bar));
  bar.setMax(9);
  bar.setPosition(4);
  bar.setShowBar(c.showBar);
  bar.setShowScroller(c.showScroller);

  press(bar, QPoint(5, c.y));
  EXPECT_EQ(bar.pressedArea(), c.area);
  release(bar, QPoint(5, c.y));
  EXPECT_EQ(bar.position(), 4 + c.step);
}

using Area = TinyScroller::Area;
INSTANTIATE_TEST_SUITE_P(
    Cases, TinyScrollerAreas,
    ::testing::Values(
        AreaCase{true, true, 0, Area::ArrowUp, -1}, AreaCase{true, true, 5, Area::ArrowUp, -1},
        AreaCase{true, true, 6, Area::PageUp, -1}, AreaCase{true, true, 20, Area::PageUp, -1},
        AreaCase{true, true, 21, Area::Scroller, 0}, AreaCase{true, true, 26, Area::Scroller, 0},
        AreaCase{true, true, 27, Area::PageDown, 1}, AreaCase{true, true, 43, Area::PageDown, 1},
        AreaCase{true, true, 44, Area::ArrowDown, 1}, AreaCase{true, true, 49, Area::ArrowDown, 1},
        // Without the scroller its rows belong to the bar below it.
        AreaCase{true, false, 20, Area::PageUp, -1}, AreaCase{true, false, 23, Area::PageDown, 1},
        AreaCase{false, false, 10, Area::None, 0}, AreaCase{false, false, 30, Area::None, 0},
        AreaCase{false, true, 10, Area::None, 0}, AreaCase{false, true, 23, Area::Scroller, 0}),
    [](const ::testing::TestParamInfo<AreaCase>& info) {
      return "Case" + std::to_string(info.index);
    });

TEST_F(TinyScrollerTest, DraggedScrollerFollowsTheMouseAndSnapsOnRelease) {
  bar.setMax(9);
  // Position 0: the scroller covers rows 7..12; 31 rows of travel for 9 steps.
  press(bar, QPoint(5, 9));
  ASSERT_TRUE(bar.dragging());

  drag(bar, QPoint(5, 14));
  EXPECT_EQ(bar.scrollerTop(), 5);
  EXPECT_EQ(bar.position(), 1); // 5 / 31 * 9 = 1.45
  drag(bar, QPoint(5, 19));
  EXPECT_EQ(bar.scrollerTop(), 10);
  EXPECT_EQ(bar.position(), 3); // 2.9
  EXPECT_EQ(changes.count(), 2);

  // Movement past the end is dropped, so moving back moves the scroller at once.
  drag(bar, QPoint(5, 200));
  EXPECT_EQ(bar.scrollerTop(), 31);
  EXPECT_EQ(bar.position(), 9);
  drag(bar, QPoint(5, 199));
  EXPECT_EQ(bar.scrollerTop(), 30);
  EXPECT_EQ(bar.position(), 9); // 8.7
  drag(bar, QPoint(5, 195));
  EXPECT_EQ(bar.scrollerTop(), 26);
  EXPECT_EQ(bar.position(), 8); // 7.5 rounds to the even 8
  release(bar, QPoint(5, 195));
  EXPECT_FALSE(bar.dragging());
  EXPECT_EQ(bar.scrollerTop(), 28); // 31 / 9 * 8 = 27.6
  EXPECT_EQ(changes.count(), 4);
}

TEST_F(TinyScrollerTest, DraggingAScrollerThatFillsTheTrackKeepsThePosition) {
  bar.setMax(0);
  press(bar, QPoint(5, 10));
  ASSERT_TRUE(bar.dragging());
  drag(bar, QPoint(5, 30));
  release(bar, QPoint(5, 30));
  EXPECT_EQ(bar.position(), 0);
  EXPECT_EQ(changes.count(), 0);
}

TEST_F(TinyScrollerTest, DragAndStepsCoverTheWholeRangeOfInt) {
  bar.setMin(std::numeric_limits<int>::min());
  bar.setMax(std::numeric_limits<int>::max());
  bar.setPosition(std::numeric_limits<int>::min());
  press(bar, QPoint(5, 9));
  drag(bar, QPoint(5, 100));
  release(bar, QPoint(5, 100));
  EXPECT_EQ(bar.position(), std::numeric_limits<int>::max());
  click(bar, kDownArrow);
  EXPECT_EQ(bar.position(), std::numeric_limits<int>::max());
  EXPECT_EQ(bar.scrollerTop(), 31);
}

TEST_F(TinyScrollerTest, PaintsElementsInTheirColoursAndThePressedOneHighlighted) {
  bar.setColorArrows(Qt::red);
  bar.setColorBar(Qt::green);
  bar.setColorScroller(Qt::blue);
  bar.setMax(9);
  bar.setPosition(9); // scroller rows 38..42

  const QImage idle = bar.grab().toImage();
  EXPECT_EQ(idle.pixelColor(5, 1), QColor(Qt::red));
  EXPECT_EQ(idle.pixelColor(0, 5), QColor(Qt::red));
  EXPECT_EQ(idle.pixelColor(10, 5), QColor(Qt::red));
  EXPECT_EQ(idle.pixelColor(5, 48), QColor(Qt::red));
  EXPECT_EQ(idle.pixelColor(4, 20), QColor(Qt::green));
  EXPECT_EQ(idle.pixelColor(6, 20), QColor(Qt::green));
  EXPECT_NE(idle.pixelColor(3, 20), QColor(Qt::green));
  EXPECT_NE(idle.pixelColor(7, 20), QColor(Qt::green));
  EXPECT_EQ(idle.pixelColor(0, 38), QColor(Qt::blue));
  EXPECT_EQ(idle.pixelColor(10, 42), QColor(Qt::blue));
  EXPECT_NE(idle.pixelColor(0, 43), QColor(Qt::blue));
  EXPECT_NE(idle.pixelColor(0, 37), QColor(Qt::blue));

  press(bar, QPoint(5, 20));
  const QImage pressed = bar.grab().toImage();
  EXPECT_EQ(pressed.pixelColor(5, 20), QColor(Qt::yellow));
  EXPECT_EQ(pressed.pixelColor(5, 1), QColor(Qt::red));
  EXPECT_EQ(pressed.pixelColor(0, 40), QColor(Qt::blue));
  release(bar, QPoint(5, 20));
}

} // namespace
} // namespace zr
