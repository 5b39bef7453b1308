// SPDX-License-Identifier: MIT

#include "editor/color_swatch.h"

#include "controls/system_colors.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <array>

namespace zr {

namespace {

struct NamedColor {
  QRgb rgb;
  const char* name;
};

// The sixteen basic colours of the colour dialog's first rows, by the names people use.
constexpr std::array kNamedColors{
    NamedColor{0x000000, "black"}, NamedColor{0x800000, "maroon"},  NamedColor{0x008000, "green"},
    NamedColor{0x808000, "olive"}, NamedColor{0x000080, "navy"},    NamedColor{0x800080, "purple"},
    NamedColor{0x008080, "teal"},  NamedColor{0x808080, "gray"},    NamedColor{0xC0C0C0, "silver"},
    NamedColor{0xFF0000, "red"},   NamedColor{0x00FF00, "lime"},    NamedColor{0xFFFF00, "yellow"},
    NamedColor{0x0000FF, "blue"},  NamedColor{0xFF00FF, "fuchsia"}, NamedColor{0x00FFFF, "aqua"},
    NamedColor{0xFFFFFF, "white"},
};

// The frame that shows the keyboard focus, outside the colour.
constexpr int kFocusFrameWidth = 2;

} // namespace

ColorSwatch::ColorSwatch(QWidget* parent) : QAbstractButton(parent) {
  setFocusPolicy(Qt::StrongFocus);
  updateAccessibleName();
}

QString ColorSwatch::colorName(const QColor& color) {
  const QRgb rgb = color.rgb() & 0xFFFFFF;
  for (const NamedColor& named : kNamedColors)
    if (named.rgb == rgb)
      return QString::fromLatin1(named.name);
  return color.name(QColor::HexRgb).toUpper();
}

void ColorSwatch::setColor(Color color) {
  if (color == color_)
    return;
  color_ = color;
  updateAccessibleName();
  update();
}

void ColorSwatch::updateAccessibleName() {
  setAccessibleName("Color: " + colorName(colorToQColor(color_, palette())));
}

void ColorSwatch::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  QRect swatch = rect();
  if (hasFocus()) {
    painter.fillRect(swatch, palette().color(QPalette::Highlight));
    swatch.adjust(kFocusFrameWidth, kFocusFrameWidth, -kFocusFrameWidth, -kFocusFrameWidth);
  }
  painter.setPen(Qt::black);
  painter.setBrush(colorToQColor(color_, palette()));
  painter.drawRect(swatch.adjusted(0, 0, -1, -1));
}

void ColorSwatch::mousePressEvent(QMouseEvent* event) {
  // Any mouse button opens the colour dialog at once, not on release.
  event->accept();
  setFocus(Qt::MouseFocusReason);
  click();
}

void ColorSwatch::mouseReleaseEvent(QMouseEvent* event) {
  event->accept();
}

void ColorSwatch::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    event->accept();
    click();
    return;
  }
  QAbstractButton::keyPressEvent(event);
}

void ColorSwatch::changeEvent(QEvent* event) {
  // A system colour follows the palette, and so does its name.
  if (event->type() == QEvent::PaletteChange)
    updateAccessibleName();
  QAbstractButton::changeEvent(event);
}

} // namespace zr
