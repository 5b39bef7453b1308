// SPDX-License-Identifier: MIT

#include "http_test_server.h"
#include "nginx_server.h"
#include "support/qt_test_support.h"
#include "updater/updater.h"

#include <QCryptographicHash>
#include <QTest>
#include <gtest/gtest.h>

namespace zr {
namespace {

using test::HttpTestServer;
using test::NginxServer;

constexpr int kTimeoutMs = 15000;

// The updater's signals in the order they came, each with its argument, and
// the reasons of the failures.
class SignalLog {
public:
  explicit SignalLog(Updater& updater) {
    const auto note = [this](const char* name) {
      return [this, name](bool statusWinShown) {
        entries_.append(QString("%1(%2)").arg(name, statusWinShown ? "true" : "false"));
      };
    };
    QObject::connect(&updater, &Updater::checkDone, note("checkDone"));
    QObject::connect(&updater, &Updater::checkError,
                     [this, note](bool statusWinShown, const QString& reason) {
                       note("checkError")(statusWinShown);
                       reasons_.append(reason);
                     });
    QObject::connect(&updater, &Updater::updateAvailable, note("updateAvailable"));
    QObject::connect(&updater, &Updater::updateNotAvailable, note("updateNotAvailable"));
    QObject::connect(&updater, &Updater::downloadDone, [this] { entries_.append("downloadDone"); });
    QObject::connect(&updater, &Updater::downloadError, [this](const QString& reason) {
      entries_.append("downloadError");
      reasons_.append(reason);
    });
  }

