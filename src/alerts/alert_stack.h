// SPDX-License-Identifier: MIT

#pragma once

#include <QObject>
#include <QRect>
#include <vector>

class QScreen;

namespace zr {

class AlertWindow;

// The alerts shown on the desktop, stacked upward from the lower right corner of
// the primary screen's work area. When an alert closes the ones above it move
// down to close the gap. An alert the user drags somewhere leaves the stack and
// stays where it was put; the others close the gap it left. The stack also leads
// the keyboard from alert to alert, stacked or not, in the order they came up.
class AlertStack : public QObject {
  Q_OBJECT

public:
  explicit AlertStack(QObject* parent = nullptr);

  // Moves the alert to the next place of the stack and keeps it stacked until it
  // closes, is dragged away or is destroyed. Call before showing it.
  void add(AlertWindow* alert);

  // The stacked alerts, lowest first.
  std::vector<AlertWindow*> alerts() const;
  // Every open alert, stacked or dragged away, oldest first.
  std::vector<AlertWindow*> openAlerts() const;

  // Gives the keyboard to the newest open alert; false when there is none.
  bool activateNewest();
  // Closes every open alert, each with the snooze minutes it shows.
  void closeAll();

  // The part of the primary screen alerts may use: the screen less the panels'
  // struts where the window manager lists them, else the work area Qt reports.
  static QRect workArea();

private:
  void remove(const QObject* alert);
  void unstack(const QObject* alert);
  void step(AlertWindow* from, bool forward);
  void followPrimaryScreen(QScreen* screen);
  void placeAll();

  // Each alert with its QObject address, which stays comparable while the alert is
  // being destroyed, when its AlertWindow part is already gone.
  struct Entry {
    AlertWindow* alert;
    const QObject* object;
    bool stacked;
  };
  std::vector<Entry> entries_;
  QMetaObject::Connection screenConnection_;
  // While closing all, the stack is placed once at the end instead of at each close.
  bool closingAll_ = false;
};

} // namespace zr
