// SPDX-License-Identifier: MIT

#pragma once

#include "controls/tiny_scroller.h"

#include <QStringList>

namespace zr {

// Word-wrapped text drawn over the parent's background, scrolled by whole lines
// with a tiny scroll bar in the rightmost 11 pixels when it is taller than the
// widget. The text ends 5 pixels before that strip. Text is drawn in the
// widget's font and in textColor(). The mouse wheel scrolls a text that does not
// fit; over one that fits it is left to the parent.
class ScrollText : public TinyScroller {
  Q_OBJECT

public:
  explicit ScrollText(QWidget* parent = nullptr);

  using TinyScroller::setArrowHeight;
  using TinyScroller::setBarWidth;
  using TinyScroller::setColorArrows;
  using TinyScroller::setColorBar;
  using TinyScroller::setColorHighlight;
  using TinyScroller::setColorScroller;

  const QStringList& lines() const { return lines_; }
  // Replaces the text, scrolls back to the top and lays the text out again.
  void setLines(const QStringList& lines);

  QColor textColor() const { return textColor_; }
  void setTextColor(const QColor& color);

  // Scrolls the text by whole rows, `rows` down (negative: up), when it is taller
  // than the widget; a text that fits stays where it is.
  void scrollRows(int rows);
  // The rows that show at once.
  int visibleRows() const;

  bool scrollBarShowing() const { return scrollBarShowing_; }
  int lineHeight() const { return lineHeight_; }
  // The text as laid out: one entry per drawn row.
  const QStringList& wrappedLines() const { return wrappedLines_; }

protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;

private:
  int textWidth() const;
  void placeStrip();
  void layoutText();

  QStringList lines_{QStringLiteral("Lines")};
  QStringList wrappedLines_;
  QColor textColor_{Qt::black};
  bool scrollBarShowing_ = false;
  int lineHeight_ = 0;
};

} // namespace zr
