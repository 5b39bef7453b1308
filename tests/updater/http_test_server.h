// SPDX-License-Identifier: MIT

#pragma once

#include "test_web_server.h"

#include <QProcess>

namespace zr::test {

// The loopback HTTP server of tests/support/http_test_server.py, for the ways
// a server can misbehave (refused HEAD, redirects, stalls, lying lengths,
// endless bodies; see the script). Started on a free port for one test and
// ended with it.
class HttpTestServer : public TestWebServer {
public:
  HttpTestServer() {
    process_.start("python3", {ZR_HTTP_TEST_SERVER, "--root", root(), "--log", logPath()});
    if (process_.waitForReadyRead(10000))
      port_ = static_cast<quint16>(process_.readLine().trimmed().toUInt());
    EXPECT_GT(port_, 0) << "test server did not start: " << process_.readAllStandardError().data();
  }

  ~HttpTestServer() {
    process_.kill();
    process_.waitForFinished(5000);
  }

private:
  QProcess process_;
};

} // namespace zr::test
