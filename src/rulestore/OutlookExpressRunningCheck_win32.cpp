#include "rulestore/OutlookExpressRunningCheck_win32.h"

#include <tlhelp32.h>

#include "rulestore/OutlookExpressRunningCheck.h"

namespace velkor {

namespace {

struct SnapshotHandle {
  HANDLE h;
  explicit SnapshotHandle(HANDLE handle) : h(handle) {}
  ~SnapshotHandle() {
    if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
  }
  SnapshotHandle(const SnapshotHandle&) = delete;
  SnapshotHandle& operator=(const SnapshotHandle&) = delete;
};

}  // namespace

bool OutlookExpressProcessRunning() {
  SnapshotHandle snap(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  if (snap.h == INVALID_HANDLE_VALUE) return false;
  PROCESSENTRY32 entry;
  entry.dwSize = sizeof entry;
  for (BOOL ok = Process32First(snap.h, &entry); ok; ok = Process32Next(snap.h, &entry)) {
    entry.szExeFile[sizeof entry.szExeFile - 1] = '\0';
    if (IsOutlookExpressProcessName(entry.szExeFile)) return true;
  }
  return false;
}

OutlookExpressPresence OutlookExpressRunningCheck() {
  OutlookExpressPresence p;
  p.running = OutlookExpressProcessRunning();
  if (!p.running) return p;
  for (const OutlookExpressWindowQuery& q : kOutlookExpressWindows) {
    p.window = FindWindowA(q.className, q.title);
    if (p.window) break;
  }
  return p;
}

}  // namespace velkor
