// SPDX-License-Identifier: MIT

#include "alerts/alert_window.h"

#include "alerts/alert_accessibility.h"
#include "alerts/alert_close_button.h"
#include "controls/scroll_text.h"
#include "controls/spin_label.h"
#include "platform/stored_text.h"
#include "platform/x11_desktop.h"

#include <QAccessible>
#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <algorithm>

namespace zr {

namespace {

constexpr int kHeadingLeft = 8;
constexpr int kHeadingTop = 3;
constexpr int kCaptionPadding = 3;
constexpr int kRowLeft = 15;
constexpr int kRowGap = 5;
constexpr int kRowBelow = 10;
constexpr int kMessageLeft = 20;
constexpr int kMessageGap = 10;
// Below the message the spin label's row and its margins take at least this much.
constexpr int kMessageBottomRoom = 35;
constexpr int kFocusMarkWidth = 2;

// Names are shown as written, never as markup.
QLabel* addLabel(const QString& caption, const QColor& color, QWidget* parent) {
  auto* label = new QLabel(caption, parent);
  label->setTextFormat(Qt::PlainText);
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, color);
  label->setPalette(palette);
  return label;
}

QString snoozeSentence(int minutes) {
  return QStringLiteral("Remind again in %1 minutes.").arg(minutes);
}

} // namespace

AlertWindow::AlertWindow(const Reminder& reminder, QWidget* owner, const QString& lateNote)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      reminder_(std::make_unique<Reminder>(reminder.date)),
      shading_(alertShading(reminder.color, palette())) {
  installAlertAccessibility();
  setAttribute(Qt::WA_DeleteOnClose);
  setAttribute(Qt::WA_ShowWithoutActivating);
  setFocusPolicy(Qt::StrongFocus);
  setWindowTitle(toWindowTitle(lateNote.isEmpty() ? toShownText(reminder.name)
                                                  : toShownText(reminder.name) + ' ' + lateNote));
  if (owner != nullptr)
    connect(owner, &QObject::destroyed, this, [this] { delete this; });

  reminder_->copyFrom(reminder);
  addMessageArea();
  addSnoozeControls();
  addCaption(lateNote);

  auto* before = findChild<QLabel*>(QStringLiteral("lblRemindAgain"));
  auto* after = findChild<QLabel*>(QStringLiteral("lblMinutes"));
  SpinLabel* spin = minutes();
  const int messageTop = captionHeight_ - kCaptionPadding + kMessageGap;
  const int rowHeight = std::max({before->height(), spin->height(), after->height()});
  const int bottomRoom = std::max(kMessageBottomRoom, rowHeight + kRowBelow + kRowGap);
  height_ = std::max(kHeight, messageTop + 2 * message()->lineHeight() + bottomRoom);
  setFixedSize(width_, height_);

  before->move(kRowLeft, height_ - before->height() - kRowBelow);
  spin->move(before->x() + before->width() + kRowGap, before->y());
  after->move(spin->x() + spin->width() + kRowGap, spin->y());
  snoozeRowTop_ = before->y();
  message()->setGeometry(kMessageLeft, messageTop, width_ - 2 * kMessageLeft,
                         height_ - messageTop - bottomRoom);
}

AlertWindow::~AlertWindow() = default;

std::unique_ptr<Reminder> AlertWindow::takeReminder() {
  return std::move(reminder_);
}

int AlertWindow::snoozeMinutes() const {
  const SpinLabel* spin = minutes();
  return spin != nullptr ? spin->value() : 0;
}

SpinLabel* AlertWindow::minutes() const {
  return findChild<SpinLabel*>(QStringLiteral("spnMinutes"));
}

ScrollText* AlertWindow::message() const {
  return findChild<ScrollText*>(QStringLiteral("message"));
}

void AlertWindow::activate() {
  show();
  raise();
  activateWindow();
  setFocus(Qt::OtherFocusReason);
}

void AlertWindow::dismiss() {
  minutes()->setValue(0);
  close();
}

