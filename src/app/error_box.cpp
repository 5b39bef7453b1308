// SPDX-License-Identifier: MIT

#include "app/error_box.h"

#include <QMessageBox>

namespace zr {

void showError(QWidget* parent, const QString& text) {
  QMessageBox::critical(parent, "ZR Dorvel", text);
}

} // namespace zr
