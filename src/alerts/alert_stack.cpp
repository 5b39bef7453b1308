// SPDX-License-Identifier: MIT

#include "alerts/alert_stack.h"

#include "alerts/alert_placement.h"
#include "alerts/alert_window.h"
#include "platform/x11_desktop.h"

#include <QGuiApplication>
#include <QPointer>
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
  const auto stacked = std::count_if(entries_.begin(), entries_.end(),
                                     [](const Entry& entry) { return entry.stacked; });
  entries_.push_back({alert, alert, true});
  connect(alert, &AlertWindow::closing, this, &AlertStack::remove);
  connect(alert, &AlertWindow::movedByUser, this, &AlertStack::unstack);
  connect(alert, &QObject::destroyed, this, &AlertStack::remove);
  connect(alert, &AlertWindow::stepRequested, this, &AlertStack::step);
  alert->move(stackedAlertPosition(workArea(), alert->size(), static_cast<int>(stacked)));
}

std::vector<AlertWindow*> AlertStack::alerts() const {
  std::vector<AlertWindow*> alerts;
  for (const Entry& entry : entries_)
    if (entry.stacked)
      alerts.push_back(entry.alert);
  return alerts;
}

std::vector<AlertWindow*> AlertStack::openAlerts() const {
  std::vector<AlertWindow*> alerts;
  for (const Entry& entry : entries_)
    alerts.push_back(entry.alert);
  return alerts;
}

bool AlertStack::activateNewest() {
  if (entries_.empty())
    return false;
  entries_.back().alert->activate();
  return true;
}

// Each close hands a copy back and may open more windows; the list is taken first
// and every alert checked again before it is closed.
void AlertStack::closeAll() {
  std::vector<QPointer<AlertWindow>> open;
  for (const Entry& entry : entries_)
    open.emplace_back(entry.alert);
  closingAll_ = true;
  for (const QPointer<AlertWindow>& alert : open)
    if (alert != nullptr)
      alert->close();
  closingAll_ = false;
  placeAll();
}

void AlertStack::step(AlertWindow* from, bool forward) {
  const auto count = static_cast<std::ptrdiff_t>(entries_.size());
  const auto at = std::find_if(entries_.begin(), entries_.end(),
                               [from](const Entry& entry) { return entry.alert == from; });
  if (at == entries_.end() || count < 2)
    return;
  const std::ptrdiff_t index = at - entries_.begin();
  entries_[static_cast<std::size_t>((index + (forward ? 1 : count - 1)) % count)].alert->activate();
}

void AlertStack::remove(const QObject* alert) {
  if (std::erase_if(entries_, [alert](const Entry& entry) { return entry.object == alert; }) > 0)
    placeAll();
}

void AlertStack::unstack(const QObject* alert) {
  for (Entry& entry : entries_)
    if (entry.object == alert)
      entry.stacked = false;
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
  if (closingAll_)
    return;
  const QRect area = workArea();
  int index = 0;
  for (const Entry& entry : entries_)
    if (entry.stacked)
      entry.alert->move(stackedAlertPosition(area, entry.alert->size(), index++));
}

QRect AlertStack::workArea() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (screen == nullptr)
    return QRect();
  return panelFreeArea(screen->geometry()).value_or(screen->availableGeometry());
}

} // namespace zr
