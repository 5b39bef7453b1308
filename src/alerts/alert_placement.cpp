// SPDX-License-Identifier: MIT

#include "alerts/alert_placement.h"

#include <algorithm>

namespace zr {

namespace {

// How many alerts of `size` fit along `length`, at least one.
int slotsAlong(int length, int size) {
  const int room = length - 2 * kAlertMargin - size;
  return room < 0 ? 1 : room / (size + kAlertSpacing) + 1;
}

} // namespace

QPoint stackedAlertPosition(const QRect& workArea, const QSize& alertSize, int index) {
  const int rows = slotsAlong(workArea.height(), alertSize.height());
  const int columns = slotsAlong(workArea.width(), alertSize.width());
  const int pile = index / (rows * columns);
  const int slot = index % (rows * columns);
  const int column = slot / rows;
  const int row = slot % rows;
  const int shift = pile * kAlertCascadeStep;

  const int right = workArea.x() + workArea.width() - kAlertMargin;
  const int bottom = workArea.y() + workArea.height() - kAlertMargin;
  const int x = right - alertSize.width() - column * (alertSize.width() + kAlertSpacing) - shift;
  const int y = bottom - alertSize.height() - row * (alertSize.height() + kAlertSpacing) - shift;
  return {std::max(x, workArea.x()), std::max(y, workArea.y())};
}

} // namespace zr
