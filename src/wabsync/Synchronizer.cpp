#include "wabsync/Synchronizer.h"

#include <algorithm>
#include <cstdio>
#include <string_view>
#include <unordered_set>

#include "rulestore/RegistryLayout.h"
#include "rulestore/RuleModel.h"
#include "wabsync/AddressMerge.h"
#include "text/ShiftJis.h"
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

using FoldedSet = std::unordered_set<std::string_view, sjis::FoldedHash, sjis::FoldedEqual>;

// The entries of `from` that `other` lacks (ignoring case), the dummy left out.
std::vector<std::string> Missing(const std::vector<std::string>& from, const std::vector<std::string>& other) {
  const FoldedSet set(other.begin(), other.end());
  std::vector<std::string> missing;
  for (const std::string& entry : from)
    if (entry != wabsync::kDummyAddress && !set.count(entry)) missing.push_back(entry);
  return missing;
}

// Reads one target and works out its new list. Failure texts; null when planned.
const char* PlanOneTarget(RegistryAccess& reg, const std::vector<std::string>& excluded,
                          const std::vector<std::string>& addresses, SyncMode mode, bool ntFamily,
                          SyncListPlan* plan, std::string* sizeMessage) {
  RegKey key(reg);
  if (key.Open(plan->path, RegAccess::Read) != regerr::kSuccess) return wabsync::kOpenKeyFailed;

  std::vector<std::uint8_t> stored;
  const bool present = key.ValueSize(oereg::kValue) >= 0;
  std::vector<std::string> list;
  if (mode == SyncMode::AddOnly) {
    if (!present) return wabsync::kValueLengthFailed;
    if (!key.ReadBytes(oereg::kValue, &stored)) return wabsync::kValueReadFailed;
    list = DecodeStringList(stored.data(), stored.size());
  } else if (present && !key.ReadBytes(oereg::kValue, &stored)) {
    // A full run rebuilds the list whatever is stored; it is read only to say what goes.
    stored.clear();
  }
  const std::vector<std::string> old = DecodeStringList(stored.data(), stored.size());
  if (mode == SyncMode::AddOnly)
    MergeAddOnly(&list, excluded, addresses);
  else
    list = BuildFullList(excluded, addresses);

  plan->value = EncodeStringList(list);
  if (!ntFamily && plan->value.size() > kWordListLimit9x) {
    *sizeMessage = SizeLimitMessage(static_cast<std::uint32_t>(plan->value.size()));
    return sizeMessage->c_str();
  }
  plan->changes = !present || plan->value != stored;
  // Removing the dummy and setting it again yields the stored bytes: nothing to write.
  plan->write = mode == SyncMode::Full || plan->changes;
  plan->added = Missing(list, old);
  plan->removed = Missing(old, list);
  return nullptr;
}

const char* WriteTarget(RegistryAccess& reg, const SyncListPlan& plan) {
  RegKey key(reg);
  if (key.Open(plan.path, RegAccess::All) != regerr::kSuccess) return wabsync::kOpenKeyFailed;
  if (key.WriteBytes(oereg::kValue, plan.value.data(), static_cast<std::uint32_t>(plan.value.size()),
                     regtype::kBinary) != regerr::kSuccess)
    return wabsync::kUpdateFailed;
  return nullptr;
}

std::string Format(const char* format, std::size_t count) {
  char text[256];
  std::snprintf(text, sizeof text, format, static_cast<unsigned>(count));
  return text;
}

}  // namespace

std::string SizeLimitMessage(std::uint32_t size) {
  char text[512];
  std::snprintf(text, sizeof text, wabsync::kSizeLimitFormat, size / 1024.0);
  return std::string(text) + wabsync::kSizeLimitTail;
}

std::size_t SyncPlan::AddedCount() const {
  std::size_t n = 0;
  for (const SyncListPlan& list : lists) n += list.added.size();
  return n;
}

std::size_t SyncPlan::RemovedCount() const {
  std::size_t n = 0;
  for (const SyncListPlan& list : lists) n += list.removed.size();
  return n;
}

