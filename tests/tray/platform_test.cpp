// SPDX-License-Identifier: MIT

#include "core/error.h"
#include "platform/autostart.h"
#include "platform/session_end.h"
#include "platform/window_system.h"
#include "support/qt_test_support.h"
#include "support/warning_catcher.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>
#include <string>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace zr {
namespace {

class AutostartTest : public ::testing::Test {
protected:
  void SetUp() override {
    savedConfigHome_ = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", config_.path().toUtf8());
  }
  void TearDown() override { qputenv("XDG_CONFIG_HOME", savedConfigHome_); }

  QString entryPath() const { return config_.path() + "/autostart/ZRDorvelStartUp.desktop"; }
  QString execLine() const {
    QFile file(entryPath());
    if (!file.open(QIODevice::ReadOnly))
      return {};
    for (const QByteArray& line : file.readAll().split('\n'))
      if (line.startsWith("Exec="))
        return QString::fromUtf8(line);
    return {};
  }

  QTemporaryDir config_;
  QByteArray savedConfigHome_;
};

TEST_F(AutostartTest, TickUntickAndMoveRewriteTheEntry) {
  EXPECT_FALSE(isStartingAtLogon());

  setStartingAtLogon(true, QStringLiteral("/usr/bin/zrdorvel"));
  EXPECT_TRUE(isStartingAtLogon());
  EXPECT_EQ(execLine(), QStringLiteral("Exec=\"/usr/bin/zrdorvel\" -startup"));

  setStartingAtLogon(true, QStringLiteral("/opt/zr dorvel/zrdorvel"));
  EXPECT_EQ(execLine(), QStringLiteral("Exec=\"/opt/zr dorvel/zrdorvel\" -startup"));

  setStartingAtLogon(false, QString());
  EXPECT_FALSE(isStartingAtLogon());
  EXPECT_FALSE(QFile::exists(entryPath()));
  setStartingAtLogon(false, QString());
  EXPECT_TRUE(QDir(config_.path() + "/autostart").isEmpty());
}

TEST_F(AutostartTest, ExecQuotesAndEscapesSpecialCharacters) {
  // Inside the quotes " ` $ \ take a backslash and % doubles; then every backslash of
  // the string value is doubled once more.
  setStartingAtLogon(true, QStringLiteral("/home/a b/it's \"x\"$y`z\\w%u"));
  EXPECT_EQ(
      execLine(),
      QStringLiteral("Exec=\"/home/a b/it's \\\\\"x\\\\\"\\\\$y\\\\`z\\\\\\\\w%%u\" -startup"));
}

TEST_F(AutostartTest, RelativeConfigHomeFallsBackToTheHomeFolder) {
  const QByteArray savedHome = qgetenv("HOME");
  QTemporaryDir home;
  qputenv("HOME", home.path().toUtf8());
  qputenv("XDG_CONFIG_HOME", "relative/config");
  setStartingAtLogon(true, QStringLiteral("/usr/bin/zrdorvel"));
  EXPECT_TRUE(QFile::exists(home.path() + "/.config/autostart/ZRDorvelStartUp.desktop"));
  EXPECT_TRUE(isStartingAtLogon());
  qputenv("HOME", savedHome);
}

TEST_F(AutostartTest, EntryThatCannotBeReadCountsAsSetWithAWarning) {
  ASSERT_TRUE(QDir().mkpath(entryPath()));
  test::WarningCatcher warnings;
  EXPECT_TRUE(isStartingAtLogon());
  const QStringList lines = warnings.take("zrdorvel.autostart");
  ASSERT_EQ(lines.size(), 1);
  EXPECT_TRUE(lines[0].contains(entryPath())) << lines[0].toStdString();
}

// As root no permission bit refuses a write, but a configuration folder that is a
// regular file refuses everyone.
TEST_F(AutostartTest, FailedWriteRaisesTheSetDataError) {
  const QString blocker = config_.path() + "/file";
  QFile(blocker).open(QIODevice::WriteOnly);
  qputenv("XDG_CONFIG_HOME", blocker.toUtf8());
  try {
    setStartingAtLogon(true, QStringLiteral("/usr/bin/zrdorvel"));
    ADD_FAILURE() << "no error";
  } catch (const Error& error) {
    EXPECT_STREQ(error.what(), "Failed to set data for 'ZRDorvelStartUp'");
  }
  EXPECT_FALSE(isStartingAtLogon());
}

TEST(SessionEndWatcherTest, EndingSignalsAnnounceTheEndAndHandlersComeBack) {
  for (const int signalNumber : {SIGTERM, SIGINT, SIGHUP}) {
    struct sigaction before {};
    ::sigaction(signalNumber, nullptr, &before);
    {
      SessionEndWatcher watcher;
      QSignalSpy ending(&watcher, &SessionEndWatcher::sessionEnding);
      ASSERT_EQ(::raise(signalNumber), 0);
      EXPECT_TRUE(ending.wait(2000)) << "signal " << signalNumber;
      EXPECT_EQ(ending.count(), 1) << "signal " << signalNumber;
    }
    struct sigaction after {};
    ::sigaction(signalNumber, nullptr, &after);
    EXPECT_EQ(after.sa_handler, before.sa_handler) << "signal " << signalNumber;
  }
}

TEST(WindowSystemTest, AWaylandSessionWithALiveXServerRunsOnXWaylandUnlessTheUserChose) {
  const struct {
    const char* label;
    WindowSystemEnvironment environment;
    bool xWayland;
  } cases[] = {
      {"Wayland with XWayland", {"", "wayland-0", "wayland", ":0", false, true}, true},
      {"Wayland socket only named", {"", "wayland-0", "", ":1", false, true}, true},
      {"session type only", {"", "", "wayland", ":0", false, true}, true},
      {"Wayland with a dead DISPLAY", {"", "wayland-0", "wayland", ":0", false, false}, false},
      {"Wayland without X server", {"", "wayland-0", "wayland", "", false, false}, false},
      {"platform chosen", {"wayland", "wayland-0", "wayland", ":0", false, true}, false},
      {"-platform given", {"", "wayland-0", "wayland", ":0", true, true}, false},
      {"X11 session", {"", "", "x11", ":0", false, true}, false},
  };
  for (const auto& c : cases)
    EXPECT_EQ(prefersXWayland(c.environment), c.xWayland) << c.label;

  char program[] = "zrdorvel";
  char platform[] = "--platform";
  char name[] = "wayland";
  char* argv[] = {program, platform, name};
  EXPECT_TRUE(windowSystemEnvironment(3, argv).platformArgument);
  EXPECT_FALSE(windowSystemEnvironment(1, argv).platformArgument);
}

// A display nobody listens on, and one whose server takes the connection but never
// answers its set-up (as a stopped X server does), both count as no X server.
TEST(WindowSystemTest, AnXServerThatIsGoneOrSilentDoesNotAnswer) {
  EXPECT_FALSE(xServerAnswers(":31999", 2000));

  // X clients on Linux try the abstract socket "/tmp/.X11-unix/X<n>" first.
  const int listener = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  ASSERT_GE(listener, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  const std::string name = "/tmp/.X11-unix/X31998";
  std::memcpy(address.sun_path + 1, name.data(), name.size());
  const auto length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + name.size());
  ASSERT_EQ(::bind(listener, reinterpret_cast<sockaddr*>(&address), length), 0);
  ASSERT_EQ(::listen(listener, 4), 0);
  QElapsedTimer waited;
  waited.start();
  EXPECT_FALSE(xServerAnswers(":31998", 500));
  EXPECT_LT(waited.elapsed(), 2000);
  ::close(listener);
}

// After the first request the program has two seconds to close: a second signal
// ends it at once, and so does the deadline when the main thread never gets to it.
TEST(SessionEndWatcherDeathTest, ASecondSignalOrTheDeadlineEndsTheProcess) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        SessionEndWatcher watcher;
        ::raise(SIGTERM);
        ::raise(SIGHUP);
        std::_Exit(0);
      },
      ::testing::KilledBySignal(SIGHUP), "");
  EXPECT_EXIT(
      {
        SessionEndWatcher watcher;
        ::raise(SIGTERM);
        for (;;)
          ::pause();
      },
      ::testing::KilledBySignal(SIGALRM), "");
}

} // namespace
} // namespace zr
