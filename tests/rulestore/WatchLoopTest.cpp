// The watcher threads on the memory registry: what counts as a change, the
// polling of a missing key, stop, start and the reuse of a slot after a stop
// that was not acknowledged.

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include "registry/MemoryRegistry.h"
#include "rulestore/RegistryWatcher.h"

namespace velkor {
namespace {

const char kRules[] = "Identities\\{A}\\Software\\Microsoft\\Outlook Express\\5.0\\Rules\\Mail";
const char kBlock[] = "Identities\\{A}\\Software\\Microsoft\\Outlook Express\\5.0\\Block Senders";

// Short waits so the tests run fast; the logic is the same.
WatchTiming FastTiming() {
  WatchTiming t;
  t.pollMs = 10;
  t.startSleepMs = 10;
  t.startBudget = 100;
  t.stopSleepMs = 10;
  t.stopBudget = 50;
  return t;
}

// Starts std::threads and joins them when the test ends.
class JoiningStarter : public ThreadStarter {
 public:
  ~JoiningStarter() override { JoinAll(); }
  bool Start(void (*proc)(void*), void* arg) override {
    if (refuse) return false;
    threads_.emplace_back(proc, arg);
    return true;
  }
  void JoinAll() {
    for (std::thread& t : threads_) t.join();
    threads_.clear();
  }
  bool refuse = false;

