// The watcher threads on the real registry, with another process (reg.exe)
// making the changes, as Outlook Express or the sync utility would.

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "rulestore/RegistryWatcher_win32.h"
#include "registry/Win32Registry.h"

namespace velkor {
namespace {

// Runs reg.exe with the arguments and waits for it; true when it succeeded.
bool RunReg(const std::string& args) {
  std::string cmd = "reg.exe " + args;
  std::vector<char> buf(cmd.begin(), cmd.end());
  buf.push_back('\0');
  STARTUPINFOA si = {};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi = {};
  if (!CreateProcessA(nullptr, buf.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr, &si, &pi))
    return false;
  DWORD code = 1;
  if (WaitForSingleObject(pi.hProcess, 20000) == WAIT_OBJECT_0) GetExitCodeProcess(pi.hProcess, &code);
  CloseHandle(pi.hProcess);
  CloseHandle(pi.hThread);
  return code == 0;
}

// Milliseconds until the slot has stopped, or -1 when it did not within `limit`.
long MsUntilStopped(RegistryWatchers& w, int slot, DWORD limit) {
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < limit) {
    if (w.Status(slot).stopped) return static_cast<long>(GetTickCount() - start);
    Sleep(5);
  }
  return w.Status(slot).stopped ? static_cast<long>(limit) : -1;
}

class WatchWin32Test : public ::testing::Test {
 protected:
  void SetUp() override {
    base = "Software\\VelkorTest\\Watch" + std::to_string(GetCurrentProcessId()) +
           "\\Identities\\{B}\\Software\\Microsoft\\Outlook Express\\5.0";
    rules = base + "\\Rules\\Mail";
    block = base + "\\Block Senders";
    RegKey k(reg);
    ASSERT_EQ(regerr::kSuccess, k.Create(rules + "\\000"));
  }
  void TearDown() override {
    watchers.StopAllWatchers();
    RegKey k(reg);
    if (k.Open("Software\\VelkorTest", RegAccess::All) == regerr::kSuccess)
      k.DeleteKeyTree("Watch" + std::to_string(GetCurrentProcessId()));
  }
  std::string Hkcu(const std::string& path) { return "\"HKCU\\" + path + "\""; }

