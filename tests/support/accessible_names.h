// SPDX-License-Identifier: MIT

#pragma once

#include <QAccessible>
#include <QLabel>
#include <QStringList>
#include <QWidget>

namespace zr::test {

// The controls of a window that take the focus by Tab but that a screen reader could
// not name: no accessible name (from their text or set) and no label for them.
inline QStringList unnamedFocusableControls(const QWidget& window) {
  QStringList unnamed;
  for (QWidget* control : window.findChildren<QWidget*>()) {
    if (!(control->focusPolicy() & Qt::TabFocus) || control->isHidden())
      continue;
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(control);
    if (accessible && !accessible->text(QAccessible::Name).trimmed().isEmpty())
      continue;
    if (accessible && !accessible->relations(QAccessible::Label).isEmpty())
      continue;
    unnamed.append(QString::fromLatin1(control->metaObject()->className()) + ' ' +
                   control->objectName());
  }
  return unnamed;
}

} // namespace zr::test
