// SPDX-License-Identifier: MIT

#pragma once

#include "controls/alert_shading.h"
#include "core/reminder.h"

#include <QColor>
#include <QPoint>
#include <QWidget>
#include <memory>

namespace zr {

class ScrollText;
class SpinLabel;

// The desktop alert of one reminder: a frameless window of at least 250 x 150,
// larger where the desktop's font needs more room. It is a top-level window of its
// own, independent of the main window, that the window manager keeps above the
// others on every workspace; it comes up without taking the keyboard from the
// window the user is typing in, and takes it when clicked or activated. It shows
// the reminder's name in a caption bar (followed by a late note, such as
// "(missed 09:30:00 am)", when it has one), its message in a scrolling text and
// asks for the snooze minutes with a spin label. It carries a private copy of the
// reminder, is moved by dragging anywhere on it and deletes itself once closed.
//
// Keys while it has the keyboard: Up and Down (or + and -) change the minutes,
// Page Up and Page Down scroll the message, Enter closes with the minutes shown,
// Escape closes without a snooze, Tab and Shift+Tab go to the next or previous alert.
class AlertWindow : public QWidget {
  Q_OBJECT

public:
  static constexpr int kWidth = 250;
  static constexpr int kHeight = 150;
  static constexpr int kMaxSnoozeMinutes = 120;

  // Alerts still open when the owner (the main window) goes are destroyed with it.
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
  const AlertShading& shading() const { return shading_; }

  // Raises the alert and gives it the keyboard.
  void activate();
  // Closes the alert without a snooze, whatever the minutes show.
  void dismiss();

signals:
  // The alert is closing; the copy and the snooze minutes are still there to be
  // taken. Emitted once, just before the alert hides and deletes itself.
  void closing(zr::AlertWindow* alert);
  // The user has started to drag the alert to a place of their own.
  void movedByUser(zr::AlertWindow* alert);
  // Tab (forward) or Shift+Tab asks for the next or the previous alert.
  void stepRequested(zr::AlertWindow* alert, bool forward);

protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  bool focusNextPrevChild(bool next) override;
  void changeEvent(QEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

private:
  void addCaption(const QString& lateNote);
  void addSnoozeControls();
  void addMessageArea();
  SpinLabel* minutes() const;
  ScrollText* message() const;

  std::unique_ptr<Reminder> reminder_;
  AlertShading shading_;
  int width_ = kWidth;
  int height_ = kHeight;
  int captionHeight_ = 0;
  int snoozeRowTop_ = 0;

  bool pressed_ = false;
  bool dragging_ = false;
  QPoint pressGlobal_;
  QPoint pressWindowPos_;
  bool shown_ = false;
  bool closed_ = false;
};

} // namespace zr
