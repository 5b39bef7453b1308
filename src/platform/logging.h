// SPDX-License-Identifier: MIT

#pragma once

#include <QLoggingCategory>

namespace zr {

// Where the platform layers leave a line when they fall back without telling the
// user: "zrdorvel.sound" (a sound that beeped instead), "zrdorvel.autostart" (an
// autostart entry or folder that could not be used as it is).
Q_DECLARE_LOGGING_CATEGORY(lcSound)
Q_DECLARE_LOGGING_CATEGORY(lcAutostart)

} // namespace zr
