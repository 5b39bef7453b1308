// SPDX-License-Identifier: MIT

#include "alerts/alert_window.h"

#include "alerts/alert_close_button.h"
#include "controls/graphics_utils.h"
#include "controls/scroll_text.h"
#include "controls/spin_label.h"
#include "controls/system_colors.h"
#include "platform/stored_text.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>

namespace zr {

namespace {

constexpr int kHeadingLeft = 8;
constexpr int kHeadingTop = 3;
constexpr int kCaptionPadding = 3;
constexpr int kMaxSnoozeMinutes = 120;

QColor midway(const QColor& a, const QColor& b) {
  return QColor((a.red() + b.red()) / 2, (a.green() + b.green()) / 2, (a.blue() + b.blue()) / 2);
}

// Names are shown as written, never as markup.
QLabel* addLabel(const QString& caption, const QColor& color, QWidget* parent) {
  auto* label = new QLabel(caption, parent);
  label->setTextFormat(Qt::PlainText);
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, color);
  label->setPalette(palette);
  return label;
}

} // namespace

AlertWindow::AlertWindow(const Reminder& reminder, QWidget* owner, const QString& lateNote)
    : QWidget(owner, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                         Qt::WindowDoesNotAcceptFocus),
      reminder_(std::make_unique<Reminder>(reminder.date)) {
  setAttribute(Qt::WA_DeleteOnClose);
  setAttribute(Qt::WA_ShowWithoutActivating);
  setFocusPolicy(Qt::NoFocus);
  setWindowTitle(toWindowTitle(lateNote.isEmpty() ? toShownText(reminder.name)
                                                  : toShownText(reminder.name) + ' ' + lateNote));

  const QPalette& colors = palette();
  frameColor_ = colorToQColor(reminder.color, colors);
  bodyStart_ = frameColor_;
  bodyEnd_ = colorToQColor(darkenColor(reminder.color, 80), colors);
  captionStart_ = colorToQColor(darkenColor(reminder.color, 100), colors);
  captionEnd_ = colorToQColor(darkenColor(reminder.color, 150), colors);
  bodyText_ = readableTextColor(midway(bodyStart_, bodyEnd_));
  captionText_ = readableTextColor(midway(captionStart_, captionEnd_));

  reminder_->copyFrom(reminder);
  setFixedSize(kWidth, kHeight);
  addCaption(lateNote);
  addMessageArea();
  addSnoozeControls();
}

AlertWindow::~AlertWindow() = default;

std::unique_ptr<Reminder> AlertWindow::takeReminder() {
  return std::move(reminder_);
}

int AlertWindow::snoozeMinutes() const {
  const auto* minutes = findChild<const SpinLabel*>(QStringLiteral("spnMinutes"));
  return minutes != nullptr ? minutes->value() : 0;
}

// The heading shows the reminder's name, shortened with an ellipsis when it would
// run under the close button, and the late note after it when both fit; otherwise the
// note takes a line of its own below, in the regular weight. The caption bar is as
// tall as its lines need; the close button keeps the size of one line.
void AlertWindow::addCaption(const QString& lateNote) {
  QLabel* heading = addLabel(QString(), captionText_, this);
  heading->setObjectName(QStringLiteral("lblHeading"));
  QFont bold = heading->font();
  bold.setBold(true);
  heading->setFont(bold);
  const QFontMetrics metrics = heading->fontMetrics();
  const int headingHeight = metrics.height();

  const int buttonSide = kHeadingTop + headingHeight - kCaptionPadding;
  auto* close = new AlertCloseButton(captionText_, this);
  close->setObjectName(QStringLiteral("btnClose"));
  close->setGeometry(kWidth - kCaptionPadding - 2 - buttonSide, kCaptionPadding, buttonSide,
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
    QLabel* note = addLabel(QString(), captionText_, this);
    note->setObjectName(QStringLiteral("lblLateNote"));
    const int noteWidth = kWidth - 2 * kHeadingLeft;
    note->setText(note->fontMetrics().elidedText(lateNote, Qt::ElideRight, noteWidth));
    note->setGeometry(kHeadingLeft, captionBottom, noteWidth, note->fontMetrics().height());
    shortened = shortened || note->text() != lateNote;
    captionBottom = note->y() + note->height();
  }
  if (shortened) // a tooltip is markup, so the name goes in escaped
    heading->setToolTip("<p style='white-space:pre'>" + caption.toHtmlEscaped() + "</p>");
  captionHeight_ = captionBottom + kCaptionPadding;
}

// The lines go in before the bounds are set, so the text is laid out once, at its
// final size.
void AlertWindow::addMessageArea() {
  auto* message = new ScrollText(this);
  message->setObjectName(QStringLiteral("message"));
  QStringList lines;
  for (const std::string& line : reminder_->text)
    lines.append(toShownText(line));
  message->setLines(lines);
  message->setTextColor(bodyText_);
  message->setColorArrows(bodyText_);
  message->setColorBar(bodyText_);
  message->setColorScroller(bodyText_);
  const int top = captionHeight_ - kCaptionPadding + 10;
  message->setGeometry(20, top, kWidth - 40, kHeight - top - 35);
}

void AlertWindow::addSnoozeControls() {
  QLabel* before = addLabel(QStringLiteral("Remind again in"), bodyText_, this);
  before->setObjectName(QStringLiteral("lblRemindAgain"));
  before->adjustSize();
  before->move(15, kHeight - before->height() - 10);

  auto* minutes = new SpinLabel(this);
  minutes->setObjectName(QStringLiteral("spnMinutes"));
  minutes->setTextColor(bodyText_);
  minutes->setColorArrows(bodyText_);
  minutes->setMin(0);
  minutes->setMax(kMaxSnoozeMinutes);
  minutes->setValue(0);
  minutes->setGeometry(before->x() + before->width() + 5, before->y(), 30, minutes->height());

  QLabel* after = addLabel(QStringLiteral("minutes."), bodyText_, this);
  after->setObjectName(QStringLiteral("lblMinutes"));
  after->adjustSize();
  after->move(minutes->x() + minutes->width() + 5, minutes->y());
}

void AlertWindow::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  QLinearGradient body(0, captionHeight_, 0, kHeight - 1);
  body.setColorAt(0, bodyStart_);
  body.setColorAt(1, bodyEnd_);
  painter.fillRect(0, captionHeight_, kWidth, kHeight - captionHeight_, body);

  QLinearGradient caption(0, 0, kWidth - 1, 0);
  caption.setColorAt(0, captionStart_);
  caption.setColorAt(1, captionEnd_);
  painter.fillRect(0, 0, kWidth, captionHeight_, caption);

  painter.setPen(frameColor_);
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(0, 0, kWidth - 1, kHeight - 1);
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
