// SPDX-License-Identifier: MIT

#pragma once

#include <span>

namespace zr {

// A rectangle of the desktop in root-window pixels; right and bottom are excluded.
struct DesktopRect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;

  int right() const { return x + width; }
  int bottom() const { return y + height; }
  bool operator==(const DesktopRect&) const = default;
};

// The space a panel reserves along the edges of the whole desktop, as a panel
// announces it in _NET_WM_STRUT_PARTIAL: a band `left` pixels wide from the
// desktop's left edge, covering rows leftStartY..leftEndY (both included), and so
// on for the other three edges. A band of 0 reserves nothing.
struct PanelStrut {
  int left = 0, right = 0, top = 0, bottom = 0;
  int leftStartY = 0, leftEndY = 0, rightStartY = 0, rightEndY = 0;
  int topStartX = 0, topEndX = 0, bottomStartX = 0, bottomEndX = 0;
};

// The part of `monitor` that windows may use once the panels have their space.
// The desktop is `desktopWidth` x `desktopHeight`. A band counts for the monitor
// whose area it ends in: a panel on an inner edge (the right edge of the left
// monitor, say) reserves a band from the desktop's edge that crosses a whole
// monitor first, so a band that covers the monitor entirely belongs to another
// one further in and is left out. Bands beside the monitor are left out too.
DesktopRect monitorWorkArea(const DesktopRect& monitor, int desktopWidth, int desktopHeight,
                            std::span<const PanelStrut> struts);

} // namespace zr
