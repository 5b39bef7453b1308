// SPDX-License-Identifier: MIT

#include "controls/scroll_text.h"

#include "controls/control_accessibility.h"

#include <QAccessible>
#include <QEvent>
#include <QFontMetrics>
#include <QPainter>
#include <QTextLayout>
#include <QTextOption>
#include <QWheelEvent>
#include <algorithm>

namespace zr {

namespace {

constexpr int kStripWidth = 11;
constexpr int kTextGap = 5;

// Breaks one line of text into the rows it takes at the given width: at word
// boundaries, and inside a word only when the word alone is wider than a row.
QStringList wrapLine(const QString& line, const QFont& font, int width) {
  if (line.isEmpty()) {
    return {QString()};
  }
  QTextLayout layout(line, font);
  QTextOption option;
  option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  layout.setTextOption(option);
  QStringList rows;
  layout.beginLayout();
  for (QTextLine row = layout.createLine(); row.isValid(); row = layout.createLine()) {
    row.setLineWidth(width);
    rows.append(line.mid(row.textStart(), row.textLength()));
  }
  layout.endLayout();
  return rows;
}

} // namespace

ScrollText::ScrollText(QWidget* parent) : TinyScroller(parent) {
  resize(100, 50);
  lineHeight_ = QFontMetrics(font()).height();
  placeStrip();
  layoutText();
  installControlAccessibility();
}

void ScrollText::setLines(const QStringList& lines) {
  lines_ = lines;
  setPosition(0);
  layoutText();
}

void ScrollText::scrollRows(int rows) {
  if (scrollBarShowing_)
    stepPosition(rows);
}

int ScrollText::visibleRows() const {
  return lineHeight_ > 0 ? height() / lineHeight_ : 0;
}

void ScrollText::wheelEvent(QWheelEvent* event) {
  if (scrollBarShowing_)
    TinyScroller::wheelEvent(event);
  else
    event->ignore();
}

void ScrollText::setTextColor(const QColor& color) {
  if (color != textColor_) {
    textColor_ = color;
    update();
  }
}

int ScrollText::textWidth() const {
  return std::max(stripLeft() - kTextGap, 0);
}

void ScrollText::placeStrip() {
  setStripLeft(width() - kStripWidth);
  setStripWidth(kStripWidth);
}

void ScrollText::layoutText() {
  wrappedLines_.clear();
  for (const QString& line : lines_) {
    wrappedLines_.append(wrapLine(line, font(), textWidth()));
  }
  const int textHeight = static_cast<int>(wrappedLines_.size()) * lineHeight_;
  if (textHeight > height()) {
    scrollBarShowing_ = true;
    setMin(0);
    setMax(lineHeight_ > 0 ? textHeight / lineHeight_ - height() / lineHeight_ : 0);
  } else {
    scrollBarShowing_ = false;
    setMin(0);
    setMax(1);
    setPosition(0);
  }
  update();
}

void ScrollText::resizeEvent(QResizeEvent* event) {
  placeStrip();
  TinyScroller::resizeEvent(event);
  layoutText();
}

void ScrollText::changeEvent(QEvent* event) {
  if (event->type() == QEvent::FontChange) {
    lineHeight_ = QFontMetrics(font()).height();
    layoutText();
  }
  TinyScroller::changeEvent(event);
}

void ScrollText::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  if (scrollBarShowing_) {
    paintScroller(painter);
  }
  painter.setPen(textColor_);
  painter.setFont(font());
  // A row that would show only in part at the bottom is left out.
  const int first = position();
  const int last = std::min(first + visibleRows(), static_cast<int>(wrappedLines_.size()));
  for (int row = first; row < last; ++row) {
    const QRect rect(0, (row - first) * lineHeight_, textWidth(), lineHeight_);
    painter.drawText(rect, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                     wrappedLines_.at(row));
  }
}

} // namespace zr
