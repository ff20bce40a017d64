#pragma once
// Keys, typed text and mouse clicks through the real input path (SendInput),
// for end-to-end tests that drive a started program as a user does.
#include <windows.h>

#include <string>

namespace velkor::test {

inline void Key(WORD vk, bool up) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = vk;
  input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  ::SendInput(1, &input, sizeof input);
}

inline void Press(WORD vk, WORD modifier = 0) {
  if (modifier) Key(modifier, false);
  Key(vk, false);
  Key(vk, true);
  if (modifier) Key(modifier, true);
  ::Sleep(150);
}

// Types `text` character by character as Unicode key events, as an input
// method hands over what the user typed.
inline void TypeText(const std::wstring& text) {
  for (wchar_t c : text) {
    INPUT input[2] = {};
    for (int i = 0; i < 2; ++i) {
      input[i].type = INPUT_KEYBOARD;
      input[i].ki.wScan = static_cast<WORD>(c);
      input[i].ki.dwFlags = KEYEVENTF_UNICODE | (i ? KEYEVENTF_KEYUP : 0);
    }
    ::SendInput(2, input, sizeof input[0]);
  }
  ::Sleep(200);
}

inline void ClickAt(POINT screen) {
  ::SetCursorPos(screen.x, screen.y);
  INPUT input[2] = {};
  input[0].type = input[1].type = INPUT_MOUSE;
  input[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  input[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  ::SendInput(2, input, sizeof input[0]);
  ::Sleep(200);
}

// The keyboard focus of the thread that owns `window`.
inline HWND FocusOfThread(HWND window) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  const DWORD thread = ::GetWindowThreadProcessId(window, nullptr);
  return ::GetGUIThreadInfo(thread, &info) ? info.hwndFocus : nullptr;
}

// Clicks at `screen` until `control` of the other program has the keyboard
// focus: a click that arrives while the program is still starting up may
// land before its window takes input.
inline bool FocusByClick(HWND control, POINT screen) {
  for (int attempt = 0; attempt < 10; ++attempt) {
    ::SetForegroundWindow(::GetAncestor(control, GA_ROOT));
    ClickAt(screen);
    if (FocusOfThread(control) == control) return true;
  }
  return false;
}

}  // namespace velkor::test