// The heading shows the reminder's name, shortened with an ellipsis when it would
// run under the close button, and the late note after it when both fit; otherwise the
// note takes a line of its own below, in the regular weight. The caption bar is as
// tall as its lines need; the close button keeps the size of one line.
void AlertWindow::addCaption(const QString& lateNote) {
  const QColor& text = shading_.captionText;
  QLabel* heading = addLabel(QString(), text, this);
  heading->setObjectName(QStringLiteral("lblHeading"));
  QFont bold = heading->font();
  bold.setBold(true);
  heading->setFont(bold);
  const QFontMetrics metrics = heading->fontMetrics();
  const int headingHeight = metrics.height();

  const int buttonSide = kHeadingTop + headingHeight - kCaptionPadding;
  auto* close = new AlertCloseButton(text, this);
  close->setObjectName(QStringLiteral("btnClose"));
  close->setAccessibleName(QStringLiteral("Close"));
  close->setGeometry(width_ - kCaptionPadding - 2 - buttonSide, kCaptionPadding, buttonSide,
                     buttonSide);
  connect(close, &QAbstractButton::clicked, this, &QWidget::close);

  const int headingWidth = close->x() - 4 - kHeadingLeft;
  const QString name = toShownText(reminder_->name);
  const QString caption = lateNote.isEmpty() ? name : name + ' ' + lateNote;
  const bool noteBelow = !lateNote.isEmpty() && metrics.horizontalAdvance(caption) > headingWidth;
  const QString headingText = noteBelow ? name : caption;
  heading->setText(metrics.elidedText(headingText, Qt::ElideRight, headingWidth));
  heading->setGeometry(kHeadingLeft, kHeadingTop, headingWidth, headingHeight);
  bool shortened = heading->text() != headingText;
  int captionBottom = heading->y() + heading->height();
  if (noteBelow) {
    QLabel* note = addLabel(QString(), text, this);
    note->setObjectName(QStringLiteral("lblLateNote"));
    const int noteWidth = width_ - 2 * kHeadingLeft;
    note->setText(note->fontMetrics().elidedText(lateNote, Qt::ElideRight, noteWidth));
    note->setGeometry(kHeadingLeft, captionBottom, noteWidth, note->fontMetrics().height());
    shortened = shortened || note->text() != lateNote;
    captionBottom = note->y() + note->height();
  }
  if (shortened) // a tooltip is markup, so the name goes in escaped
    heading->setToolTip("<p style='white-space:pre'>" + caption.toHtmlEscaped() + "</p>");
  captionHeight_ = captionBottom + kCaptionPadding;
}

// The lines go in now; the bounds are set once the alert's size is known, so the
// text is laid out at its final size.
void AlertWindow::addMessageArea() {
  auto* message = new ScrollText(this);
  message->setObjectName(QStringLiteral("message"));
  message->setAccessibleName(QStringLiteral("Message"));
  QStringList lines;
  for (const std::string& line : reminder_->text)
    lines.append(toShownText(line));
  message->setLines(lines);
  message->setTextColor(shading_.bodyText);
  message->setColorArrows(shading_.bodyText);
  message->setColorBar(shading_.bodyText);
  message->setColorScroller(shading_.bodyText);
}

// The spin label is as large as the widest number needs in the alert's font, and
// the alert as wide as the row of the two labels and the spin label needs.
void AlertWindow::addSnoozeControls() {
  const QColor& text = shading_.bodyText;
  QLabel* before = addLabel(QStringLiteral("Remind again in"), text, this);
  before->setObjectName(QStringLiteral("lblRemindAgain"));
  before->adjustSize();

  auto* spin = new SpinLabel(this);
  spin->setObjectName(QStringLiteral("spnMinutes"));
  spin->setTextColor(text);
  spin->setColorArrows(text);
  spin->setMin(0);
  spin->setMax(kMaxSnoozeMinutes);
  spin->setValue(0);
  spin->resize(spin->sizeFor(QString::number(kMaxSnoozeMinutes), QSize(30, 15)));
  spin->setAccessibleName(snoozeSentence(0));
  connect(spin, &SpinLabel::changed, this,
          [spin] { spin->setAccessibleName(snoozeSentence(spin->value())); });

  QLabel* after = addLabel(QStringLiteral("minutes."), text, this);
  after->setObjectName(QStringLiteral("lblMinutes"));
  after->adjustSize();
  width_ = std::max(kWidth, kRowLeft + before->width() + kRowGap + spin->width() + kRowGap +
                                after->width() + kRowLeft);
}

