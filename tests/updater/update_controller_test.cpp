#include "http_test_server.h"
#include "modal_answerer.h"
#include "support/qt_test_support.h"
#include "updater/ask_to_download_dialog.h"
#include "updater/status_window.h"
#include "updater/update_address.h"
#include "updater/update_controller.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace zr {
namespace {

using test::HttpTestServer;
using test::ModalAnswerer;

constexpr int kTimeoutMs = 15000;
constexpr char kCheckError[] =
    "An error was encountered while checking for updates.  Please try again later.";
constexpr char kDownloadError[] =
    "An error was encountered while downloading updates.  Please try again later.";
constexpr char kDownloaded[] = "The updates have been downloaded successfully!\r\n"
                               "This application will now shut down and the update installer "
                               "will run.";

class UpdateControllerTest : public testing::Test {
protected:
  UpdateControllerTest() {
    server_.addFile("version.dat", "[VERSION]\r\n2.1.3.0\r\n[FILES]\r\n" +
                                       server_.url("/files/ZRDorvelSetup.exe").toUtf8() + "\r\n" +
                                       server_.url("/files/readme.txt").toUtf8() +
                                       "\r\n[NOTES]\r\nNew sounds.\r\n");
    server_.addFile("same.dat", "[VERSION]\r\n2.1.2.29\r\n");
    server_.addFile("ZRDorvelSetup.exe", "#!/bin/sh\ntouch \"$(dirname \"$0\")/setup-ran\"\n");
    server_.addFile("readme.txt", "read me");
  }

  std::unique_ptr<UpdateController> makeController(const QString& updateInfoPath) {
    auto controller = std::make_unique<UpdateController>(
        nullptr, programFolder_.path() + u'/', server_.url(updateInfoPath),
        "https://www.example.com/products/applications/zrdorvel/", [this] { return autoCheck_; },
        [this] { ++shutDowns_; });
    controller->setCurrentVersion("2.1.2.29");
    return controller;
  }

  // Waits until a modal window has been answered, then a little for more.
  static bool waitForAnswers(const ModalAnswerer& answerer, int count) {
    const bool answered =
        QTest::qWaitFor([&] { return answerer.seen().size() >= count; }, kTimeoutMs);
    QTest::qWait(200);
    return answered;
  }

  QString updatesFolder() const { return programFolder_.filePath("Updates"); }

