// SPDX-License-Identifier: MIT

#pragma once

#include <QLoggingCategory>

namespace zr {

// "zrdorvel.updater": what the updater does not show the user, one line each: a
// silent update check that failed, a proxy that could not be read, a version
// offered without files, a leftover download folder that could not be deleted.
Q_DECLARE_LOGGING_CATEGORY(lcUpdater)

} // namespace zr
