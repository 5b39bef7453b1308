// SPDX-License-Identifier: MIT

#pragma once

#include "core/reminder.h"

#include <QAbstractButton>

namespace zr {

// A filled rectangle showing a reminder colour, working as a button: pressing
// any mouse button on it, Space, Enter or an assistive tool's press action
// emits clicked(). Its accessible name tells the colour ("Color: red").
class ColorSwatch final : public QAbstractButton {
  Q_OBJECT

public:
  explicit ColorSwatch(QWidget* parent = nullptr);

  Color color() const { return color_; }
  void setColor(Color color);

  // "red", "white", ... for the usual named colours, otherwise "#RRGGBB".
  static QString colorName(const QColor& color);

protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void changeEvent(QEvent* event) override;

private:
  void updateAccessibleName();

  Color color_ = kWhite;
};

} // namespace zr
