#pragma once
// Whether Outlook Express runs, from the process list and its windows.

#include <windows.h>

namespace velkor {

struct OutlookExpressPresence {
  bool running = false;
  HWND window = nullptr;  // its main, message, address-book or find window; null when none is open
};

// The editor's check before saving: a process whose name contains
// "msimn.exe" (any case), then the first of its windows that exists.
OutlookExpressPresence OutlookExpressRunningCheck();

// The sync utility's check: the process list only, no window search.
bool OutlookExpressProcessRunning();

}  // namespace velkor
