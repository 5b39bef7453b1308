// SPDX-License-Identifier: MIT

#include "app/settings.h"
#include "app/system_options_dialog.h"
#include "core/error.h"
#include "core/file_io.h"
#include "platform/autostart.h"
#include "support/qt_test_support.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <cstdlib>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace zr {
namespace {

QByteArray fileBytes(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The first three default to on, the two that keep reminders across a restart to off.
TEST(SettingsTest, MissingFileReadsTheDefaultsAndWritesEveryKeyInOrder) {
  QTemporaryDir folder;
  const QString path = folder.path() + "/ZRDorvel.ini";
  const Settings defaults = readSettings(path);
  EXPECT_TRUE(defaults.autoCheckForUpdates);
  EXPECT_TRUE(defaults.onCloseMessage);
  EXPECT_TRUE(defaults.onMinimizeMessage);
  EXPECT_FALSE(defaults.keepSnoozed);
  EXPECT_FALSE(defaults.showMissed);

  writeSettings(path, {true, false, true, true, false});
  EXPECT_EQ(fileBytes(path), "[System]\r\nAutoCheckForUpdates=1\r\nOnCloseMessage=0\r\n"
                             "OnMinimizeMessage=1\r\nKeepSnoozed=1\r\nShowMissed=0\r\n");
  const Settings read = readSettings(path);
  EXPECT_TRUE(read.autoCheckForUpdates);
  EXPECT_FALSE(read.onCloseMessage);
  EXPECT_TRUE(read.onMinimizeMessage);
  EXPECT_TRUE(read.keepSnoozed);
  EXPECT_FALSE(read.showMissed);
}

// The same rule as the other keys: zero is off, any other number on, anything else
// the default, off.
TEST(SettingsTest, TheTwoNewKeysReadLikeTheOthers) {
  const struct {
    const char* value;
    bool on;
  } cases[] = {{"1", true},    {"0", false},  {"2", true},    {"-1", true},
               {"0x10", true}, {"$0", false}, {"yes", false}, {"", false}};
  QTemporaryDir folder;
  const QString path = folder.path() + "/ZRDorvel.ini";
  for (const auto& c : cases) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray("[system]\r\nkeepsnoozed=") + c.value + "\r\nShowMissed=" + c.value +
               "\r\n");
    file.close();
    const Settings read = readSettings(path);
    EXPECT_EQ(read.keepSnoozed, c.on) << c.value;
    EXPECT_EQ(read.showMissed, c.on) << c.value;
  }
}

TEST(SettingsTest, UnreadableFileThrowsNamingItWhereAMissingOneGivesTheDefaults) {
  QTemporaryDir folder;
  const QString path = folder.path() + "/ZRDorvel.ini";
  ASSERT_TRUE(QDir().mkdir(path)); // even root cannot read a folder as a file
  try {
    readSettings(path);
    ADD_FAILURE() << "a folder was read as the settings file";
  } catch (const UnreadableFileError& error) {
    EXPECT_THAT(error.what(), testing::HasSubstr(path.toStdString()));
  }
  const Settings defaults = readSettings(folder.path() + "/missing.ini");
  EXPECT_TRUE(defaults.autoCheckForUpdates && defaults.onCloseMessage &&
              defaults.onMinimizeMessage);
}

TEST(SettingsTest, RefusedWriteNamesTheFile) {
  QTemporaryDir folder;
  const QString blocker = folder.path() + "/file";
  QFile(blocker).open(QIODevice::WriteOnly); // a folder path through a file fails even as root
  const QString path = blocker + "/ZRDorvel.ini";
  try {
    writeSettings(path, {});
    ADD_FAILURE() << "no error";
  } catch (const Error& error) {
#ifdef _WIN32
    // Windows answers a path through a file with "path not found".
    const QString reason = "File not found";
#else
    const QString reason = "Invalid filename";
#endif
    EXPECT_EQ(QString::fromStdString(error.what()), "Unable to write to " + path + ": " + reason);
  }
}

class SystemOptionsDialogTest : public ::testing::Test {
protected:
  static constexpr const char* kCaptions[] = {
      "Start Automatically With Windows", "Check For Updates When Program Starts",
      "Keep Snoozed Reminders When Program Closes", "Show Reminders Missed While Program Was Off"};

  void SetUp() override {
    savedConfigHome_ = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", config_.path().toUtf8());
  }
  void TearDown() override { qputenv("XDG_CONFIG_HOME", savedConfigHome_); }

  QCheckBox* box(QDialog& dialog, const char* caption) {
    for (auto* box : dialog.findChildren<QCheckBox*>())
      if (QString(box->text()).remove(u'&') == QLatin1String(caption))
        return box;
    return nullptr;
  }
  QPushButton* button(QDialog& dialog, const char* caption) {
    for (auto* button : dialog.findChildren<QPushButton*>())
      if (button->text() == QLatin1String(caption))
        return button;
    return nullptr;
  }

  QTemporaryDir config_;
  QByteArray savedConfigHome_;
};

