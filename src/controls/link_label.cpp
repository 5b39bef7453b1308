// SPDX-License-Identifier: MIT

#include "controls/link_label.h"

#include "platform/url_opener.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionFocusRect>

namespace zr {

namespace {

// Blue reads well on light backgrounds; on dark ones a light blue does.
const QColor kLinkOnLight(Qt::blue);
const QColor kLinkOnDark(0x8A, 0xB4, 0xF8);
constexpr int kDarkBackgroundLightness = 128;

} // namespace

LinkLabel::LinkLabel(QWidget* parent) : QLabel(parent) {
  QFont linkFont = font();
  linkFont.setUnderline(true);
  setFont(linkFont);
  useLinkColor();
  setCursor(Qt::PointingHandCursor);
  setTextFormat(Qt::PlainText);
  setFocusPolicy(Qt::StrongFocus);
  // Room around the text for the focus frame.
  setMargin(1);
}

void LinkLabel::useLinkColor() {
  const bool dark = palette().color(QPalette::Window).lightness() < kDarkBackgroundLightness;
  const QColor wanted = dark ? kLinkOnDark : kLinkOnLight;
  if (palette().color(QPalette::WindowText) == wanted)
    return;
  QPalette linkPalette = palette();
  linkPalette.setColor(QPalette::WindowText, wanted);
  setPalette(linkPalette);
}

void LinkLabel::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
    openWebAddress(text());
  QLabel::mouseReleaseEvent(event);
}

void LinkLabel::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
  case Qt::Key_Return:
  case Qt::Key_Enter:
  case Qt::Key_Space:
    if (!text().isEmpty())
      openWebAddress(text());
    event->accept();
    return;
  default:
    QLabel::keyPressEvent(event);
  }
}

void LinkLabel::paintEvent(QPaintEvent* event) {
  QLabel::paintEvent(event);
  if (!hasFocus())
    return;
  QPainter painter(this);
  QStyleOptionFocusRect focus;
  focus.initFrom(this);
  focus.backgroundColor = palette().color(QPalette::Window);
  style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
}

void LinkLabel::changeEvent(QEvent* event) {
  QLabel::changeEvent(event);
  // A new theme or palette from the parent brings the background the colour must suit.
  if (event->type() == QEvent::PaletteChange)
    useLinkColor();
}

} // namespace zr
