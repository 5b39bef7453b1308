// SPDX-License-Identifier: MIT

#pragma once

#include "core/proxy_settings.h"

#include <optional>

namespace zr {

// Asks the system for the user's proxy settings for HTTP, anew on every call.
// No answer means the query failed, which the caller treats as no proxy.
// Safe to call from any thread.
std::optional<ProxySettings> queryProxySettings();

} // namespace zr
