#pragma once
// Holds the drawing of some windows off for one scope (WM_SETREDRAW), so that
// a list that gets thousands of rows removed and inserted does not update its
// scroll bars and repaint once per row; at the end each window is allowed to
// draw again and repainted whole.
//
// Wine's list view, like Windows', skips its scroll-bar update while redraw
// is off, so a row scrolled into view during the hold does not move: scroll
// after the hold ends. A hidden window is left alone: turning its redraw
// back on would set its WS_VISIBLE style and so show it.

#include <windows.h>

#include <vector>

namespace velkor::win {

class RedrawHold {
 public:
  explicit RedrawHold(const std::vector<HWND>& windows) {
    for (HWND window : windows) {
      if (!window || !(::GetWindowLongPtrA(window, GWL_STYLE) & WS_VISIBLE)) continue;
      ::SendMessageA(window, WM_SETREDRAW, FALSE, 0);
      windows_.push_back(window);
    }
  }
  ~RedrawHold() {
    for (HWND window : windows_) {
      ::SendMessageA(window, WM_SETREDRAW, TRUE, 0);
      ::InvalidateRect(window, nullptr, TRUE);
    }
  }
  RedrawHold(const RedrawHold&) = delete;
  RedrawHold& operator=(const RedrawHold&) = delete;

 private:
  std::vector<HWND> windows_;
};

}  // namespace velkor::win
