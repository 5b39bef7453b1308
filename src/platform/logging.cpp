// SPDX-License-Identifier: MIT

#include "platform/logging.h"

namespace zr {

Q_LOGGING_CATEGORY(lcSound, "zrdorvel.sound")
Q_LOGGING_CATEGORY(lcAutostart, "zrdorvel.autostart")

} // namespace zr
