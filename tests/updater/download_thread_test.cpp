// SPDX-License-Identifier: MIT

#include "http_test_server.h"
#include "nginx_server.h"
#include "support/qt_test_support.h"
#include "support/small_disk.h"
#include "transfer_run.h"
#include "updater/status_window.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QPushButton>
#include <QStorageInfo>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace zr {
namespace {

using test::HttpTestServer;
using test::NginxServer;
using test::SmallDisk;
using test::TransferRun;

QByteArray bytes(qsizetype size, char fill) {
  return QByteArray(size, fill);
}

QByteArray sha256Hex(const QByteArray& content) {
  return QCryptographicHash::hash(content, QCryptographicHash::Sha256).toHex();
}

QByteArray fileContent(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& content) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(content);
}

StatusWindow* openStatusWindow() {
  for (QWidget* widget : QApplication::topLevelWidgets())
    if (auto* window = qobject_cast<StatusWindow*>(widget); window && window->isVisible())
      return window;
  return nullptr;
}

TransferItem toFile(const QString& address, const QString& target, const QByteArray& sha256 = {}) {
  return {address, target, true, sha256};
}

class DownloadThreadTest : public testing::Test {
protected:
  QString target(const QString& name) const { return folder_.filePath(name); }

  QTemporaryDir folder_;
};

// A real web server for the ways a transfer should go.
class DownloadFromNginx : public DownloadThreadTest {
protected:
  NginxServer server_;
};

// The loopback test server for the ways a server can misbehave.
class DownloadFromOddServer : public DownloadThreadTest {
protected:
  HttpTestServer server_;
};

TEST_F(DownloadFromNginx, AsksEverySizeFirstThenTransfersEveryFileInOrder) {
  server_.addFile("a.bin", bytes(1000, 'a'));
  server_.addFile("b.bin", bytes(500, 'b'));
  TransferRun run(true);
  run.thread().addItem(toFile(server_.url("/files/a.bin"), target("a.bin")));
  run.thread().addItem(toFile(server_.url("/files/b.bin"), target("b.bin")));
  ASSERT_TRUE(run.runToEnd());

  EXPECT_FALSE(run.thread().failed()) << run.thread().errors().join('\n').toStdString();
  EXPECT_EQ(server_.requests(), QStringList({"HEAD /files/a.bin", "HEAD /files/b.bin",
                                             "GET /files/a.bin", "GET /files/b.bin"}));
  EXPECT_EQ(fileContent(target("a.bin")), bytes(1000, 'a'));
  EXPECT_EQ(fileContent(target("b.bin")), bytes(500, 'b'));
  EXPECT_EQ(QDir(folder_.path()).entryList(QDir::Files), QStringList({"a.bin", "b.bin"}));
  ASSERT_FALSE(run.statuses().isEmpty());
  const TransferStatus& last = run.statuses().last();
  EXPECT_EQ(last.caption, "Getting Updates...");
  EXPECT_EQ(last.fileText, "File 2 / 2: b.bin");
  EXPECT_EQ(last.progressText, "Downloading...");
  EXPECT_EQ(last.minimum, 0);
  EXPECT_EQ(last.maximum, 1501);
  EXPECT_EQ(last.position, 1500);
  EXPECT_EQ(openStatusWindow(), nullptr);
}

TEST_F(DownloadFromNginx, StatusNamesEachFileWhileItIsTransferred) {
  for (const char* name : {"one.txt", "two.txt", "three.txt"})
    server_.addFile(name, "x");
  TransferRun run(true);
  for (const char* name : {"one.txt", "two.txt", "three.txt"})
    run.thread().addItem(toFile(server_.url(QString("/files/") + name + "?v=2#top"), target(name)));
  ASSERT_TRUE(run.runToEnd());

  QStringList fileLines;
  for (const TransferStatus& status : run.statuses())
    if (!status.fileText.isEmpty() && (fileLines.isEmpty() || fileLines.last() != status.fileText))
      fileLines.append(status.fileText);
  EXPECT_EQ(fileLines, QStringList({"Finding file size...", "File 1 / 3: one.txt",
                                    "File 2 / 3: two.txt", "File 3 / 3: three.txt"}));
}