  Win32Registry reg;
  Win32ThreadStarter threads;
  RegistryWatchers watchers{reg, threads};
  std::string base, rules, block;
};

TEST_F(WatchWin32Test, NewRuleKeyFromAnotherProcess) {
  ASSERT_EQ(0, watchers.StartWatchers(rules, block));
  Sleep(150);
  EXPECT_FALSE(watchers.Status(1).stopped);
  ASSERT_TRUE(RunReg("add " + Hkcu(rules + "\\001") + " /f"));
  const long ms = MsUntilStopped(watchers, 1, 1000);
  ASSERT_GE(ms, 0) << "no change seen within a second";
  EXPECT_EQ(watchresult::kChanged, watchers.Status(1).result);
  const WatchTickDecision d = watchers.Tick();
  EXPECT_EQ(WatchTickAction::Reload, d.action);
  EXPECT_EQ(1, d.slot);
  EXPECT_TRUE(watchers.Status(2).stopped);  // the tick stopped the other one
  EXPECT_EQ(watchresult::kNothing, watchers.Status(2).result);
}

TEST_F(WatchWin32Test, DeletedWatchedKeyFromAnotherProcess) {
  struct Case {
    const char* what;
    bool withSubkey;
  } cases[] = {{"with a rule below", true}, {"empty", false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    RegKey k(reg);
    ASSERT_EQ(regerr::kSuccess, k.Create(rules));
    if (!c.withSubkey) k.DeleteKeyTree("000");
    k.Close();
    ASSERT_EQ(0, watchers.StartWatchers(rules, block));
    ASSERT_TRUE(RunReg("delete " + Hkcu(rules) + " /f"));
    ASSERT_GE(MsUntilStopped(watchers, 1, 1000), 0);
    EXPECT_EQ(watchresult::kChanged, watchers.Status(1).result);
    watchers.StopAllWatchers();
  }
}

TEST_F(WatchWin32Test, MissingBlockSendersIsPolledUntilCreated) {
  ASSERT_EQ(0, watchers.StartWatchers(rules, block));
  EXPECT_EQ(watchstate::kWatching, watchers.Record(2)->state.load());
  Sleep(300);
  EXPECT_FALSE(watchers.Status(2).stopped);
  ASSERT_TRUE(RunReg("add " + Hkcu(block) + " /f"));
  ASSERT_GE(MsUntilStopped(watchers, 2, 1000), 0);
  EXPECT_EQ(watchresult::kChanged, watchers.Status(2).result);
  const WatchTickDecision d = watchers.Tick();
  EXPECT_EQ(WatchTickAction::Reload, d.action);
  EXPECT_EQ(2, d.slot);
  EXPECT_EQ(watchui::kRulesChangedMessageId, d.messageId);
}

TEST_F(WatchWin32Test, StopEndsTheThreadsAndOwnWritesStayUnreported) {
  ASSERT_EQ(0, watchers.StartWatchers(rules, block));
  const DWORD start = GetTickCount();
  watchers.StopAllWatchers();
  EXPECT_LT(GetTickCount() - start, 1000u);
  for (int slot = 1; slot <= 2; ++slot) {
    SCOPED_TRACE(slot);
    EXPECT_TRUE(watchers.Status(slot).stopped);
    EXPECT_EQ(watchresult::kNothing, watchers.Status(slot).result);
    EXPECT_EQ(watchstate::kNotRunning, watchers.Record(slot)->state.load());
  }

  // The program's own save, while the watchers are stopped.
  {
    RegKey k(reg);
    ASSERT_EQ(regerr::kSuccess, k.Create(rules + "\\002"));
    k.WriteString("Name", "保存したルール");
    RegKey b(reg);
    ASSERT_EQ(regerr::kSuccess, b.Create(block + "\\000"));
  }
  Sleep(100);
  EXPECT_EQ(watchresult::kNothing, watchers.Status(1).result);
  ASSERT_EQ(0, watchers.StartWatchers(rules, block));
  // Quiet for a window in which, as shown below, each watcher does report an
  // outside change: a watcher that is merely slow cannot pass here.
  const DWORD kWindowMs = 800;
  Sleep(kWindowMs);
  EXPECT_EQ(WatchTickAction::None, watchers.Tick().action);
  EXPECT_EQ(watchresult::kNothing, watchers.Status(1).result);
  EXPECT_EQ(watchresult::kNothing, watchers.Status(2).result);

  struct Case {
    int slot;
    std::string change;
  } cases[] = {{1, "add " + Hkcu(rules + "\\002") + " /v Name /d outside /f"},
               {2, "add " + Hkcu(block + "\\000") + " /v Sender /d spam@example.jp /f"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.slot);
    if (c.slot == 2) {
      ASSERT_EQ(0, watchers.StartWatchers(rules, block));
    }
    ASSERT_TRUE(RunReg(c.change));
    ASSERT_GE(MsUntilStopped(watchers, c.slot, kWindowMs), 0) << "an outside change took longer than the quiet window";
    EXPECT_EQ(watchresult::kChanged, watchers.Status(c.slot).result);
    watchers.StopAllWatchers();
  }
}

TEST_F(WatchWin32Test, ProcessWatchersStopAll) {
  RegistryWatchers& w = ProcessWatchers();
  EXPECT_EQ(&w, &ProcessWatchers());
  ASSERT_EQ(0, w.StartWatchers(rules, block));
  StopAllWatchers();
  EXPECT_TRUE(w.Status(1).stopped);
  EXPECT_TRUE(w.Status(2).stopped);
  EXPECT_EQ(watchresult::kNothing, w.Status(1).result);
}

}  // namespace
}  // namespace velkor
