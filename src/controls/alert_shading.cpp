// SPDX-License-Identifier: MIT

#include "controls/alert_shading.h"

#include "controls/graphics_utils.h"
#include "controls/system_colors.h"

#include <algorithm>

namespace zr {

namespace {

std::uint32_t storedColor(const QColor& color) {
  return static_cast<std::uint32_t>(color.red()) | static_cast<std::uint32_t>(color.green()) << 8 |
         static_cast<std::uint32_t>(color.blue()) << 16;
}

QColor darker(const QColor& color, int amount) {
  return colorToQColor(darkenColor(storedColor(color), amount), QPalette());
}

QColor mixed(const QColor& from, const QColor& to, double share) {
  const auto channel = [share](int a, int b) {
    return static_cast<int>(a + (b - a) * share + 0.5);
  };
  return QColor(channel(from.red(), to.red()), channel(from.green(), to.green()),
                channel(from.blue(), to.blue()));
}

double worstContrast(const QColor& text, const QColor& start, const QColor& end) {
  return std::min(contrastRatio(text, start), contrastRatio(text, end));
}

// Picks the text colour for a gradient from `start` to `end` and moves an end that
// leaves too little contrast towards the opposite of the text, in small steps.
void chooseText(QColor& start, QColor& end, QColor& text) {
  const QColor black(Qt::black);
  const QColor white(Qt::white);
  text = worstContrast(black, start, end) >= worstContrast(white, start, end) ? black : white;
  const QColor away = text == black ? white : black;
  for (QColor* shade : {&start, &end}) {
    const QColor original = *shade;
    for (int step = 1; step <= 20 && contrastRatio(text, *shade) < kMinimumTextContrast; ++step)
      *shade = mixed(original, away, step / 20.0);
  }
}

} // namespace

AlertShading alertShading(std::uint32_t color, const QPalette& palette) {
  AlertShading shading;
  shading.frame = colorToQColor(color, palette);
  shading.bodyStart = shading.frame;
  shading.bodyEnd = darker(shading.frame, 80);
  shading.captionStart = darker(shading.frame, 100);
  shading.captionEnd = darker(shading.frame, 150);
  chooseText(shading.bodyStart, shading.bodyEnd, shading.bodyText);
  chooseText(shading.captionStart, shading.captionEnd, shading.captionText);
  return shading;
}

} // namespace zr
