#pragma once
// The watcher threads of the running program: CreateThread and the real
// registry, and the process-wide pair of watchers the editor and the shell use.

#include <windows.h>

#include "rulestore/RegistryWatcher.h"

namespace velkor {

// Normal priority, default stack; the thread handle is closed at once (a
// thread is never waited for by handle, only through its record).
class Win32ThreadStarter : public ThreadStarter {
 public:
  bool Start(void (*proc)(void*), void* arg) override;
};

// The two watchers of the process, on HKEY_CURRENT_USER.
RegistryWatchers& ProcessWatchers();

// Stops both watchers of the process (each waited for at most about 2 s); the
// shell calls it after the main dialog has returned.
void StopAllWatchers();

// Sends kReloadMessage to every dialog of this thread that is open over
// `editor` (owned by it, directly or through another dialog), most recently
// active first, and ends each with 0. Returns how many were closed.
int CloseDialogsOver(HWND editor);

}  // namespace velkor
