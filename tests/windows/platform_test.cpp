// SPDX-License-Identifier: MIT

// The Windows layers of src/platform and the Windows file calls of the core, on the
// system itself (under Wine in the test loop, in its own prefix).

#include "about/version_info.h"
#include "core/data_file.h"
#include "core/error.h"
#include "core/file_io.h"
#include "core/windows/native_file.h"
#include "platform/autostart.h"
#include "platform/proxy_query.h"
#include "platform/session_end.h"
#include "platform/stored_text.h"
#include "platform/windows/windows_sound_player.h"
#include "support/qt_test_support.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>
#include <windows.h>

namespace zr {
namespace {

// Wine stands in for Windows in the test loop; where it behaves otherwise, the test says
// so and skips that point.
bool underWine() {
  return ::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
}

constexpr const wchar_t* kRunKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const wchar_t* kInternetSettings =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";

std::optional<std::wstring> runValue() {
  wchar_t data[4096];
  DWORD size = sizeof data;
  if (::RegGetValueW(HKEY_CURRENT_USER, kRunKey, L"ZRDorvelStartUp", RRF_RT_REG_SZ, nullptr, data,
                     &size) != ERROR_SUCCESS)
    return std::nullopt;
  return std::wstring(data);
}

TEST(WindowsAutostart, WritesAndRemovesTheRunKeyValue) {
  setStartingAtLogon(false, {}); // the options dialog's tests use the same registry
  ASSERT_FALSE(runValue());
  setStartingAtLogon(true, QStringLiteral("C:/Program Files/ZR Dorvel/ZRDorvel.exe"));
  EXPECT_TRUE(isStartingAtLogon());
  EXPECT_EQ(runValue(), L"\"C:\\Program Files\\ZR Dorvel\\ZRDorvel.exe\" -startup");

  // Applying again after a move writes the new path.
  setStartingAtLogon(true, QStringLiteral("D:/Moved/ZRDorvel.exe"));
  EXPECT_EQ(runValue(), L"\"D:\\Moved\\ZRDorvel.exe\" -startup");

  setStartingAtLogon(false, {});
  EXPECT_FALSE(isStartingAtLogon());
  EXPECT_FALSE(runValue());
  // Removing a value that is not there is no error.
  EXPECT_NO_THROW(setStartingAtLogon(false, {}));
}

TEST(WindowsVersionResource, GivesTheBuildsVersionData) {
  const VersionInfo info = programVersionInfo();
  EXPECT_EQ(info.fileVersion, "2.1.2.29");
  EXPECT_EQ(info.companyName, "ZR Software");
  EXPECT_EQ(info.legalCopyright, "Copyright (C) 2003-2026 ZR Software");
}

// The user's Internet options for the default connection, set for one test and put back.
class WindowsProxyTest : public ::testing::Test {
protected:
  void SetUp() override {
    for (const char* name : {"http_proxy", "https_proxy", "HTTPS_PROXY", "no_proxy", "NO_PROXY"}) {
      saved_.emplace_back(name, qgetenv(name));
      qunsetenv(name);
    }
    ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, kInternetSettings, 0, nullptr, 0,
                                KEY_READ | KEY_WRITE, nullptr, &key_, nullptr),
              ERROR_SUCCESS);
  }
  void TearDown() override {
    ::RegDeleteValueW(key_, L"ProxyEnable");
    ::RegDeleteValueW(key_, L"ProxyServer");
    ::RegCloseKey(key_);
    for (const auto& [name, value] : saved_)
      if (!value.isNull())
        qputenv(name, value);
  }
  void setProxy(DWORD enable, const std::wstring& server) {
    ::RegSetValueExW(key_, L"ProxyEnable", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&enable),
                     sizeof enable);
    ::RegSetValueExW(key_, L"ProxyServer", 0, REG_SZ, reinterpret_cast<const BYTE*>(server.c_str()),
                     static_cast<DWORD>((server.size() + 1) * sizeof(wchar_t)));
  }

  HKEY key_ = nullptr;
  std::vector<std::pair<const char*, QByteArray>> saved_;
};

TEST_F(WindowsProxyTest, TakesTheInternetOptionsProxyByScheme) {
  setProxy(1, L"http=web:3128;https=secure:443");
  const ProxyVariables variables = readProxyVariables();
  EXPECT_EQ(variables.httpProxy, "web:3128");
  if (underWine())
    GTEST_SKIP() << "Wine answers the proxy server text of a list by its http entry alone, "
                    "so the https entry is not seen";
  EXPECT_EQ(variables.httpsProxy, "secure:443");
}

TEST_F(WindowsProxyTest, LeavesTheEnvironmentFirstAndAnUnusedProxyOut) {
  setProxy(0, L"proxy:8080");
  EXPECT_EQ(readProxyVariables().httpProxy, "");
  setProxy(1, L"proxy:8080");
  qputenv("http_proxy", "mine:1");
  EXPECT_EQ(readProxyVariables().httpProxy, "mine:1");
  EXPECT_EQ(readProxyVariables().httpsProxy, "proxy:8080");
}

// Files with Windows names and paths: UTF-8 in, the system's UTF-16 out.
class WindowsFilesTest : public ::testing::Test {
protected:
  std::string path(const QString& name) const { return toNativePath(folder_.filePath(name)); }
  QTemporaryDir folder_;
};

TEST_F(WindowsFilesTest, SavesAndReadsBackUnderAWideName) {
  const std::string file = path(QStringLiteral("Erinnerungen Ünïcödé ✓.dat"));
  replaceFileContent(file, "DorvelFile\r\n");
  replaceFileContent(file, "DorvelFile\r\nsecond\r\n");
  EXPECT_EQ(readDataFile(file), "DorvelFile\r\nsecond\r\n");
  EXPECT_EQ(QDir(folder_.path()).entryList(QDir::Files).size(), 1) << "a temporary file is left";
}

