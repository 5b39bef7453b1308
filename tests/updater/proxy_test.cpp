// SPDX-License-Identifier: MIT

#include "log_capture.h"
#include "nginx_server.h"
#include "support/qt_test_support.h"
#include "tiny_proxy.h"
#include "transfer_run.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <map>

namespace zr {
namespace {

using test::LogCapture;
using test::NginxServer;
using test::TinyProxy;
using test::TransferRun;

const char* const kProxyVariables[] = {"http_proxy", "HTTP_PROXY", "https_proxy", "HTTPS_PROXY",
                                       "no_proxy",   "NO_PROXY",   "all_proxy",   "ALL_PROXY"};

// Sets the proxy variables of this process for one test (all others unset)
// and puts the earlier values back afterwards.
class ProxyEnvironment {
public:
  explicit ProxyEnvironment(const std::map<QByteArray, QString>& values) {
    for (const char* name : kProxyVariables) {
      if (qEnvironmentVariableIsSet(name))
        saved_[name] = qgetenv(name);
      qunsetenv(name);
    }
    for (const auto& [name, value] : values)
      qputenv(name.constData(), value.toUtf8());
  }
  ~ProxyEnvironment() {
    for (const char* name : kProxyVariables)
      qunsetenv(name);
    for (const auto& [name, value] : saved_)
      qputenv(name.constData(), value);
  }
  ProxyEnvironment(const ProxyEnvironment&) = delete;
  ProxyEnvironment& operator=(const ProxyEnvironment&) = delete;

private:
  std::map<QByteArray, QByteArray> saved_;
};

QString proxyAddress(const QString& prefix, const TinyProxy& proxy) {
  return prefix + QString("127.0.0.1:%1").arg(proxy.port());
}

// Every file goes to a fresh folder; the run's errors and log lines must never
// show the proxy password.
class ProxyTest : public testing::Test {
protected:
  static constexpr char kUser[] = "zrdorvel";
  static constexpr char kPassword[] = "s3cret-Pa55";

  // Runs one transfer of the file a.txt of server; true when it succeeded.
  bool download(const NginxServer& server) {
    LogCapture log;
    TransferRun run;
    run.thread().addItem({server.url("/files/a.txt"), folder_.filePath("a.txt"), true, {}});
    const bool ended = run.runToEnd();
    errors_ = run.thread().errors();
    logLines_ = log.all();
    updaterLines_ = log.lines("zrdorvel.updater");
    return ended && !run.thread().failed();
  }

  void expectNoPasswordShown() const {
    EXPECT_FALSE(errors_.join('\n').contains(kPassword)) << errors_.join('\n').toStdString();
    EXPECT_FALSE(logLines_.join('\n').contains(kPassword)) << logLines_.join('\n').toStdString();
  }

  QTemporaryDir folder_;
  QStringList errors_;
  QStringList logLines_;
  QStringList updaterLines_;
};

TEST_F(ProxyTest, HttpRequestsGoThroughTheProxyOfHttpProxy) {
  NginxServer server;
  server.addFile("a.txt", "through the proxy");
  const QString address = server.url("/files/a.txt");
  struct Case {
    const char* name;
    bool proxyWantsPassword;
    QString credentials;
    bool succeeds;
  };
  const Case cases[] = {
      {"open proxy", false, "", true},
      {"basic authentication", true, QString("%1:%2@").arg(kUser, kPassword), true},
      {"wrong password", true, QString("%1:wrong-%2@").arg(kUser, kPassword), false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TinyProxy proxy(c.proxyWantsPassword ? kUser : "", kPassword, server.port());
    const ProxyEnvironment environment(
        {{"http_proxy", proxyAddress("http://" + c.credentials, proxy) + "/"},
         {"HTTP_PROXY", "http://127.0.0.1:1"}});
    QFile::remove(folder_.filePath("a.txt"));
    const qsizetype served = server.requests().size();
    EXPECT_EQ(download(server), c.succeeds) << errors_.join('\n').toStdString();
    // An authenticating proxy sees each request once more, after its challenge.
    EXPECT_TRUE(proxy.requests().contains("HEAD " + address));
    EXPECT_TRUE(proxy.requests().contains("GET " + address));
    EXPECT_EQ(server.requests().mid(served),
              c.succeeds ? QStringList({"HEAD /files/a.txt", "GET /files/a.txt"}) : QStringList());
    EXPECT_EQ(QFile::exists(folder_.filePath("a.txt")), c.succeeds);
    expectNoPasswordShown();
  }
}

TEST_F(ProxyTest, HttpsRequestsTunnelThroughTheProxyOfHttpsProxy) {
  test::trustTestCertificate();
  NginxServer server(NginxServer::Scheme::Https);
  server.addFile("a.txt", "tunnelled");
  TinyProxy proxy(kUser, kPassword, server.port());
  const ProxyEnvironment environment(
      {{"HTTPS_PROXY", proxyAddress(QString("%1:%2@").arg(kUser, kPassword), proxy)},
       {"http_proxy", "http://127.0.0.1:1"}});

  EXPECT_TRUE(download(server)) << errors_.join('\n').toStdString();
  EXPECT_TRUE(proxy.requests().contains(QString("CONNECT 127.0.0.1:%1").arg(server.port())));
  EXPECT_EQ(server.requests(), QStringList({"HEAD /files/a.txt", "GET /files/a.txt"}));
  expectNoPasswordShown();
}

TEST_F(ProxyTest, NoProxyExemptsAHost) {
  NginxServer server;
  server.addFile("a.txt", "direct");
  TinyProxy proxy("", "", server.port());
  const ProxyEnvironment environment(
      {{"http_proxy", proxyAddress("", proxy)}, {"NO_PROXY", "localhost, 127.0.0.1"}});

  EXPECT_TRUE(download(server)) << errors_.join('\n').toStdString();
  EXPECT_TRUE(proxy.requests().isEmpty()) << proxy.requests().join('\n').toStdString();
  EXPECT_EQ(server.requests(), QStringList({"HEAD /files/a.txt", "GET /files/a.txt"}));
}

// No SOCKS server listens there: the request fails instead of going direct.
TEST_F(ProxyTest, SocksProxyIsUsedAsOne) {
  NginxServer server;
  server.addFile("a.txt", "direct");
  const ProxyEnvironment environment(
      {{"http_proxy",
        QString("socks5://%1:%2@127.0.0.1:%3").arg(kUser, kPassword).arg(test::freePort())}});

  EXPECT_FALSE(download(server));
  EXPECT_EQ(errors_, QStringList({"a.txt: Connection to proxy refused"}));
  EXPECT_TRUE(server.requests().isEmpty());
  expectNoPasswordShown();
}

TEST_F(ProxyTest, ProxyThatCannotBeReadMeansADirectConnectionAndOneWarning) {
  NginxServer server;
  server.addFile("a.txt", "direct");
  const ProxyEnvironment environment(
      {{"http_proxy", QString("http://%1:%2@127.0.0.1:port").arg(kUser, kPassword)}});

  EXPECT_TRUE(download(server)) << errors_.join('\n').toStdString();
  EXPECT_EQ(server.requests(), QStringList({"HEAD /files/a.txt", "GET /files/a.txt"}));
  EXPECT_EQ(updaterLines_, QStringList({"zrdorvel.updater: The proxy for http addresses cannot be "
                                        "read; connecting directly."}));
  expectNoPasswordShown();
}

} // namespace
} // namespace zr
