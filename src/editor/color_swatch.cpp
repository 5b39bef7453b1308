// SPDX-License-Identifier: MIT

#include "editor/color_swatch.h"

#include "controls/system_colors.h"

#include <QMouseEvent>
#include <QPainter>

namespace zr {

ColorSwatch::ColorSwatch(QWidget* parent) : QWidget(parent) {}

void ColorSwatch::setColor(Color color) {
  if (color == color_)
    return;
  color_ = color;
  update();
}

void ColorSwatch::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setPen(Qt::black);
  painter.setBrush(colorToQColor(color_, palette()));
  painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

void ColorSwatch::mousePressEvent(QMouseEvent* event) {
  event->accept();
  emit pressed();
}

} // namespace zr
