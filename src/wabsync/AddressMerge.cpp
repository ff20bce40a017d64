#include "wabsync/AddressMerge.h"

#include <string_view>
#include <unordered_set>

#include "text/ShiftJis.h"
#include "wabsync/SyncTexts.h"

namespace velkor {

namespace {

// Views into strings that outlive the set (the caller's vectors are not
// resized while it is in use).
using FoldedSet = std::unordered_set<std::string_view, sjis::FoldedHash, sjis::FoldedEqual>;

FoldedSet MakeSet(const std::vector<std::string>& entries, std::size_t extra = 0) {
  FoldedSet set;
  set.reserve(entries.size() + extra);
  for (const std::string& e : entries) set.insert(e);
  return set;
}

// Appends to `out` each address that `seen` does not hold yet; `seen` grows
// with views into `addresses`. Answers the number appended.
std::size_t AppendNew(std::vector<std::string>* out, FoldedSet* seen, const std::vector<std::string>& addresses) {
  std::size_t appended = 0;
  for (const std::string& a : addresses) {
    if (seen->insert(a).second) {
      out->push_back(a);
      ++appended;
    }
  }
  return appended;
}

}  // namespace

std::vector<std::string> UsableAddresses(const std::vector<std::string>& addressBook) {
  std::vector<std::string> usable;
  usable.reserve(addressBook.size());
  for (const std::string& raw : addressBook) {
    std::string address = sjis::Trim(raw);
    if (!address.empty() && sjis::FindChar(address, '@') != sjis::npos) usable.push_back(std::move(address));
  }
  return usable;
}

std::vector<std::string> ExcludedList(const std::vector<std::string>& ownAddresses) {
  std::vector<std::string> excluded;
  excluded.reserve(ownAddresses.size() + 1);
  excluded.emplace_back(wabsync::kDummyAddress);
  excluded.insert(excluded.end(), ownAddresses.begin(), ownAddresses.end());
  return excluded;
}

bool MergeAddOnly(std::vector<std::string>* list, const std::vector<std::string>& excluded,
                  const std::vector<std::string>& addresses) {
  const FoldedSet excludedSet = MakeSet(excluded);
  const std::vector<std::string> old = std::move(*list);
  std::vector<std::string> merged;
  merged.reserve(old.size() + addresses.size());
  FoldedSet seen = MakeSet(excluded, old.size() + addresses.size());
  bool changed = false;
  for (const std::string& entry : old) {
    if (excludedSet.count(entry)) {
      changed = true;
      continue;
    }
    // Duplicates the user keeps by hand stay; only new addresses are tested.
    seen.insert(entry);
    merged.push_back(entry);
  }
  if (AppendNew(&merged, &seen, addresses) > 0) changed = true;
  if (merged.empty()) {
    merged.emplace_back(wabsync::kDummyAddress);
    changed = true;
  }
  *list = std::move(merged);
  return changed;
}

std::vector<std::string> BuildFullList(const std::vector<std::string>& excluded,
                                       const std::vector<std::string>& addresses) {
  std::vector<std::string> list;
  list.reserve(addresses.size());
  FoldedSet seen = MakeSet(excluded, addresses.size());
  AppendNew(&list, &seen, addresses);
  if (list.empty()) list.emplace_back(wabsync::kDummyAddress);
  return list;
}

}  // namespace velkor
