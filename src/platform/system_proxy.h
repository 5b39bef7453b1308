// SPDX-License-Identifier: MIT

#pragma once

#include "core/proxy_settings.h"

namespace zr {

// The proxy variables with the proxy that the system's own settings name for the
// schemes they leave unset. On Windows these are the Internet options of the default
// connection (WinINet); elsewhere the environment is the system's setting and the
// variables come back unchanged.
ProxyVariables addSystemProxy(ProxyVariables variables);

} // namespace zr
