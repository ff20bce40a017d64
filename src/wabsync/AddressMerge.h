#pragma once
// The list arithmetic of the sync: which address-book addresses are usable,
// and how a criterion's address list is rebuilt (full) or extended (add only).
// Every comparison ignores letter case as sjis::EqualsIgnoreCase does; the
// duplicate tests use a folded-key hash set, so a run is linear in the size of
// the address book and of the list, and the first spelling of an address wins.

#include <string>
#include <vector>

namespace velkor {

// Trimmed addresses that are not empty and contain "@", in address-book
// order; duplicates and letter case are kept.
std::vector<std::string> UsableAddresses(const std::vector<std::string>& addressBook);

// What a list never keeps: the dummy address, then the identity's own addresses.
std::vector<std::string> ExcludedList(const std::vector<std::string>& ownAddresses);

// Add only: removes the excluded entries from `list`, then appends each
// address not yet in the list or excluded; an empty result becomes the dummy
// address alone. Answers whether an entry was removed or appended (or the
// dummy set), that is whether the list has to be written.
bool MergeAddOnly(std::vector<std::string>* list, const std::vector<std::string>& excluded,
                  const std::vector<std::string>& addresses);

// Full: the addresses without duplicates and excluded entries, or the dummy
// address alone when none is left.
std::vector<std::string> BuildFullList(const std::vector<std::string>& excluded,
                                       const std::vector<std::string>& addresses);

}  // namespace velkor
