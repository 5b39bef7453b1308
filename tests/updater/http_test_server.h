#pragma once

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace zr::test {

// The loopback HTTP server of tests/support/http_test_server.py, started on a
// free port for one test and ended with it. It serves the files of root() and
// logs every request it gets.
class HttpTestServer {
public:
  explicit HttpTestServer(bool proxy = false) {
    QDir().mkpath(root());
    QStringList arguments{ZR_HTTP_TEST_SERVER, "--root", root(), "--log", logPath()};
    if (proxy)
      arguments << "--proxy";
    process_.start("python3", arguments);
    if (process_.waitForReadyRead(10000))
      port_ = process_.readLine().trimmed().toInt();
    EXPECT_GT(port_, 0) << "test server did not start: " << process_.readAllStandardError().data();
  }

  ~HttpTestServer() {
    process_.kill();
    process_.waitForFinished(5000);
  }

  HttpTestServer(const HttpTestServer&) = delete;
  HttpTestServer& operator=(const HttpTestServer&) = delete;

  int port() const { return port_; }
  QString root() const { return dir_.filePath("root"); }
  QString url(const QString& path) const {
    return QString("http://127.0.0.1:%1%2").arg(port_).arg(path);
  }

  // Writes a file of the given content below root().
  void addFile(const QString& path, const QByteArray& content) const {
    const QString fullPath = root() + u'/' + path;
    QDir().mkpath(QFileInfo(fullPath).path());
    QFile file(fullPath);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(content);
  }

  // Every request so far as "METHOD TARGET", in order.
  QStringList requests() const {
    QFile file(logPath());
    if (!file.open(QIODevice::ReadOnly))
      return {};
    return QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts);
  }

private:
  QString logPath() const { return dir_.filePath("requests.log"); }

  QTemporaryDir dir_;
  QProcess process_;
  int port_ = 0;
};

} // namespace zr::test
