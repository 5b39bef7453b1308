// SPDX-License-Identifier: MIT

#pragma once

#include <QLoggingCategory>

namespace zr {

// "zrdorvel.tray": the notification area fell back to something else, such as
// minimising the window where there is no notification area to hide it in.
Q_DECLARE_LOGGING_CATEGORY(lcTray)

} // namespace zr
