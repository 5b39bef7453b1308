// SPDX-License-Identifier: MIT

#include "app/command_prompts.h"

#include "app/error_box.h"
#include "editor/properties_dialog.h"

#include <QMessageBox>

namespace zr {

bool DialogPrompts::editReminder(QWidget* parent, Reminder& reminder) {
  PropertiesDialog dialog(reminder, parent);
  return dialog.exec() == QDialog::Accepted;
}

bool DialogPrompts::confirm(QWidget* parent, const QString& question) {
  return QMessageBox::question(parent, "ZR Dorvel", question, QMessageBox::Yes | QMessageBox::No,
                               QMessageBox::No) == QMessageBox::Yes;
}

void DialogPrompts::showError(QWidget* parent, const QString& text) {
  zr::showError(parent, text);
}

} // namespace zr
