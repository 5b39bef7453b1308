// SPDX-License-Identifier: MIT

#pragma once

#include <QString>

class QWidget;

namespace zr {

// The program's message boxes, titled "ZR Dorvel". Their texts carry names, paths
// and error texts as they stand, so they are shown as written, never as markup.

// An error: critical icon, OK only.
void showError(QWidget* parent, const QString& text);

// A question: question icon, Yes and No, No by default; true for Yes alone.
bool askYesNo(QWidget* parent, const QString& question);

} // namespace zr
