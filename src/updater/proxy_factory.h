// SPDX-License-Identifier: MIT

#pragma once

#include "core/proxy_settings.h"

#include <QNetworkProxyFactory>

namespace zr {

// Chooses the proxy of each update request from the proxy variables, read
// once when the factory is made. A variable that cannot be read gives a
// direct connection and one warning, which never shows the variable's value
// (it may hold a password).
class ProxyFactory : public QNetworkProxyFactory {
public:
  ProxyFactory();

  QList<QNetworkProxy> queryProxy(const QNetworkProxyQuery& query) override;

private:
  ProxyVariables variables_;
  bool warned_ = false;
};

} // namespace zr
