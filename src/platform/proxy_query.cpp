// SPDX-License-Identifier: MIT

#include "platform/proxy_query.h"

#include "platform/system_proxy.h"

namespace zr {
namespace {

std::string environmentValue(std::initializer_list<const char*> names) {
  for (const char* name : names)
    if (const QByteArray value = qgetenv(name); !value.isEmpty())
      return value.toStdString();
  return {};
}

} // namespace

ProxyVariables readProxyVariables() {
  return addSystemProxy({environmentValue({"http_proxy"}),
                         environmentValue({"https_proxy", "HTTPS_PROXY"}),
                         environmentValue({"no_proxy", "NO_PROXY"})});
}

QNetworkProxy toNetworkProxy(const std::optional<ProxyServer>& server) {
  if (!server)
    return QNetworkProxy(QNetworkProxy::NoProxy);
  const auto type =
      server->kind == ProxyKind::Socks5 ? QNetworkProxy::Socks5Proxy : QNetworkProxy::HttpProxy;
  return QNetworkProxy(type, QString::fromStdString(server->host),
                       static_cast<quint16>(server->port), QString::fromStdString(server->user),
                       QString::fromStdString(server->password));
}

} // namespace zr
