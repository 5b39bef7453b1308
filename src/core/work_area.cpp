// SPDX-License-Identifier: MIT

#include "core/work_area.h"

#include <algorithm>

namespace zr {

namespace {

// Whether the rows (or columns) first..last, both included, meet start..end (excluded).
bool overlaps(int first, int last, int start, int end) {
  return first < end && last >= start;
}

} // namespace

DesktopRect monitorWorkArea(const DesktopRect& monitor, int desktopWidth, int desktopHeight,
                            std::span<const PanelStrut> struts) {
  int left = monitor.x;
  int top = monitor.y;
  int right = monitor.right();
  int bottom = monitor.bottom();
  for (const PanelStrut& strut : struts) {
    // Each band's inner edge, where the free space begins, must lie inside the monitor.
    if (strut.left > 0 && strut.left > monitor.x && strut.left < monitor.right() &&
        overlaps(strut.leftStartY, strut.leftEndY, monitor.y, monitor.bottom()))
      left = std::max(left, strut.left);
    const int rightEdge = desktopWidth - strut.right;
    if (strut.right > 0 && rightEdge > monitor.x && rightEdge < monitor.right() &&
        overlaps(strut.rightStartY, strut.rightEndY, monitor.y, monitor.bottom()))
      right = std::min(right, rightEdge);
    if (strut.top > 0 && strut.top > monitor.y && strut.top < monitor.bottom() &&
        overlaps(strut.topStartX, strut.topEndX, monitor.x, monitor.right()))
      top = std::max(top, strut.top);
    const int bottomEdge = desktopHeight - strut.bottom;
    if (strut.bottom > 0 && bottomEdge > monitor.y && bottomEdge < monitor.bottom() &&
        overlaps(strut.bottomStartX, strut.bottomEndX, monitor.x, monitor.right()))
      bottom = std::min(bottom, bottomEdge);
  }
  if (right <= left || bottom <= top)
    return monitor;
  return {left, top, right - left, bottom - top};
}

} // namespace zr
