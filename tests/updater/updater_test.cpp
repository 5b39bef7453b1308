#include "http_test_server.h"
#include "support/qt_test_support.h"
#include "updater/updater.h"

#include <QTest>
#include <gtest/gtest.h>

namespace zr {
namespace {

using test::HttpTestServer;

constexpr int kTimeoutMs = 15000;

// The updater's signals in the order they came, each with its argument.
class SignalLog {
public:
  explicit SignalLog(Updater& updater) {
    const auto note = [this](const char* name) {
      return [this, name](bool statusWinShown) {
        entries_.append(QString("%1(%2)").arg(name, statusWinShown ? "true" : "false"));
      };
    };
    QObject::connect(&updater, &Updater::checkDone, note("checkDone"));
    QObject::connect(&updater, &Updater::checkError, note("checkError"));
    QObject::connect(&updater, &Updater::updateAvailable, note("updateAvailable"));
    QObject::connect(&updater, &Updater::updateNotAvailable, note("updateNotAvailable"));
    QObject::connect(&updater, &Updater::downloadDone, [this] { entries_.append("downloadDone"); });
    QObject::connect(&updater, &Updater::downloadError,
                     [this] { entries_.append("downloadError"); });
  }

  // Waits until a run has reported its outcome.
  bool waitForOutcome() {
    return QTest::qWaitFor(
        [this] { return !entries_.isEmpty() && !entries_.last().startsWith("checkDone"); },
        kTimeoutMs);
  }
  const QStringList& entries() const { return entries_; }

private:
  QStringList entries_;
};

TEST(UpdaterCheck, ReportsTheOutcomeWithTheStatusWindowChoice) {
  HttpTestServer server;
  server.addFile("newer.dat", "[VERSION]\r\n2.1.3.0\r\n");
  server.addFile("lower.dat", "[VERSION]\n2.1.2.3\n");
  server.addFile("same.dat", "[version]\n 2.1.2.29\t\n");
  server.addFile("page.dat", "<html>Not an update file</html>");
  struct Case {
    const char* name;
    QString address;
    bool statusWinShown;
    QStringList outcome;
  };
  const QList<Case> cases = {
      {"newer",
       server.url("/files/newer.dat"),
       false,
       {"checkDone(false)", "updateAvailable(false)"}},
      {"lower", server.url("/files/lower.dat"), true, {"checkDone(true)", "updateAvailable(true)"}},
      {"same",
       server.url("/files/same.dat"),
       true,
       {"checkDone(true)", "updateNotAvailable(true)"}},
      {"no version",
       server.url("/files/page.dat"),
       false,
       {"checkDone(false)", "updateAvailable(false)"}},
      {"not found", server.url("/missing/version.dat"), true, {"checkError(true)"}},
      {"redirect", server.url("/redirect/newer.dat"), false, {"checkError(false)"}},
      {"connection refused", "http://127.0.0.1:1/version.dat", true, {"checkError(true)"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Updater updater;
    updater.setCurrentVer("2.1.2.29");
    updater.setUpdateInfoUrl(c.address);
    SignalLog log(updater);
    updater.check(c.statusWinShown);
    ASSERT_TRUE(log.waitForOutcome());
    QTest::qWait(50);
    EXPECT_EQ(log.entries(), c.outcome);
  }
}

TEST(UpdaterCheck, ReadsTheOfferAndForgetsItWhenTheNextCheckFails) {
  HttpTestServer server;
  server.addFile("version.dat",
                 "[VERSION]\r\n2.1.3.0\r\n[FILES]\r\nhttp://h/a/ZRDorvelSetup.exe\r\n"
                 "[NOTES]\r\nFixed alerts.\r\n\r\nFaster.\r\n");
  Updater updater;
  updater.setCurrentVer("2.1.2.29");
  updater.setUpdateInfoUrl(server.url("/files/version.dat"));
  SignalLog log(updater);
  updater.check(false);
  ASSERT_TRUE(log.waitForOutcome());
  EXPECT_EQ(server.requests(), QStringList({"HEAD /files/version.dat", "GET /files/version.dat"}));
  EXPECT_EQ(updater.updateVer(), "2.1.3.0");
  EXPECT_EQ(updater.files(), QStringList({"http://h/a/ZRDorvelSetup.exe"}));
  EXPECT_EQ(updater.notes(), QStringList({"Fixed alerts.", "", "Faster."}));

  updater.setUpdateInfoUrl(server.url("/missing/version.dat"));
  updater.check(false);
  EXPECT_TRUE(updater.updateVer().isEmpty());
  ASSERT_TRUE(QTest::qWaitFor([&] { return log.entries().size() == 3; }, kTimeoutMs));
  EXPECT_EQ(log.entries().last(), "checkError(false)");
  EXPECT_TRUE(updater.updateVer().isEmpty());
  EXPECT_TRUE(updater.files().isEmpty());
  EXPECT_TRUE(updater.notes().isEmpty());
}

TEST(UpdaterDownload, NothingToDownloadIsDoneAtOnce) {
  Updater updater;
  SignalLog log(updater);
  updater.download("/nonexistent");
  ASSERT_TRUE(log.waitForOutcome());
  EXPECT_EQ(log.entries(), QStringList({"downloadDone"}));
}

} // namespace
} // namespace zr
