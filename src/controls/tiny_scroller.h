// SPDX-License-Identifier: MIT

#pragma once

#include <QColor>
#include <QWidget>
#include <cstdint>

namespace zr {

// A miniature vertical scroll bar painted in a narrow strip of the widget: an up
// arrow, a thin bar, a scroller block and a down arrow. It keeps an integer
// position within min..max and is operated by the mouse alone: one step per
// click, applied when the button is released, or by the mouse wheel. Presses
// outside the strip are left to the parent widget (an alert is dragged by them).
//
// The base publishes no setters; each descendant makes public the ones it needs
// and places the strip itself.
class TinyScroller : public QWidget {
  Q_OBJECT

public:
  // The element under a press.
  enum class Area { None, ArrowUp, ArrowDown, PageUp, PageDown, Scroller };

  explicit TinyScroller(QWidget* parent = nullptr);

  int arrowHeight() const { return arrowHeight_; }
  int barWidth() const { return barWidth_; }
  QColor colorArrows() const { return colorArrows_; }
  QColor colorBar() const { return colorBar_; }
  QColor colorScroller() const { return colorScroller_; }
  QColor colorHighlight() const { return colorHighlight_; }
  int min() const { return min_; }
  int max() const { return max_; }
  int position() const { return position_; }
  int stripLeft() const { return stripLeft_; }
  int stripWidth() const { return stripWidth_; }
  bool showBar() const { return showBar_; }
  bool showScroller() const { return showScroller_; }

  int trackLength() const { return trackLength_; }
  int scrollerHeight() const { return scrollerHeight_; }
  int scrollerTop() const { return scrollerTop_; }
  Area pressedArea() const { return pressedArea_; }
  bool dragging() const { return dragging_; }

signals:
  // A new position was requested: by a click, a drag step or setPosition with a
  // value other than the current position (even when clamping keeps it).
  void changed();

protected:
  void setArrowHeight(int value);
  void setBarWidth(int value);
  void setColorArrows(const QColor& value);
  void setColorBar(const QColor& value);
  void setColorScroller(const QColor& value);
  void setColorHighlight(const QColor& value);
  void setMin(int value);
  void setMax(int value);
  void setPosition(int value);
  void setStripLeft(int value);
  void setStripWidth(int value);
  void setShowBar(bool value);
  void setShowScroller(bool value);

  // Compares the requested value, not the clamped one, with the position, so a
  // request beyond the range signals a change even when the position stays.
  void requestPosition(std::int64_t requested);

  // Moves the position by `steps` within min..max, as that many arrow clicks would;
  // signals changed() only when the position moves.
  void stepPosition(int steps);

  // Draws the arrows, the bar and the scroller; the background is left alone.
  void paintScroller(QPainter& painter) const;

  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  // The wheel turned away from the user steps like the up arrow, one step a notch.
  void wheelEvent(QWheelEvent* event) override;

private:
  static constexpr int kPageSize = 1;

  void updateMetrics();
  void updateScroller();
  Area areaAt(int y) const;
  QColor areaColor(Area area) const;

  int arrowHeight_ = 5;
  int barWidth_ = 3;
  QColor colorArrows_{Qt::black};
  QColor colorBar_{Qt::black};
  QColor colorScroller_{Qt::black};
  QColor colorHighlight_{Qt::yellow};
  int min_ = 0;
  int max_ = 100;
  int position_ = 0;
  int stripLeft_ = 0;
  int stripWidth_ = 0;
  bool showBar_ = true;
  bool showScroller_ = true;

  int trackLength_ = 0;
  int scrollerHeight_ = 0;
  int scrollerTop_ = 0;
  Area pressedArea_ = Area::None;
  int lastMouseY_ = 0;
  bool dragging_ = false;
  int wheelTurn_ = 0;
};

} // namespace zr
