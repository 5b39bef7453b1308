// SPDX-License-Identifier: MIT

#pragma once

#include "test_web_server.h"

#include <QProcess>
#include <QRegularExpression>

namespace zr::test {

// tinyproxy in the foreground on a free port of 127.0.0.1, with a
// configuration written for this test: basic authentication when a user is
// given, and CONNECT allowed to one port for https.
class TinyProxy {
public:
  TinyProxy(const QString& user, const QString& password, quint16 connectPort) {
    for (int attempt = 0; attempt < 3 && port_ == 0; ++attempt)
      start(freePort(), user, password, connectPort);
    EXPECT_GT(port_, 0) << "tinyproxy did not start: " << log().toStdString();
  }

  ~TinyProxy() {
    process_.kill();
    process_.waitForFinished(5000);
  }

  TinyProxy(const TinyProxy&) = delete;
  TinyProxy& operator=(const TinyProxy&) = delete;

  quint16 port() const { return port_; }

  // Every request the proxy was asked to forward, as "METHOD TARGET".
  QStringList requests() const {
    QStringList requests;
    static const QRegularExpression request(R"(Request \(file descriptor \d+\): (\S+ \S+))");
    for (const QString& line : log().split(u'\n'))
      if (const QRegularExpressionMatch match = request.match(line); match.hasMatch())
        requests.append(match.captured(1));
    return requests;
  }

private:
  void start(quint16 port, const QString& user, const QString& password, quint16 connectPort) {
    QString config = QString("Port %1\nListen 127.0.0.1\nAllow 127.0.0.1\nTimeout 30\n"
                             "MaxClients 20\nLogLevel Info\nLogFile \"%2\"\nConnectPort %3\n")
                         .arg(port)
                         .arg(dir_.filePath("tinyproxy.log"))
                         .arg(connectPort);
    if (!user.isEmpty())
      config += QString("BasicAuth %1 %2\n").arg(user, password);
    QFile file(dir_.filePath("tinyproxy.conf"));
    if (!file.open(QIODevice::WriteOnly))
      return;
    file.write(config.toUtf8());
    file.close();

    process_.start("tinyproxy", {"-d", "-c", file.fileName()});
    if (serves(process_, port))
      port_ = port;
  }

  QString log() const {
    QFile file(dir_.filePath("tinyproxy.log"));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
  }

  QTemporaryDir dir_;
  QProcess process_;
  quint16 port_ = 0;
};

} // namespace zr::test
