#include "rulestore/RegistryWatcher.h"

#include "platform/Sync.h"

namespace velkor {

namespace {

// Closes the key (and drops its armed notification) before the event goes.
struct WatchHandles {
  RegistryAccess& reg;
  RegHandle key = kNoRegHandle;
  std::unique_ptr<Event> event;
  explicit WatchHandles(RegistryAccess& r) : reg(r) {}
  ~WatchHandles() { Close(); }
  void Close() {
    if (key != kNoRegHandle) reg.CloseKey(key);
    key = kNoRegHandle;
    event.reset();
  }
};

// Whether the key can be opened for notification right now.
bool KeyOpens(RegistryAccess& reg, const std::string& path) {
  RegHandle probe = kNoRegHandle;
  if (reg.OpenKey(path, RegAccess::Notify, &probe) != regerr::kSuccess) return false;
  reg.CloseKey(probe);
  return true;
}

// Watches until something ends the loop; returns the result to report.
std::int32_t WatchLoop(WatchSlot& slot, RegistryAccess& reg, const WatchTiming& timing, WatchHandles& h) {
  const std::string path = slot.KeyPath();
  if (path.empty()) return watchresult::kFailed;

  if (reg.OpenKey(path, RegAccess::Notify, &h.key) == regerr::kSuccess) {
    h.event.reset(new Event);
    if (reg.Watch(h.key, true, regnotify::kAll, *h.event) != regerr::kSuccess) return watchresult::kFailed;
  } else {
    h.key = kNoRegHandle;  // not there yet: poll for it below
  }

  slot.state.store(watchstate::kWatching);
  while (slot.stopRequest.load() == 0) {
    if (h.event) {
      if (h.event->Wait(timing.pollMs)) return watchresult::kChanged;
      // Deleting a key without subkeys does not signal on every platform;
      // the old handle only goes stale, so look whether the key is still there.
      if (!KeyOpens(reg, path)) return watchresult::kChanged;
    } else {
      if (KeyOpens(reg, path)) return watchresult::kChanged;
      SleepMs(timing.pollMs);
    }
  }
  return slot.result.load();
}

}  // namespace

int RegistryWatcher(WatchSlot& slot, RegistryAccess& reg, const WatchTiming& timing) {
  slot.state.store(watchstate::kStarting);
  slot.result.store(watchresult::kNothing);
  {
    WatchHandles handles(reg);
    const std::int32_t result = WatchLoop(slot, reg, timing, handles);
    slot.result.store(result);
    slot.state.store(watchstate::kFinishing);
  }
  slot.state.store(watchstate::kNotRunning);
  slot.stopped.store(1);  // last: the result is final from here on
  return 0;
}

WatchTickDecision DecideWatchTick(const WatchSlotStatus& rules, const WatchSlotStatus& blockSenders) {
  WatchTickDecision d;
  if (!rules.stopped && !blockSenders.stopped) return d;
  d.stopWatchers = true;
  const WatchSlotStatus* slots[2] = {&rules, &blockSenders};
  for (int i = 0; i < 2; ++i) {
    const WatchSlotStatus& s = *slots[i];
    if (!s.stopped) continue;
    if (s.result == watchresult::kFailed) {
      d.action = WatchTickAction::Fatal;
      d.slot = i + 1;
      d.messageId = watchui::kWatchErrorMessageId;
      d.endWindow = true;
      return d;
    }
    if (s.result == watchresult::kChanged) {
      d.action = WatchTickAction::Reload;
      d.slot = i + 1;
      d.messageId = watchui::kRulesChangedMessageId;
      d.closeDialogs = true;
      d.postReload = true;
      return d;
    }
  }
  // A watcher ended with nothing to report. Stopping the timer and the other
  // watcher and leaving it so would leave the rules unwatched (and the
  // window's other periodic checks dead) until the next save: start again.
  d.action = WatchTickAction::Restart;
  return d;
}

namespace {

struct WatcherJob {
  std::shared_ptr<WatchSlot> record;  // keeps the record alive as long as the thread runs
  RegistryAccess* reg;
  WatchTiming timing;
};

void RunWatcherJob(void* arg) {
  std::unique_ptr<WatcherJob> job(static_cast<WatcherJob*>(arg));
  RegistryWatcher(*job->record, *job->reg, job->timing);
}

}  // namespace

RegistryWatchers::RegistryWatchers(RegistryAccess& reg, ThreadStarter& threads, const WatchTiming& timing)
    : reg_(reg), threads_(threads), timing_(timing) {}

// The threads use the registry object by reference: they are asked to end
// before its owner can go.
RegistryWatchers::~RegistryWatchers() { StopAllWatchers(); }

RegistryWatchers::Entry* RegistryWatchers::EntryFor(int slot) {
  if (slot != kRulesWatchSlot && slot != kBlockSendersWatchSlot) return nullptr;
  return &entries_[slot - 1];
}

const RegistryWatchers::Entry* RegistryWatchers::EntryFor(int slot) const {
  if (slot != kRulesWatchSlot && slot != kBlockSendersWatchSlot) return nullptr;
  return &entries_[slot - 1];
}

bool RegistryWatchers::StartThread(Entry& entry, const std::string& path) {
  // A fresh record every time: an earlier thread that never acknowledged its
  // stop still holds the old one and writes nowhere else.
  entry.record = std::make_shared<WatchSlot>();
  entry.threadStarted = false;
  entry.record->SetKeyPath(path);
  std::unique_ptr<WatcherJob> job(new WatcherJob{entry.record, &reg_, timing_});
  if (!threads_.Start(&RunWatcherJob, job.get())) {
    entry.record->result.store(watchresult::kFailed);
    entry.record->stopped.store(1);
    return false;
  }
  job.release();  // the thread owns it now
  entry.threadStarted = true;
  return true;
}

int RegistryWatchers::StartWatchers(const std::string& rulesPath, const std::string& blockSendersPath) {
  StartThread(entries_[0], rulesPath);
  StartThread(entries_[1], blockSendersPath);

  int sleepsLeft = timing_.startBudget;
  for (int i = 0; i < 2; ++i) {
    const WatchSlot& rec = *entries_[i].record;
    for (;;) {
      if (rec.result.load() == watchresult::kFailed) return i + 1;
      if (rec.state.load() == watchstate::kWatching) break;
      // Already ended with a change: it did watch, and the timer will report it.
      if (rec.stopped.load() != 0) break;
      if (sleepsLeft <= 0) return i + 1;
      --sleepsLeft;
      SleepMs(timing_.startSleepMs);
    }
  }
  return 0;
}

bool RegistryWatchers::StopWatcher(int slot) {
  Entry* entry = EntryFor(slot);
  if (!entry || !entry->record || !entry->threadStarted) return true;
  WatchSlot& rec = *entry->record;
  if (rec.stopped.load() != 0) return true;
  // Asked even while the state still reads 0: a thread that has not been
  // scheduled yet must see the request once it runs.
  rec.stopRequest.store(1);
  for (int i = 0; i < timing_.stopBudget; ++i) {
    SleepMs(timing_.stopSleepMs);
    if (rec.stopped.load() != 0) return true;
  }
  return false;
}

void RegistryWatchers::StopAllWatchers() {
  StopWatcher(kRulesWatchSlot);
  StopWatcher(kBlockSendersWatchSlot);
}

WatchSlotStatus RegistryWatchers::Status(int slot) const {
  WatchSlotStatus s;
  const Entry* entry = EntryFor(slot);
  if (!entry || !entry->record) return s;
  // stopped first: once it is set the result is final.
  s.stopped = entry->record->stopped.load() != 0;
  s.result = entry->record->result.load();
  return s;
}

std::shared_ptr<const WatchSlot> RegistryWatchers::Record(int slot) const {
  const Entry* entry = EntryFor(slot);
  return entry ? entry->record : nullptr;
}

WatchTickDecision RegistryWatchers::Tick() {
  WatchTickDecision d = DecideWatchTick(Status(kRulesWatchSlot), Status(kBlockSendersWatchSlot));
  if (!d.stopWatchers) return d;
  StopAllWatchers();
  if (d.action == WatchTickAction::Restart) {
    // The other watcher may have seen a change before it stopped.
    d = DecideWatchTick(Status(kRulesWatchSlot), Status(kBlockSendersWatchSlot));
    d.stopWatchers = true;
  }
  return d;
}

}  // namespace velkor
