// SPDX-License-Identifier: MIT

#include "controls/spin_label.h"

#include "controls/control_accessibility.h"

#include <QAccessible>
#include <QEvent>
#include <QFontMetrics>
#include <QPainter>
#include <algorithm>

namespace zr {

namespace {

constexpr int kStripWidth = 11;
constexpr int kUnderlineGap = 5;
constexpr int kTextAboveBottom = 3;

} // namespace

SpinLabel::SpinLabel(QWidget* parent) : TinyScroller(parent) {
  resize(60, 15);
  placeStrip();
  setMin(0);
  setMax(10);
  setPosition(0);
  setShowBar(false);
  setShowScroller(false);
  installControlAccessibility();
  connect(this, &TinyScroller::changed, this, [this] {
    if (QAccessible::isActive()) {
      QAccessibleValueChangeEvent event(this, value());
      QAccessible::updateAccessibility(&event);
    }
  });
}

int SpinLabel::value() const {
  return static_cast<int>(static_cast<std::int64_t>(max()) + min() - position());
}

void SpinLabel::setValue(int value) {
  requestPosition(static_cast<std::int64_t>(max()) + min() - value);
}

QSize SpinLabel::sizeFor(const QString& widest, const QSize& least) const {
  const QFontMetrics metrics(font());
  const int width = metrics.horizontalAdvance(widest) + kUnderlineGap + kStripWidth + 1;
  const int height = metrics.height() + kTextAboveBottom;
  return {std::max(width, least.width()), std::max(height, least.height())};
}

void SpinLabel::setTextColor(const QColor& color) {
  if (color != textColor_) {
    textColor_ = color;
    update();
  }
}

void SpinLabel::placeStrip() {
  setStripLeft(width() - kStripWidth);
  setStripWidth(kStripWidth);
}

void SpinLabel::resizeEvent(QResizeEvent* event) {
  placeStrip();
  TinyScroller::resizeEvent(event);
}

void SpinLabel::changeEvent(QEvent* event) {
  if (event->type() == QEvent::FontChange) {
    update();
  }
  TinyScroller::changeEvent(event);
}

void SpinLabel::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  paintScroller(painter);

  const int textRight = width() - stripWidth() - kUnderlineGap;
  const int bottom = height() - 1;
  painter.setPen(textColor_);
  if (textRight > 0) {
    painter.drawLine(0, bottom, textRight - 1, bottom);
  }

  painter.setFont(font());
  const QFontMetrics metrics(font());
  const QString text = QString::number(value());
  const int textLeft = textRight - metrics.horizontalAdvance(text);
  const int textTop = height() - kTextAboveBottom - metrics.height();
  painter.drawText(QPoint(textLeft, textTop + metrics.ascent()), text);
}

} // namespace zr