TEST_F(WindowsFilesTest, ReachesPathsLongerThanMaxPath) {
  QString deep = folder_.path();
  for (int i = 0; i < 12; ++i)
    deep += QStringLiteral("/a-folder-name-of-some-length-%1").arg(i);
  ASSERT_GT(deep.size(), MAX_PATH);
  std::wstring made = LR"(\\?\)" + QDir::toNativeSeparators(folder_.path()).toStdWString();
  for (int i = 0; i < 12; ++i) {
    made += QStringLiteral("\\a-folder-name-of-some-length-%1").arg(i).toStdWString();
    ASSERT_TRUE(::CreateDirectoryW(made.c_str(), nullptr));
  }
  const std::string file = toNativePath(deep + "/Reminders.dat");
  replaceFileContent(file, "long");
  EXPECT_EQ(readDataFile(file), "long");
}

TEST_F(WindowsFilesTest, NamesOfDevicesAreFilesInsideAFolder) {
  if (underWine())
    GTEST_SKIP() << "Wine takes NUL.dat for the device NUL even in the \\\\?\\ form";
  // A full path reaches a file named like a device through the "\\?\" form.
  const std::string file = path(QStringLiteral("NUL.dat"));
  replaceFileContent(file, "kept");
  EXPECT_EQ(readDataFile(file), "kept");
}

TEST_F(WindowsFilesTest, RefusesADeviceInPlaceOfTheFile) {
  // CON is refused too, but Wine without a console cannot open it at all, so its reason
  // is not checked.
  EXPECT_THROW(readDataFile("CON"), UnreadableFileError);
  for (const char* device : {"NUL", R"(\\.\NUL)"}) {
    try {
      readDataFile(device);
      ADD_FAILURE() << device << " was read";
    } catch (const UnreadableFileError& error) {
      EXPECT_NE(std::string(error.what()).find("it is a device, not a file"), std::string::npos)
          << error.what();
    }
    EXPECT_THROW(replaceFileContent(device, "x"), Error) << device;
  }
}

TEST_F(WindowsFilesTest, RefusesAFolderAndReportsAReadOnlyFile) {
  const std::string folder = path(QStringLiteral("Reminders.dat"));
  ASSERT_TRUE(QDir(folder_.path()).mkdir(QStringLiteral("Reminders.dat")));
  EXPECT_THROW(readDataFile(folder), UnreadableFileError);
  EXPECT_THROW(replaceFileContent(folder, "x"), Error);

  const std::string file = path(QStringLiteral("ZRDorvel.ini"));
  replaceFileContent(file, "old");
  ASSERT_TRUE(::SetFileAttributesW(windows::toWidePath(file).c_str(), FILE_ATTRIBUTE_READONLY));
  try {
    replaceFileContent(file, "new");
    ADD_FAILURE() << "a read-only file was replaced";
  } catch (const Error& error) {
    EXPECT_EQ(std::string(error.what()), "Unable to write to " + file + ": File access denied");
  }
  EXPECT_EQ(readDataFile(file), "old");
  ::SetFileAttributesW(windows::toWidePath(file).c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(WindowsFilesTest, KeepsAnUnreadableFileAsideAndNeverOverwritesIt) {
  const std::string file = path(QStringLiteral("Reminders.dat"));
  replaceFileContent(file, "broken");
  DataFile data(file);
  const std::string kept = data.keepAside(encodeDateTime({2026, 12, 11}, {9, 30, 0, 0}), true);
  EXPECT_EQ(kept, file + ".unreadable-20261211-093000");
  EXPECT_EQ(readDataFile(kept), "broken");
  data.replace("fresh");
  EXPECT_EQ(readDataFile(file), "fresh");
}

TEST(WindowsSoundPlayer, BeepsForAFileThatCannotBePlayedWithoutWaitingForIt) {
  int beeps = 0;
  WindowsSoundPlayer player([&beeps] { ++beeps; });
  QSignalSpy started(&player, &WindowsSoundPlayer::started);
  for (const char* path : {"C:/no such folder/missing.wav", "NUL", "", R"(\\.\pipe\nothing)"})
    player.play(path);
  ASSERT_TRUE(QTest::qWaitFor([&] { return started.size() == 4; }, 10000));
  EXPECT_EQ(beeps, 4);
  for (const QList<QVariant>& result : started)
    EXPECT_FALSE(result.at(0).toBool());
}

TEST(WindowsSessionEnd, TheEndOfTheSessionClosesTheProgram) {
  SessionEndWatcher watcher;
  QSignalSpy ending(&watcher, &SessionEndWatcher::sessionEnding);
  // A window of the thread, whose messages the event loop hands to the native filters.
  const HWND window = ::CreateWindowW(L"STATIC", L"ZR Dorvel test", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                      nullptr, nullptr, nullptr);
  ASSERT_NE(window, nullptr);
  ::PostMessageW(window, WM_ENDSESSION, FALSE, 0); // a cancelled end: nothing happens
  QCoreApplication::processEvents();
  EXPECT_EQ(ending.size(), 0);
  ::PostMessageW(window, WM_QUERYENDSESSION, 0, 0);
  ::PostMessageW(window, WM_ENDSESSION, TRUE, 0);
  EXPECT_TRUE(QTest::qWaitFor([&] { return ending.size() > 0; }, 2000));
  QCoreApplication::processEvents();
  EXPECT_EQ(ending.size(), 1) << "announced twice";
  ::DestroyWindow(window);
}

} // namespace
} // namespace zr
