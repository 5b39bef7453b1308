#include "platform/proxy_query.h"

#include <windows.h>
#include <wininet.h>

namespace zr {
namespace {

// Copies a text answered by the system and releases the system's copy.
std::string takeSystemText(LPSTR text) {
  std::string copy(text);
  GlobalFree(text);
  return copy;
}

} // namespace

// The per-connection options of the default (LAN) connection in the user's
// Internet options.
std::optional<ProxySettings> queryProxySettings() {
  INTERNET_PER_CONN_OPTIONA options[3] = {};
  options[0].dwOption = INTERNET_PER_CONN_PROXY_SERVER;
  options[1].dwOption = INTERNET_PER_CONN_FLAGS;
  options[2].dwOption = INTERNET_PER_CONN_PROXY_BYPASS;

  INTERNET_PER_CONN_OPTION_LISTA list = {};
  list.dwSize = sizeof(list);
  list.pszConnection = nullptr;
  list.dwOptionCount = 3;
  list.pOptions = options;

  DWORD length = sizeof(list);
  if (!InternetQueryOptionA(nullptr, INTERNET_OPTION_PER_CONNECTION_OPTION, &list, &length))
    return std::nullopt;

  ProxySettings settings;
  if (options[0].Value.pszValue != nullptr) {
    const ProxyServer server = parseProxyServer(takeSystemText(options[0].Value.pszValue));
    settings.host = server.host;
    settings.port = server.port;
  }
  settings.enabled = proxyFlagsEnabled(options[1].Value.dwValue);
  if (options[2].Value.pszValue != nullptr)
    settings.bypass = takeSystemText(options[2].Value.pszValue);
  return settings;
}

} // namespace zr
