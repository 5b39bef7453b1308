// SPDX-License-Identifier: MIT

#include "controls/link_label.h"

#include "platform/url_opener.h"

#include <QMouseEvent>

namespace zr {

LinkLabel::LinkLabel(QWidget* parent) : QLabel(parent) {
  QFont linkFont = font();
  linkFont.setUnderline(true);
  setFont(linkFont);
  QPalette linkPalette = palette();
  linkPalette.setColor(QPalette::WindowText, Qt::blue);
  setPalette(linkPalette);
  setCursor(Qt::PointingHandCursor);
  setTextFormat(Qt::PlainText);
}

void LinkLabel::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
    openWebAddress(text());
  QLabel::mouseReleaseEvent(event);
}

} // namespace zr
