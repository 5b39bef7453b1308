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
// stays where it was put; the others close the gap it left.
class AlertStack : public QObject {
  Q_OBJECT

public:
  explicit AlertStack(QObject* parent = nullptr);

  // Moves the alert to the next place of the stack and keeps it stacked until it
  // closes, is dragged away or is destroyed. Call before showing it.
  void add(AlertWindow* alert);

  // The stacked alerts, lowest first.
  std::vector<AlertWindow*> alerts() const;

private:
  void remove(const QObject* alert);
  void followPrimaryScreen(QScreen* screen);
  void placeAll();
  QRect workArea() const;

  // Each alert with its QObject address, which stays comparable while the alert is
  // being destroyed, when its AlertWindow part is already gone.
  struct Entry {
    AlertWindow* alert;
    const QObject* object;
  };
  std::vector<Entry> entries_;
  QMetaObject::Connection screenConnection_;
};

} // namespace zr
