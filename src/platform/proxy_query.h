// SPDX-License-Identifier: MIT

#pragma once

#include "core/proxy_settings.h"

#include <QNetworkProxy>
#include <optional>

namespace zr {

// The user's proxy settings are the usual environment variables, read anew on
// every call: https_proxy (else HTTPS_PROXY) for https addresses, http_proxy
// for http ones (only in lower case, since HTTP_PROXY can be set from outside
// by a request's "Proxy" header in a web server's scripts), and no_proxy (else
// NO_PROXY); on Windows the Internet options' proxy for a scheme the variables leave
// unset (addSystemProxy). Safe to call from any thread.
ProxyVariables readProxyVariables();

// The proxy for the toolkit's network requests; no server means no proxy.
QNetworkProxy toNetworkProxy(const std::optional<ProxyServer>& server);

} // namespace zr
