// SPDX-License-Identifier: MIT

#include "tray/status_notifier_host.h"

namespace zr {

// Windows has one notification area, reached through Shell_NotifyIcon; there is no
// StatusNotifier host.
bool statusNotifierHostRegistered() {
  return false;
}

} // namespace zr
