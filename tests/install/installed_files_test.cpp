// SPDX-License-Identifier: MIT

#include "platform/installed_files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct Layout {
  const char* label;
  bool besideProgram;
  bool inShare;
  const char* expected; // relative to the prefix
};

class FindInstalledFile : public ::testing::TestWithParam<Layout> {};

void touch(const QString& path) {
  ASSERT_TRUE(QDir().mkpath(QFileInfo(path).path()));
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
}

TEST_P(FindInstalledFile, PrefersTheProgramFolderThenTheSharedDataFolder) {
  const Layout layout = GetParam();
  QTemporaryDir prefix;
  ASSERT_TRUE(prefix.isValid());
  const QString bin = prefix.filePath("bin");
  ASSERT_TRUE(QDir().mkpath(bin));
  if (layout.besideProgram)
    touch(prefix.filePath("bin/Help.html"));
  if (layout.inShare)
    touch(prefix.filePath("share/zrdorvel/Help.html"));

  const QString expected = prefix.filePath(layout.expected);
  EXPECT_EQ(zr::findInstalledFile(bin, "Help.html").toStdString(), expected.toStdString());
  EXPECT_EQ(zr::findInstalledFile(bin + '/', "Help.html").toStdString(), expected.toStdString());
}

INSTANTIATE_TEST_SUITE_P(Layouts, FindInstalledFile,
                         ::testing::Values(Layout{"BuildFolder", true, false, "bin/Help.html"},
                                           Layout{"Installed", false, true,
                                                  "share/zrdorvel/Help.html"},
                                           Layout{"Both", true, true, "bin/Help.html"},
                                           Layout{"Missing", false, false, "bin/Help.html"}),
                         [](const auto& info) { return std::string(info.param.label); });

TEST(FindInstalledFileFolders, ADirectoryOfThatNameIsNoFile) {
  QTemporaryDir prefix;
  ASSERT_TRUE(prefix.isValid());
  ASSERT_TRUE(QDir().mkpath(prefix.filePath("bin/Help.html")));
  touch(prefix.filePath("share/zrdorvel/Help.html"));
  EXPECT_EQ(zr::findInstalledFile(prefix.filePath("bin"), "Help.html").toStdString(),
            prefix.filePath("share/zrdorvel/Help.html").toStdString());
}

} // namespace
