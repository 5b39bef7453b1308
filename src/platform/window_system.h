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
  bool xServerAnswers = false;   // an X server accepted a connection on DISPLAY
};

// How long the program waits for the X server of DISPLAY to accept a connection
// before it takes that server for dead.
constexpr int kXServerAnswerTimeoutMs = 3000;

// The environment of this process and its command line. The X server is only tried
// when its answer matters: in a Wayland session with DISPLAY set and no platform chosen.
WindowSystemEnvironment windowSystemEnvironment(int argc, char** argv);

// Whether an X server accepts a connection on the display within the time-out. A
// server that never answers (stopped, or a dead remote host) counts as none.
bool xServerAnswers(const QByteArray& display, int timeoutMs = kXServerAnswerTimeoutMs);

// Whether the program asks Qt for X11 ("xcb") instead of leaving the choice to Qt: in a
// Wayland session with an X server that answers (XWayland). There it can stack its
// alerts at the lower right, which a Wayland compositor does not let a program do.
// Never when the user chose a platform, and not when DISPLAY names no live X server:
// Qt has no way back from a chosen platform that fails, so the program would end there.
bool prefersXWayland(const WindowSystemEnvironment& environment);

} // namespace zr
