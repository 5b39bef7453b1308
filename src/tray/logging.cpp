// SPDX-License-Identifier: MIT

#include "tray/logging.h"

namespace zr {

Q_LOGGING_CATEGORY(lcTray, "zrdorvel.tray")

} // namespace zr