  HttpTestServer server_;
  QTemporaryDir programFolder_;
  bool autoCheck_ = true;
  int shutDowns_ = 0;
};

TEST_F(UpdateControllerTest, SilentCheckSaysNothingWithoutAnUpdateAndRetriesAfterAnError) {
  ModalAnswerer answerer;
  auto same = makeController("/files/same.dat");
  same->checkAtStartup();
  ASSERT_TRUE(QTest::qWaitFor([&] { return server_.requests().size() == 2; }, kTimeoutMs));
  QTest::qWait(300);
  EXPECT_FALSE(same->recheckUpdatesTimer().isActive());

  auto failing = makeController("/missing/version.dat");
  failing->checkAtStartup();
  ASSERT_TRUE(
      QTest::qWaitFor([&] { return failing->recheckUpdatesTimer().isActive(); }, kTimeoutMs));
  EXPECT_EQ(failing->recheckUpdatesTimer().interval(), 3600000);
  QTest::qWait(200);
  EXPECT_TRUE(answerer.seen().isEmpty());
}

TEST_F(UpdateControllerTest, StartupCheckFollowsTheSetting) {
  autoCheck_ = false;
  auto controller = makeController("/files/version.dat");
  controller->checkAtStartup();
  QTest::qWait(300);
  EXPECT_TRUE(server_.requests().isEmpty());
}

TEST_F(UpdateControllerTest, CheckAskedForByTheUserTellsEveryOutcome) {
  struct Case {
    const char* path;
    QString message;
  };
  const Case cases[] = {
      {"/files/same.dat", "There are no updates available at this time."},
      {"/missing/version.dat", kCheckError},
      {"/redirect/version.dat", kCheckError},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    ModalAnswerer answerer;
    auto controller = makeController(c.path);
    controller->checkInteractively();
    ASSERT_TRUE(waitForAnswers(answerer, 1));
    EXPECT_EQ(answerer.seen(), QStringList({c.message}));
    EXPECT_FALSE(controller->recheckUpdatesTimer().isActive());
  }
}

TEST_F(UpdateControllerTest, CancelOfTheCheckReportsTheCheckError) {
  server_.addFile("big.dat", QByteArray(100000, 'x'));
  ModalAnswerer answerer;
  auto controller = makeController("/stall/big.dat");
  controller->checkInteractively();
  ASSERT_TRUE(QTest::qWaitFor([&] { return server_.requests().contains("GET /stall/big.dat"); },
                              kTimeoutMs));
  StatusWindow* window = nullptr;
  ASSERT_TRUE(QTest::qWaitFor(
      [&] {
        for (QWidget* widget : QApplication::topLevelWidgets())
          if ((window = qobject_cast<StatusWindow*>(widget)))
            return true;
        return false;
      },
      kTimeoutMs));
  window->findChild<QPushButton*>()->click();
  ASSERT_TRUE(waitForAnswers(answerer, 1));
  EXPECT_EQ(answerer.seen(), QStringList({kCheckError}));
}

TEST_F(UpdateControllerTest, SilentCheckOffersTheUpdateAndDoNotDownloadLeavesEverything) {
  QStringList labels;
  QString notes;
  ModalAnswerer answerer([&](QWidget* window) {
    for (const QLabel* label : window->findChildren<QLabel*>())
      labels.append(label->text());
    notes = window->findChild<QPlainTextEdit*>()->toPlainText();
    ModalAnswerer::clickButton("btnDoNotDownload")(window);
  });
  auto controller = makeController("/files/version.dat");
  controller->checkAtStartup();
  ASSERT_TRUE(waitForAnswers(answerer, 1));

  EXPECT_EQ(answerer.seen(), QStringList({"Update Available"}));
  for (const char* text :
       {"An updated version is available for this application.", "Your Version:", "2.1.2.29",
        "Update Version:", "2.1.3.0", "https://www.example.com/products/applications/zrdorvel/"})
    EXPECT_TRUE(labels.contains(text)) << text;
  EXPECT_EQ(notes, "New sounds.");
  EXPECT_FALSE(QDir(updatesFolder()).exists());
  EXPECT_EQ(server_.requests().size(), 2);
  EXPECT_EQ(shutDowns_, 0);
}

TEST_F(UpdateControllerTest, DownloadedUpdateStartsTheSetupProgramAndShutsDown) {
  ModalAnswerer answerer(ModalAnswerer::clickButton("btnDownload"));
  auto controller = makeController("/files/version.dat");
  controller->checkInteractively();
  ASSERT_TRUE(waitForAnswers(answerer, 2));

  EXPECT_EQ(answerer.seen(), QStringList({"Update Available", kDownloaded}));
  EXPECT_EQ(shutDowns_, 1);
  QFile readme(updatesFolder() + "/readme.txt");
  ASSERT_TRUE(readme.open(QIODevice::ReadOnly));
  EXPECT_EQ(readme.readAll(), "read me");
  EXPECT_TRUE(
      QTest::qWaitFor([&] { return QFile::exists(updatesFolder() + "/setup-ran"); }, kTimeoutMs))
      << "the setup program was not started";
}

TEST_F(UpdateControllerTest, FailedDownloadIsReportedAndTheProgramRunsOn) {
  server_.addFile("broken.dat", "[VERSION]\n3.0\n[FILES]\n" +
                                    server_.url("/missing/ZRDorvelSetup.exe").toUtf8() + "\n" +
                                    server_.url("/files/readme.txt").toUtf8() + "\n");
  ModalAnswerer answerer(ModalAnswerer::clickButton("btnDownload"));
  auto controller = makeController("/files/broken.dat");
  controller->checkInteractively();
  ASSERT_TRUE(waitForAnswers(answerer, 2));

  EXPECT_EQ(answerer.seen(), QStringList({"Update Available", kDownloadError}));
  EXPECT_EQ(shutDowns_, 0);
  EXPECT_TRUE(QFile::exists(updatesFolder() + "/readme.txt"));
}

TEST(UpdateControllerFolders, LeftoverUpdatesAreDeletedWithReadOnlyEntries) {
  QTemporaryDir programFolder;
  const QString updates = programFolder.filePath("Updates");
  QDir().mkpath(updates + "/nested/deeper");
  for (const QString& path : {updates + "/ZRDorvelSetup.exe", updates + "/nested/deeper/x"}) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("x");
    file.close();
    QFile::setPermissions(path, QFile::ReadOwner);
  }
  QFile::setPermissions(updates + "/nested", QFile::ReadOwner | QFile::ExeOwner);

  EXPECT_TRUE(UpdateController::deleteLeftoverUpdates(programFolder.path() + u'/'));
  EXPECT_FALSE(QDir(updates).exists());
  EXPECT_TRUE(QDir(programFolder.path()).exists());
  EXPECT_TRUE(UpdateController::deleteLeftoverUpdates(programFolder.path() + u'/'));
}

TEST(UpdateAddress, EnvironmentOverridesTheBuiltInAddress) {
  qunsetenv("ZRDORVEL_UPDATE_INFO_URL");
  const QString builtIn = updateInfoAddress();
  EXPECT_TRUE(builtIn.endsWith("/products/applications/zrdorvel/version.dat"))
      << builtIn.toStdString();
  qputenv("ZRDORVEL_UPDATE_INFO_URL", "");
  EXPECT_EQ(updateInfoAddress(), builtIn);
  qputenv("ZRDORVEL_UPDATE_INFO_URL", "http://127.0.0.1:8080/version.dat");
  EXPECT_EQ(updateInfoAddress(), "http://127.0.0.1:8080/version.dat");
  qunsetenv("ZRDORVEL_UPDATE_INFO_URL");
}

} // namespace
} // namespace zr
