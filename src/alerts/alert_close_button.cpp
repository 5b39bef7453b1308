// SPDX-License-Identifier: MIT

#include "alerts/alert_close_button.h"

#include <QPainter>

namespace zr {

AlertCloseButton::AlertCloseButton(const QColor& color, QWidget* parent)
    : QAbstractButton(parent), color_(color) {
  setFocusPolicy(Qt::NoFocus);
  setCursor(Qt::PointingHandCursor);
  setAttribute(Qt::WA_Hover);
}

void AlertCloseButton::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  const QRectF box = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
  if (underMouse() || isDown()) {
    QColor glow = color_;
    glow.setAlpha(isDown() ? 90 : 50);
    painter.fillRect(box, glow);
  }
  QPen pen(color_, 1.6);
  pen.setCapStyle(Qt::RoundCap);
  painter.setPen(pen);
  const qreal inset = box.width() * 0.28;
  const QRectF cross = box.adjusted(inset, inset, -inset, -inset);
  painter.drawLine(cross.topLeft(), cross.bottomRight());
  painter.drawLine(cross.topRight(), cross.bottomLeft());
}

} // namespace zr
