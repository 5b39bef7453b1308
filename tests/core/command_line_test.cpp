// SPDX-License-Identifier: MIT

#include "core/command_line.h"

#include <gtest/gtest.h>

namespace zr {
namespace {

TEST(CommandLineTest, StartupSwitch) {
  struct Case {
    std::vector<std::string> arguments;
    bool found;
  };
  const Case cases[] = {
      {{"-startup"}, true},
      {{"/STARTUP"}, true},
      {{"-Startup:yes"}, true},
      {{"/startup=1"}, true},
      {{"-foo", "-startup"}, true},
      {{"-startup", "-foo"}, true},
      {{"-startups", "/startup"}, true},
      {{}, false},
      {{"startup"}, false},
      {{"--startup"}, false},
      {{"-startups"}, false},
      {{"-xstartup"}, false},
      {{"-start"}, false},
      {{"-startup-now"}, false},
      {{""}, false},
      {{"-"}, false},
  };
  for (const Case& c : cases) {
    std::string shown;
    for (const std::string& argument : c.arguments)
      shown += argument + " ";
    EXPECT_EQ(hasCommandLineSwitch(c.arguments, "startup"), c.found) << shown;
  }
}

TEST(CommandLineTest, SwitchMustFirstOccurRightAfterThePrefix) {
  // "--" occurs right after the prefix of "---", but first at its very start.
  EXPECT_FALSE(hasCommandLineSwitch({"---"}, "--"));
  EXPECT_TRUE(hasCommandLineSwitch({"/--"}, "--"));
  EXPECT_FALSE(hasCommandLineSwitch({"-startup"}, ""));
}

} // namespace
} // namespace zr
