// SPDX-License-Identifier: MIT

#include "core/system_proxy.h"

#include <algorithm>
#include <charconv>

namespace zr {
namespace {

ProxyHostPort splitHostPort(std::string_view entry) {
  const auto colon = entry.find(':');
  if (colon == std::string_view::npos)
    return {std::string(entry), 0};
  ProxyHostPort result{std::string(entry.substr(0, colon)), 0};
  const std::string_view digits = entry.substr(colon + 1);
  int port = 0;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), port);
  if (error == std::errc() && end == digits.data() + digits.size())
    result.port = port;
  return result;
}

std::string_view firstEntry(std::string_view text) {
  return text.substr(0, text.find(';'));
}

std::string proxyAddress(const ProxyHostPort& proxy) {
  return proxy.port > 0 ? proxy.host + ':' + std::to_string(proxy.port) : proxy.host;
}

} // namespace

ProxyHostPort httpProxyOf(std::string_view serverText) {
  constexpr std::string_view kHttpEntry = "http=";
  if (const auto at = serverText.find(kHttpEntry); at != std::string_view::npos)
    serverText.remove_prefix(at + kHttpEntry.size());
  return splitHostPort(firstEntry(serverText));
}

std::optional<ProxyHostPort> httpsProxyOf(std::string_view serverText) {
  if (serverText.find('=') == std::string_view::npos)
    return splitHostPort(firstEntry(serverText));
  std::string_view rest = serverText;
  while (!rest.empty()) {
    const std::string_view entry = firstEntry(rest);
    if (entry.starts_with("https="))
      return splitHostPort(entry.substr(6));
    rest.remove_prefix(std::min(rest.size(), entry.size() + 1));
  }
  return std::nullopt;
}

bool systemProxyEnabled(unsigned flags) {
  return (flags & (kProxyTypeProxy | kProxyTypeAutoProxyUrl)) != 0;
}

ProxyVariables withSystemProxy(ProxyVariables variables, const SystemProxyAnswer& answer) {
  if (!systemProxyEnabled(answer.flags) || !answer.server)
    return variables;
  if (const ProxyHostPort http = httpProxyOf(*answer.server);
      variables.httpProxy.empty() && !http.host.empty())
    variables.httpProxy = proxyAddress(http);
  if (const auto https = httpsProxyOf(*answer.server);
      variables.httpsProxy.empty() && https && !https->host.empty())
    variables.httpsProxy = proxyAddress(*https);
  return variables;
}

} // namespace zr
