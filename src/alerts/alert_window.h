// SPDX-License-Identifier: MIT

#pragma once

#include "core/reminder.h"

#include <QColor>
#include <QPoint>
#include <QWidget>
#include <memory>

namespace zr {

class ScrollText;
class SpinLabel;

// The desktop alert of one reminder: a frameless 250 x 150 window that stays on
// top without taking the keyboard from the window the user is typing in. It shows
// the reminder's name in a caption bar (followed by a late note, such as
// "(missed 09:30:00 am)", when it has one), its message in a scrolling text and asks
// for the snooze minutes with a spin label. It carries a private copy of the
// reminder, is moved by dragging anywhere on it and deletes itself once closed.
class AlertWindow : public QWidget {
  Q_OBJECT

public:
  static constexpr int kWidth = 250;
  static constexpr int kHeight = 150;

  // The owner (the main window) destroys alerts still open when it goes.
  AlertWindow(const Reminder& reminder, QWidget* owner, const QString& lateNote = QString());
  ~AlertWindow() override;

  // The copy of the reminder this alert shows; null once taken.
  const Reminder* reminder() const { return reminder_.get(); }
  // Hands the copy over, for instance to snooze it when the alert closes.
  std::unique_ptr<Reminder> takeReminder();
  // The minutes chosen on the spin label named "spnMinutes", 0..120.
  int snoozeMinutes() const;

  // The y coordinate where the caption bar ends and the body begins.
  int captionHeight() const { return captionHeight_; }

signals:
  // The alert is closing; the copy and the snooze minutes are still there to be
  // taken. Emitted once, just before the alert hides and deletes itself.
  void closing(zr::AlertWindow* alert);
  // The user has started to drag the alert to a place of their own.
  void movedByUser(zr::AlertWindow* alert);

protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

private:
  void addCaption(const QString& lateNote);
  void addMessageArea();
  void addSnoozeControls();

  std::unique_ptr<Reminder> reminder_;
  QColor frameColor_;
  QColor bodyStart_;
  QColor bodyEnd_;
  QColor captionStart_;
  QColor captionEnd_;
  QColor bodyText_;
  QColor captionText_;
  int captionHeight_ = 0;

  bool pressed_ = false;
  bool dragging_ = false;
  QPoint pressGlobal_;
  QPoint pressWindowPos_;
  bool closed_ = false;
};

} // namespace zr
