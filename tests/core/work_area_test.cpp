// SPDX-License-Identifier: MIT

#include "core/work_area.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

using zr::DesktopRect;
using zr::PanelStrut;

// Two monitors of 1280 x 800 side by side make a desktop of 2560 x 800.
constexpr DesktopRect kLeft{0, 0, 1280, 800};
constexpr DesktopRect kRight{1280, 0, 1280, 800};

PanelStrut bottomPanel(int height, int startX, int endX) {
  PanelStrut strut;
  strut.bottom = height;
  strut.bottomStartX = startX;
  strut.bottomEndX = endX;
  return strut;
}

TEST(MonitorWorkArea, LeavesOutPanelsOnOuterAndInnerEdgesOfTheirOwnMonitor) {
  // A 32-pixel panel along the inner (right) edge of the left monitor reserves a band
  // 1312 pixels wide from the desktop's right edge; one along the inner (left) edge of
  // the right monitor a band 1312 wide from the desktop's left edge.
  PanelStrut innerOfLeft;
  innerOfLeft.right = 2560 - 1248;
  innerOfLeft.rightStartY = 0;
  innerOfLeft.rightEndY = 799;
  PanelStrut innerOfRight;
  innerOfRight.left = 1280 + 40;
  innerOfRight.leftStartY = 100;
  innerOfRight.leftEndY = 699;
  PanelStrut top;
  top.top = 24;
  top.topStartX = 1280;
  top.topEndX = 2559;
  const std::vector<PanelStrut> struts = {innerOfLeft, innerOfRight, bottomPanel(30, 0, 1279), top};

  EXPECT_EQ(zr::monitorWorkArea(kLeft, 2560, 800, struts), (DesktopRect{0, 0, 1248, 770}));
  EXPECT_EQ(zr::monitorWorkArea(kRight, 2560, 800, struts), (DesktopRect{1320, 24, 1240, 776}));
}

TEST(MonitorWorkArea, IgnoresBandsBesideTheMonitorAndBandsThatWouldCoverItAll) {
  // A bottom panel on the right monitor alone, and a left band reaching past the whole
  // left monitor (it belongs to the right one).
  PanelStrut wide;
  wide.left = 1300;
  wide.leftStartY = 0;
  wide.leftEndY = 799;
  const std::vector<PanelStrut> struts = {bottomPanel(40, 1280, 2559), wide};
  EXPECT_EQ(zr::monitorWorkArea(kLeft, 2560, 800, struts), kLeft);
  EXPECT_EQ(zr::monitorWorkArea(kRight, 2560, 800, struts), (DesktopRect{1300, 0, 1260, 760}));
  // Rows that end just above the monitor (the end row is included, the monitor's
  // bottom excluded) do not count.
  const DesktopRect lower{0, 800, 1280, 800};
  EXPECT_EQ(zr::monitorWorkArea(lower, 1280, 1600, std::vector<PanelStrut>{[] {
                                  PanelStrut strut;
                                  strut.left = 50;
                                  strut.leftStartY = 0;
                                  strut.leftEndY = 799;
                                  return strut;
                                }()}),
            lower);
  EXPECT_EQ(zr::monitorWorkArea(kLeft, 2560, 800, {}), kLeft);
}

} // namespace
