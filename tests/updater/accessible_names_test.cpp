// SPDX-License-Identifier: MIT

#include "support/accessible_names.h"
#include "updater/ask_to_download_dialog.h"
#include "updater/status_window.h"

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

} // namespace
} // namespace zr::test
