#include "wabsync/Synchronizer.h"

#include <algorithm>
#include <cstdio>

#include "rulestore/RegistryLayout.h"
#include "rulestore/RuleModel.h"
#include "wabsync/AddressMerge.h"
#include "wabsync/SyncTexts.h"

namespace velkor {

namespace {

class BusyScope {
 public:
  explicit BusyScope(SyncPlatform& platform) : platform_(platform) { platform_.SetBusy(true); }
  ~BusyScope() { platform_.SetBusy(false); }
  BusyScope(const BusyScope&) = delete;
  BusyScope& operator=(const BusyScope&) = delete;

 private:
  SyncPlatform& platform_;
};

// Failure texts of one target; null means it was synchronised.
const char* SyncOneTarget(RegistryAccess& reg, const std::string& path, const std::vector<std::string>& excluded,
                          const std::vector<std::string>& addresses, SyncMode mode, bool ntFamily,
                          std::string* sizeMessage) {
  RegKey key(reg);
  if (key.Open(path, RegAccess::All) != regerr::kSuccess) return wabsync::kOpenKeyFailed;

  std::vector<std::string> list;
  std::vector<std::uint8_t> stored;
  if (mode == SyncMode::AddOnly) {
    if (key.ValueSize(oereg::kValue) < 0) return wabsync::kValueLengthFailed;
    if (!key.ReadBytes(oereg::kValue, &stored)) return wabsync::kValueReadFailed;
    list = DecodeStringList(stored.data(), stored.size());
    if (!MergeAddOnly(&list, excluded, addresses)) return nullptr;
  } else {
    list = BuildFullList(excluded, addresses);
  }

  const std::vector<std::uint8_t> bytes = EncodeStringList(list);
  if (!ntFamily && bytes.size() > kWordListLimit9x) {
    key.Close();
    *sizeMessage = SizeLimitMessage(static_cast<std::uint32_t>(bytes.size()));
    return sizeMessage->c_str();
  }
  // Removing the dummy and setting it again yields the stored bytes: nothing to write.
  if (mode == SyncMode::AddOnly && bytes == stored) return nullptr;
  if (key.WriteBytes(oereg::kValue, bytes.data(), static_cast<std::uint32_t>(bytes.size()), regtype::kBinary) !=
      regerr::kSuccess)
    return wabsync::kUpdateFailed;
  return nullptr;
}

}  // namespace

std::string SizeLimitMessage(std::uint32_t size) {
  char text[512];
  std::snprintf(text, sizeof text, wabsync::kSizeLimitFormat, size / 1024.0);
  return std::string(text) + wabsync::kSizeLimitTail;
}

bool Synchronise(RegistryAccess& reg, const SyncIdentitySource& identities, const SyncTargetList& targets,
                 SyncMode mode, bool showResult, SyncPlatform& platform) {
  BusyScope busy(platform);
  if (targets.Empty()) return true;
  if (platform.OutlookExpressRunning()) {
    platform.ShowMessage(wabsync::kOutlookExpressRunning);
    return false;
  }

  std::vector<std::string> book;
  switch (platform.ReadAddressBook(&book)) {
    case AddressBookRead::Ok:
      break;
    case AddressBookRead::NotOpened:
      platform.ShowMessage(wabsync::kAddressBookFailed);
      return false;
    case AddressBookRead::LoadFailed:
      // A partial read would make a full run drop every address not yet read.
      platform.ShowMessage(wabsync::kAddressBookIncomplete);
      return false;
  }
  const std::vector<std::string> addresses = UsableAddresses(book);
  const bool ntFamily = platform.NtFamily();
  const std::vector<std::string> identityKeys = identities.IdentityKeys();

  for (std::size_t i = 0; i < targets.Count(); ++i) {
    std::vector<std::string> own;
    const std::string& identity = targets.IdentityAt(i);
    if (std::find(identityKeys.begin(), identityKeys.end(), identity) != identityKeys.end())
      own = identities.OwnAddresses(identity);
    const std::vector<std::string> excluded = ExcludedList(own);

    std::string sizeMessage;
    if (const char* failure =
            SyncOneTarget(reg, targets.PathAt(i), excluded, addresses, mode, ntFamily, &sizeMessage)) {
      platform.ShowMessage(failure);
      return false;
    }
  }
  if (showResult) platform.ShowMessage(wabsync::kFinished);
  return true;
}

}  // namespace velkor
