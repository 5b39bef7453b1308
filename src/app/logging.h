// SPDX-License-Identifier: MIT

#pragma once

#include <QLoggingCategory>

namespace zr {

// "zrdorvel.settings": the settings file could not be read and the defaults apply.
Q_DECLARE_LOGGING_CATEGORY(lcSettings)

} // namespace zr
