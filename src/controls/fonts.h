// SPDX-License-Identifier: MIT

#pragma once

#include <QFont>

namespace zr {

// The program's windows and dialogs use Arial, their menu bar and list
// headers Tahoma, both at 8 points.
inline constexpr char kFormFontFamily[] = "Arial";
inline constexpr char kMenuFontFamily[] = "Tahoma";
inline constexpr int kFontPointSize = 8;

inline QFont formFont() {
  return QFont(kFormFontFamily, kFontPointSize);
}
inline QFont menuFont() {
  return QFont(kMenuFontFamily, kFontPointSize);
}

} // namespace zr
