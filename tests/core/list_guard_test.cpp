// SPDX-License-Identifier: MIT

#include "core/error.h"
#include "core/list_guard.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace zr::test {
namespace {

// A guard that records what ran and what was reported, in order.
class ListGuardTest : public ::testing::Test {
protected:
  std::vector<std::string> events;
  ListGuard guard{[this](const std::exception& error) {
    events.push_back(std::string("reported ") + error.what());
  }};

  ListGuard::Work record(const std::string& name) {
    return [this, name] { events.push_back(name); };
  }
};

TEST_F(ListGuardTest, WorkOnAFreeListRunsAtOnceHoldingTheList) {
  ListGuard::State during = ListGuard::State::Free;
  guard.change([&] { during = guard.state(); });
  EXPECT_EQ(during, ListGuard::State::Busy);
  EXPECT_EQ(guard.state(), ListGuard::State::Free);
  EXPECT_TRUE(guard.passIfFree([&] { during = guard.state(); }));
  EXPECT_EQ(during, ListGuard::State::Busy);
  EXPECT_EQ(guard.state(), ListGuard::State::Free);
}

// What asks while the list is held comes from an event loop inside the holder:
// a pass is skipped, changes run in order as soon as the holder lets go.
TEST_F(ListGuardTest, RequestsDuringAHolderWaitForItWithoutBlocking) {
  guard.passIfFree([&] {
    events.push_back("pass begins");
    EXPECT_FALSE(guard.passIfFree(record("second pass")));
    guard.change(record("first change"));
    guard.change([&] {
      events.push_back("second change");
      guard.change(record("change asked by a queued change"));
    });
    events.push_back("pass ends");
  });
  EXPECT_EQ(events, (std::vector<std::string>{"pass begins", "pass ends", "first change",
                                              "second change", "change asked by a queued change"}));
  EXPECT_EQ(guard.state(), ListGuard::State::Free);
}

TEST_F(ListGuardTest, ACloseDuringAHolderRunsAfterItAndDropsWhatCameLater) {
  guard.change([&] {
    guard.change(record("change before the close"));
    guard.close([&] {
      events.push_back("close");
      EXPECT_TRUE(guard.isClosed());
    });
    guard.close(record("second close"));
    guard.change(record("change after the close"));
    events.push_back("holder ends");
  });
  EXPECT_EQ(events, (std::vector<std::string>{"holder ends", "change before the close", "close"}));
  EXPECT_TRUE(guard.isClosed());
}

// Nothing waits for a closed list: not the close's own message boxes, not a
// command whose dialog was open when the program shut down.
TEST_F(ListGuardTest, EveryRequestOnAClosedListReturnsAtOnce) {
  guard.close([&] {
    events.push_back("close");
    guard.change(record("change during the close"));
    EXPECT_FALSE(guard.passIfFree(record("pass during the close")));
  });
  guard.change(record("change after the close"));
  EXPECT_FALSE(guard.passIfFree(record("pass after the close")));
  guard.close(record("second close"));
  EXPECT_EQ(events, std::vector<std::string>{"close"});
}

TEST_F(ListGuardTest, ErrorsReachTheCallerOrTheReporterWithTheListFreeAgain) {
  EXPECT_THROW(guard.change([] { throw Error("disk full"); }), Error);
  EXPECT_EQ(guard.state(), ListGuard::State::Free);

  EXPECT_THROW(guard.passIfFree([&] {
    guard.change([&] {
      events.push_back("queued change");
      throw Error("queued failed");
    });
    guard.change(record("next queued change"));
    throw Error("pass failed");
  }),
               Error);
  EXPECT_EQ(events, (std::vector<std::string>{"queued change", "next queued change",
                                              "reported queued failed"}));
  EXPECT_EQ(guard.state(), ListGuard::State::Free);
}

} // namespace
} // namespace zr::test
