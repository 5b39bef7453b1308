// SPDX-License-Identifier: MIT

#pragma once

#include <QColor>
#include <QPalette>
#include <cstdint>

namespace zr {

// The least contrast (WCAG AA) the text of an alert keeps with every colour behind it.
inline constexpr double kMinimumTextContrast = 4.5;

// The colours of one alert: the frame in the reminder's colour, the body a gradient
// from the colour to a shade 80 darker, the caption from 100 to 150 darker. A
// system colour is first resolved to the palette's real colour, so it is shaded as
// shown. Each text colour is black or white, whichever keeps more contrast with
// both ends of its gradient; where neither keeps 4.5:1, the end that falls short
// is lightened (under black text) or darkened (under white text) until it does.
struct AlertShading {
  QColor frame;
  QColor bodyStart;
  QColor bodyEnd;
  QColor captionStart;
  QColor captionEnd;
  QColor bodyText;
  QColor captionText;
};

AlertShading alertShading(std::uint32_t color, const QPalette& palette);

} // namespace zr
