#include "core/proxy_settings.h"

#include <algorithm>
#include <cctype>
#include <charconv>

namespace zr {
namespace {

int parsePort(std::string_view text) {
  int port = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), port);
  if (error != std::errc() || end != text.data() + text.size() || port < 0 || port > 65535)
    return 0;
  return port;
}

bool startsWithNoCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() &&
         std::equal(prefix.begin(), prefix.end(), text.begin(), [](char a, char b) {
           return std::tolower(static_cast<unsigned char>(a)) ==
                  std::tolower(static_cast<unsigned char>(b));
         });
}

} // namespace

ProxyServer parseProxyServer(std::string_view text) {
  constexpr std::string_view httpEntry = "http=";
  if (const auto at = text.find(httpEntry); at != std::string_view::npos)
    text.remove_prefix(at + httpEntry.size());
  text = text.substr(0, text.find(';'));
  const auto colon = text.find(':');
  if (colon == std::string_view::npos)
    return {std::string(text), 0};
  return {std::string(text.substr(0, colon)), parsePort(text.substr(colon + 1))};
}

bool proxyFlagsEnabled(std::uint32_t flags) {
  return (flags & (kProxyTypeProxy | kProxyTypeAutoProxyUrl)) != 0;
}

ProxySettings proxySettingsFromEnvironment(std::string_view httpProxy, std::string_view noProxy) {
  ProxySettings settings;
  settings.bypass = noProxy;
  if (startsWithNoCase(httpProxy, "http://"))
    httpProxy.remove_prefix(7);
  if (const auto at = httpProxy.rfind('@'); at != std::string_view::npos)
    httpProxy.remove_prefix(at + 1);
  while (!httpProxy.empty() && httpProxy.back() == '/')
    httpProxy.remove_suffix(1);
  if (httpProxy.empty())
    return settings;
  const ProxyServer server = parseProxyServer(httpProxy);
  settings.host = server.host;
  settings.port = server.port;
  settings.enabled = true;
  return settings;
}

} // namespace zr
