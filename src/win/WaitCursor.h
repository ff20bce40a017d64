#pragma once
// The hourglass while the thread works without pumping messages.

#include <windows.h>

namespace velkor::win {

// Shows the wait cursor; answers the cursor to put back.
inline HCURSOR ShowWaitCursor() { return ::SetCursor(::LoadCursorA(nullptr, IDC_WAIT)); }
// Puts `previous` back (the arrow when there was none).
inline void RestoreCursor(HCURSOR previous) {
  ::SetCursor(previous ? previous : ::LoadCursorA(nullptr, IDC_ARROW));
}

// The wait cursor for one scope.
class WaitCursor {
 public:
  WaitCursor() : previous_(ShowWaitCursor()) {}
  ~WaitCursor() { RestoreCursor(previous_); }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;

 private:
  HCURSOR previous_;
};

}  // namespace velkor::win
