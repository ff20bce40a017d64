// The poll timer's decision from the two watcher records.

#include <gtest/gtest.h>

#include "rulestore/RegistryWatcher.h"

namespace velkor {
namespace {

constexpr WatchSlotStatus Running(int result = 0) { return WatchSlotStatus{false, result}; }
constexpr WatchSlotStatus Ended(int result) { return WatchSlotStatus{true, result}; }

TEST(WatchTickTest, DecisionTable) {
  struct Case {
    const char* what;
    WatchSlotStatus rules, block;
    WatchTickAction action;
    int slot, messageId;
  } cases[] = {
      {"both watching", Running(), Running(), WatchTickAction::None, 0, 0},
      // A result counts only once the thread has stopped: it is final then.
      {"result before stopped", Running(1), Running(-1), WatchTickAction::None, 0, 0},
      {"rules changed", Ended(1), Running(), WatchTickAction::Reload, 1, 106},
      {"rules failed", Ended(-1), Running(), WatchTickAction::Fatal, 1, 104},
      {"block senders changed", Running(), Ended(1), WatchTickAction::Reload, 2, 106},
      {"block senders failed", Running(), Ended(-1), WatchTickAction::Fatal, 2, 104},
      {"slot 1 decides first", Ended(1), Ended(-1), WatchTickAction::Reload, 1, 106},
      {"slot 1 failure before slot 2 change", Ended(-1), Ended(1), WatchTickAction::Fatal, 1, 104},
      {"slot 1 ended quietly, slot 2 changed", Ended(0), Ended(1), WatchTickAction::Reload, 2, 106},
      {"slot 1 ended quietly, slot 2 watching", Ended(0), Running(), WatchTickAction::Restart, 0, 0},
      {"both ended quietly", Ended(0), Ended(0), WatchTickAction::Restart, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const WatchTickDecision d = DecideWatchTick(c.rules, c.block);
    EXPECT_EQ(c.action, d.action);
    EXPECT_EQ(c.slot, d.slot);
    EXPECT_EQ(c.messageId, d.messageId);
    const bool anyEnded = c.rules.stopped || c.block.stopped;
    EXPECT_EQ(anyEnded, d.stopWatchers);
    EXPECT_EQ(c.action == WatchTickAction::Reload, d.closeDialogs);
    EXPECT_EQ(c.action == WatchTickAction::Reload, d.postReload);
    EXPECT_EQ(c.action == WatchTickAction::Fatal, d.endWindow);
  }
}

}  // namespace
}  // namespace velkor