std::vector<std::string> SyncPlan::ChangedIdentities() const {
  std::vector<std::string> changed;
  for (const SyncListPlan& list : lists)
    if (list.changes && std::find(changed.begin(), changed.end(), list.identityKey) == changed.end())
      changed.push_back(list.identityKey);
  return changed;
}

const char* PlanSync(RegistryAccess& reg, const SyncIdentitySource& identities, const SyncTargetList& targets,
                     SyncMode mode, const std::vector<std::string>& addresses, bool ntFamily, SyncPlan* plan,
                     std::string* sizeMessage) {
  plan->lists.clear();
  const std::vector<std::string> identityKeys = identities.IdentityKeys();
  for (std::size_t i = 0; i < targets.Count(); ++i) {
    SyncListPlan list;
    list.path = targets.PathAt(i);
    list.identityKey = targets.IdentityAt(i);
    list.kind = targets.KindAt(i);
    std::vector<std::string> own;
    if (std::find(identityKeys.begin(), identityKeys.end(), list.identityKey) != identityKeys.end()) {
      own = identities.OwnAddresses(list.identityKey);
      list.userName = identities.UserName(list.identityKey);
    }
    if (const char* failure = PlanOneTarget(reg, ExcludedList(own), addresses, mode, ntFamily, &list, sizeMessage))
      return failure;
    plan->lists.push_back(std::move(list));
  }
  return nullptr;
}

std::string RemovalQuestion(const SyncPlan& plan) {
  constexpr std::size_t kShown = 5;
  std::string text = Format(wabsync::kRemovalHead, plan.RemovedCount());
  for (const SyncListPlan& list : plan.lists) {
    if (list.removed.empty()) continue;
    char head[512];
    std::snprintf(head, sizeof head, wabsync::kRemovalList, list.userName.c_str(),
                  list.kind == SafeListKind::Sender ? wabsync::kSenderRuleName : wabsync::kBodyRuleName,
                  static_cast<unsigned>(list.removed.size()));
    text += head;
    const std::size_t shown = std::min(kShown, list.removed.size());
    for (std::size_t i = 0; i < shown; ++i) text += wabsync::kRemovalEntryIndent + list.removed[i] + "\r\n";
    if (list.removed.size() > shown) text += Format(wabsync::kRemovalMore, list.removed.size() - shown);
  }
  return text + wabsync::kRemovalTail;
}

std::string ResultMessage(const SyncPlan& plan) {
  char counts[256];
  std::snprintf(counts, sizeof counts, wabsync::kResultCounts, static_cast<unsigned>(plan.AddedCount()),
                static_cast<unsigned>(plan.RemovedCount()));
  return std::string(wabsync::kFinished) + counts;
}

bool Synchronise(RegistryAccess& reg, const SyncIdentitySource& identities, const SyncTargetList& targets,
                 SyncMode mode, bool showResult, SyncPlatform& platform, bool confirmRemovals) {
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

  SyncPlan plan;
  std::string sizeMessage;
  if (const char* failure =
          PlanSync(reg, identities, targets, mode, UsableAddresses(book), platform.NtFamily(), &plan, &sizeMessage)) {
    platform.ShowMessage(failure);
    return false;
  }
  if (confirmRemovals && mode == SyncMode::Full && plan.RemovedCount() > 0 && !platform.Ask(RemovalQuestion(plan)))
    return false;
  // A backup of each identity before its first change, so the editor can put it back.
  for (const std::string& identity : plan.ChangedIdentities()) {
    std::string folder;
    if (!platform.WriteBackup(identity, &folder)) {
      std::string text = wabsync::kBackupFailed;
      text.replace(text.find("%s"), 2, folder);
      platform.ShowMessage(text);
      return false;
    }
  }
  for (const SyncListPlan& list : plan.lists) {
    if (!list.write) continue;
    if (const char* failure = WriteTarget(reg, list)) {
      platform.ShowMessage(failure);
      return false;
    }
  }
  if (showResult) platform.ShowMessage(ResultMessage(plan));
  return true;
}

}  // namespace velkor
