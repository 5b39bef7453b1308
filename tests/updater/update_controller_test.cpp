// SPDX-License-Identifier: MIT

#include "http_test_server.h"
#include "log_capture.h"
#include "modal_answerer.h"
#include "nginx_server.h"
#include "support/qt_test_support.h"
#include "updater/ask_to_download_dialog.h"
#include "updater/status_window.h"
#include "updater/update_address.h"
#include "updater/update_controller.h"

#include <QDir>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace zr {
namespace {

using test::HttpTestServer;
using test::LogCapture;
using test::ModalAnswerer;
using test::NginxServer;

constexpr int kTimeoutMs = 15000;
constexpr char kCheckError[] =
    "An error was encountered while checking for updates.  Please try again later.";
constexpr char kDownloadError[] =
    "An error was encountered while downloading updates.  Please try again later.";
constexpr char kDownloaded[] = "The updates have been downloaded successfully!\r\n"
                               "This application will now shut down and the update installer "
                               "will run.";

void writeFile(const QString& path, const QByteArray& content) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(content);
}

QByteArray fileContent(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Whether every label of the window that shows a text shows it as it stands,
// never as markup.
bool labelsArePlainText(const QWidget* window) {
  const QList<QLabel*> labels = window->findChildren<QLabel*>();
  return std::all_of(labels.begin(), labels.end(), [](const QLabel* label) {
    return label->text().isEmpty() || label->textFormat() == Qt::PlainText;
  });
}

class UpdateControllerTest : public testing::Test {
protected:
  UpdateControllerTest() {
    publish("version.dat", "[VERSION]\r\n2.1.3.0\r\n[FILES]\r\n" +
                               server_.url("/files/ZRDorvelSetup.exe").toUtf8() + "\r\n" +
                               server_.url("/files/readme.txt").toUtf8() +
                               "\r\n[NOTES]\r\nNew sounds.\r\n");
    publish("same.dat", "[VERSION]\r\n2.1.2.29\r\n");
    publish("ZRDorvelSetup.exe", "#!/bin/sh\ntouch \"$(dirname \"$0\")/setup-ran\"\n");
    publish("readme.txt", "read me");
  }

  void publish(const QString& name, const QByteArray& content) { server_.addFile(name, content); }

  std::unique_ptr<UpdateController> makeController(const QString& updateInfoAddress) {
    auto controller = std::make_unique<UpdateController>(
        nullptr, programFolder_.path() + u'/', updateInfoAddress,
        "https://www.example.com/products/applications/zrdorvel/", [this] { return autoCheck_; },
        [this] { ++shutDowns_; });
    controller->setCurrentVersion("2.1.2.29");
    return controller;
  }

  // Waits until count modal windows have been answered and the update has
  // come to rest: no window open and nothing in progress.
  static bool waitUntilSettled(const ModalAnswerer& answerer, qsizetype count,
                               UpdateController& controller) {
    return QTest::qWaitFor(
        [&] {
          return answerer.seen().size() >= count && QApplication::activeModalWidget() == nullptr &&
                 !controller.updater().busy();
        },
        kTimeoutMs);
  }

  QString updatesFolder() const { return programFolder_.filePath("Updates"); }

  NginxServer server_;
  QTemporaryDir programFolder_;
  bool autoCheck_ = true;
  int shutDowns_ = 0;
};

TEST_F(UpdateControllerTest, SilentCheckSaysNothingAndAFailureLeavesOneWarningAndARetry) {
  ModalAnswerer answerer;
  auto same = makeController(server_.url("/files/same.dat"));
  same->checkAtStartup();
  ASSERT_TRUE(waitUntilSettled(answerer, 0, *same));
  EXPECT_EQ(server_.requests().size(), 2);
  EXPECT_FALSE(same->recheckUpdatesTimer().isActive());

  publish("hostile.dat", "[VERSION]\n2.1.3.0\n[FILES]\nhttp://h/ZRDorvelSetup.exe\t" +
                             programFolder_.filePath("victim.txt").toUtf8() + "\n");
  writeFile(programFolder_.filePath("victim.txt"), "the user's own file");
  struct Case {
    QString path;
    QString warning;
  };
  const Case cases[] = {
      {"/files/missing.dat", "zrdorvel.updater: The update check failed: missing.dat: the server "
                             "answered 404 Not Found."},
      {"/files/hostile.dat", "zrdorvel.updater: The update check failed: Refused [FILES] line "
                             "\"http://h/ZRDorvelSetup.exe\\x09" +
                                 programFolder_.filePath("victim.txt") +
                                 "\": it holds a control character."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path.toStdString());
    LogCapture log;
    auto failing = makeController(server_.url(c.path));
    failing->checkAtStartup();
    ASSERT_TRUE(waitUntilSettled(answerer, 0, *failing));
    EXPECT_TRUE(failing->recheckUpdatesTimer().isActive());
    EXPECT_EQ(failing->recheckUpdatesTimer().interval(), 3600000);
    EXPECT_EQ(log.lines("zrdorvel.updater"), QStringList({c.warning}));
  }
  EXPECT_TRUE(answerer.seen().isEmpty());
  EXPECT_FALSE(QFileInfo::exists(updatesFolder()));
  EXPECT_EQ(fileContent(programFolder_.filePath("victim.txt")), "the user's own file");
}

TEST_F(UpdateControllerTest, StartupCheckFollowsTheSetting) {
  autoCheck_ = false;
  auto controller = makeController(server_.url("/files/version.dat"));
  controller->checkAtStartup();
  EXPECT_FALSE(controller->updater().busy());
  EXPECT_TRUE(server_.requests().isEmpty());
}

TEST_F(UpdateControllerTest, CheckAskedForByTheUserTellsEveryOutcomeWithItsReason) {
  publish("page.html", "<html><b>Welcome</b> to the hotel network</html>");
  HttpTestServer oddServer;
  struct Case {
    QString address;
    QString message;
    QStringList details;
  };
  const Case cases[] = {
      {server_.url("/files/same.dat"), "There are no updates available at this time.", {}},
      {server_.url("/files/page.html"), kCheckError, {"The update information holds no version."}},
      {oddServer.url("/redirect/version.dat"),
       kCheckError,
       {"version.dat: the server answered 302 Found."}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.address.toStdString());
    bool plainText = false;
    ModalAnswerer answerer([&](QWidget* window) {
      plainText = labelsArePlainText(window);
      ModalAnswerer::clickDefault(window);
    });
    auto controller = makeController(c.address);
    controller->checkInteractively();
    ASSERT_TRUE(waitUntilSettled(answerer, 1, *controller));
    EXPECT_EQ(answerer.seen(), QStringList({c.message}));
    EXPECT_EQ(answerer.details(), c.details);
    EXPECT_TRUE(plainText);
    EXPECT_FALSE(controller->recheckUpdatesTimer().isActive());
  }
}

TEST_F(UpdateControllerTest, CancelOfTheCheckReportsTheCheckError) {
  HttpTestServer oddServer;
  oddServer.addFile("<b>big.dat", QByteArray(100000, 'x'));
  ModalAnswerer answerer;
  auto controller = makeController(oddServer.url("/stall/<b>big.dat"));
  controller->checkInteractively();
  StatusWindow* window = nullptr;
  QLabel* fileLine = nullptr;
  ASSERT_TRUE(QTest::qWaitFor(
      [&] {
        for (QWidget* widget : QApplication::topLevelWidgets())
          if ((window = qobject_cast<StatusWindow*>(widget)))
            for (QLabel* label : window->findChildren<QLabel*>())
              if (label->text() == "File 1 / 1: <b>big.dat")
                fileLine = label;
        return fileLine != nullptr;
      },
      kTimeoutMs));
  EXPECT_TRUE(labelsArePlainText(window));
  window->findChild<QPushButton*>()->click();
  ASSERT_TRUE(waitUntilSettled(answerer, 1, *controller));
  EXPECT_EQ(answerer.seen(), QStringList({kCheckError}));
}

TEST_F(UpdateControllerTest, SilentCheckOffersTheUpdateAndDoNotDownloadLeavesEverything) {
  QStringList labels;
  QString notes;
  bool plainText = false;
  ModalAnswerer answerer([&](QWidget* window) {
    for (const QLabel* label : window->findChildren<QLabel*>())
      labels.append(label->text());
    notes = window->findChild<QPlainTextEdit*>()->toPlainText();
    plainText = labelsArePlainText(window);
    ModalAnswerer::clickButton("btnDoNotDownload")(window);
  });
  auto controller = makeController(server_.url("/files/version.dat"));
  controller->checkAtStartup();
  ASSERT_TRUE(waitUntilSettled(answerer, 1, *controller));

  EXPECT_EQ(answerer.seen(), QStringList({"Update Available"}));
  for (const char* text :
       {"An updated version is available for this application.", "Your Version:", "2.1.2.29",
        "Update Version:", "2.1.3.0", "https://www.example.com/products/applications/zrdorvel/"})
    EXPECT_TRUE(labels.contains(text)) << text;
  EXPECT_EQ(notes, "New sounds.");
  EXPECT_TRUE(plainText);
  EXPECT_FALSE(QDir(updatesFolder()).exists());
  EXPECT_EQ(server_.requests().size(), 2);
  EXPECT_EQ(shutDowns_, 0);
}

TEST_F(UpdateControllerTest, DownloadedUpdateStartsTheSetupProgramAndShutsDown) {
  ModalAnswerer answerer(ModalAnswerer::clickButton("btnDownload"));
  auto controller = makeController(server_.url("/files/version.dat"));
  controller->checkInteractively();
  ASSERT_TRUE(waitUntilSettled(answerer, 2, *controller));

  EXPECT_EQ(answerer.seen(), QStringList({"Update Available", kDownloaded}));
  EXPECT_EQ(shutDowns_, 1);
  EXPECT_EQ(fileContent(updatesFolder() + "/readme.txt"), "read me");
  EXPECT_TRUE(
      QTest::qWaitFor([&] { return QFile::exists(updatesFolder() + "/setup-ran"); }, kTimeoutMs))
      << "the setup program was not started";
}

// Neither the hourly re-check nor the user's check may start while the dialog
// is open: the download gets the files the dialog offered.
TEST_F(UpdateControllerTest, CheckUnderTheOpenDialogChangesNothing) {
  bool busyUnderTheDialog = false;
  std::unique_ptr<UpdateController> controller;
  ModalAnswerer answerer([&](QWidget* window) {
    if (window->windowTitle() == "Update Available") {
      publish("version.dat", "[VERSION]\r\n2.1.4.0\r\n");
      controller->checkAtStartup();
      controller->checkInteractively();
      busyUnderTheDialog = controller->updater().busy();
    }
    ModalAnswerer::clickButton("btnDownload")(window);
  });
  controller = makeController(server_.url("/files/version.dat"));
  controller->checkAtStartup();
  ASSERT_TRUE(waitUntilSettled(answerer, 2, *controller));

  EXPECT_TRUE(busyUnderTheDialog);
  EXPECT_EQ(answerer.seen(), QStringList({"Update Available", kDownloaded}));
  EXPECT_EQ(server_.requests().count("GET /files/version.dat"), 1);
  EXPECT_EQ(fileContent(updatesFolder() + "/readme.txt"), "read me");
  EXPECT_EQ(shutDowns_, 1);
  EXPECT_TRUE(
      QTest::qWaitFor([&] { return QFile::exists(updatesFolder() + "/setup-ran"); }, kTimeoutMs));
}

TEST_F(UpdateControllerTest, FailedDownloadIsReportedWithItsReasonAndTheProgramRunsOn) {
  publish("broken.dat", "[VERSION]\n3.0\n[FILES]\n" +
                            server_.url("/files/gone/ZRDorvelSetup.exe").toUtf8() + "\n" +
                            server_.url("/files/readme.txt").toUtf8() + "\n");
  ModalAnswerer answerer(ModalAnswerer::clickButton("btnDownload"));
  auto controller = makeController(server_.url("/files/broken.dat"));
  controller->checkInteractively();
  ASSERT_TRUE(waitUntilSettled(answerer, 2, *controller));

  EXPECT_EQ(answerer.seen(), QStringList({"Update Available", kDownloadError}));
  EXPECT_EQ(answerer.details(),
            QStringList({"ZRDorvelSetup.exe: the server answered 404 Not Found."}));
  EXPECT_EQ(shutDowns_, 0);
  // What did arrive is removed at once, not left to fill the disk until the next start.
  EXPECT_TRUE(QDir(updatesFolder()).isEmpty());
}

// While a check runs (here against a server that trickles), a check the user asks
// for says so instead of nothing; the running one then tells the user its outcome.
TEST_F(UpdateControllerTest, CheckAskedForWhileOneRunsSaysSo) {
  HttpTestServer oddServer;
  oddServer.addFile("version.dat", "[VERSION]\n2.1.2.29\n");
  ModalAnswerer answerer;
  auto controller = makeController(oddServer.url("/trickle/version.dat?every=0.1"));
  controller->checkAtStartup();
  controller->checkInteractively();
  ASSERT_TRUE(waitUntilSettled(answerer, 2, *controller));
  EXPECT_EQ(answerer.seen(), QStringList({"A check for updates is already running.",
                                          "There are no updates available at this time."}));
}

TEST_F(UpdateControllerTest, SetupProgramThatCannotStartIsReportedAndTheProgramRunsOn) {
  publish("junk/ZRDorvelSetup.exe", "MZ: no program for this system");
  const QByteArray readme = server_.url("/files/readme.txt").toUtf8();
  const struct {
    const char* name;
    QByteArray files;
  } cases[] = {
      {"no setup program", readme},
      {"a setup program that is no program here",
       server_.url("/files/junk/ZRDorvelSetup.exe").toUtf8() + "\n" + readme},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    publish("offer.dat", "[VERSION]\n3.0\n[FILES]\n" + c.files + "\n");
    ModalAnswerer answerer(ModalAnswerer::clickButton("btnDownload"));
    auto controller = makeController(server_.url("/files/offer.dat"));
    controller->checkInteractively();
    ASSERT_TRUE(waitUntilSettled(answerer, 3, *controller));

    EXPECT_EQ(answerer.seen(),
              QStringList({"Update Available", kDownloaded,
                           "Unable to start " + updatesFolder() + "/ZRDorvelSetup.exe"}));
    EXPECT_EQ(shutDowns_, 0);
  }
}

TEST(UpdateControllerFolders, LeftoverUpdatesAreDeletedWithReadOnlyEntries) {
  QTemporaryDir programFolder;
  const QString updates = programFolder.filePath("Updates");
  QDir().mkpath(updates + "/nested/deeper");
  for (const QString& path : {updates + "/ZRDorvelSetup.exe", updates + "/nested/deeper/x"}) {
    writeFile(path, "x");
    QFile::setPermissions(path, QFile::ReadOwner);
  }
  QFile::setPermissions(updates + "/nested", QFile::ReadOwner | QFile::ExeOwner);

  EXPECT_TRUE(UpdateController::deleteLeftoverUpdates(programFolder.path() + u'/'));
  EXPECT_FALSE(QDir(updates).exists());
  EXPECT_TRUE(QDir(programFolder.path()).exists());
  EXPECT_TRUE(UpdateController::deleteLeftoverUpdates(programFolder.path() + u'/'));
}

// Links in or as "Updates" go, and whatever they point to stays as it was,
// permissions included.
TEST(UpdateControllerFolders, LeftoverLinksAreRemovedNeverFollowed) {
  const QFile::Permissions readOnly = QFile::ReadOwner | QFile::ExeOwner;
  struct Case {
    const char* name;
    QString linkPath; // below the program folder
  };
  const Case cases[] = {
      {"Updates is a link to a folder", "Updates"},
      {"Updates holds a link to a folder", "Updates/inner"},
      {"Updates is a link to nowhere", "Updates"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    QTemporaryDir programFolder;
    QTemporaryDir elsewhere;
    const QString precious = elsewhere.filePath("documents");
    QDir().mkpath(precious);
    writeFile(precious + "/thesis.txt", "years of work");
    QFile::setPermissions(precious, readOnly);
    QDir().mkpath(programFolder.filePath("Updates"));
    if (c.linkPath == "Updates")
      QDir(programFolder.filePath("Updates")).removeRecursively();
    const bool nowhere = QString(c.name).endsWith("nowhere");
    ASSERT_TRUE(QFile::link(nowhere ? elsewhere.filePath("gone") : precious,
                            programFolder.filePath(c.linkPath)));

    EXPECT_TRUE(UpdateController::deleteLeftoverUpdates(programFolder.path() + u'/'));
    EXPECT_FALSE(QFileInfo(programFolder.filePath("Updates")).isSymLink());
    EXPECT_FALSE(QFileInfo::exists(programFolder.filePath("Updates")));
    EXPECT_EQ(fileContent(precious + "/thesis.txt"), "years of work");
    EXPECT_EQ(QFile::permissions(precious) & QFile::WriteOwner, QFile::Permissions());
    QFile::setPermissions(precious, readOnly | QFile::WriteOwner);
  }
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