TEST_F(DownloadFromNginx, MemoryItemKeepsTheBodyOnlyWhenAttached) {
  server_.addFile("version.dat", "[VERSION]\r\n2.2\r\n");
  TransferRun run;
  run.thread().addItem({server_.url("/files/version.dat"), QString(), false, {}});
  run.thread().addItem({server_.url("/files/version.dat"), QString(), true, {}});
  ASSERT_TRUE(run.runToEnd());

  EXPECT_FALSE(run.thread().failed());
  EXPECT_EQ(run.thread().attachedData(0), "[VERSION]\r\n2.2\r\n");
  EXPECT_EQ(run.thread().attachedData(1), QByteArray());
  EXPECT_TRUE(run.statuses().isEmpty());
}

TEST_F(DownloadFromNginx, LaterFileOfTheSameNameOverwritesTheEarlier) {
  server_.addFile("first/same.txt", "first version, longer");
  server_.addFile("second/same.txt", "second");
  TransferRun run;
  run.thread().addItem(toFile(server_.url("/files/first/same.txt"), target("same.txt")));
  run.thread().addItem(toFile(server_.url("/files/second/same.txt"), target("same.txt")));
  ASSERT_TRUE(run.runToEnd());

  EXPECT_FALSE(run.thread().failed());
  EXPECT_EQ(fileContent(target("same.txt")), "second");
}

TEST_F(DownloadFromNginx, LinkInTheFolderIsReplacedNeverWrittenThrough) {
  QTemporaryDir elsewhere;
  const QString victim = elsewhere.filePath("victim.txt");
  writeFile(victim, "the user's own file");
  ASSERT_TRUE(QFile::link(victim, target("ZRDorvelSetup.exe")));
  server_.addFile("ZRDorvelSetup.exe", "setup");
  TransferRun run;
  run.thread().addItem(
      toFile(server_.url("/files/ZRDorvelSetup.exe"), target("ZRDorvelSetup.exe")));
  ASSERT_TRUE(run.runToEnd());

  EXPECT_FALSE(run.thread().failed());
  EXPECT_EQ(fileContent(victim), "the user's own file");
  EXPECT_FALSE(QFileInfo(target("ZRDorvelSetup.exe")).isSymLink());
  EXPECT_EQ(fileContent(target("ZRDorvelSetup.exe")), "setup");
}

TEST_F(DownloadFromNginx, FileAppearsOnlyWhenItMatchesItsDigest) {
  const QByteArray setup = "#!/bin/sh\necho installing\n";
  server_.addFile("ZRDorvelSetup.exe", setup);
  server_.addFile("notes.txt", "tampered notes");
  writeFile(target("notes.txt"), "notes of the last good download");
  TransferRun run;
  run.thread().addItem(toFile(server_.url("/files/ZRDorvelSetup.exe"), target("ZRDorvelSetup.exe"),
                              sha256Hex(setup).toUpper()));
  run.thread().addItem(
      toFile(server_.url("/files/notes.txt"), target("notes.txt"), sha256Hex("the real notes")));
  ASSERT_TRUE(run.runToEnd());

  EXPECT_TRUE(run.thread().failed());
  EXPECT_EQ(run.thread().errors(), QStringList({"notes.txt does not match its SHA-256 digest."}));
  EXPECT_EQ(fileContent(target("ZRDorvelSetup.exe")), setup);
  EXPECT_EQ(fileContent(target("notes.txt")), "notes of the last good download");
  EXPECT_EQ(QDir(folder_.path()).entryList(QDir::Files),
            QStringList({"notes.txt", "ZRDorvelSetup.exe"}));
}