 private:
  std::vector<std::thread> threads_;
};

bool WaitFor(const std::function<bool()>& cond, int ms = 2000) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  while (std::chrono::steady_clock::now() < end) {
    if (cond()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  return cond();
}

void CreateKey(MemoryRegistry& reg, const std::string& path) {
  RegKey k(reg);
  ASSERT_EQ(regerr::kSuccess, k.Create(path));
}

// Runs the thread procedure directly on one record.
struct SingleWatcher {
  WatchSlot slot;
  std::thread thread;
  SingleWatcher(RegistryAccess& reg, const std::string& path) {
    slot.SetKeyPath(path);
    thread = std::thread([this, &reg] { RegistryWatcher(slot, reg, FastTiming()); });
  }
  ~SingleWatcher() {
    slot.stopRequest.store(1);
    thread.join();
  }
  bool Watching() { return WaitFor([this] { return slot.state.load() == watchstate::kWatching; }); }
  bool Stopped(int ms = 2000) { return WaitFor([this] { return slot.stopped.load() != 0; }, ms); }
};

struct ChangeCase {
  const char* what;
  std::function<void(MemoryRegistry&)> change;
};

TEST(RegistryWatcherTest, AnyChangeBelowTheKeyEndsWithResultOne) {
  const std::string rules = kRules;
  const ChangeCase cases[] = {
      {"a new rule key", [&](MemoryRegistry& r) { CreateKey(r, rules + "\\003"); }},
      {"a value deep below",
       [&](MemoryRegistry& r) {
         RegKey k(r);
         ASSERT_EQ(regerr::kSuccess, k.Open(rules + "\\000\\Criteria\\000", RegAccess::All));
         k.WriteDword("Flags", 7);
       }},
      {"a value of the key itself",
       [&](MemoryRegistry& r) {
         RegKey k(r);
         ASSERT_EQ(regerr::kSuccess, k.Open(rules, RegAccess::All));
         k.WriteString("Order", "000 001");
       }},
      {"a deleted value",
       [&](MemoryRegistry& r) {
         RegKey k(r);
         ASSERT_EQ(regerr::kSuccess, k.Open(rules + "\\000", RegAccess::All));
         ASSERT_EQ(regerr::kSuccess, k.DeleteValue("Name"));
       }},
      {"another program's write", [&](MemoryRegistry& r) { r.SetRaw(RegRoot::CurrentUser, rules, "Dirty", 4, {1, 0, 0, 0}); }},
      {"the key deleted with its subkeys",
       [&](MemoryRegistry& r) {
         RegKey k(r);
         ASSERT_EQ(regerr::kSuccess, k.Open("Identities\\{A}\\Software\\Microsoft\\Outlook Express\\5.0", RegAccess::All));
         ASSERT_EQ(regerr::kSuccess, k.DeleteKeyTree("Rules"));
       }},
  };
  for (const ChangeCase& c : cases) {
    SCOPED_TRACE(c.what);
    MemoryRegistry reg;
    CreateKey(reg, rules + "\\000\\Criteria\\000");
    reg.SetRaw(RegRoot::CurrentUser, rules + "\\000", "Name", regtype::kSz, {'a', 0});
    SingleWatcher w(reg, rules);
    ASSERT_TRUE(w.Watching());
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    EXPECT_EQ(0, w.slot.result.load());
    c.change(reg);
    ASSERT_TRUE(w.Stopped());
    EXPECT_EQ(watchresult::kChanged, w.slot.result.load());
    EXPECT_EQ(watchstate::kNotRunning, w.slot.state.load());
    EXPECT_EQ(0, reg.OpenHandleCount());
  }
}

TEST(RegistryWatcherTest, DeletedKeyWithoutSubkeysIsSeenByReopening) {
  // The memory registry, like Wine, does not signal the deletion of a watched
  // key that has no subkeys; only the re-open after each wait notices it.
  MemoryRegistry reg;
  CreateKey(reg, kBlock);
  SingleWatcher w(reg, kBlock);
  ASSERT_TRUE(w.Watching());
  RegKey parent(reg);
  ASSERT_EQ(regerr::kSuccess, parent.Open("Identities\\{A}\\Software\\Microsoft\\Outlook Express\\5.0", RegAccess::All));
  ASSERT_EQ(regerr::kSuccess, parent.DeleteKeyTree("Block Senders"));
  ASSERT_TRUE(w.Stopped());
  EXPECT_EQ(watchresult::kChanged, w.slot.result.load());
}

TEST(RegistryWatcherTest, MissingKeyIsPolledUntilItAppears) {
  MemoryRegistry reg;
  reg.StartLog();
  CreateKey(reg, "Identities\\{A}\\Software\\Microsoft\\Outlook Express\\5.0");
  SingleWatcher w(reg, kBlock);
  ASSERT_TRUE(w.Watching());
  std::this_thread::sleep_for(std::chrono::milliseconds(60));
  EXPECT_EQ(0, w.slot.stopped.load());
  EXPECT_EQ(0, w.slot.result.load());
  EXPECT_EQ(0, reg.CountOps(RegOp::Watch));  // no key, so nothing armed
  EXPECT_GE(reg.CountOps(RegOp::Open), 3);   // but looked for repeatedly
  // Something beside it does not count.
  CreateKey(reg, "Identities\\{A}\\Software\\Microsoft\\Outlook Express\\5.0\\Rules");
  std::this_thread::sleep_for(std::chrono::milliseconds(40));
  EXPECT_EQ(0, w.slot.stopped.load());
  CreateKey(reg, kBlock);
  ASSERT_TRUE(w.Stopped());
  EXPECT_EQ(watchresult::kChanged, w.slot.result.load());
  EXPECT_EQ(0, reg.OpenHandleCount());
}

TEST(RegistryWatcherTest, FailuresEndWithMinusOne) {
  {
    SCOPED_TRACE("no key path");
    MemoryRegistry reg;
    SingleWatcher w(reg, "");
    ASSERT_TRUE(w.Stopped());
    EXPECT_EQ(watchresult::kFailed, w.slot.result.load());
  }
  {
    SCOPED_TRACE("notification refused");
    MemoryRegistry reg;
    CreateKey(reg, kRules);
    reg.FailOperation(RegOp::Watch, "Rules");
    SingleWatcher w(reg, kRules);
    ASSERT_TRUE(w.Stopped());
    EXPECT_EQ(watchresult::kFailed, w.slot.result.load());
    EXPECT_EQ(watchstate::kNotRunning, w.slot.state.load());
    EXPECT_EQ(0, reg.OpenHandleCount());
  }
}

TEST(RegistryWatcherTest, StopRequestEndsWithResultUnchanged) {
  MemoryRegistry reg;
  CreateKey(reg, kRules);
  SingleWatcher w(reg, kRules);
  ASSERT_TRUE(w.Watching());
  w.slot.stopRequest.store(1);
  ASSERT_TRUE(w.Stopped(500));
  EXPECT_EQ(watchresult::kNothing, w.slot.result.load());
  EXPECT_EQ(watchstate::kNotRunning, w.slot.state.load());
  EXPECT_EQ(0, reg.OpenHandleCount());
  // Nothing is watched any more.
  CreateKey(reg, std::string(kRules) + "\\000");
  std::this_thread::sleep_for(std::chrono::milliseconds(30));
  EXPECT_EQ(watchresult::kNothing, w.slot.result.load());
}

TEST(WatchSlotTest, KeyPathMustFitWhole) {
  WatchSlot s;
  EXPECT_TRUE(s.SetKeyPath(std::string(511, 'k')));
  EXPECT_EQ(511u, s.KeyPath().size());
  EXPECT_FALSE(s.SetKeyPath(std::string(512, 'k')));
  EXPECT_EQ("", s.KeyPath());
}

// ---- both watchers, as the editor window drives them ----

class WatchersTest : public ::testing::Test {
 protected:
  void SetUp() override {
    CreateKey(reg, kRules);
    CreateKey(reg, "Identities\\{A}\\Software\\Microsoft\\Outlook Express\\5.0");
  }
  void TearDown() override {
    watchers.StopAllWatchers();
    threads.JoinAll();
  }
  MemoryRegistry reg;
  JoiningStarter threads;
  RegistryWatchers watchers{reg, threads, FastTiming()};
};

TEST_F(WatchersTest, StartReportsWatchingOrTheFirstFailedSlot) {
  EXPECT_EQ(0, watchers.StartWatchers(kRules, kBlock));
  EXPECT_EQ(watchstate::kWatching, watchers.Record(1)->state.load());
  EXPECT_EQ(watchstate::kWatching, watchers.Record(2)->state.load());
  EXPECT_EQ(WatchTickAction::None, watchers.Tick().action);
  watchers.StopAllWatchers();

  EXPECT_EQ(2, watchers.StartWatchers(kRules, ""));
  watchers.StopAllWatchers();
  EXPECT_EQ(1, watchers.StartWatchers("", ""));
  watchers.StopAllWatchers();

  threads.refuse = true;
  EXPECT_EQ(1, watchers.StartWatchers(kRules, kBlock));
  EXPECT_TRUE(watchers.Status(1).stopped);
  EXPECT_EQ(watchresult::kFailed, watchers.Status(1).result);
  EXPECT_TRUE(watchers.StopWatcher(1));  // nothing to wait for
}

// Holds threads that have not run their procedure yet.
class HeldStarter : public ThreadStarter {
 public:
  bool Start(void (*proc)(void*), void* arg) override {
    pending.emplace_back(proc, arg);
    return true;
  }
  void RunAll() {
    for (auto& p : pending) threads.emplace_back(p.first, p.second);
    pending.clear();
    for (std::thread& t : threads) t.join();
    threads.clear();
  }
  std::vector<std::pair<void (*)(void*), void*>> pending;
  std::vector<std::thread> threads;
};

TEST(WatchersStartTest, ThreadsThatNeverRunExhaustTheSharedBudget) {
  MemoryRegistry reg;
  CreateKey(reg, kRules);
  CreateKey(reg, kBlock);
  HeldStarter held;
  WatchTiming t = FastTiming();
  t.startBudget = 5;
  RegistryWatchers watchers(reg, held, t);
  const auto begin = std::chrono::steady_clock::now();
  EXPECT_EQ(1, watchers.StartWatchers(kRules, kBlock));
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - begin);
  EXPECT_LT(ms.count(), 500);
  // A stop before the thread ever ran still reaches it: once it runs it ends
  // at once instead of watching unseen.
  watchers.StopWatcher(1);
  watchers.StopWatcher(2);
  held.RunAll();
  EXPECT_EQ(1, watchers.Record(1)->stopped.load());
  EXPECT_EQ(1, watchers.Record(2)->stopped.load());
  EXPECT_EQ(watchresult::kNothing, watchers.Record(1)->result.load());
}

TEST_F(WatchersTest, OutsideChangeOfEitherKeyGivesReloadDecision) {
  struct Case {
    const char* key;
    int slot;
  } cases[] = {{kRules, 1}, {kBlock, 2}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.key);
    ASSERT_EQ(0, watchers.StartWatchers(kRules, kBlock));
    CreateKey(reg, std::string(c.key) + "\\000");  // also creates the missing Block Senders
    WatchTickDecision d;
    ASSERT_TRUE(WaitFor([&] {
      d = watchers.Tick();
      return d.action != WatchTickAction::None;
    }));
    EXPECT_EQ(WatchTickAction::Reload, d.action);
    EXPECT_EQ(c.slot, d.slot);
    EXPECT_EQ(watchui::kRulesChangedMessageId, d.messageId);
    EXPECT_TRUE(d.closeDialogs && d.postReload && d.stopWatchers);
    // Tick has stopped both already.
    EXPECT_TRUE(watchers.Status(1).stopped);
    EXPECT_TRUE(watchers.Status(2).stopped);
  }
}

TEST_F(WatchersTest, OwnWritesWhileStoppedAreNotReported) {
  ASSERT_EQ(0, watchers.StartWatchers(kRules, kBlock));
  watchers.StopAllWatchers();
  EXPECT_TRUE(watchers.Status(1).stopped);
  EXPECT_EQ(watchresult::kNothing, watchers.Status(1).result);
  EXPECT_EQ(watchresult::kNothing, watchers.Status(2).result);

  CreateKey(reg, std::string(kRules) + "\\000");
  CreateKey(reg, kBlock);
  ASSERT_EQ(0, watchers.StartWatchers(kRules, kBlock));
  // Quiet for a window in which, as shown below, each watcher does report an
  // outside change: a watcher that is merely slow cannot pass here.
  constexpr int kWindowMs = 200;
  std::this_thread::sleep_for(std::chrono::milliseconds(kWindowMs));
  EXPECT_EQ(WatchTickAction::None, watchers.Tick().action);
  EXPECT_EQ(watchresult::kNothing, watchers.Status(1).result);
  EXPECT_EQ(watchresult::kNothing, watchers.Status(2).result);

  for (int slot : {1, 2}) {
    SCOPED_TRACE(slot);
    if (slot == 2) {
      ASSERT_EQ(0, watchers.StartWatchers(kRules, kBlock));
    }
    CreateKey(reg, std::string(slot == 1 ? kRules : kBlock) + "\\outside");
    ASSERT_TRUE(WaitFor([&] { return watchers.Status(slot).stopped; }, kWindowMs))
        << "an outside change took longer than the quiet window";
    EXPECT_EQ(watchresult::kChanged, watchers.Status(slot).result);
    watchers.StopAllWatchers();
  }
}

// A registry whose next OpenKey, once armed, hangs the calling thread until
// released: a watcher stuck in a registry call that cannot see its stop.
class HangingRegistry : public MemoryRegistry {
 public:
  using MemoryRegistry::OpenKey;
  long OpenKey(RegRoot root, const std::string& path, RegAccess access, RegHandle* key) override {
    {
      std::unique_lock<std::mutex> lock(m_);
      if (armed_ && (victim_ == std::thread::id() || victim_ == std::this_thread::get_id())) {
        victim_ = std::this_thread::get_id();
        hanging_ = true;
        cv_.wait(lock, [this] { return !armed_; });
      }
    }
    return MemoryRegistry::OpenKey(root, path, access, key);
  }
  void Arm() {
    std::lock_guard<std::mutex> lock(m_);
    armed_ = true;
    victim_ = std::thread::id();
  }
  bool Hanging() {
    std::lock_guard<std::mutex> lock(m_);
    return hanging_;
  }
  void Release() {
    std::lock_guard<std::mutex> lock(m_);
    armed_ = false;
    cv_.notify_all();
  }

