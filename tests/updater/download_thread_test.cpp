#include "http_test_server.h"
#include "support/qt_test_support.h"
#include "updater/download_thread.h"
#include "updater/status_window.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

namespace zr {
namespace {

using test::HttpTestServer;

constexpr int kRunTimeoutMs = 15000;

QByteArray bytes(int size, char fill) {
  return QByteArray(size, fill);
}

QByteArray fileContent(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// One transfer run with the statuses its window was shown.
class TransferRun {
public:
  explicit TransferRun(bool showStatus = false) : thread_(std::make_unique<DownloadThread>()) {
    thread_->setShowStatus(showStatus);
    thread_->setStatusCaption("Getting Updates...");
    QObject::connect(thread_.get(), &DownloadThread::statusChanged,
                     [this](const TransferStatus& status) { statuses_.append(status); });
    QObject::connect(thread_.get(), &DownloadThread::completed, [this] { completed_ = true; });
  }

  DownloadThread& thread() { return *thread_; }
  const QList<TransferStatus>& statuses() const { return statuses_; }
  bool completed() const { return completed_; }

  // Runs to the end; false when it did not end in time.
  bool runToEnd() {
    thread_->start();
    return waitForEnd();
  }
  bool waitForEnd(int timeoutMs = kRunTimeoutMs) {
    return QTest::qWaitFor([this] { return completed_; }, timeoutMs);
  }
  void destroy() { thread_.reset(); }

private:
  std::unique_ptr<DownloadThread> thread_;
  QList<TransferStatus> statuses_;
  bool completed_ = false;
};

StatusWindow* openStatusWindow() {
  for (QWidget* widget : QApplication::topLevelWidgets())
    if (auto* window = qobject_cast<StatusWindow*>(widget); window && window->isVisible())
      return window;
  return nullptr;
}

class DownloadThreadTest : public testing::Test {
protected:
  HttpTestServer server_;
  QTemporaryDir folder_;

  QString target(const QString& name) const { return folder_.filePath(name); }
};

TEST_F(DownloadThreadTest, AsksEverySizeFirstThenTransfersEveryFileInOrder) {
  server_.addFile("a.bin", bytes(1000, 'a'));
  server_.addFile("b.bin", bytes(500, 'b'));
  TransferRun run(true);
  run.thread().addItem(server_.url("/files/a.bin"), target("a.bin"), true);
  run.thread().addItem(server_.url("/files/b.bin"), target("b.bin"), true);
  ASSERT_TRUE(run.runToEnd());

  EXPECT_FALSE(run.thread().failed());
  EXPECT_EQ(server_.requests(), QStringList({"HEAD /files/a.bin", "HEAD /files/b.bin",
                                             "GET /files/a.bin", "GET /files/b.bin"}));
  EXPECT_EQ(fileContent(target("a.bin")), bytes(1000, 'a'));
  EXPECT_EQ(fileContent(target("b.bin")), bytes(500, 'b'));
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

TEST_F(DownloadThreadTest, StatusNamesEachFileWhileItIsTransferred) {
  for (const char* name : {"one.txt", "two.txt", "three.txt"})
    server_.addFile(name, "x");
  TransferRun run(true);
  for (const char* name : {"one.txt", "two.txt", "three.txt"})
    run.thread().addItem(server_.url(QString("/files/") + name + "?v=2#top"), target(name), true);
  ASSERT_TRUE(run.runToEnd());

  QStringList fileLines;
  for (const TransferStatus& status : run.statuses())
    if (!status.fileText.isEmpty() && (fileLines.isEmpty() || fileLines.last() != status.fileText))
      fileLines.append(status.fileText);
  EXPECT_EQ(fileLines, QStringList({"Finding file size...", "File 1 / 3: one.txt",
                                    "File 2 / 3: two.txt", "File 3 / 3: three.txt"}));
}

TEST_F(DownloadThreadTest, MemoryItemKeepsTheBodyOnlyWhenAttached) {
  server_.addFile("version.dat", "[VERSION]\r\n2.2\r\n");
  TransferRun run;
  run.thread().addItem(server_.url("/files/version.dat"), QString(), false);
  run.thread().addItem(server_.url("/files/version.dat"), QString(), true);
  ASSERT_TRUE(run.runToEnd());

  EXPECT_FALSE(run.thread().failed());
  EXPECT_EQ(run.thread().attachedData(0), "[VERSION]\r\n2.2\r\n");
  EXPECT_EQ(run.thread().attachedData(1), QByteArray());
  EXPECT_TRUE(run.statuses().isEmpty());
}

TEST_F(DownloadThreadTest, LaterFileOfTheSameNameOverwritesTheEarlier) {
  server_.addFile("first/same.txt", "first version, longer");
  server_.addFile("second/same.txt", "second");
  TransferRun run;
  run.thread().addItem(server_.url("/files/first/same.txt"), target("same.txt"), true);
  run.thread().addItem(server_.url("/files/second/same.txt"), target("same.txt"), true);
  ASSERT_TRUE(run.runToEnd());

  EXPECT_FALSE(run.thread().failed());
  EXPECT_EQ(fileContent(target("same.txt")), "second");
}

TEST_F(DownloadThreadTest, EveryKindOfFailureFailsTheRunButLaterItemsStillRun) {
  server_.addFile("good.txt", "good");
  server_.addFile("later.txt", "later");
  struct Case {
    const char* name;
    QString address;
    QStringList requests;
    QByteArray firstFile;
  };
  const QList<Case> cases = {
      {"not found",
       server_.url("/missing/x.txt"),
       {"HEAD /missing/x.txt", "GET /missing/x.txt", "GET /files/later.txt"},
       ""},
      {"redirect",
       server_.url("/redirect/good.txt"),
       {"HEAD /redirect/good.txt", "GET /redirect/good.txt", "GET /files/later.txt"},
       ""},
      {"HEAD refused",
       server_.url("/nohead/good.txt"),
       {"HEAD /nohead/good.txt", "GET /nohead/good.txt", "GET /files/later.txt"},
       "good"},
      {"connection refused",
       QString("http://127.0.0.1:1/files/good.txt"),
       {"GET /files/later.txt"},
       ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    QTemporaryDir folder;
    const int logged = server_.requests().size();
    TransferRun run;
    run.thread().addItem(c.address, folder.filePath("first.txt"), true);
    run.thread().addItem(server_.url("/files/later.txt"), folder.filePath("later.txt"), true);
    ASSERT_TRUE(run.runToEnd());

    EXPECT_TRUE(run.thread().failed());
    QStringList requests = server_.requests().mid(logged);
    requests.removeAll("HEAD /files/later.txt");
    EXPECT_EQ(requests, c.requests);
    EXPECT_EQ(fileContent(folder.filePath("later.txt")), "later");
    EXPECT_EQ(fileContent(folder.filePath("first.txt")), c.firstFile);
  }
}

TEST_F(DownloadThreadTest, TargetThatCannotBeCreatedFailsOnlyThatItem) {
  server_.addFile("a.txt", "a");
  TransferRun run;
  run.thread().addItem(server_.url("/files/a.txt"), target("no/such/folder/a.txt"), true);
  run.thread().addItem(server_.url("/files/a.txt"), target("a.txt"), true);
  ASSERT_TRUE(run.runToEnd());

  EXPECT_TRUE(run.thread().failed());
  EXPECT_EQ(fileContent(target("a.txt")), "a");
}

TEST_F(DownloadThreadTest, NoItemsOpensAndClosesTheWindowWithoutFailure) {
  TransferRun run(true);
  ASSERT_TRUE(run.runToEnd());
  EXPECT_FALSE(run.thread().failed());
  EXPECT_FALSE(run.statuses().isEmpty());
  EXPECT_EQ(openStatusWindow(), nullptr);
}

TEST_F(DownloadThreadTest, StopBeforeTheStartSendsNothingAndCreatesNoFile) {
  server_.addFile("a.txt", "a");
  TransferRun run(true);
  run.thread().addItem(server_.url("/files/a.txt"), target("a.txt"), true);
  run.thread().requestStop();
  ASSERT_TRUE(run.runToEnd());

  EXPECT_TRUE(run.thread().failed());
  EXPECT_TRUE(server_.requests().isEmpty());
  EXPECT_FALSE(QFile::exists(target("a.txt")));
}

TEST_F(DownloadThreadTest, CancelDuringAStalledTransferEndsAtOnceAndKeepsThePartialFile) {
  server_.addFile("big.bin", bytes(200000, 'z'));
  server_.addFile("later.bin", "later");
  TransferRun run(true);
  run.thread().addItem(server_.url("/stall/big.bin"), target("big.bin"), true);
  run.thread().addItem(server_.url("/files/later.bin"), target("later.bin"), true);
  run.thread().start();
  ASSERT_TRUE(QTest::qWaitFor([&] { return server_.requests().contains("GET /stall/big.bin"); },
                              kRunTimeoutMs));
  QTest::qWait(300);
  StatusWindow* window = openStatusWindow();
  ASSERT_NE(window, nullptr);
  auto* cancel = window->findChild<QPushButton*>();
  ASSERT_NE(cancel, nullptr);

  QElapsedTimer sinceCancel;
  sinceCancel.start();
  cancel->click();
  ASSERT_TRUE(run.waitForEnd(3000)) << "the stalled transfer was not stopped";
  EXPECT_LT(sinceCancel.elapsed(), 3000);

  EXPECT_TRUE(run.thread().failed());
  EXPECT_FALSE(server_.requests().contains("GET /files/later.bin"));
  EXPECT_FALSE(QFile::exists(target("later.bin")));
  EXPECT_TRUE(QFile::exists(target("big.bin")));
  EXPECT_LT(fileContent(target("big.bin")).size(), 200000);
}

TEST_F(DownloadThreadTest, DestroyingARunningSilentRunDoesNotHang) {
  server_.addFile("big.bin", bytes(100000, 'z'));
  TransferRun run;
  run.thread().addItem(server_.url("/stall/big.bin"), target("big.bin"), true);
  run.thread().start();
  ASSERT_TRUE(QTest::qWaitFor([&] { return server_.requests().contains("GET /stall/big.bin"); },
                              kRunTimeoutMs));

  QElapsedTimer destroying;
  destroying.start();
  run.destroy();
  EXPECT_LT(destroying.elapsed(), 3000);
}

TEST_F(DownloadThreadTest, DestroyingARunThatWaitsForItsWindowDoesNotHang) {
  server_.addFile("a.bin", bytes(100000, 'a'));
  TransferRun run(true);
  for (int i = 0; i < 20; ++i)
    run.thread().addItem(server_.url("/files/a.bin"), target("a.bin"), true);
  run.thread().start();
  // Destroyed without returning to the event loop, while the transfer
  // probably waits for a display step.
  QThread::msleep(200);
  QElapsedTimer destroying;
  destroying.start();
  run.destroy();
  EXPECT_LT(destroying.elapsed(), 3000);
  EXPECT_EQ(openStatusWindow(), nullptr);
}

TEST_F(DownloadThreadTest, UsesTheProxyOfTheEnvironment) {
  server_.addFile("a.txt", "through the proxy");
  HttpTestServer proxy(true);
  qputenv("http_proxy", QString("http://127.0.0.1:%1/").arg(proxy.port()).toUtf8());
  TransferRun run;
  run.thread().addItem(server_.url("/files/a.txt"), target("a.txt"), true);
  const bool ended = run.runToEnd();
  qunsetenv("http_proxy");
  ASSERT_TRUE(ended);

  EXPECT_FALSE(run.thread().failed());
  EXPECT_EQ(fileContent(target("a.txt")), "through the proxy");
  EXPECT_EQ(proxy.requests(), QStringList({"HEAD " + server_.url("/files/a.txt"),
                                           "GET " + server_.url("/files/a.txt")}));
}

} // namespace
} // namespace zr
