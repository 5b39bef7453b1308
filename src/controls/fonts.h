// SPDX-License-Identifier: MIT

#pragma once

#include <QFont>
#include <QGuiApplication>
#include <QSize>
#include <algorithm>
#include <cmath>

namespace zr {

// The program's windows and dialogs use Arial, their menu bar and list
// headers Tahoma, both at 8 points: the look at the desktop's usual font size.
// A user who has made the desktop's font larger than the usual sizes gets the
// program's text at the desktop's size, never smaller than 8 points.
inline constexpr char kFormFontFamily[] = "Arial";
inline constexpr char kMenuFontFamily[] = "Tahoma";
inline constexpr int kFontPointSize = 8;
// Desktops come with 9 to 11 points; a font set above that is a user's choice.
inline constexpr double kLargestUsualDesktopPointSize = 11;

// The point size of the program's text for a desktop font of the given size.
inline double programPointSize(double desktopPointSize) {
  return desktopPointSize > kLargestUsualDesktopPointSize ? desktopPointSize
                                                          : double(kFontPointSize);
}

inline double programPointSize() {
  return programPointSize(QGuiApplication::font().pointSizeF());
}

// How much larger than the designed 8 points the program's text is (1 at the usual
// sizes); the windows that place their controls by pixels grow their places by it.
inline double fontScale() {
  return programPointSize() / kFontPointSize;
}

// A designed pixel measure grown with the font.
inline int scaled(int pixels) {
  return static_cast<int>(std::lround(pixels * fontScale()));
}

inline QSize scaled(QSize size) {
  return QSize(scaled(size.width()), scaled(size.height()));
}

inline QFont formFont() {
  QFont font(kFormFontFamily);
  font.setPointSizeF(programPointSize());
  return font;
}
inline QFont menuFont() {
  QFont font(kMenuFontFamily);
  font.setPointSizeF(programPointSize());
  return font;
}

} // namespace zr
