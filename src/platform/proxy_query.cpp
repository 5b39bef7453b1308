// SPDX-License-Identifier: MIT

#include "platform/proxy_query.h"

#include <cstdlib>
#include <string>

namespace zr {
namespace {

std::string environmentValue(const char* lowerName, const char* upperName) {
  for (const char* name : {lowerName, upperName})
    if (const char* value = std::getenv(name); value != nullptr && *value != '\0')
      return value;
  return {};
}

} // namespace

// On Linux the proxy settings of a user are the usual environment variables.
std::optional<ProxySettings> queryProxySettings() {
  return proxySettingsFromEnvironment(environmentValue("http_proxy", "HTTP_PROXY"),
                                      environmentValue("no_proxy", "NO_PROXY"));
}

} // namespace zr
