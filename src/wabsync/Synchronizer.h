#pragma once
// One synchronisation of the found targets with the address book. The
// platform (process list, version query, address book, message boxes, wait
// cursor) is reached through SyncPlatform so the whole run is testable on a
// MemoryRegistry.

#include <cstdint>
#include <string>
#include <vector>

#include "registry/RegistryAccess.h"
#include "wabsync/SyncIdentities.h"
#include "wabsync/SyncTargets.h"

namespace velkor {

// The setting "Type": 1 adds new addresses only; anything else rebuilds.
enum class SyncMode { Full = 0, AddOnly = 1 };
inline SyncMode SyncModeFromSetting(std::int32_t type) { return type == 1 ? SyncMode::AddOnly : SyncMode::Full; }

enum class AddressBookRead { Ok, NotOpened, LoadFailed };

class SyncPlatform {
 public:
  virtual ~SyncPlatform() = default;
  // A running process whose lower-cased executable name contains "msimn.exe".
  virtual bool OutlookExpressRunning() = 0;
  // The version query reports the NT platform (no 16 KB limit on word lists).
  virtual bool NtFamily() = 0;
  // Opens the default address book and appends the address of every entry,
  // in address-book order, as read.
  virtual AddressBookRead ReadAddressBook(std::vector<std::string>* addresses) = 0;
  // A modal box with the utility's title as caption and an OK button.
  virtual void ShowMessage(const std::string& text) = 0;
  // A Yes/No box with the utility's title as caption; true for Yes.
  virtual bool Ask(const std::string& question) = 0;
  // Writes the editor's backup of the identity's rules and blocked senders as
  // they are stored now, into the folder the editor restores from. False when
  // it could not, with that folder in `folder`.
  virtual bool WriteBackup(const std::string& identityKey, std::string* folder) = 0;
  // The wait cursor, shown for the whole run.
  virtual void SetBusy(bool busy) {}
};

// The message for a word list that is too large for Windows 98/Me.
std::string SizeLimitMessage(std::uint32_t size);

// What a run does to one target's list.
struct SyncListPlan {
  std::string path;
  std::string identityKey;
  std::string userName;
  SafeListKind kind = SafeListKind::Sender;
  std::vector<std::uint8_t> value;   // the list to write
  bool write = false;                // full always writes; add only when something changed
  bool changes = false;              // the stored value is not `value`
  std::vector<std::string> added;    // addresses the list gains
  std::vector<std::string> removed;  // entries it loses; the dummy address is not counted
};

struct SyncPlan {
  std::vector<SyncListPlan> lists;  // one per target, in target order

  std::size_t AddedCount() const;
  std::size_t RemovedCount() const;
  // The identities with a list that changes, each once, in target order.
  std::vector<std::string> ChangedIdentities() const;
};

// Reads every target and works out its new list; writes nothing. Answers null,
// or the failure text (`sizeMessage` holds it for the 16 KB limit).
const char* PlanSync(RegistryAccess& reg, const SyncIdentitySource& identities, const SyncTargetList& targets,
                     SyncMode mode, const std::vector<std::string>& addresses, bool ntFamily, SyncPlan* plan,
                     std::string* sizeMessage);

// The question before a run that removes entries: how many of which lists,
// with the first few of each.
std::string RemovalQuestion(const SyncPlan& plan);
// The result: finished, with how many addresses were added and removed.
std::string ResultMessage(const SyncPlan& plan);

// Answers success; every failure has shown its message. Every target is read
// before anything is written, and each changed identity's rules are backed up
// first (as the editor does before a save), so a read error or a refused
// backup changes nothing; a write error keeps the targets written before it.
// With `confirmRemovals` a run that would remove entries asks first; No
// answers false without a message.
bool Synchronise(RegistryAccess& reg, const SyncIdentitySource& identities, const SyncTargetList& targets,
                 SyncMode mode, bool showResult, SyncPlatform& platform, bool confirmRemovals = false);

}  // namespace velkor
