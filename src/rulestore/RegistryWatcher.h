#pragma once
// The change watcher: two worker threads, one for the identity's rule list and
// one for its blocked-sender rule, each waiting for any change below its key,
// and the decision the editor window's poll timer takes from their records.
//
// Each start hands every thread a record of its own (shared ownership): a
// thread that did not answer a stop in time keeps writing only its old record
// and can never report into, or be mistaken for, the watcher of a later start.

#include <cstdint>
#include <memory>
#include <string>

#include "registry/RegistryAccess.h"
#include "rulestore/WatchSlot.h"

namespace velkor {

// What the editor window uses to wire the watcher.
namespace watchui {
constexpr unsigned kTimerId = 0x15F7;  // the window's poll timer
constexpr unsigned kTimerPeriodMs = 500;
constexpr unsigned kReloadMessage = 0x8009;  // WM_APP + 9
// String resources of the main program.
constexpr int kStartFailedMessageId = 103;  // cannot start watching; the program ends
constexpr int kWatchErrorMessageId = 104;   // error while watching; the program ends
constexpr int kRulesChangedMessageId = 106;  // changed by another program; reloading
}  // namespace watchui

struct WatchTiming {
  std::uint32_t pollMs = 50;         // wait for the event / poll for a missing key
  std::uint32_t startSleepMs = 100;  // start: sleep between looks at the slots
  int startBudget = 20;              // start: sleeps shared by both slots
  std::uint32_t stopSleepMs = 100;
  int stopBudget = 20;
};

// The thread procedure on one record; returns 0. Watches slot.keyPath below
// HKEY_CURRENT_USER until a change (result 1), a failure (-1) or the stop
// request (result left as it was).
int RegistryWatcher(WatchSlot& slot, RegistryAccess& reg, const WatchTiming& timing = WatchTiming());

// Starts threads; the Windows build uses CreateThread, tests may use anything.
class ThreadStarter {
 public:
  virtual ~ThreadStarter() = default;
  // Runs proc(arg) on a new thread. False when no thread could be started;
  // proc then never runs and arg stays the caller's.
  virtual bool Start(void (*proc)(void*), void* arg) = 0;
};

// A look at one record, taken by the window thread.
struct WatchSlotStatus {
  bool stopped = false;
  std::int32_t result = watchresult::kNothing;
};

enum class WatchTickAction {
  None,     // nothing ended: go on with the window's other periodic checks
  Fatal,    // show messageId (104) and end the editor window with -1
  Reload,   // show messageId (106, OK only), close the open dialogs, post kReloadMessage
  Restart,  // a watcher ended without a change or an error: start both again
};

struct WatchTickDecision {
  WatchTickAction action = WatchTickAction::None;
  int slot = 0;       // the slot whose result decided, 0 for none
  int messageId = 0;  // string resource to show, 0 for none
  // Kill the poll timer and stop both watchers before anything is shown.
  bool stopWatchers = false;
  // Send kReloadMessage to every dialog open over the editor window, most
  // recently active first, and end each with 0.
  bool closeDialogs = false;
  bool postReload = false;  // post kReloadMessage to the editor window
  bool endWindow = false;   // end the editor window with -1
};

// The poll timer's decision from one look at both records: slot 1 first, then
// slot 2; a slot counts once it has stopped.
WatchTickDecision DecideWatchTick(const WatchSlotStatus& rules, const WatchSlotStatus& blockSenders);

// Both watchers of the editor. Every call comes from the window thread.
class RegistryWatchers {
 public:
  RegistryWatchers(RegistryAccess& reg, ThreadStarter& threads, const WatchTiming& timing = WatchTiming());
  ~RegistryWatchers();
  RegistryWatchers(const RegistryWatchers&) = delete;
  RegistryWatchers& operator=(const RegistryWatchers&) = delete;

  // Gives both slots fresh records with the two paths (empty: none), starts
  // the rules watcher, then the blocked-sender watcher, and waits until both
  // watch, with one budget of sleeps for both. Returns 0 when both watch, else
  // the first slot that failed (the window shows message 103 and ends).
  int StartWatchers(const std::string& rulesPath, const std::string& blockSendersPath);
  // Asks the slot's thread to end and waits for it within the stop budget
  // (about 2 s). True when it has ended or never ran; false when abandoned.
  bool StopWatcher(int slot);
  void StopAllWatchers();

  WatchSlotStatus Status(int slot) const;
  // The slot's current record (tests and diagnostics); null before any start.
  std::shared_ptr<const WatchSlot> Record(int slot) const;

  // One poll-timer tick: looks at both records, decides, and when the
  // decision asks for it stops both watchers before returning. The window
  // then kills its timer and carries out the rest of the decision.
  WatchTickDecision Tick();

 private:
  struct Entry {
    std::shared_ptr<WatchSlot> record;
    bool threadStarted = false;
  };
  Entry* EntryFor(int slot);
  const Entry* EntryFor(int slot) const;
  bool StartThread(Entry& entry, const std::string& path);

  RegistryAccess& reg_;
  ThreadStarter& threads_;
  WatchTiming timing_;
  Entry entries_[2];
};

}  // namespace velkor
