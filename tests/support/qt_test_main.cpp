// SPDX-License-Identifier: MIT

#include <QApplication>
#include <gtest/gtest.h>

// Test programs for the Qt layers run without a display unless one is asked for.
// The platform must be chosen before QApplication exists, and gtest must strip its
// own flags first, because QApplication keeps argc by reference.
int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  ::testing::InitGoogleTest(&argc, argv);
  QApplication app(argc, argv);
  return RUN_ALL_TESTS();
}
