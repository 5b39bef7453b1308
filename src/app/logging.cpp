// SPDX-License-Identifier: MIT

#include "app/logging.h"

namespace zr {

Q_LOGGING_CATEGORY(lcApp, "zrdorvel.app")

} // namespace zr
