// SPDX-License-Identifier: MIT

#pragma once

#include "core/date_time.h"

#include <QString>

namespace zr {

// Copies a file that could not be read to "<path>.unreadable-YYYYMMDD-HHMMSS"
// beside it, so that saving the list over it later loses nothing. Returns the
// copy's path, or an empty text when the copy could not be made.
QString keepUnreadableCopy(const QString& path, DateTime moment);

} // namespace zr
