// SPDX-License-Identifier: MIT

#pragma once

#include <QByteArray>

namespace zr {

// What decides the window system the program runs on.
struct WindowSystemEnvironment {
  QByteArray qtPlatform;         // QT_QPA_PLATFORM
  QByteArray waylandDisplay;     // WAYLAND_DISPLAY
  QByteArray sessionType;        // XDG_SESSION_TYPE
  QByteArray display;            // DISPLAY
  bool platformArgument = false; // -platform (or --platform) on the command line
};

// The environment of this process and its command line.
WindowSystemEnvironment windowSystemEnvironment(int argc, char** argv);

// Whether the program asks Qt for X11 ("xcb") instead of leaving the choice to Qt: in a
// Wayland session with an X server at hand (XWayland, DISPLAY set). There it can stack
// its alerts at the lower right, which a Wayland compositor does not let a program do.
// Never when the user chose a platform, and not without an X server.
bool prefersXWayland(const WindowSystemEnvironment& environment);

} // namespace zr
