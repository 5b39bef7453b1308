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
#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace zr {
namespace {

QByteArray fileBytes(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST(SettingsTest, MissingFileReadsAllTrueAndWritesThreeKeysInOrder) {
  QTemporaryDir folder;
  const QString path = folder.path() + "/ZRDorvel.ini";
  const Settings defaults = readSettings(path);
  EXPECT_TRUE(defaults.autoCheckForUpdates);
  EXPECT_TRUE(defaults.onCloseMessage);
  EXPECT_TRUE(defaults.onMinimizeMessage);

  writeSettings(path, {true, false, true});
  EXPECT_EQ(fileBytes(path),
            "[System]\r\nAutoCheckForUpdates=1\r\nOnCloseMessage=0\r\nOnMinimizeMessage=1\r\n");
  const Settings read = readSettings(path);
  EXPECT_TRUE(read.autoCheckForUpdates);
  EXPECT_FALSE(read.onCloseMessage);
  EXPECT_TRUE(read.onMinimizeMessage);
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
    EXPECT_EQ(QString::fromStdString(error.what()),
              "Unable to write to " + path + ": Invalid filename");
  }
}

class SystemOptionsDialogTest : public ::testing::Test {
protected:
  void SetUp() override {
    savedConfigHome_ = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", config_.path().toUtf8());
  }
  void TearDown() override { qputenv("XDG_CONFIG_HOME", savedConfigHome_); }

  QCheckBox* box(QDialog& dialog, const char* caption) {
    for (auto* box : dialog.findChildren<QCheckBox*>())
      if (box->text() == QLatin1String(caption))
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
    setStartingAtLogon(false, QString());
    bool autoCheck = true;
    SystemOptionsDialog dialog(autoCheck, QStringLiteral("/usr/bin/zrdorvel"));
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("System Options"));
    EXPECT_EQ(dialog.size(), QSize(275, 114));
    ASSERT_NE(box(dialog, "Start Automatically With Windows"), nullptr);
    ASSERT_NE(box(dialog, "Check For Updates When Program Starts"), nullptr);
    EXPECT_FALSE(box(dialog, "Start Automatically With Windows")->isChecked());
    EXPECT_TRUE(box(dialog, "Check For Updates When Program Starts")->isChecked());

    dialog.show();
    box(dialog, "Start Automatically With Windows")->setChecked(true);
    box(dialog, "Check For Updates When Program Starts")->setChecked(false);
    if (c.closeWith)
      QTest::mouseClick(button(dialog, c.closeWith), Qt::LeftButton);
    else
      dialog.close();

    EXPECT_FALSE(dialog.isVisible()) << (c.closeWith ? c.closeWith : "close box");
    EXPECT_EQ(isStartingAtLogon(), c.applied) << (c.closeWith ? c.closeWith : "close box");
    EXPECT_EQ(autoCheck, !c.applied) << (c.closeWith ? c.closeWith : "close box");
  }
}

TEST_F(SystemOptionsDialogTest, NeitherEnterNorEscapeClosesIt) {
  bool autoCheck = true;
  SystemOptionsDialog dialog(autoCheck, QStringLiteral("/usr/bin/zrdorvel"));
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
  EXPECT_TRUE(autoCheck);
}

TEST_F(SystemOptionsDialogTest, FailedLogonEntryKeepsTheDialogOpenAndTheFlag) {
  const QString blocker = config_.path() + "/file";
  QFile(blocker).open(QIODevice::WriteOnly);
  qputenv("XDG_CONFIG_HOME", blocker.toUtf8());

  bool autoCheck = true;
  SystemOptionsDialog dialog(autoCheck, QStringLiteral("/usr/bin/zrdorvel"));
  dialog.show();
  box(dialog, "Start Automatically With Windows")->setChecked(true);
  box(dialog, "Check For Updates When Program Starts")->setChecked(false);

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
  EXPECT_TRUE(autoCheck);
}

} // namespace
} // namespace zr
