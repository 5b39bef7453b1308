// SPDX-License-Identifier: MIT

#include "app/command_prompts.h"

#include "app/message_boxes.h"
#include "editor/properties_dialog.h"

namespace zr {

bool DialogPrompts::editReminder(QWidget* parent, Reminder& reminder) {
  PropertiesDialog dialog(reminder, parent);
  return dialog.exec() == QDialog::Accepted;
}

bool DialogPrompts::confirm(QWidget* parent, const QString& question) {
  return askYesNo(parent, question);
}

void DialogPrompts::showError(QWidget* parent, const QString& text) {
  zr::showError(parent, text);
}

} // namespace zr
