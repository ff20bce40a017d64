// The Outlook Express presence check against real processes: copies of the
// test msimn.exe under various names, with and without its windows.

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "rulestore/OutlookExpressRunningCheck_win32.h"

namespace velkor {
namespace {

std::string ProgramDir() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string p(path);
  return p.substr(0, p.find_last_of("\\/"));
}

std::string ScratchDir() {
  char tmp[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, tmp);
  std::string dir = std::string(tmp) + "velkor-presence-" + std::to_string(GetCurrentProcessId());
  CreateDirectoryA(dir.c_str(), nullptr);
  return dir;
}

// One running copy of the test program under a chosen file name.
class FakeOutlook {
 public:
  FakeOutlook(const std::string& exeName, const std::string& args) {
    const std::string tag = std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++counter_);
    const std::string readyName = "VelkorFakeMsimnReady-" + tag;
    const std::string quitName = "VelkorFakeMsimnQuit-" + tag;
    ready_ = CreateEventA(nullptr, TRUE, FALSE, readyName.c_str());
    quit_ = CreateEventA(nullptr, TRUE, FALSE, quitName.c_str());
    // A folder per copy: several copies of one name may run at once.
    dir_ = ScratchDir() + "\\" + tag;
    CreateDirectoryA(dir_.c_str(), nullptr);
    exe_ = dir_ + "\\" + exeName;
    if (!CopyFileA((ProgramDir() + "\\msimn.exe").c_str(), exe_.c_str(), FALSE)) return;
    std::string cmd = "\"" + exe_ + "\" " + args + " /ready:" + readyName + " /quit:" + quitName + " /timeout:60000";
    std::vector<char> buf(cmd.begin(), cmd.end());
    buf.push_back('\0');
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    if (!CreateProcessA(exe_.c_str(), buf.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi_)) return;
    started_ = WaitForSingleObject(ready_, 15000) == WAIT_OBJECT_0;
  }
  ~FakeOutlook() {
    if (pi_.hProcess) {
      SetEvent(quit_);
      if (WaitForSingleObject(pi_.hProcess, 10000) != WAIT_OBJECT_0) TerminateProcess(pi_.hProcess, 1);
      WaitForSingleObject(pi_.hProcess, 5000);
      CloseHandle(pi_.hProcess);
      CloseHandle(pi_.hThread);
    }
    CloseHandle(ready_);
    CloseHandle(quit_);
    DeleteFileA(exe_.c_str());
    RemoveDirectoryA(dir_.c_str());
  }
  FakeOutlook(const FakeOutlook&) = delete;
  FakeOutlook& operator=(const FakeOutlook&) = delete;

  bool Started() const { return started_; }
  DWORD ProcessId() const { return pi_.dwProcessId; }

 private:
  static int counter_;
  HANDLE ready_ = nullptr;
  HANDLE quit_ = nullptr;
  std::string dir_;
  std::string exe_;
  PROCESS_INFORMATION pi_ = {};
  bool started_ = false;
};
int FakeOutlook::counter_ = 0;

std::string ClassOf(HWND hwnd) {
  char cls[128] = {};
  GetClassNameA(hwnd, cls, sizeof cls);
  return cls;
}

DWORD ProcessOf(HWND hwnd) {
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  return pid;
}

TEST(PresenceTest, NothingRunning) {
  const OutlookExpressPresence p = OutlookExpressRunningCheck();
  EXPECT_FALSE(p.running);
  EXPECT_EQ(nullptr, p.window);
  EXPECT_FALSE(OutlookExpressProcessRunning());
}

TEST(PresenceTest, ProcessNamesAndWindows) {
  struct Case {
    const char* exe;
    const char* args;
    bool running;
    const char* windowClass;  // null: no window expected
  } cases[] = {
      {"msimn.exe", "/window", true, "Outlook Express Browser Class"},
      {"MSIMN.EXE", "", true, nullptr},
      {"Old-MsImn.exe", "/class:ATH_Note", true, "ATH_Note"},
      {"msimn.exe", "/class:WABBrowseView", true, "WABBrowseView"},
      {"msimn.exe", "/class:VelkorTestFind /title:メッセージの検索", true, "VelkorTestFind"},
      // A window of another title or class does not count.
      {"msimn.exe", "/class:VelkorTestOther /title:受信トレイ", true, nullptr},
      // A look-alike name is not Outlook Express, whatever windows it has.
      {"msimn2.exe", "/window", false, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.exe) + " " + c.args);
    FakeOutlook oe(c.exe, c.args);
    ASSERT_TRUE(oe.Started());
    const OutlookExpressPresence p = OutlookExpressRunningCheck();
    EXPECT_EQ(c.running, p.running);
    EXPECT_EQ(c.running, OutlookExpressProcessRunning());
    if (c.windowClass) {
      ASSERT_NE(nullptr, p.window);
      EXPECT_EQ(c.windowClass, ClassOf(p.window));
      EXPECT_EQ(oe.ProcessId(), ProcessOf(p.window));
    } else {
      EXPECT_EQ(nullptr, p.window);
    }
  }
  // Every copy has ended again.
  EXPECT_FALSE(OutlookExpressRunningCheck().running);
}

TEST(PresenceTest, MainWindowIsPreferredOverOthers) {
  FakeOutlook note("msimn.exe", "/class:ATH_Note");
  FakeOutlook search("msimn.exe", "/class:VelkorTestFind /title:メッセージの検索");
  FakeOutlook main("msimn.exe", "/window");
  ASSERT_TRUE(note.Started() && search.Started() && main.Started());
  OutlookExpressPresence p = OutlookExpressRunningCheck();
  ASSERT_TRUE(p.running);
  EXPECT_EQ(main.ProcessId(), ProcessOf(p.window));
}

TEST(PresenceTest, MessageWindowBeforeFindWindow) {
  FakeOutlook search("msimn.exe", "/class:VelkorTestFind /title:メッセージの検索");
  FakeOutlook note("msimn.exe", "/class:ATH_Note");
  ASSERT_TRUE(note.Started() && search.Started());
  OutlookExpressPresence p = OutlookExpressRunningCheck();
  ASSERT_TRUE(p.running);
  EXPECT_EQ(note.ProcessId(), ProcessOf(p.window));
}

}  // namespace
}  // namespace velkor
