// SPDX-License-Identifier: MIT

#pragma once

#include "core/reminder.h"

#include <QWidget>

namespace zr {

// A filled rectangle showing a reminder colour. Pressing any mouse button on
// it emits pressed().
class ColorSwatch final : public QWidget {
  Q_OBJECT

public:
  explicit ColorSwatch(QWidget* parent = nullptr);

  Color color() const { return color_; }
  void setColor(Color color);

signals:
  void pressed();

protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

private:
  Color color_ = kWhite;
};

} // namespace zr
