// SPDX-License-Identifier: MIT

#include "controls/tiny_scroller.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPolygon>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

namespace zr {

namespace {

// Rounds to the nearest integer, halves to the even neighbour. The result is
// wider than int because a drag position may span the whole range of int.
std::int64_t roundHalfEven(double value) {
  return static_cast<std::int64_t>(std::nearbyint(value));
}

} // namespace

TinyScroller::TinyScroller(QWidget* parent) : QWidget(parent) {
  updateMetrics();
}

void TinyScroller::setArrowHeight(int value) {
  value = std::max(value, 1);
  if (value == arrowHeight_) {
    return;
  }
  arrowHeight_ = value;
  updateMetrics();
}

void TinyScroller::setBarWidth(int value) {
  value = std::min(std::max(value, 1), width());
  if (value == barWidth_) {
    return;
  }
  barWidth_ = value;
  updateMetrics();
}

void TinyScroller::setColorArrows(const QColor& value) {
  if (value != colorArrows_) {
    colorArrows_ = value;
    update();
  }
}

void TinyScroller::setColorBar(const QColor& value) {
  if (value != colorBar_) {
    colorBar_ = value;
    update();
  }
}

void TinyScroller::setColorScroller(const QColor& value) {
  if (value != colorScroller_) {
    colorScroller_ = value;
    update();
  }
}

void TinyScroller::setColorHighlight(const QColor& value) {
  if (value != colorHighlight_) {
    colorHighlight_ = value;
    update();
  }
}

void TinyScroller::setMin(int value) {
  if (value == min_) {
    return;
  }
  min_ = value;
  if (min_ > max_) {
    setMax(min_);
  }
  position_ = std::max(position_, min_);
  updateMetrics();
}

void TinyScroller::setMax(int value) {
  if (value == max_) {
    return;
  }
  max_ = value;
  if (max_ < min_) {
    setMin(max_);
  }
  position_ = std::min(position_, max_);
  updateMetrics();
}

void TinyScroller::setPosition(int value) {
  requestPosition(value);
}

void TinyScroller::requestPosition(std::int64_t requested) {
  if (requested != position_) {
    position_ = static_cast<int>(std::clamp<std::int64_t>(requested, min_, max_));
    emit changed();
  }
  updateScroller();
}

void TinyScroller::stepPosition(int steps) {
  const auto target =
      std::clamp<std::int64_t>(static_cast<std::int64_t>(position_) + steps, min_, max_);
  if (target != position_)
    requestPosition(target);
}

void TinyScroller::setStripLeft(int value) {
  value = std::max(value, 0);
  if (value != stripLeft_) {
    stripLeft_ = value;
    update();
  }
}

void TinyScroller::setStripWidth(int value) {
  value = std::max(value, 1);
  if (value != stripWidth_) {
    stripWidth_ = value;
    update();
  }
}

void TinyScroller::setShowBar(bool value) {
  if (value != showBar_) {
    showBar_ = value;
    update();
  }
}

void TinyScroller::setShowScroller(bool value) {
  if (value != showScroller_) {
    showScroller_ = value;
    update();
  }
}

void TinyScroller::updateMetrics() {
  trackLength_ = height() - (arrowHeight_ + 2) * 2;
  const double range = static_cast<double>(max_) - min_ + 1;
  scrollerHeight_ = std::max(static_cast<int>(roundHalfEven(kPageSize / range * trackLength_)), 5);
  updateScroller();
}

void TinyScroller::updateScroller() {
  if (!dragging_) {
    const int travel = trackLength_ - scrollerHeight_;
    if (position_ == max_) {
      scrollerTop_ = travel;
    } else {
      const double range = static_cast<double>(max_) - min_;
      scrollerTop_ =
          static_cast<int>(roundHalfEven(travel / range * (static_cast<double>(position_) - min_)));
    }
    scrollerTop_ = std::min(scrollerTop_, travel);
  }
  update();
}

TinyScroller::Area TinyScroller::areaAt(int y) const {
  if (y <= arrowHeight_) {
    return Area::ArrowUp;
  }
  if (y >= height() - 1 - arrowHeight_) {
    return Area::ArrowDown;
  }
  const int top = arrowHeight_ + 2 + scrollerTop_;
  if (showScroller_ && y >= top && y <= top + scrollerHeight_) {
    return Area::Scroller;
  }
  if (showBar_) {
    return y < top ? Area::PageUp : Area::PageDown;
  }
  return Area::None;
}

void TinyScroller::mousePressEvent(QMouseEvent* event) {
  const QPoint point = event->position().toPoint();
  if (point.x() < stripLeft_ || point.x() > stripLeft_ + stripWidth_) {
    // Outside the strip the press belongs to the parent (an alert is dragged by it).
    event->ignore();
    return;
  }
  pressedArea_ = areaAt(point.y());
  if (pressedArea_ == Area::Scroller) {
    dragging_ = true;
  }
  lastMouseY_ = point.y();
  update();
}

void TinyScroller::mouseMoveEvent(QMouseEvent* event) {
  if (pressedArea_ != Area::Scroller) {
    return;
  }
  const int y = event->position().toPoint().y();
  const int travel = trackLength_ - scrollerHeight_;
  scrollerTop_ = std::min(std::max(scrollerTop_ + (y - lastMouseY_), 0), std::max(travel, 0));
  lastMouseY_ = y;
  if (travel <= 0) {
    // The scroller fills the track: there is nowhere to drag it, keep the position.
    update();
    return;
  }
  const double range = static_cast<double>(max_) - min_;
  requestPosition(roundHalfEven(static_cast<double>(scrollerTop_) / travel * range) + min_);
}

void TinyScroller::mouseReleaseEvent(QMouseEvent*) {
  dragging_ = false;
  std::int64_t target = position_;
  switch (pressedArea_) {
  case Area::ArrowUp:
    target -= 1;
    break;
  case Area::ArrowDown:
    target += 1;
    break;
  case Area::PageUp:
    target -= kPageSize;
    break;
  case Area::PageDown:
    target += kPageSize;
    break;
  case Area::Scroller:
  case Area::None:
    break;
  }
  target = std::clamp<std::int64_t>(target, min_, max_);
  pressedArea_ = Area::None;
  requestPosition(target);
}

void TinyScroller::wheelEvent(QWheelEvent* event) {
  constexpr int kNotch = 120;
  wheelTurn_ += event->angleDelta().y();
  const int notches = wheelTurn_ / kNotch;
  wheelTurn_ -= notches * kNotch;
  stepPosition(-notches);
  event->accept();
}

void TinyScroller::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  updateMetrics();
}

