// SPDX-License-Identifier: MIT

#pragma once

#include <QString>

class QWidget;

namespace zr {

// The program's error message box: critical icon, titled "ZR Dorvel", OK only.
void showError(QWidget* parent, const QString& text);

} // namespace zr
