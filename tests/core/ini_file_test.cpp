// SPDX-License-Identifier: MIT

#include "core/error.h"
#include "core/file_io.h"
#include "core/ini_file.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <optional>
#include <sys/stat.h>
#include <tuple>
#include <unistd.h>

namespace zr {
namespace {

namespace fs = std::filesystem;

class IniFileTest : public ::testing::Test {
protected:
  void SetUp() override {
    folder_ = fs::temp_directory_path() /
              ("ini_file_test_" + std::to_string(::getpid()) + "_" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(folder_);
    fs::create_directories(folder_);
    path_ = (folder_ / "ZRDorvel.ini").string();
  }
  void TearDown() override { fs::remove_all(folder_); }

  void writeFile(const std::string& data) const { std::ofstream(path_, std::ios::binary) << data; }
  std::string readFile() const {
    std::ifstream in(path_, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }

  fs::path folder_;
  std::string path_;
};

TEST_F(IniFileTest, MissingFileGivesTheDefaults) {
  const IniFile ini(path_);
  EXPECT_TRUE(ini.readBool("System", "AutoCheckForUpdates", true));
  EXPECT_FALSE(ini.readBool("System", "AutoCheckForUpdates", false));
  EXPECT_FALSE(fs::exists(path_));
}

TEST_F(IniFileTest, ValuesReadAsIntegersWithZeroFalse) {
  struct Case {
    std::string value;
    std::optional<bool> expected; // nothing: the default
  };
  const Case cases[] = {
      {"0", false},     {"1", true},    {"2", true},    {"-1", true},  {"0x10", true},
      {"$10", true},    {"0X0", false}, {"$00", false}, {"-0", false}, {"  0  ", false},
      {"\"0\"", false}, {"0xff", true}, {"no", {}},     {"false", {}}, {"", {}},
      {"0x", {}},       {"$", {}},      {"1a", {}},     {"12 3", {}},  {"0x1g", {}},
      {"1.0", {}},      {"--1", {}},    {"ff", {}},
  };
  for (const auto& c : cases) {
    writeFile("[System]\r\nOnCloseMessage=" + c.value + "\r\n");
    const IniFile ini(path_);
    EXPECT_EQ(ini.readBool("System", "OnCloseMessage", true), c.expected.value_or(true))
        << "value '" << c.value << "'";
    EXPECT_EQ(ini.readBool("System", "OnCloseMessage", false), c.expected.value_or(false))
        << "value '" << c.value << "'";
  }
}

TEST_F(IniFileTest, NamesMatchWithoutRegardToCaseAndTheFirstOneCounts) {
  writeFile("[other]\nOnCloseMessage=0\n"
            "[ system ]\n onclosemessage = 0 \nONCLOSEMESSAGE=1\n"
            "[SYSTEM]\nOnMinimizeMessage=0\n");
  const IniFile ini(path_);
  EXPECT_FALSE(ini.readBool("System", "OnCloseMessage", true));
  EXPECT_TRUE(ini.readBool("System", "OnMinimizeMessage", true)); // only in a later duplicate
}

TEST_F(IniFileTest, NewFileGetsTheSectionAndKeysWithCrLf) {
  IniFile ini(path_);
  ini.writeBool("System", "AutoCheckForUpdates", true);
  ini.writeBool("System", "OnCloseMessage", false);
  ini.writeBool("System", "OnMinimizeMessage", true);
  ini.save();
  EXPECT_EQ(readFile(), "[System]\r\nAutoCheckForUpdates=1\r\nOnCloseMessage=0\r\n"
                        "OnMinimizeMessage=1\r\n");
}

TEST_F(IniFileTest, WriteChangesOnlyTheValueAndKeepsEverythingElse) {
  writeFile("; settings\r\n"
            "[Window]\r\nLeft=10\r\n\r\n"
            "[system]\r\n"
            "; comment inside\r\n"
            "onCloseMessage = 1   \r\n"
            "Other=x\n"
            "\r\n"
            "[Last]\r\nA=1");
  ::chmod(path_.c_str(), 0640);

  IniFile ini(path_);
  ini.writeBool("System", "OnCloseMessage", false);
  ini.writeBool("SYSTEM", "AutoCheckForUpdates", true);
  ini.writeBool("Last", "B", false);
  ini.writeBool("New", "C", true);
  ini.save();

  EXPECT_EQ(readFile(), "; settings\r\n"
                        "[Window]\r\nLeft=10\r\n\r\n"
                        "[system]\r\n"
                        "; comment inside\r\n"
                        "onCloseMessage =0\r\n"
                        "Other=x\n"
                        "AutoCheckForUpdates=1\r\n"
                        "\r\n"
                        "[Last]\r\nA=1\r\nB=0\r\n"
                        "[New]\r\nC=1\r\n");
  struct stat status {};
  ASSERT_EQ(::stat(path_.c_str(), &status), 0);
  EXPECT_EQ(status.st_mode & 07777, 0640u);
  EXPECT_EQ(std::distance(fs::directory_iterator(folder_), fs::directory_iterator()), 1);
}

// Tests run as root, for whom permission bits refuse nothing; a folder path that runs
// through a regular file, or a folder standing where the file should be, fails for
// every user.
TEST_F(IniFileTest, RefusedWriteNamesTheFullPathAndLeavesNoTemporaryFile) {
  writeFile("[System]\r\n");
  const std::string throughFile = path_ + "/ZRDorvel.ini";
  const std::string overFolder = (folder_ / "folder.ini").string();
  IniFile through(throughFile); // nothing there: reads as empty
  IniFile over(overFolder);
  fs::create_directory(overFolder);

  const std::tuple<IniFile*, std::string, std::string> cases[] = {
      {&through, throughFile, "Invalid filename"},
      {&over, overFolder, "it is a folder, not a file"}};
  for (const auto& [ini, target, reason] : cases) {
    ini->writeBool("System", "OnCloseMessage", false);
    try {
      ini->save();
      ADD_FAILURE() << "no error for " << target;
    } catch (const Error& error) {
      EXPECT_EQ(std::string(error.what()), "Unable to write to " + target + ": " + reason);
    }
  }
  EXPECT_EQ(std::distance(fs::directory_iterator(folder_), fs::directory_iterator()), 2);
  EXPECT_TRUE(fs::is_empty(overFolder));
}

// A file that is there but cannot be read is no empty file: it is refused, so that
// nothing is written over it.
TEST_F(IniFileTest, FileThatCannotBeReadIsRefused) {
  fs::create_directory(path_);
  try {
    const IniFile ini(path_);
    ADD_FAILURE() << "no error";
  } catch (const UnreadableFileError& error) {
    EXPECT_EQ(std::string(error.what()),
              "Unable to read " + path_ + ": it is a folder, not a file");
  }
}

TEST_F(IniFileTest, WritesThroughASymbolicLink) {
  const fs::path target = folder_ / "elsewhere.ini";
  { std::ofstream(target, std::ios::binary) << "[System]\r\nOnCloseMessage=1\r\n"; }
  fs::create_symlink(target, path_);
  IniFile ini(path_);
  ini.writeBool("System", "OnCloseMessage", false);
  ini.save();
  EXPECT_TRUE(fs::is_symlink(path_));
  EXPECT_EQ(readFile(), "[System]\r\nOnCloseMessage=0\r\n");
}

} // namespace
} // namespace zr
