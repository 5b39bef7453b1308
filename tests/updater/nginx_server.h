// SPDX-License-Identifier: MIT

#pragma once

#include "test_web_server.h"

#include <QProcess>
#include <QSslConfiguration>
#include <unistd.h>

namespace zr::test {

// Makes this test program trust the certificate that the https servers of the
// tests use.
inline void trustTestCertificate() {
  QSslConfiguration tls = QSslConfiguration::defaultConfiguration();
  ASSERT_TRUE(tls.addCaCertificates(ZR_TEST_TLS_DIR "/localhost.crt"));
  QSslConfiguration::setDefaultConfiguration(tls);
}

// nginx in the foreground on a free port of 127.0.0.1, with a configuration
// written for this test: the files of root() under /files/, over https with
// the test certificate of tests/updater/tls when asked. Ended with the test.
class NginxServer : public TestWebServer {
public:
  enum class Scheme { Http, Https };

  explicit NginxServer(Scheme scheme = Scheme::Http) {
    if (scheme == Scheme::Https)
      scheme_ = "https";
    QDir().mkpath(filePath("temp"));
    // Another program may take the chosen port before nginx binds it.
    for (int attempt = 0; attempt < 3 && port_ == 0; ++attempt)
      start(freePort());
    EXPECT_GT(port_, 0) << "nginx did not start: " << errorLog().toStdString();
  }

  ~NginxServer() {
    process_.kill();
    process_.waitForFinished(5000);
  }

private:
  void start(quint16 port) {
    writeConfig(port);
    process_.start("nginx", {"-p", filePath("") + '/', "-c", filePath("nginx.conf"), "-e",
                             filePath("error.log")});
    if (serves(process_, port))
      port_ = port;
  }

  void writeConfig(quint16 port) const {
    const QString dir = filePath("");
    QString listen = QString("listen 127.0.0.1:%1").arg(port);
    if (scheme_ == "https")
      listen += QString(" ssl;\n    ssl_certificate %1/localhost.crt;\n"
                        "    ssl_certificate_key %1/localhost.key")
                    .arg(ZR_TEST_TLS_DIR);
    const QString config =
        QString(geteuid() == 0 ? "user root;\n" : "") +
        QString("daemon off;\nmaster_process off;\npid %1/nginx.pid;\nerror_log %1/error.log;\n"
                "events { worker_connections 64; }\n"
                "http {\n"
                "  log_format requests '$request_method $request_uri';\n"
                "  access_log %1/requests.log requests;\n"
                "  client_body_temp_path %1/temp/body;\n  proxy_temp_path %1/temp/proxy;\n"
                "  fastcgi_temp_path %1/temp/fastcgi;\n  uwsgi_temp_path %1/temp/uwsgi;\n"
                "  scgi_temp_path %1/temp/scgi;\n"
                "  default_type application/octet-stream;\n"
                "  server {\n    %2;\n    location /files/ { alias %3/; }\n  }\n"
                "}\n")
            .arg(dir, listen, root());
    QFile file(filePath("nginx.conf"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(config.toUtf8());
  }

  QString errorLog() const {
    QFile file(filePath("error.log"));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
  }

  QProcess process_;
};

} // namespace zr::test
