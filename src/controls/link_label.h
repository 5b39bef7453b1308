// SPDX-License-Identifier: MIT

#pragma once

#include <QLabel>

namespace zr {

// A label that shows a web address as a blue, underlined link with a hand
// cursor; a left click opens its text in the user's browser.
class LinkLabel : public QLabel {
  Q_OBJECT

public:
  explicit LinkLabel(QWidget* parent = nullptr);

protected:
  void mouseReleaseEvent(QMouseEvent* event) override;
};

} // namespace zr
