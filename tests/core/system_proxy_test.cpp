// SPDX-License-Identifier: MIT

#include "core/system_proxy.h"

#include <gtest/gtest.h>

namespace zr {
namespace {

TEST(SystemProxy, TakesTheHttpEntryOfTheServerText) {
  struct Case {
    const char* text;
    const char* host;
    int port;
  };
  const Case cases[] = {
      {"proxy:8080", "proxy", 8080},
      {"http=web:3128;ftp=files:21", "web", 3128},
      {"ftp=files:21;http=web:3128", "web", 3128},
      // No "http=" entry (the https one does not contain it): the first entry whole.
      {"ftp=files:21;https=secure:443", "ftp=files", 21},
      {"proxy", "proxy", 0},
      {"proxy:abc", "proxy", 0},
      {"proxy:80x", "proxy", 0},
      {"", "", 0},
  };
  for (const Case& c : cases) {
    const ProxyHostPort proxy = httpProxyOf(c.text);
    EXPECT_EQ(proxy.host, c.host) << c.text;
    EXPECT_EQ(proxy.port, c.port) << c.text;
  }
}

TEST(SystemProxy, TakesTheHttpsEntryOrTheOneProxyForAll) {
  EXPECT_EQ(httpsProxyOf("proxy:8080")->host, "proxy");
  EXPECT_EQ(httpsProxyOf("http=web:3128;https=secure:443")->host, "secure");
  EXPECT_EQ(httpsProxyOf("http=web:3128;https=secure:443")->port, 443);
  EXPECT_FALSE(httpsProxyOf("http=web:3128;ftp=files:21"));
}

TEST(SystemProxy, IsInUseForAProxyOrAnAutomaticScript) {
  EXPECT_FALSE(systemProxyEnabled(0));
  EXPECT_FALSE(systemProxyEnabled(1)); // direct
  EXPECT_FALSE(systemProxyEnabled(8)); // automatic detection alone
  EXPECT_FALSE(systemProxyEnabled(1 | 8));
  EXPECT_TRUE(systemProxyEnabled(2));
  EXPECT_TRUE(systemProxyEnabled(4));
  EXPECT_TRUE(systemProxyEnabled(1 | 2));
}

TEST(SystemProxy, FillsOnlyWhatTheEnvironmentLeavesUnset) {
  const SystemProxyAnswer answer{"http=web:3128;https=secure:443", kProxyTypeProxy};
  const ProxyVariables fromSystem = withSystemProxy({}, answer);
  EXPECT_EQ(fromSystem.httpProxy, "web:3128");
  EXPECT_EQ(fromSystem.httpsProxy, "secure:443");

  const ProxyVariables fromUser = withSystemProxy({"user:1", "", "localhost"}, answer);
  EXPECT_EQ(fromUser.httpProxy, "user:1");
  EXPECT_EQ(fromUser.httpsProxy, "secure:443");
  EXPECT_EQ(fromUser.noProxy, "localhost");
}

TEST(SystemProxy, AddsNothingWhenNotInUseOrWithoutAServer) {
  EXPECT_EQ(withSystemProxy({}, {"proxy:8080", 1}).httpProxy, "");
  EXPECT_EQ(withSystemProxy({}, {std::nullopt, kProxyTypeProxy}).httpProxy, "");
  // An automatic script is not run; the server text left from a manual setting is used.
  EXPECT_EQ(withSystemProxy({}, {"proxy:8080", kProxyTypeAutoProxyUrl}).httpProxy, "proxy:8080");
  // A proxy without a port: the HTTP default port of the proxy address.
  EXPECT_EQ(withSystemProxy({}, {"proxy", kProxyTypeProxy}).httpProxy, "proxy");
}

} // namespace
} // namespace zr