TEST_F(SystemOptionsDialogTest, OkAndCancelApplyTheCloseBoxDoesNot) {
  struct Case {
    const char* closeWith; // nullptr: the window's close box
    bool applied;
  };
  for (const Case c : {Case{"OK", true}, Case{"Cancel", true}, Case{nullptr, false}}) {
    SCOPED_TRACE(c.closeWith ? c.closeWith : "close box");
    setStartingAtLogon(false, QString());
    SystemOptions options{true, false, true};
    SystemOptionsDialog dialog(options, QStringLiteral("/usr/bin/zrdorvel"));
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("System Options"));
    for (const char* caption : kCaptions)
      ASSERT_NE(box(dialog, caption), nullptr) << caption;
    EXPECT_FALSE(box(dialog, kCaptions[0])->isChecked());
    EXPECT_TRUE(box(dialog, kCaptions[1])->isChecked());
    EXPECT_FALSE(box(dialog, kCaptions[2])->isChecked());
    EXPECT_TRUE(box(dialog, kCaptions[3])->isChecked());

    dialog.show();
    for (const char* caption : kCaptions)
      box(dialog, caption)->toggle();
    if (c.closeWith)
      QTest::mouseClick(button(dialog, c.closeWith), Qt::LeftButton);
    else
      dialog.close();

    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(isStartingAtLogon(), c.applied);
    EXPECT_EQ(options.autoCheckForUpdates, !c.applied);
    EXPECT_EQ(options.keepSnoozed, c.applied);
    EXPECT_EQ(options.showMissed, !c.applied);
  }
}

// The boxes stand one under the other, 16 pixels apart, in a frame that holds their
// whole captions; the buttons sit side by side in the middle of the bar below it.
TEST_F(SystemOptionsDialogTest, GrowsToHoldFourBoxesAndKeepsTheButtonsCentred) {
  SystemOptions options;
  SystemOptionsDialog dialog(options, QStringLiteral("/usr/bin/zrdorvel"));
  dialog.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
  EXPECT_EQ(dialog.height(), 146);
  EXPECT_GE(dialog.width(), 275);
  for (int i = 0; i < 4; ++i) {
    const QCheckBox* shown = box(dialog, kCaptions[i]);
    ASSERT_NE(shown, nullptr);
    SCOPED_TRACE(kCaptions[i]);
    EXPECT_EQ(shown->mapTo(&dialog, QPoint(0, 0)), QPoint(24, 16 + 16 * i));
    EXPECT_GE(shown->width(), shown->sizeHint().width());
    EXPECT_LE(shown->mapTo(&dialog, QPoint(shown->width(), 0)).x(), dialog.width() - 24);
  }
  const QPushButton* ok = button(dialog, "OK");
  const QPushButton* cancel = button(dialog, "Cancel");
  ASSERT_TRUE(ok && cancel);
  EXPECT_EQ(ok->geometry(), QRect(ok->x(), 99, 75, 25));
  EXPECT_EQ(cancel->geometry(), QRect(ok->x() + 85, 99, 75, 25));
  EXPECT_LE(std::abs(ok->x() + cancel->geometry().right() + 1 - dialog.width()), 1);
  for (const QPushButton* each : {ok, cancel})
    EXPECT_FALSE(each->isDefault() || each->autoDefault());
}

TEST_F(SystemOptionsDialogTest, NeitherEnterNorEscapeClosesIt) {
  SystemOptions options;
  SystemOptionsDialog dialog(options, QStringLiteral("/usr/bin/zrdorvel"));
  dialog.show();
  box(dialog, "Check For Updates When Program Starts")->setChecked(false);
  // Keys the buttons do not take go on to the dialog.
  for (const char* target : {"dialog", "OK", "Cancel"}) {
    QWidget* focus = button(dialog, target);
    for (const Qt::Key key : {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Enter}) {
      QTest::keyClick(focus ? focus : &dialog, key);
      EXPECT_TRUE(dialog.isVisible()) << target << " key " << key;
    }
  }
  EXPECT_TRUE(options.autoCheckForUpdates);
}

TEST_F(SystemOptionsDialogTest, FailedLogonEntryKeepsTheDialogOpenAndTheFlag) {
#ifdef _WIN32
  GTEST_SKIP() << "the logon entry is a value of the user's Run key on Windows, which this "
                  "test cannot make unwritable";
#endif
  const QString blocker = config_.path() + "/file";
  QFile(blocker).open(QIODevice::WriteOnly);
  qputenv("XDG_CONFIG_HOME", blocker.toUtf8());

  SystemOptions options;
  SystemOptionsDialog dialog(options, QStringLiteral("/usr/bin/zrdorvel"));
  dialog.show();
  box(dialog, "Start Automatically With Windows")->setChecked(true);
  box(dialog, "Check For Updates When Program Starts")->setChecked(false);
  box(dialog, "Keep Snoozed Reminders When Program Closes")->setChecked(true);

  QString errorText;
  QTimer::singleShot(0, [&errorText] {
    if (auto* message = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
      errorText = message->windowTitle() + ": " + message->text();
      message->close();
    }
  });
  QTest::mouseClick(button(dialog, "OK"), Qt::LeftButton);

  EXPECT_EQ(errorText, QStringLiteral("ZR Dorvel: Failed to set data for 'ZRDorvelStartUp'"));
  EXPECT_TRUE(dialog.isVisible());
  EXPECT_TRUE(options.autoCheckForUpdates);
  EXPECT_FALSE(options.keepSnoozed);
}

} // namespace
} // namespace zr