TEST_F(DownloadFromOddServer, EveryKindOfFailureFailsTheRunButLaterItemsStillRun) {
  server_.addFile("good.txt", "good");
  server_.addFile("later.txt", "later");
  struct Case {
    const char* name;
    QString address;
    QStringList requests;
    QByteArray firstFile; // an earlier download of that name stays unless a new one completes
    QString error;
  };
  const QList<Case> cases = {
      {"not found",
       server_.url("/missing/x.txt"),
       {"HEAD /missing/x.txt", "GET /missing/x.txt", "GET /files/later.txt"},
       "earlier",
       "x.txt: the server answered 404 Not Found."},
      {"redirect",
       server_.url("/redirect/good.txt"),
       {"HEAD /redirect/good.txt", "GET /redirect/good.txt", "GET /files/later.txt"},
       "earlier",
       "good.txt: the server answered 302 Found."},
      {"HEAD refused",
       server_.url("/nohead/good.txt"),
       {"HEAD /nohead/good.txt", "GET /nohead/good.txt", "GET /files/later.txt"},
       "good",
       "good.txt: the server answered 405 Method Not Allowed."},
      {"connection refused",
       QString("http://127.0.0.1:1/files/good.txt"),
       {"GET /files/later.txt"},
       "earlier",
       "good.txt: Connection refused"},
      {"body shorter than promised",
       server_.url("/short/good.txt"),
       {"HEAD /short/good.txt", "GET /short/good.txt", "GET /files/later.txt"},
       "earlier",
       "good.txt: Connection closed"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    QTemporaryDir folder;
    writeFile(folder.filePath("first.txt"), "earlier");
    const qsizetype logged = server_.requests().size();
    TransferRun run;
    run.thread().addItem(toFile(c.address, folder.filePath("first.txt")));
    run.thread().addItem(toFile(server_.url("/files/later.txt"), folder.filePath("later.txt")));
    ASSERT_TRUE(run.runToEnd());

    EXPECT_TRUE(run.thread().failed());
    EXPECT_TRUE(run.thread().errors().contains(c.error))
        << run.thread().errors().join('\n').toStdString();
    QStringList requests = server_.requests().mid(logged);
    requests.removeAll("HEAD /files/later.txt");
    EXPECT_EQ(requests, c.requests);
    EXPECT_EQ(fileContent(folder.filePath("later.txt")), "later");
    EXPECT_EQ(fileContent(folder.filePath("first.txt")), c.firstFile);
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList({"first.txt", "later.txt"}));
  }
}