QColor TinyScroller::areaColor(Area area) const {
  if (pressedArea_ != Area::None && pressedArea_ == area) {
    return colorHighlight_;
  }
  switch (area) {
  case Area::ArrowUp:
  case Area::ArrowDown:
    return colorArrows_;
  case Area::PageUp:
  case Area::PageDown:
    return colorBar_;
  case Area::Scroller:
  case Area::None:
    break;
  }
  return colorScroller_;
}

void TinyScroller::paintScroller(QPainter& painter) const {
  const int l = stripLeft_;
  const int w = stripWidth_;
  const int ah = arrowHeight_;
  const int h = height();
  auto useColor = [&painter](const QColor& color) {
    painter.setPen(color);
    painter.setBrush(color);
  };

  useColor(areaColor(Area::ArrowUp));
  painter.drawPolygon(QPolygon({QPoint(l, ah), QPoint(l + w / 2, 0), QPoint(l + w - 1, ah)}));
  useColor(areaColor(Area::ArrowDown));
  painter.drawPolygon(
      QPolygon({QPoint(l, h - 1 - ah), QPoint(l + w / 2, h - 1), QPoint(l + w - 1, h - 1 - ah)}));

  if (showBar_) {
    const Area barArea = pressedArea_ == Area::PageUp ? Area::PageUp : Area::PageDown;
    const int x = l + w / 2 - barWidth_ / 2;
    painter.fillRect(QRect(QPoint(x, ah + 1), QPoint(x + barWidth_ - 1, h - 2 - ah)),
                     areaColor(barArea));
  }
  if (showScroller_) {
    const int top = ah + 2 + scrollerTop_;
    painter.fillRect(QRect(l, top, w, scrollerHeight_), areaColor(Area::Scroller));
  }
}

void TinyScroller::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  paintScroller(painter);
}

} // namespace zr
