// SPDX-License-Identifier: MIT

#include "app/message_boxes.h"

#include <QMessageBox>

namespace zr {
namespace {

int showPlainBox(QWidget* parent, QMessageBox::Icon icon, const QString& text,
                 QMessageBox::StandardButtons buttons, QMessageBox::StandardButton byDefault) {
  QMessageBox box(icon, QStringLiteral("ZR Dorvel"), text, buttons, parent);
  box.setTextFormat(Qt::PlainText);
  box.setDefaultButton(byDefault);
  return box.exec();
}

} // namespace

void showError(QWidget* parent, const QString& text) {
  showPlainBox(parent, QMessageBox::Critical, text, QMessageBox::Ok, QMessageBox::Ok);
}

bool askYesNo(QWidget* parent, const QString& question) {
  return showPlainBox(parent, QMessageBox::Question, question, QMessageBox::Yes | QMessageBox::No,
                      QMessageBox::No) == QMessageBox::Yes;
}

} // namespace zr
