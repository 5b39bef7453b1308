// SPDX-License-Identifier: MIT

#pragma once

#include "core/proxy_settings.h"

#include <optional>
#include <string>
#include <string_view>

namespace zr {

// What the system's Internet options answer for the default connection: the proxy
// server text, when one is stored, and the bits of its proxy flags.
struct SystemProxyAnswer {
  std::optional<std::string> server; // "host:port", or "http=host:port;https=host:port;..."
  unsigned flags = 0;
};

inline constexpr unsigned kProxyTypeProxy = 2;        // a proxy server is in use
inline constexpr unsigned kProxyTypeAutoProxyUrl = 4; // an automatic configuration script

// The proxy host and port for HTTP out of a proxy server text: the "http=" entry of a
// list (everything up to and including the first "http=" dropped, then everything from
// the first ";" on), or the text up to its first ";" when it has no such entry; the host
// is what precedes the first ":", the port the number after it, 0 when there is none or
// it is not a number.
struct ProxyHostPort {
  std::string host;
  int port = 0;
};
ProxyHostPort httpProxyOf(std::string_view serverText);

// The same for HTTPS: the "https=" entry of a list, or the one proxy for all protocols
// when the text is not a list; none when a list names no proxy for HTTPS.
std::optional<ProxyHostPort> httpsProxyOf(std::string_view serverText);

// Whether the flags say a proxy is in use: a proxy server, or an automatic script (whose
// proxy is then the server text left over, the script itself is not run).
bool systemProxyEnabled(unsigned flags);

// The proxy variables with the system's proxy for each scheme the environment leaves
// unset, when the system says a proxy is in use and names a host for that scheme. The
// environment comes first: a variable set there is the user's choice for this program.
ProxyVariables withSystemProxy(ProxyVariables variables, const SystemProxyAnswer& answer);

} // namespace zr
