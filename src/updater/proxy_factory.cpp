// SPDX-License-Identifier: MIT

#include "updater/proxy_factory.h"

#include "platform/proxy_query.h"
#include "updater/logging.h"

namespace zr {

ProxyFactory::ProxyFactory() : variables_(readProxyVariables()) {}

QList<QNetworkProxy> ProxyFactory::queryProxy(const QNetworkProxyQuery& query) {
  const QUrl url = query.url();
  const ProxyChoice choice =
      chooseProxy(url.scheme().toStdString(), url.host().toStdString(), variables_);
  if (choice.unreadable && !warned_) {
    warned_ = true;
    qCWarning(lcUpdater).noquote()
        << "The proxy for" << url.scheme() << "addresses cannot be read; connecting directly.";
  }
  return {toNetworkProxy(choice.server)};
}

} // namespace zr
