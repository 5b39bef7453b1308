// SPDX-License-Identifier: MIT

#pragma once

#include <QAbstractButton>
#include <QColor>

namespace zr {

// The small cross at the right of an alert's caption bar. It is painted in the
// caption's text colour over the caption itself, lit a little while the mouse is on it.
class AlertCloseButton : public QAbstractButton {
  Q_OBJECT

public:
  AlertCloseButton(const QColor& color, QWidget* parent);

protected:
  void paintEvent(QPaintEvent* event) override;

private:
  QColor color_;
};

} // namespace zr