  // Waits until a run has reported its outcome: every signal but checkDone
  // ends one.
  bool waitForOutcome(qsizetype outcomes = 1) {
    return QTest::qWaitFor(
        [&] {
          return std::count_if(entries_.begin(), entries_.end(), [](const QString& entry) {
                   return !entry.startsWith("checkDone");
                 }) >= outcomes;
        },
        kTimeoutMs);
  }
  const QStringList& entries() const { return entries_; }
  const QStringList& reasons() const { return reasons_; }

private:
  QStringList entries_;
  QStringList reasons_;
};

QByteArray sha256Hex(const QByteArray& content) {
  return QCryptographicHash::hash(content, QCryptographicHash::Sha256).toHex();
}

TEST(UpdaterCheck, ReportsTheOutcomeWithTheStatusWindowChoice) {
  test::trustTestCertificate();
  NginxServer server;
  NginxServer secureServer(NginxServer::Scheme::Https);
  HttpTestServer oddServer;
  const QByteArray files = "[FILES]\r\n" + server.url("/files/ZRDorvelSetup.exe").toUtf8() + "\r\n";
  server.addFile("newer.dat", "[VERSION]\r\n2.1.3.0\r\n" + files);
  server.addFile("lower.dat", "[VERSION]\n2.1.2.3\n" + files);
  server.addFile("same.dat", "[version]\n 2.1.2.29\t\n" + files);
  server.addFile("nofiles.dat", "[VERSION]\r\n2.1.3.0\r\n[NOTES]\r\nSoon.\r\n");
  server.addFile("portal.html", "<html><body>Sign in to use this network</body></html>");
  server.addFile("word.dat", "[VERSION]\nlatest\n" + files);
  server.addFile("hostile.dat",
                 "[VERSION]\n2.1.3.0\n[FILES]\nhttp://h/ZRDorvelSetup.exe\t/home/user/.bashrc\n");
  server.addFile("big.dat", "[VERSION]\n2.1.3.0\n[NOTES]\n" + QByteArray(1024 * 1024, 'n'));
  secureServer.addFile("downgrade.dat", "[VERSION]\n2.1.3.0\n" + files);
  struct Case {
    const char* name;
    QString address;
    bool statusWinShown;
    QStringList outcome;
    QString reason = {};
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
      {"newer without files",
       server.url("/files/nofiles.dat"),
       false,
       {"checkDone(false)", "updateNotAvailable(false)"}},
      {"captive portal page",
       server.url("/files/portal.html"),
       false,
       {"checkError(false)"},
       "The update information holds no version."},
      {"version not a number",
       server.url("/files/word.dat"),
       true,
       {"checkError(true)"},
       "Refused [VERSION] line \"latest\": it is not a dotted number such as 2.1.2.29."},
      {"file line with a target path",
       server.url("/files/hostile.dat"),
       true,
       {"checkError(true)"},
       "Refused [FILES] line \"http://h/ZRDorvelSetup.exe\\x09/home/user/.bashrc\": it holds a "
       "control character."},
      {"http file offered over https",
       secureServer.url("/files/downgrade.dat"),
       false,
       {"checkError(false)"},
       "Refused [FILES] line \"" + server.url("/files/ZRDorvelSetup.exe") +
           "\": it is not an https address, but the update information came over https."},
      {"larger than 1 MiB",
       server.url("/files/big.dat"),
       false,
       {"checkError(false)"},
       "big.dat is larger than 1 MiB."},
      {"endless",
       oddServer.url("/endless/version.dat"),
       false,
       {"checkError(false)"},
       "version.dat is larger than 1 MiB."},
      {"not found", server.url("/files/missing.dat"), true, {"checkError(true)"}},
      {"redirect",
       oddServer.url("/redirect/newer.dat"),
       false,
       {"checkError(false)"},
       "newer.dat: the server answered 302 Found."},
      {"connection refused",
       "http://127.0.0.1:1/version.dat",
       true,
       {"checkError(true)"},
       "version.dat: Connection refused"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Updater updater;
    updater.setCurrentVer("2.1.2.29");
    updater.setUpdateInfoUrl(c.address);
    SignalLog log(updater);
    EXPECT_TRUE(updater.check(c.statusWinShown));
    ASSERT_TRUE(log.waitForOutcome());
    EXPECT_EQ(log.entries(), c.outcome);
    if (!c.reason.isEmpty()) {
      EXPECT_EQ(log.reasons(), QStringList({c.reason}));
    }
  }
}

TEST(UpdaterCheck, ReadsTheOfferAndForgetsItWhenTheNextCheckFails) {
  NginxServer server;
  server.addFile("version.dat",
                 "[VERSION]\r\n2.1.3.0\r\n[FILES]\r\nhttp://h/a/ZRDorvelSetup.exe\r\n"
                 "[NOTES]\r\n<b>Fixed</b> alerts.\r\n\r\nFaster.\r\n");
  Updater updater;
  updater.setCurrentVer("2.1.2.29");
  updater.setUpdateInfoUrl(server.url("/files/version.dat"));
  SignalLog log(updater);
  updater.check(false);
  ASSERT_TRUE(log.waitForOutcome());
  EXPECT_EQ(server.requests(), QStringList({"HEAD /files/version.dat", "GET /files/version.dat"}));
  EXPECT_EQ(updater.offer().version, "2.1.3.0");
  ASSERT_EQ(updater.offer().files.size(), 1);
  EXPECT_EQ(updater.offer().files[0].address, "http://h/a/ZRDorvelSetup.exe");
  EXPECT_EQ(updater.offer().files[0].name, "ZRDorvelSetup.exe");
  EXPECT_FALSE(updater.offer().verified);
  EXPECT_EQ(updater.offer().notes, QStringList({"<b>Fixed</b> alerts.", "", "Faster."}));

  updater.setUpdateInfoUrl(server.url("/files/missing.dat"));
  updater.check(false);
  EXPECT_TRUE(updater.offer().version.isEmpty());
  ASSERT_TRUE(log.waitForOutcome(2));
  EXPECT_EQ(log.entries().last(), "checkError(false)");
  EXPECT_TRUE(updater.offer().version.isEmpty());
  EXPECT_TRUE(updater.offer().files.isEmpty());
  EXPECT_TRUE(updater.offer().notes.isEmpty());
}

TEST(UpdaterCheck, NoSecondCheckStartsWhileOneRunsAndTheUserHearsOfTheFirst) {
  HttpTestServer server;
  server.addFile("version.dat", "[VERSION]\n2.1.3.0\n");
  Updater updater;
  updater.setTransferLimits({500, 60000, 0, 60000});
  updater.setUpdateInfoUrl(server.url("/stall/version.dat"));
  SignalLog log(updater);
  ASSERT_TRUE(updater.check(false));
  EXPECT_TRUE(updater.busy());
  EXPECT_FALSE(updater.check(false));
  EXPECT_FALSE(updater.check(true));
  ASSERT_TRUE(log.waitForOutcome());

  EXPECT_EQ(log.entries(), QStringList({"checkError(true)"}));
  EXPECT_EQ(server.requests(), QStringList({"HEAD /stall/version.dat", "GET /stall/version.dat"}));
  EXPECT_FALSE(updater.busy());
  EXPECT_TRUE(updater.check(false));
}

// However slowly the server sends, a check ends at its deadline.
TEST(UpdaterCheck, TrickledInformationEndsAtTheCheckDeadline) {
  HttpTestServer server;
  server.addFile("version.dat", "[VERSION]\n2.1.3.0\n");
  Updater updater;
  updater.setTransferLimits({60000, 1000, 1024, 60000});
  updater.setUpdateInfoUrl(server.url("/trickle/version.dat?every=0.1"));
  SignalLog log(updater);
  ASSERT_TRUE(updater.check(true));
  ASSERT_TRUE(log.waitForOutcome());
  EXPECT_EQ(log.entries(), QStringList({"checkError(true)"}));
  EXPECT_EQ(log.reasons(), QStringList({"version.dat: the transfer did not end within 1 second."}));
}

TEST(UpdaterDownload, WhatIsNotWhollyVerifiedOrIsEmptyNeverSucceeds) {
  NginxServer server;
  const QByteArray setup = "#!/bin/sh\n";
  server.addFile("ZRDorvelSetup.exe", setup);
  server.addFile("notes.txt", "tampered");
  const OfferedFile goodSetup{server.url("/files/ZRDorvelSetup.exe"), "ZRDorvelSetup.exe",
                              sha256Hex(setup)};
  const OfferedFile unlisted{server.url("/files/notes.txt"), "notes.txt", {}};
  const OfferedFile tampered{server.url("/files/notes.txt"), "notes.txt", sha256Hex("notes")};
  struct Case {
    const char* name;
    Offer offer;
    QString reason;
    QStringList requests;
  };
  const QList<Case> cases = {
      {"nothing to download", {"2.2", {}, {}, false}, "The update lists no files to download.", {}},
      {"a file without its digest",
       {"2.2", {}, {goodSetup, unlisted}, true},
       "notes.txt has no SHA-256 digest.",
       {}},
      {"a file that does not match its digest",
       {"2.2", {}, {goodSetup, tampered}, true},
       "notes.txt does not match its SHA-256 digest.",
       {"HEAD /files/ZRDorvelSetup.exe", "HEAD /files/notes.txt", "GET /files/ZRDorvelSetup.exe",
        "GET /files/notes.txt"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    QTemporaryDir folder;
    const qsizetype logged = server.requests().size();
    Updater updater;
    SignalLog log(updater);
    updater.download(c.offer, folder.path());
    ASSERT_TRUE(log.waitForOutcome());
    EXPECT_EQ(log.entries(), QStringList({"downloadError"}));
    EXPECT_EQ(log.reasons(), QStringList({c.reason}));
    EXPECT_EQ(server.requests().mid(logged), c.requests);
    EXPECT_TRUE(QDir(folder.path()).isEmpty());
  }
}

} // namespace
} // namespace zr
