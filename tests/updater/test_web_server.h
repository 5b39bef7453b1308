// SPDX-License-Identifier: MIT

#pragma once

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStringList>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

namespace zr::test {

// A port on 127.0.0.1 that was free a moment ago, for servers that cannot
// choose their own.
inline quint16 freePort() {
  QTcpServer probe;
  return probe.listen(QHostAddress::LocalHost, 0) ? probe.serverPort() : 0;
}

// Whether something accepts connections on the port of 127.0.0.1.
inline bool accepts(quint16 port) {
  QTcpSocket socket;
  socket.connectToHost(QHostAddress::LocalHost, port);
  return socket.waitForConnected(200);
}

// Waits until a server just started accepts connections on the port; when it
// ends or does not get there in time (another program took the port), it is
// ended and the answer is false.
inline bool serves(QProcess& server, quint16 port) {
  const QDeadlineTimer deadline(10000);
  while (!deadline.hasExpired() && server.state() != QProcess::NotRunning) {
    if (accepts(port))
      return true;
    QThread::msleep(20);
  }
  server.kill();
  server.waitForFinished(5000);
  return false;
}

// A web server started by a test on 127.0.0.1, serving the files of root()
// under /files/ and logging every request as "METHOD TARGET".
class TestWebServer {
public:
  TestWebServer() { QDir().mkpath(root()); }
  TestWebServer(const TestWebServer&) = delete;
  TestWebServer& operator=(const TestWebServer&) = delete;

  quint16 port() const { return port_; }
  QString root() const { return dir_.filePath("root"); }
  QString url(const QString& path) const {
    return QString("%1://127.0.0.1:%2%3").arg(scheme_).arg(port_).arg(path);
  }

  // Writes a file of the given content below root().
  void addFile(const QString& path, const QByteArray& content) const {
    const QString fullPath = root() + u'/' + path;
    QDir().mkpath(QFileInfo(fullPath).path());
    QFile file(fullPath);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(content);
  }

  // Every request so far, in order.
  QStringList requests() const {
    QFile file(logPath());
    if (!file.open(QIODevice::ReadOnly))
      return {};
    return QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts);
  }

protected:
  QString filePath(const QString& name) const { return dir_.filePath(name); }
  QString logPath() const { return dir_.filePath("requests.log"); }

  QTemporaryDir dir_;
  QString scheme_ = "http";
  quint16 port_ = 0;
};

} // namespace zr::test
