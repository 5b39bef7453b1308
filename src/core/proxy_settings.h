// SPDX-License-Identifier: MIT

#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace zr {

enum class ProxyKind { Http, Socks5 };

// A proxy server as a proxy variable names it. The user name and password
// serve only to authenticate with the proxy; they are never shown or logged.
struct ProxyServer {
  ProxyKind kind = ProxyKind::Http;
  std::string host;
  int port = 0;
  std::string user;
  std::string password;
};

// Reads a proxy address "[scheme://][user[:password]@]host[:port][/]". The
// scheme is http (also when none is given) or socks5 / socks5h, in any letter
// case; the user name and password may hold %XX escapes; the host is a name,
// an IPv4 address or an IPv6 address in brackets; the port is 1 to 65535, 80
// for http and 1080 for SOCKS when none is given. Anything else cannot be
// read: no answer.
std::optional<ProxyServer> parseProxyAddress(std::string_view text);

// Whether a no_proxy list (entries separated by commas or blanks) exempts a
// host from the proxy: "*" exempts every host, a domain entry (with or without
// a leading ".") exempts that host and every host below it, an address entry
// exempts that address. Letter case is ignored.
bool isExemptFromProxy(std::string_view host, std::string_view noProxy);

// The proxy variables of the environment, as they stand.
struct ProxyVariables {
  std::string httpProxy;  // for http addresses
  std::string httpsProxy; // for https addresses
  std::string noProxy;
};

struct ProxyChoice {
  std::optional<ProxyServer> server; // none: connect directly
  bool unreadable = false;           // a proxy was set but could not be read
};

// The proxy for a request to host over scheme ("http" or "https"): the
// variable of that scheme unless no_proxy exempts the host. A variable that
// cannot be read means a direct connection.
ProxyChoice chooseProxy(std::string_view scheme, std::string_view host,
                        const ProxyVariables& variables);

} // namespace zr
