// SPDX-License-Identifier: MIT

#include "updater/logging.h"

namespace zr {

Q_LOGGING_CATEGORY(lcUpdater, "zrdorvel.updater")

} // namespace zr
