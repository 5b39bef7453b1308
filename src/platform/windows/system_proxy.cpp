// SPDX-License-Identifier: MIT

#include "platform/system_proxy.h"

#include "core/system_proxy.h"

#include <string>
#include <windows.h>
#include <wininet.h>

namespace zr {
namespace {

std::string toUtf8(const wchar_t* text) {
  const int size = ::WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<std::size_t>(size > 0 ? size - 1 : 0), '\0');
  if (size > 1)
    ::WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8.data(), size, nullptr, nullptr);
  return utf8;
}

// The Internet options of the default (LAN) connection: the proxy server and the
// flags. A failed query is none, which means a direct connection.
std::optional<SystemProxyAnswer> querySystemProxy() {
  INTERNET_PER_CONN_OPTIONW options[2]{};
  options[0].dwOption = INTERNET_PER_CONN_PROXY_SERVER;
  options[1].dwOption = INTERNET_PER_CONN_FLAGS;
  INTERNET_PER_CONN_OPTION_LISTW list{};
  list.dwSize = sizeof list;
  list.pszConnection = nullptr;
  list.dwOptionCount = 2;
  list.pOptions = options;
  DWORD size = sizeof list;
  if (!::InternetQueryOptionW(nullptr, INTERNET_OPTION_PER_CONNECTION_OPTION, &list, &size))
    return std::nullopt;
  SystemProxyAnswer answer;
  if (wchar_t* server = options[0].Value.pszValue) {
    answer.server = toUtf8(server);
    ::GlobalFree(server);
  }
  answer.flags = options[1].Value.dwValue;
  return answer;
}

} // namespace

ProxyVariables addSystemProxy(ProxyVariables variables) {
  const auto answer = querySystemProxy();
  return answer ? withSystemProxy(std::move(variables), *answer) : variables;
}

} // namespace zr
