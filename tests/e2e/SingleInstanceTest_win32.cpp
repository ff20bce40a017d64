// Velkor.exe started as real processes: one copy per logon.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/ChildProcess_win32.h"

namespace {

constexpr const char* kTitle = "Velkor Ver 1.0";
constexpr DWORD kStartTimeoutMs = 15000;
constexpr DWORD kEndTimeoutMs = 10000;

// A started Velkor.exe.
class Process : public velkor::test::ChildProcess {
 public:
  bool Start() { return ChildProcess::Start("Velkor.exe"); }
};

struct WindowSearch {
  std::vector<HWND> titled;  // top-level windows titled kTitle
  DWORD processId = 0;
  int ofProcess = 0;  // visible top-level windows of processId
};

BOOL CALLBACK CollectWindow(HWND hwnd, LPARAM param) {
  auto* search = reinterpret_cast<WindowSearch*>(param);
  char title[128] = {};
  ::GetWindowTextA(hwnd, title, sizeof title);
  if (std::string(title) == kTitle) search->titled.push_back(hwnd);
  DWORD pid = 0;
  ::GetWindowThreadProcessId(hwnd, &pid);
  if (search->processId && pid == search->processId && ::IsWindowVisible(hwnd)) ++search->ofProcess;
  return TRUE;
}

WindowSearch FindWindows(DWORD processId = 0) {
  WindowSearch search;
  search.processId = processId;
  ::EnumWindows(&CollectWindow, reinterpret_cast<LPARAM>(&search));
  return search;
}

HWND WaitForMainWindow() {
  for (DWORD start = ::GetTickCount(); ::GetTickCount() - start < kStartTimeoutMs; ::Sleep(50)) {
    HWND window = ::FindWindowA(nullptr, kTitle);
    if (window && ::IsWindowVisible(window)) return window;
  }
  return nullptr;
}

bool CloseAndWait(HWND window, const Process& process) {
  ::PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
  return process.WaitForExit(kEndTimeoutMs);
}

class SingleInstance : public ::testing::Test {
 protected:
  void SetUp() override {
    // A copy left over from elsewhere would make every answer here wrong.
    ASSERT_EQ(::FindWindowA(nullptr, kTitle), nullptr) << "Velkor is already running";
  }
};

TEST_F(SingleInstance, SecondCopyBringsTheFirstToTheFrontAndEnds) {
  Process first;
  ASSERT_TRUE(first.Start());
  HWND window = WaitForMainWindow();
  ASSERT_NE(window, nullptr);

  Process second;
  ASSERT_TRUE(second.Start());
  ASSERT_TRUE(second.WaitForExit(kEndTimeoutMs));
  EXPECT_EQ(second.ExitCode(), 0u);
  EXPECT_TRUE(first.Running());
  EXPECT_EQ(FindWindows().titled.size(), 1u);
  EXPECT_EQ(::GetForegroundWindow(), window);

  EXPECT_TRUE(CloseAndWait(window, first));
  EXPECT_EQ(first.ExitCode(), 0u);
}

TEST_F(SingleInstance, SecondCopyRestoresAMinimisedWindow) {
  Process first;
  ASSERT_TRUE(first.Start());
  HWND window = WaitForMainWindow();
  ASSERT_NE(window, nullptr);
  ::ShowWindow(window, SW_MINIMIZE);
  for (DWORD start = ::GetTickCount(); !::IsIconic(window) && ::GetTickCount() - start < 3000;) ::Sleep(50);
  ASSERT_TRUE(::IsIconic(window));

  Process second;
  ASSERT_TRUE(second.Start());
  ASSERT_TRUE(second.WaitForExit(kEndTimeoutMs));
  for (DWORD start = ::GetTickCount(); ::IsIconic(window) && ::GetTickCount() - start < 3000;) ::Sleep(50);
  EXPECT_FALSE(::IsIconic(window));
  EXPECT_TRUE(::IsWindowVisible(window));
  EXPECT_TRUE(CloseAndWait(window, first));
}

TEST_F(SingleInstance, SecondCopyBringsAnOpenModalDialogToTheFront) {
  Process first;
  ASSERT_TRUE(first.Start());
  HWND window = WaitForMainWindow();
  ASSERT_NE(window, nullptr);
  ::PostMessageA(window, WM_SYSCOMMAND, 0x10, 0);  // the about box, modal over the main window
  HWND about = nullptr;
  for (DWORD start = ::GetTickCount(); !about && ::GetTickCount() - start < kStartTimeoutMs; ::Sleep(50))
    about = ::FindWindowA(nullptr, "バージョン情報 Velkor");
  ASSERT_NE(about, nullptr);
  ::SetForegroundWindow(::GetDesktopWindow());

  Process second;
  ASSERT_TRUE(second.Start());
  ASSERT_TRUE(second.WaitForExit(kEndTimeoutMs));
  EXPECT_EQ(::GetForegroundWindow(), about);

  ::PostMessageA(about, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  for (DWORD start = ::GetTickCount(); ::IsWindow(about) && ::GetTickCount() - start < 5000;) ::Sleep(50);
  EXPECT_TRUE(CloseAndWait(window, first));
}

TEST_F(SingleInstance, MutexHeldWithoutWindowEndsSilently) {
  // As while a first copy is still starting: the mutex exists, the window not yet.
  HANDLE mutex = ::CreateMutexA(nullptr, FALSE, "Advanced Velkor");
  ASSERT_NE(mutex, nullptr);
  ASSERT_NE(::GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));

  Process copy;
  ASSERT_TRUE(copy.Start());
  bool anyWindow = false;
  for (DWORD start = ::GetTickCount(); copy.Running() && ::GetTickCount() - start < kEndTimeoutMs; ::Sleep(20)) {
    WindowSearch search = FindWindows(copy.Id());
    anyWindow |= !search.titled.empty() || search.ofProcess > 0;
  }
  EXPECT_TRUE(copy.WaitForExit(0));
  EXPECT_EQ(copy.ExitCode(), 0u);
  EXPECT_FALSE(anyWindow) << "no window and no message may appear";
  ::CloseHandle(mutex);
}

TEST_F(SingleInstance, StartingTwiceAtOnceLeavesOneProcessAndOneWindow) {
  Process a;
  Process b;
  ASSERT_TRUE(a.Start());
  ASSERT_TRUE(b.Start());
  HWND window = WaitForMainWindow();
  ASSERT_NE(window, nullptr);
  // Whichever came second ends, with or without having seen the window.
  for (DWORD start = ::GetTickCount(); a.Running() && b.Running() && ::GetTickCount() - start < kEndTimeoutMs;)
    ::Sleep(50);
  ::Sleep(500);
  EXPECT_EQ(static_cast<int>(a.Running()) + static_cast<int>(b.Running()), 1);
  EXPECT_EQ(FindWindows().titled.size(), 1u);
  const Process& survivor = a.Running() ? a : b;
  EXPECT_TRUE(CloseAndWait(window, survivor));
}

}  // namespace
