// SPDX-License-Identifier: MIT

#include "support/accessible_names.h"
#include "updater/ask_to_download_dialog.h"
#include "updater/status_window.h"

#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace zr::test {
namespace {

// The update dialogs are not reached by the desktop walk over AT-SPI, which runs
// without an update server; their controls are checked here.
TEST(UpdateDialogsAccessibility, EveryFocusableControlHasAName) {
  AskToDownloadDialog ask;
  ask.setHomePage("https://www.example.com/");
  ask.setNotes({"Fixed: a note"});
  EXPECT_EQ(unnamedFocusableControls(ask), QStringList());

  StatusWindow status;
  EXPECT_EQ(unnamedFocusableControls(status), QStringList());
}

// Enter on the opened dialog chooses "Download Updates", not the home page link
// that comes first in the Tab order.
TEST(UpdateDialogsAccessibility, EnterOnTheOpenedDialogDownloads) {
  AskToDownloadDialog ask;
  ask.setHomePage("https://www.example.com/");
  ask.show();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&ask));
  EXPECT_EQ(QApplication::focusWidget(), ask.findChild<QPushButton*>("btnDownload"));
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
  EXPECT_EQ(ask.result(), QDialog::Accepted);
}

} // namespace
} // namespace zr::test
