// msimn.exe for tests: runs until told to end, optionally with a top-level
// window of Outlook Express's main window class.
//
//   msimn.exe [/window] [/class:NAME] [/title:TEXT] [/ready:EVENT] [/quit:EVENT] [/timeout:MS]
//
// /window        open a window of class "Outlook Express Browser Class"
// /class:NAME    open a window of this class instead (implies /window)
// /title:TEXT    the window's title (implies /window)
// /ready:EVENT   set this named event once the window (if any) exists
// /quit:EVENT    end when this named event is set
// /timeout:MS    end after this long in any case (default 60000)

#include <windows.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace {

struct Options {
  bool window = false;
  std::string className = "Outlook Express Browser Class";
  std::string title = "Outlook Express";
  std::string readyEvent;
  std::string quitEvent;
  DWORD timeoutMs = 60000;
};

// Splits the command line at blanks outside double quotes.
std::vector<std::string> Arguments(const char* cmd) {
  std::vector<std::string> args;
  std::string cur;
  bool quoted = false, any = false;
  for (const char* p = cmd; *p; ++p) {
    if (*p == '"') {
      quoted = !quoted;
      any = true;
    } else if ((*p == ' ' || *p == '\t') && !quoted) {
      if (any) args.push_back(cur);
      cur.clear();
      any = false;
    } else {
      cur += *p;
      any = true;
    }
  }
  if (any) args.push_back(cur);
  return args;
}

bool TakeOption(const std::string& arg, const char* name, std::string* value) {
  const std::string prefix = std::string(name) + ":";
  if (lstrcmpiA(arg.substr(0, prefix.size()).c_str(), prefix.c_str()) != 0) return false;
  *value = arg.substr(prefix.size());
  return true;
}

Options Parse(const char* cmd) {
  Options o;
  std::string v;
  for (const std::string& a : Arguments(cmd)) {
    if (lstrcmpiA(a.c_str(), "/window") == 0) {
      o.window = true;
    } else if (TakeOption(a, "/class", &v)) {
      o.className = v;
      o.window = true;
    } else if (TakeOption(a, "/title", &v)) {
      o.title = v;
      o.window = true;
    } else if (TakeOption(a, "/ready", &v)) {
      o.readyEvent = v;
    } else if (TakeOption(a, "/quit", &v)) {
      o.quitEvent = v;
    } else if (TakeOption(a, "/timeout", &v)) {
      o.timeoutMs = static_cast<DWORD>(std::strtoul(v.c_str(), nullptr, 10));
    }
  }
  return o;
}

LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcA(hwnd, msg, wp, lp);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR cmdLine, int) {
  const Options o = Parse(cmdLine);

  if (o.window) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = &WindowProc;
    wc.hInstance = instance;
    wc.lpszClassName = o.className.c_str();
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    if (!RegisterClassA(&wc)) return 2;
    HWND hwnd = CreateWindowExA(0, o.className.c_str(), o.title.c_str(), WS_OVERLAPPEDWINDOW, 0, 0, 320, 200,
                                nullptr, nullptr, instance, nullptr);
    if (!hwnd) return 3;
    ShowWindow(hwnd, SW_SHOWNOACTIVATE);
  }

  if (!o.readyEvent.empty()) {
    if (HANDLE ready = OpenEventA(EVENT_MODIFY_STATE, FALSE, o.readyEvent.c_str())) {
      SetEvent(ready);
      CloseHandle(ready);
    }
  }

  HANDLE quit = o.quitEvent.empty() ? nullptr : OpenEventA(SYNCHRONIZE, FALSE, o.quitEvent.c_str());
  const DWORD start = GetTickCount();
  for (;;) {
    const DWORD elapsed = GetTickCount() - start;
    if (elapsed >= o.timeoutMs) break;
    const DWORD count = quit ? 1 : 0;
    const DWORD r = MsgWaitForMultipleObjects(count, quit ? &quit : nullptr, FALSE, o.timeoutMs - elapsed,
                                              QS_ALLINPUT);
    if (quit && r == WAIT_OBJECT_0) break;
    if (r == WAIT_OBJECT_0 + count) {
      MSG msg;
      bool done = false;
      while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) done = true;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
      }
      if (done) break;
    } else if (r != WAIT_TIMEOUT) {
      break;
    }
  }
  if (quit) CloseHandle(quit);
  return 0;
}
