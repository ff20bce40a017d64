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
  // The wait cursor, shown for the whole run.
  virtual void SetBusy(bool busy) {}
};

// The message for a word list that is too large for Windows 98/Me.
std::string SizeLimitMessage(std::uint32_t size);

// Answers success; every failure has shown its message. Targets written
// before a failure keep their new values, later ones are not touched.
bool Synchronise(RegistryAccess& reg, const SyncIdentitySource& identities, const SyncTargetList& targets,
                 SyncMode mode, bool showResult, SyncPlatform& platform);

}  // namespace velkor
