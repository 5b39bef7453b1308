// SPDX-License-Identifier: MIT

#include "platform/window_system.h"

#include <QtGlobal>
#include <cstring>

#ifdef ZR_HAVE_XCB
#include <chrono>
#include <future>
#include <thread>
#include <xcb/xcb.h>
#endif

namespace zr {
namespace {

bool isWaylandSession(const WindowSystemEnvironment& environment) {
  return !environment.waylandDisplay.isEmpty() || environment.sessionType == "wayland";
}

bool platformChosen(const WindowSystemEnvironment& environment) {
  return !environment.qtPlatform.isEmpty() || environment.platformArgument;
}

} // namespace

WindowSystemEnvironment windowSystemEnvironment(int argc, char** argv) {
  WindowSystemEnvironment environment;
  environment.qtPlatform = qgetenv("QT_QPA_PLATFORM");
  environment.waylandDisplay = qgetenv("WAYLAND_DISPLAY");
  environment.sessionType = qgetenv("XDG_SESSION_TYPE");
  environment.display = qgetenv("DISPLAY");
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "-platform") == 0 || std::strcmp(argv[i], "--platform") == 0)
      environment.platformArgument = true;
  }
  if (isWaylandSession(environment) && !platformChosen(environment) &&
      !environment.display.isEmpty())
    environment.xServerAnswers = xServerAnswers(environment.display);
  return environment;
}

#ifdef ZR_HAVE_XCB
bool xServerAnswers(const QByteArray& display, int timeoutMs) {
  // The connection is made on a thread of its own: a server that accepts the socket
  // but never answers the set-up would hold the caller for good. Such a thread is
  // left behind; it ends when the server answers or the process ends.
  auto answer = std::make_shared<std::promise<bool>>();
  std::future<bool> answered = answer->get_future();
  std::thread([answer, display] {
    xcb_connection_t* connection = xcb_connect(display.constData(), nullptr);
    const bool connected = xcb_connection_has_error(connection) == 0;
    xcb_disconnect(connection);
    answer->set_value(connected);
  }).detach();
  return answered.wait_for(std::chrono::milliseconds(timeoutMs)) == std::future_status::ready &&
         answered.get();
}
#else
// A build without X11 (Windows) has no X server to ask.
bool xServerAnswers(const QByteArray&, int) {
  return false;
}
#endif

bool prefersXWayland(const WindowSystemEnvironment& environment) {
  return isWaylandSession(environment) && !platformChosen(environment) &&
         !environment.display.isEmpty() && environment.xServerAnswers;
}

} // namespace zr
