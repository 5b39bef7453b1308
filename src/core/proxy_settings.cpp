// SPDX-License-Identifier: MIT

#include "core/proxy_settings.h"

#include "core/ascii_text.h"

#include <algorithm>
#include <charconv>
#include <vector>

namespace zr {
namespace {

int hexValue(char c) {
  c = toLowerAscii(c);
  if (c >= '0' && c <= '9')
    return c - '0';
  if (c >= 'a' && c <= 'f')
    return c - 'a' + 10;
  return -1;
}

std::optional<std::string> percentDecoded(std::string_view text) {
  std::string result;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '%') {
      result += text[i];
      continue;
    }
    if (i + 2 >= text.size() || hexValue(text[i + 1]) < 0 || hexValue(text[i + 2]) < 0)
      return std::nullopt;
    result += static_cast<char>(hexValue(text[i + 1]) * 16 + hexValue(text[i + 2]));
    i += 2;
  }
  return result;
}

std::optional<int> parsePort(std::string_view text) {
  int port = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), port);
  if (text.empty() || error != std::errc() || end != text.data() + text.size() || port < 1 ||
      port > 65535)
    return std::nullopt;
  return port;
}

bool isHostCharacter(char c) {
  c = toLowerAscii(c);
  return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '.' || c == '_';
}

bool isIpv6Character(char c) {
  return hexValue(c) >= 0 || c == ':' || c == '.';
}

std::optional<ProxyKind> kindOfScheme(std::string_view scheme) {
  const std::string lower = toLowerAscii(scheme);
  if (lower == "http")
    return ProxyKind::Http;
  if (lower == "socks5" || lower == "socks5h")
    return ProxyKind::Socks5;
  return std::nullopt;
}

// Splits "host[:port]" or "[v6]:port"; the host keeps no brackets.
bool readHostAndPort(std::string_view text, ProxyServer& server) {
  std::string_view host = text;
  std::string_view port;
  if (text.starts_with('[')) {
    const std::size_t close = text.find(']');
    if (close == std::string_view::npos)
      return false;
    host = text.substr(1, close - 1);
    const std::string_view rest = text.substr(close + 1);
    if (!rest.empty() && !rest.starts_with(':'))
      return false;
    port = rest.empty() ? rest : rest.substr(1);
    if (host.empty() || !std::all_of(host.begin(), host.end(), isIpv6Character))
      return false;
  } else {
    if (const std::size_t colon = text.find(':'); colon != std::string_view::npos) {
      host = text.substr(0, colon);
      port = text.substr(colon + 1);
    }
    if (host.empty() || !std::all_of(host.begin(), host.end(), isHostCharacter))
      return false;
  }
  server.host = host;
  if (port.empty() && text.ends_with(':'))
    return false;
  if (!port.empty()) {
    const std::optional<int> number = parsePort(port);
    if (!number)
      return false;
    server.port = *number;
  }
  return true;
}

std::vector<std::string_view> listEntries(std::string_view list) {
  std::vector<std::string_view> entries;
  std::size_t start = 0;
  while (start <= list.size()) {
    const std::size_t end = std::min(list.find_first_of(", \t", start), list.size());
    if (end > start)
      entries.push_back(list.substr(start, end - start));
    start = end + 1;
  }
  return entries;
}

bool isAddress(std::string_view host) {
  return host.find(':') != std::string_view::npos ||
         std::all_of(host.begin(), host.end(),
                     [](char c) { return c == '.' || (c >= '0' && c <= '9'); });
}

} // namespace

std::optional<ProxyServer> parseProxyAddress(std::string_view text) {
  ProxyServer server;
  if (const std::size_t separator = text.find("://"); separator != std::string_view::npos) {
    const std::optional<ProxyKind> kind = kindOfScheme(text.substr(0, separator));
    if (!kind)
      return std::nullopt;
    server.kind = *kind;
    text.remove_prefix(separator + 3);
  }
  if (const std::size_t slash = text.find('/'); slash != std::string_view::npos) {
    if (slash + 1 != text.size())
      return std::nullopt;
    text.remove_suffix(1);
  }
  if (const std::size_t at = text.rfind('@'); at != std::string_view::npos) {
    const std::string_view userInfo = text.substr(0, at);
    const std::size_t colon = userInfo.find(':');
    const auto user = percentDecoded(userInfo.substr(0, colon));
    const auto password = percentDecoded(
        colon == std::string_view::npos ? std::string_view() : userInfo.substr(colon + 1));
    if (!user || !password || user->empty())
      return std::nullopt;
    server.user = *user;
    server.password = *password;
    text.remove_prefix(at + 1);
  }
  if (!readHostAndPort(text, server))
    return std::nullopt;
  if (server.port == 0)
    server.port = server.kind == ProxyKind::Http ? 80 : 1080;
  return server;
}

bool isExemptFromProxy(std::string_view host, std::string_view noProxy) {
  const std::string name = toLowerAscii(host);
  for (std::string_view entry : listEntries(noProxy)) {
    if (entry == "*")
      return true;
    if (entry.starts_with('[') && entry.ends_with(']'))
      entry = entry.substr(1, entry.size() - 2);
    while (entry.starts_with('.'))
      entry.remove_prefix(1);
    const std::string domain = toLowerAscii(entry);
    if (domain.empty())
      continue;
    if (name == domain)
      return true;
    if (!isAddress(domain) && name.size() > domain.size() && name.ends_with(domain) &&
        name[name.size() - domain.size() - 1] == '.')
      return true;
  }
  return false;
}

ProxyChoice chooseProxy(std::string_view scheme, std::string_view host,
                        const ProxyVariables& variables) {
  const std::string lowerScheme = toLowerAscii(scheme);
  const std::string& variable = lowerScheme == "https"  ? variables.httpsProxy
                                : lowerScheme == "http" ? variables.httpProxy
                                                        : std::string();
  if (variable.empty() || isExemptFromProxy(host, variables.noProxy))
    return {};
  ProxyChoice choice;
  choice.server = parseProxyAddress(variable);
  choice.unreadable = !choice.server;
  return choice;
}

} // namespace zr
