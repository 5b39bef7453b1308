// SPDX-License-Identifier: MIT

#include "tray/popup_menu.h"

#include <QActionEvent>

namespace zr {

PopupMenu::PopupMenu(QWidget* parent) : QMenu(parent) {}

QAction* PopupMenu::addActionItem(QAction* action) {
  if (!action)
    action = new QAction(this);
  addAction(action);
  return action;
}

void PopupMenu::actionEvent(QActionEvent* event) {
  QAction* action = event->action();
  if (event->type() != QEvent::ActionRemoved && !action->isSeparator() &&
      action->text() == QStringLiteral("-")) {
    action->setSeparator(true);
    action->setText(QString()); // a separator's text would be drawn beside its line
  }
  QMenu::actionEvent(event);
}

} // namespace zr
