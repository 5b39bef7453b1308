// SPDX-License-Identifier: MIT

#include "app/modal_windows.h"

#include <QApplication>
#include <QDialog>
#include <QPointer>
#include <QWidget>

namespace zr {

void closeModalWindows() {
  QList<QPointer<QWidget>> windows;
  for (QWidget* window : QApplication::topLevelWidgets())
    windows.append(window);
  for (const QPointer<QWidget>& window : windows) {
    if (!window || !window->isVisible())
      continue;
    if (window->windowType() == Qt::Popup) {
      window->close();
    } else if (window->isModal()) {
      // done() rather than reject(): a dialog may give "cancel" a meaning of its own.
      if (auto* dialog = qobject_cast<QDialog*>(window.data()))
        dialog->done(QDialog::Rejected);
      else
        window->close();
    }
  }
}

} // namespace zr
