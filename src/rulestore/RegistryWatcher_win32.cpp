#include "rulestore/RegistryWatcher_win32.h"

#include <vector>

#include "registry/Win32Registry.h"

namespace velkor {

namespace {

struct ThreadStart {
  void (*proc)(void*);
  void* arg;
};

DWORD WINAPI ThreadEntry(LPVOID param) {
  ThreadStart start = *static_cast<ThreadStart*>(param);
  delete static_cast<ThreadStart*>(param);
  start.proc(start.arg);
  return 0;
}

bool IsDialog(HWND hwnd) {
  char cls[16] = {};
  return GetClassNameA(hwnd, cls, sizeof cls) > 0 && lstrcmpA(cls, "#32770") == 0;
}

bool IsOwnedBy(HWND hwnd, HWND editor) {
  for (HWND owner = GetWindow(hwnd, GW_OWNER); owner; owner = GetWindow(owner, GW_OWNER)) {
    if (owner == editor) return true;
  }
  return false;
}

BOOL CALLBACK CollectWindow(HWND hwnd, LPARAM param) {
  reinterpret_cast<std::vector<HWND>*>(param)->push_back(hwnd);
  return TRUE;
}

}  // namespace

bool Win32ThreadStarter::Start(void (*proc)(void*), void* arg) {
  ThreadStart* start = new ThreadStart{proc, arg};
  DWORD id = 0;
  HANDLE thread = CreateThread(nullptr, 0, &ThreadEntry, start, 0, &id);
  if (!thread) {
    delete start;
    return false;
  }
  CloseHandle(thread);
  return true;
}

RegistryWatchers& ProcessWatchers() {
  // Never destroyed: a watcher that did not answer its stop may still use the
  // registry object while the process ends.
  static Win32Registry* registry = new Win32Registry;
  static Win32ThreadStarter* threads = new Win32ThreadStarter;
  static RegistryWatchers* watchers = new RegistryWatchers(*registry, *threads);
  return *watchers;
}

void StopAllWatchers() { ProcessWatchers().StopAllWatchers(); }

int CloseDialogsOver(HWND editor) {
  int closed = 0;
  // Each round takes the topmost remaining dialog, so a dialog opened by
  // another one is closed before it; bounded in case a dialog refuses to go.
  for (int round = 0; round < 64; ++round) {
    std::vector<HWND> windows;  // this thread's top-level windows, topmost first
    EnumThreadWindows(GetCurrentThreadId(), &CollectWindow, reinterpret_cast<LPARAM>(&windows));
    HWND target = nullptr;
    for (HWND hwnd : windows) {
      if (hwnd != editor && IsWindowVisible(hwnd) && IsDialog(hwnd) && IsOwnedBy(hwnd, editor)) {
        target = hwnd;
        break;
      }
    }
    if (!target) break;
    SendMessageA(target, watchui::kReloadMessage, 0, 0);
    if (IsWindow(target)) {
      EndDialog(target, 0);
      // EndDialog only hides a modal dialog; its loop ends once control returns.
      if (IsWindowVisible(target)) ShowWindow(target, SW_HIDE);
    }
    ++closed;
  }
  return closed;
}

}  // namespace velkor
