// SPDX-License-Identifier: MIT

#pragma once

#include <QString>

namespace zr {

// The address of the update information file: the environment variable
// ZRDORVEL_UPDATE_INFO_URL when it is set and not empty, otherwise the address
// the program was built with.
QString updateInfoAddress();

} // namespace zr
