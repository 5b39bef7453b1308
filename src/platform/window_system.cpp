// SPDX-License-Identifier: MIT

#include "platform/window_system.h"

#include <QtGlobal>
#include <cstring>

namespace zr {

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
  return environment;
}

bool prefersXWayland(const WindowSystemEnvironment& environment) {
  if (!environment.qtPlatform.isEmpty() || environment.platformArgument)
    return false;
  const bool waylandSession =
      !environment.waylandDisplay.isEmpty() || environment.sessionType == "wayland";
  return waylandSession && !environment.display.isEmpty();
}

} // namespace zr
