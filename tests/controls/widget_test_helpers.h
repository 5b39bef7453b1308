// SPDX-License-Identifier: MIT

#pragma once

#include <QPoint>
#include <QTest>
#include <QWidget>

namespace zr::test {

// Shows a top-level widget and waits until it can take mouse events.
inline bool showAndWait(QWidget& widget) {
  widget.show();
  return QTest::qWaitForWindowExposed(&widget);
}

inline void press(QWidget& widget, QPoint at) {
  QTest::mousePress(&widget, Qt::LeftButton, {}, at);
}

inline void release(QWidget& widget, QPoint at) {
  QTest::mouseRelease(&widget, Qt::LeftButton, {}, at);
}

inline void click(QWidget& widget, QPoint at) {
  press(widget, at);
  release(widget, at);
}

// A move with the left button held.
inline void drag(QWidget& widget, QPoint to) {
  QTest::mouseMove(&widget, to);
}

} // namespace zr::test
