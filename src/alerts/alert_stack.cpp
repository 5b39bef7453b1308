// SPDX-License-Identifier: MIT

#include "alerts/alert_stack.h"

#include "alerts/alert_placement.h"
#include "alerts/alert_window.h"

#include <QGuiApplication>
#include <QScreen>

namespace zr {

AlertStack::AlertStack(QObject* parent) : QObject(parent) {
  followPrimaryScreen(QGuiApplication::primaryScreen());
  connect(qGuiApp, &QGuiApplication::primaryScreenChanged, this, [this](QScreen* screen) {
    followPrimaryScreen(screen);
    placeAll();
  });
}

void AlertStack::add(AlertWindow* alert) {
  entries_.push_back({alert, alert});
  connect(alert, &AlertWindow::closing, this, &AlertStack::remove);
  connect(alert, &AlertWindow::movedByUser, this, &AlertStack::remove);
  connect(alert, &QObject::destroyed, this, &AlertStack::remove);
  const int index = static_cast<int>(entries_.size()) - 1;
  alert->move(stackedAlertPosition(workArea(), alert->size(), index));
}

std::vector<AlertWindow*> AlertStack::alerts() const {
  std::vector<AlertWindow*> alerts;
  for (const Entry& entry : entries_)
    alerts.push_back(entry.alert);
  return alerts;
}

void AlertStack::remove(const QObject* alert) {
  if (std::erase_if(entries_, [alert](const Entry& entry) { return entry.object == alert; }) > 0)
    placeAll();
}

// The work area shrinks and grows when panels come and go; the stack follows.
void AlertStack::followPrimaryScreen(QScreen* screen) {
  disconnect(screenConnection_);
  if (screen != nullptr)
    screenConnection_ =
        connect(screen, &QScreen::availableGeometryChanged, this, &AlertStack::placeAll);
}

void AlertStack::placeAll() {
  const QRect area = workArea();
  for (std::size_t i = 0; i < entries_.size(); ++i) {
    AlertWindow* alert = entries_[i].alert;
    alert->move(stackedAlertPosition(area, alert->size(), static_cast<int>(i)));
  }
}

QRect AlertStack::workArea() const {
  const QScreen* screen = QGuiApplication::primaryScreen();
  return screen != nullptr ? screen->availableGeometry() : QRect();
}

} // namespace zr
