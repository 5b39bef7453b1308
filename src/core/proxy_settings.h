#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace zr {

// The proxy settings of the system for plain HTTP, as one query answers them.
struct ProxySettings {
  std::string host; // empty: no proxy server was given
  int port = 0;     // 0 when no valid port could be read
  bool enabled = false;
  std::string bypass; // the system's bypass list, kept as it stands
};

struct ProxyServer {
  std::string host;
  int port = 0;
};

// Reads a proxy-server text, either "host:port" for every protocol or a list
// of "protocol=host:port" entries separated by ";". The "http=" entry is used
// when there is one, otherwise the first entry whole. A missing port, or one
// that is not a number from 0 to 65535, gives port 0.
ProxyServer parseProxyServer(std::string_view text);

// Connection flags of the system's Internet options.
inline constexpr std::uint32_t kProxyTypeDirect = 1;
inline constexpr std::uint32_t kProxyTypeProxy = 2;
inline constexpr std::uint32_t kProxyTypeAutoProxyUrl = 4;
inline constexpr std::uint32_t kProxyTypeAutoDetect = 8;

// A proxy is in use when a proxy server or an automatic configuration script
// is switched on; a direct connection or automatic detection alone is not.
bool proxyFlagsEnabled(std::uint32_t flags);

// The settings that the usual proxy environment variables describe: the value
// of http_proxy (an optional "http://" and user information before the host
// and a trailing "/" are dropped) and of no_proxy. An empty value means no proxy.
ProxySettings proxySettingsFromEnvironment(std::string_view httpProxy, std::string_view noProxy);

} // namespace zr
