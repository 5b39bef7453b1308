// SPDX-License-Identifier: MIT

#pragma once

#include <QLabel>

namespace zr {

// A label that shows a web address as an underlined link with a hand cursor: blue on
// a light background, light blue on a dark one. A left click, or Enter or Space while
// it has the keyboard focus (it takes its turn in the Tab order), opens its text in the
// user's browser.
class LinkLabel : public QLabel {
  Q_OBJECT

public:
  explicit LinkLabel(QWidget* parent = nullptr);

protected:
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void changeEvent(QEvent* event) override;

private:
  void useLinkColor();
};

} // namespace zr
