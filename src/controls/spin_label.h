// SPDX-License-Identifier: MIT

#pragma once

#include "controls/tiny_scroller.h"

namespace zr {

// A number drawn right-aligned above a thin underline, with an up and a down
// arrow in the rightmost 11 pixels that raise and lower it by one within
// min..max. The number is the scroller position read backwards, so the up
// arrow, which lowers the position, raises the value. The number and its
// underline are drawn in the widget's font and in textColor(). The mouse wheel
// turned over it steps the number too.
class SpinLabel : public TinyScroller {
  Q_OBJECT

public:
  explicit SpinLabel(QWidget* parent = nullptr);

  using TinyScroller::setArrowHeight;
  using TinyScroller::setColorArrows;
  using TinyScroller::setColorHighlight;
  using TinyScroller::setMax;
  using TinyScroller::setMin;

  int value() const;
  // Signals changed() whenever the value differs from the current one, even
  // when clamping to min..max then keeps the current value.
  void setValue(int value);

  // Raises (or with a negative count lowers) the value by `steps` within min..max.
  void stepValue(int steps) { stepPosition(-steps); }

  QColor textColor() const { return textColor_; }
  void setTextColor(const QColor& color);

  // The size that shows `widest` (the widest number it will show) in the widget's
  // font without cutting it: the number, the gap and the arrows side by side, and
  // its height above the underline; never below `least`.
  QSize sizeFor(const QString& widest, const QSize& least) const;

protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;

private:
  void placeStrip();

  QColor textColor_{Qt::black};
};

} // namespace zr
