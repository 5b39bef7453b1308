// SPDX-License-Identifier: MIT

#pragma once

#include <QColor>
#include <QPalette>
#include <cstdint>

namespace zr {

// Converts a stored colour to a QColor. Plain colours are 0x00BBGGRR (red in the
// lowest byte). A highest byte of FF marks a system colour whose index (the
// classic Windows system colour numbers 0..30) sits in the lowest byte; it is
// taken from the palette where the palette has a matching role, otherwise from
// the classic default. Unknown indices give black.
QColor colorToQColor(std::uint32_t color, const QPalette& palette);

// Black or white, whichever contrasts more with the background.
QColor readableTextColor(const QColor& background);

// The contrast ratio of two colours as WCAG defines it, 1 (none) to 21 (black on white).
double contrastRatio(const QColor& a, const QColor& b);

} // namespace zr