void AlertWindow::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  QLinearGradient body(0, captionHeight_, 0, height_ - 1);
  body.setColorAt(0, shading_.bodyStart);
  body.setColorAt(1, shading_.bodyEnd);
  painter.fillRect(0, captionHeight_, width_, height_ - captionHeight_, body);

  QLinearGradient caption(0, 0, width_ - 1, 0);
  caption.setColorAt(0, shading_.captionStart);
  caption.setColorAt(1, shading_.captionEnd);
  painter.fillRect(0, 0, width_, captionHeight_, caption);

  painter.setPen(shading_.frame);
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(0, 0, width_ - 1, height_ - 1);

  // The alert with the keyboard has a thick inner border in its text colours.
  if (isActiveWindow()) {
    const QRect mark(1, 1, width_ - 2, height_ - 2);
    const QRect top(0, 0, width_, captionHeight_);
    const QRect rest(0, captionHeight_, width_, height_ - captionHeight_);
    for (const auto& [part, color] :
         {std::pair{top, shading_.captionText}, std::pair{rest, shading_.bodyText}}) {
      painter.setClipRect(part);
      QPen pen(color, kFocusMarkWidth);
      pen.setJoinStyle(Qt::MiterJoin);
      painter.setPen(pen);
      painter.drawRect(QRectF(mark).adjusted(0.5 * kFocusMarkWidth, 0.5 * kFocusMarkWidth,
                                             -0.5 * kFocusMarkWidth, -0.5 * kFocusMarkWidth));
    }
  }
}

void AlertWindow::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
  case Qt::Key_Up:
  case Qt::Key_Plus:
    minutes()->stepValue(1);
    break;
  case Qt::Key_Down:
  case Qt::Key_Minus:
    minutes()->stepValue(-1);
    break;
  case Qt::Key_PageUp:
    message()->scrollRows(-std::max(message()->visibleRows(), 1));
    break;
  case Qt::Key_PageDown:
    message()->scrollRows(std::max(message()->visibleRows(), 1));
    break;
  case Qt::Key_Return:
  case Qt::Key_Enter:
    close();
    break;
  case Qt::Key_Escape:
    dismiss();
    break;
  default:
    QWidget::keyPressEvent(event);
    return;
  }
  event->accept();
}

// The wheel anywhere on the alert but the spin label scrolls the message.
void AlertWindow::wheelEvent(QWheelEvent* event) {
  if (message()->scrollBarShowing())
    QApplication::sendEvent(message(), event);
}

bool AlertWindow::focusNextPrevChild(bool next) {
  emit stepRequested(this, next);
  return true;
}

void AlertWindow::changeEvent(QEvent* event) {
  if (event->type() == QEvent::ActivationChange)
    update();
  QWidget::changeEvent(event);
}

// The window manager reads the hints when the window is mapped, which follows this
// event; screen readers hear of the alert once it is up.
void AlertWindow::showEvent(QShowEvent* event) {
  if (!shown_) {
    shown_ = true;
    markAsDesktopNotification(*this);
  }
  QWidget::showEvent(event);
  if (QAccessible::isActive()) {
    QAccessibleEvent alert(this, QAccessible::Alert);
    QAccessible::updateAccessibility(&alert);
  }
}

// A press anywhere that no control takes starts a drag; the alert follows the
// mouse once it has moved further than the platform's drag distance, so a click
// alone never moves it.
void AlertWindow::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) {
    event->ignore();
    return;
  }
  pressed_ = true;
  pressGlobal_ = event->globalPosition().toPoint();
  pressWindowPos_ = pos();
}

void AlertWindow::mouseMoveEvent(QMouseEvent* event) {
  if (!pressed_)
    return;
  const QPoint travel = event->globalPosition().toPoint() - pressGlobal_;
  if (!dragging_ && travel.manhattanLength() < QApplication::startDragDistance())
    return;
  if (!dragging_) {
    dragging_ = true;
    emit movedByUser(this);
  }
  move(pressWindowPos_ + travel);
}

void AlertWindow::mouseReleaseEvent(QMouseEvent*) {
  pressed_ = false;
  dragging_ = false;
}

void AlertWindow::closeEvent(QCloseEvent* event) {
  if (!closed_) {
    closed_ = true;
    emit closing(this);
  }
  event->accept();
}

} // namespace zr
