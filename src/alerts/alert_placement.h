// SPDX-License-Identifier: MIT

#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

namespace zr {

// Gap between an alert and the edges of the work area, and between two alerts.
inline constexpr int kAlertMargin = 8;
inline constexpr int kAlertSpacing = 6;
// How far each further pile of alerts is shifted up and left once every column
// that fits on the work area is full.
inline constexpr int kAlertCascadeStep = 16;

// The top left corner of the alert at `index` (0 = the first, lowest) of a stack
// of alerts of one size. Alerts fill a column upward from the lower right corner
// of the work area; a full column continues in a new one to its left. When every
// column that fits is full, the next alerts pile up over the first ones, shifted
// up and left so the ones beneath still show, never past the work area's top left.
QPoint stackedAlertPosition(const QRect& workArea, const QSize& alertSize, int index);

} // namespace zr
