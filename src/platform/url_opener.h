// SPDX-License-Identifier: MIT

#pragma once

#include <QString>

namespace zr {

// Hands a web address to the user's browser. An empty address opens nothing,
// and a failure of the desktop to open it is not reported.
void openWebAddress(const QString& address);

} // namespace zr