 private:
  std::mutex m_;
  std::condition_variable cv_;
  bool armed_ = false;
  bool hanging_ = false;
  std::thread::id victim_;
};

TEST(WatchersRestartTest, LateThreadNeverWritesIntoTheNextStart) {
  HangingRegistry reg;
  CreateKey(reg, kRules);
  CreateKey(reg, kBlock);
  JoiningStarter threads;
  WatchTiming t = FastTiming();
  t.stopBudget = 5;  // abandon the stop after 50 ms
  RegistryWatchers watchers(reg, threads, t);

  ASSERT_EQ(0, watchers.StartWatchers(kRules, kBlock));
  // Only the Block Senders watcher runs into the hang (the first re-open after arming).
  watchers.StopWatcher(1);
  std::shared_ptr<const WatchSlot> old2 = watchers.Record(2);
  reg.Arm();
  ASSERT_TRUE(WaitFor([&] { return reg.Hanging(); }));
  EXPECT_FALSE(watchers.StopWatcher(2));  // abandoned: the thread is still in the registry call
  EXPECT_EQ(0, old2->stopped.load());

  ASSERT_EQ(0, watchers.StartWatchers(kRules, kBlock));
  EXPECT_NE(old2.get(), watchers.Record(2).get());
  EXPECT_EQ(0, watchers.Record(2)->stopRequest.load());

  // The late thread now finishes: it must end only its own record.
  reg.Release();
  ASSERT_TRUE(WaitFor([&] { return old2->stopped.load() != 0; }));
  std::this_thread::sleep_for(std::chrono::milliseconds(30));
  EXPECT_EQ(watchstate::kWatching, watchers.Record(2)->state.load());
  EXPECT_FALSE(watchers.Status(2).stopped);
  EXPECT_EQ(WatchTickAction::None, watchers.Tick().action);

  // And the new watcher still reports.
  CreateKey(reg, std::string(kBlock) + "\\x");
  WatchTickDecision d;
  ASSERT_TRUE(WaitFor([&] {
    d = watchers.Tick();
    return d.action != WatchTickAction::None;
  }));
  EXPECT_EQ(WatchTickAction::Reload, d.action);
  EXPECT_EQ(2, d.slot);
  threads.JoinAll();
}

}  // namespace
}  // namespace velkor