TEST_F(DownloadFromOddServer, BodiesIntoMemoryStopAtOneMebibyte) {
  server_.addFile("limit.dat", bytes(1024 * 1024, 'v'));
  server_.addFile("over.dat", bytes(1024 * 1024 + 1, 'v'));
  struct Case {
    const char* path;
    bool fails;
  };
  const Case cases[] = {
      {"/files/limit.dat", false},
      {"/files/over.dat", true},
      {"/endless/version.dat", true},
      {"/huge/version.dat", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    TransferRun run;
    run.thread().addItem({server_.url(c.path), QString(), false, {}});
    ASSERT_TRUE(run.runToEnd());
    EXPECT_EQ(run.thread().failed(), c.fails);
    if (c.fails) {
      EXPECT_TRUE(run.thread().errors().last().endsWith(" is larger than 1 MiB."))
          << run.thread().errors().join('\n').toStdString();
      EXPECT_TRUE(run.thread().attachedData(0).isEmpty());
    } else {
      EXPECT_EQ(run.thread().attachedData(0).size(), 1024 * 1024);
    }
  }
}

TEST_F(DownloadFromOddServer, TransferThatReceivesNothingForTheStallTimeFails) {
  server_.addFile("big.bin", bytes(100000, 'z'));
  TransferRun run;
  run.thread().setStallTimeout(300);
  run.thread().addItem(toFile(server_.url("/stall/big.bin"), target("big.bin")));
  ASSERT_TRUE(run.runToEnd());

  EXPECT_TRUE(run.thread().failed());
  EXPECT_EQ(run.thread().errors(), QStringList({"big.bin: nothing arrived for 0.3 seconds."}));
  EXPECT_FALSE(QFile::exists(target("big.bin")));
}

// An error answer ends at its headers, however long the body it sends after them.
TEST_F(DownloadFromOddServer, ErrorAnswerEndsAtItsHeadersWhateverItsBody) {
  const struct {
    const char* path;
    const char* error;
  } cases[] = {
      {"/error/404/version.dat", "version.dat: the server answered 404 Not Found."},
      {"/error/500/version.dat", "version.dat: the server answered 500 Internal Server Error."},
      {"/error/302/version.dat", "version.dat: the server answered 302 Found."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    for (const bool intoFile : {false, true}) {
      TransferRun run;
      run.thread().addItem(
          {server_.url(c.path), intoFile ? target("version.dat") : QString(), false, {}});
      ASSERT_TRUE(run.runToEnd(5000)) << "the endless error body was read on";
      EXPECT_TRUE(run.thread().failed());
      EXPECT_EQ(run.thread().errors(), QStringList({c.error}));
      EXPECT_TRUE(QDir(folder_.path()).isEmpty());
    }
  }
}

// A trickle keeps every stall time-out at bay; the run's deadline and the minimum
// rate end it all the same, and nothing of it stays.
TEST_F(DownloadFromOddServer, TrickleEndsAtTheDeadlineOrUnderTheMinimumRate) {
  server_.addFile("version.dat", bytes(1000, 'v'));
  server_.addFile("setup.bin", bytes(100000, 's'));
  {
    TransferRun run;
    run.thread().setRunDeadline(1500);
    run.thread().addItem({server_.url("/trickle/version.dat?every=0.05"), QString(), false, {}});
    ASSERT_TRUE(run.runToEnd(5000));
    EXPECT_EQ(run.thread().errors(),
              QStringList({"version.dat: the transfer did not end within 1.5 seconds."}));
    EXPECT_TRUE(run.thread().attachedData(0).isEmpty());
  }
  {
    TransferRun run(true);
    run.thread().setMinimumRate(1024, 1000);
    run.thread().addItem(toFile(server_.url("/trickle/setup.bin?every=0.01"), target("setup.bin")));
    run.thread().addItem(toFile(server_.url("/files/setup.bin"), target("fast.bin")));
    ASSERT_TRUE(run.runToEnd(5000));
    EXPECT_EQ(run.thread().errors(),
              QStringList({"setup.bin: less than 1024 bytes per second arrived over 1 second."}));
    EXPECT_EQ(QDir(folder_.path()).entryList(QDir::Files), QStringList({"fast.bin"}));
    EXPECT_EQ(fileContent(target("fast.bin")), bytes(100000, 's'));
  }
}

TEST_F(DownloadFromOddServer, TargetThatCannotBeCreatedFailsOnlyThatItem) {
  server_.addFile("a.txt", "a");
  TransferRun run;
  run.thread().addItem(toFile(server_.url("/files/a.txt"), target("no/such/folder/a.txt")));
  run.thread().addItem(toFile(server_.url("/files/a.txt"), target("a.txt")));
  ASSERT_TRUE(run.runToEnd());

  EXPECT_TRUE(run.thread().failed());
  ASSERT_EQ(run.thread().errors().size(), 1);
  EXPECT_TRUE(
      run.thread().errors()[0].startsWith("Unable to create " + target("no/such/folder/a.txt")))
      << run.thread().errors()[0].toStdString();
  EXPECT_EQ(fileContent(target("a.txt")), "a");
}

TEST_F(DownloadFromOddServer, NoItemsOpensAndClosesTheWindowWithoutFailure) {
  TransferRun run(true);
  ASSERT_TRUE(run.runToEnd());
  EXPECT_FALSE(run.thread().failed());
  EXPECT_FALSE(run.statuses().isEmpty());
  EXPECT_EQ(openStatusWindow(), nullptr);
}

TEST_F(DownloadFromOddServer, StopBeforeTheStartSendsNothingAndCreatesNoFile) {
  server_.addFile("a.txt", "a");
  TransferRun run(true);
  run.thread().addItem(toFile(server_.url("/files/a.txt"), target("a.txt")));
  run.thread().requestStop();
  ASSERT_TRUE(run.runToEnd());

  EXPECT_TRUE(run.thread().failed());
  EXPECT_EQ(run.thread().errors(), QStringList({"Stopped."}));
  EXPECT_TRUE(server_.requests().isEmpty());
  EXPECT_FALSE(QFile::exists(target("a.txt")));
}

TEST_F(DownloadFromOddServer, CancelDuringAStalledTransferEndsAtOnceAndLeavesNoPartialFile) {
  server_.addFile("big.bin", bytes(200000, 'z'));
  server_.addFile("later.bin", "later");
  TransferRun run(true);
  run.thread().addItem(toFile(server_.url("/stall/big.bin"), target("big.bin")));
  run.thread().addItem(toFile(server_.url("/files/later.bin"), target("later.bin")));
  run.thread().start();
  ASSERT_TRUE(QTest::qWaitFor([&] { return server_.requests().contains("GET /stall/big.bin"); },
                              test::kRunTimeoutMs));
  StatusWindow* window = openStatusWindow();
  ASSERT_NE(window, nullptr);
  auto* cancel = window->findChild<QPushButton*>();
  ASSERT_NE(cancel, nullptr);

  cancel->click();
  ASSERT_TRUE(run.waitForEnd(3000)) << "the stalled transfer was not stopped";

  EXPECT_TRUE(run.thread().failed());
  EXPECT_EQ(run.thread().errors(), QStringList({"Stopped."}));
  EXPECT_FALSE(server_.requests().contains("GET /files/later.bin"));
  EXPECT_TRUE(QDir(folder_.path()).isEmpty());
}

TEST_F(DownloadFromOddServer, DestroyingARunningSilentRunDoesNotHang) {
  server_.addFile("big.bin", bytes(100000, 'z'));
  TransferRun run;
  run.thread().addItem(toFile(server_.url("/stall/big.bin"), target("big.bin")));
  run.thread().start();
  ASSERT_TRUE(QTest::qWaitFor([&] { return server_.requests().contains("GET /stall/big.bin"); },
                              test::kRunTimeoutMs));

  QElapsedTimer destroying;
  destroying.start();
  run.destroy();
  EXPECT_LT(destroying.elapsed(), 3000);
}

TEST_F(DownloadFromOddServer, DestroyingARunThatWaitsForItsWindowDoesNotHang) {
  server_.addFile("a.bin", bytes(100000, 'a'));
  TransferRun run(true);
  for (int i = 0; i < 20; ++i)
    run.thread().addItem(toFile(server_.url("/files/a.bin"), target("a.bin")));
  run.thread().start();
  ASSERT_TRUE(QTest::qWaitFor([&] { return server_.requests().contains("GET /files/a.bin"); },
                              test::kRunTimeoutMs));
  // Destroyed without returning to the event loop, while the transfer goes on
  // asking for display steps.
  QElapsedTimer destroying;
  destroying.start();
  run.destroy();
  EXPECT_LT(destroying.elapsed(), 3000);
  EXPECT_EQ(openStatusWindow(), nullptr);
}

// A download onto a disk that fills up: nothing is left behind, and an
// earlier file of the same name stays as it was.
class DownloadOntoSmallDisk : public testing::Test {
protected:
  static constexpr qint64 kDiskSize = 256 * 1024;

  void SetUp() override {
    if (!disk_.mounted())
      GTEST_SKIP() << disk_.problem();
  }

  QString target(const QString& name) const { return folder_.filePath(name); }
  qint64 freeBytes() const { return QStorageInfo(folder_.path()).bytesAvailable(); }
  QStringList files() const { return QDir(folder_.path()).entryList(QDir::Files | QDir::Hidden); }

  HttpTestServer server_;
  QTemporaryDir folder_;
  SmallDisk disk_{folder_.path().toStdString(), kDiskSize};
};

TEST_F(DownloadOntoSmallDisk, BodyBeyondTheFreeSpaceFailsAndLeavesNothing) {
  server_.addFile("big.bin", bytes(2 * kDiskSize, 'b'));
  for (const char* path : {"/files/big.bin", "/endless/big.bin"}) {
    SCOPED_TRACE(path);
    TransferRun run;
    run.thread().addItem(toFile(server_.url(path), target("big.bin")));
    ASSERT_TRUE(run.runToEnd());

    EXPECT_TRUE(run.thread().failed());
    EXPECT_EQ(run.thread().errors(),
              QStringList({"big.bin is larger than the free space in " + folder_.path() + "."}));
    EXPECT_TRUE(files().isEmpty()) << files().join(", ").toStdString();
  }
}

TEST_F(DownloadOntoSmallDisk, WriteThatFailsFailsTheRunAndLeavesNothing) {
  server_.addFile("setup.bin", bytes(kDiskSize / 2, 's'));
  writeFile(target("setup.bin"), "the earlier setup");
  TransferRun run;
  run.thread().addItem(toFile(server_.url("/hold/setup.bin"), target("setup.bin")));
  const qint64 freeAtStart = freeBytes();
  run.thread().start();
  // Once the first half is on the disk, something else fills the disk up.
  ASSERT_TRUE(QTest::qWaitFor([&] { return freeBytes() <= freeAtStart - kDiskSize / 4; },
                              test::kRunTimeoutMs));
  QFile filler(target("filler"));
  ASSERT_TRUE(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
  while (filler.write(bytes(4096, 'f')) == 4096)
    ;
  filler.close();
  server_.addFile("setup.bin.go", "");
  ASSERT_TRUE(run.waitForEnd());

  EXPECT_TRUE(run.thread().failed());
  ASSERT_EQ(run.thread().errors().size(), 1);
  EXPECT_TRUE(run.thread().errors()[0].startsWith("Unable to write " + target("setup.bin") + ": "))
      << run.thread().errors()[0].toStdString();
  EXPECT_EQ(files(), QStringList({"filler", "setup.bin"}));
  EXPECT_EQ(fileContent(target("setup.bin")), "the earlier setup");
}

} // namespace
} // namespace zr
