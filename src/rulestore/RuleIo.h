#pragma once
// Reading and writing single rule items and the "Order" texts; shared by the
// rule list and the blocked-sender list. Internal to the rule store.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "registry/RegistryAccess.h"
#include "rulestore/RuleModel.h"

namespace velkor {

class RuleIo {
 public:
  // The item key `name` below the item's set key. False: the item is not readable.
  static bool ReadCriterion(RegistryAccess& reg, RuleCriterion& item, const std::string& name);
  static bool ReadAction(RegistryAccess& reg, RuleAction& item, const std::string& name);
  // Writes "Flags", ["Logic"], "Type" and the value (or removes "ValueType" and "Value").
  static bool WriteCriterion(RegistryAccess& reg, const RuleCriterion& item, const std::string& name,
                             std::uint32_t logic);
  static bool WriteAction(RegistryAccess& reg, const RuleAction& item, const std::string& name);

  // Names of an "Order" text split at single blanks. stopAtEmpty: the first
  // empty name ends the list (item sets); otherwise empty names are skipped.
  static std::vector<std::string> SplitOrder(const std::string& order, bool stopAtEmpty);
  static std::string JoinOrder(const std::vector<std::string>& names);
  // "000 001 ..." for count items.
  static std::vector<std::string> ItemNames(std::size_t count);

  // Deletes every subkey of `key` whose name is not one of `keep` (compared
  // without regard to case, as the registry compares names). False when a
  // deletion failed; the walk stops there.
  static bool DeleteSubkeysExcept(RegKey& key, const std::vector<std::string>& keep);
  // The names `count` new items take: the smallest numbers ("%03X") that none
  // of `taken` names, so new items never overwrite what an "Order" still lists.
  static std::vector<std::string> FreshItemNames(std::size_t count, const std::vector<std::string>& taken);
  // Writes an item set so that a reader going through its "Order" sees either
  // the old items or the new ones at every instant: unlisted leftovers are
  // removed, the new items are written under names the old "Order" does not
  // list, "Order" is switched, and only then are the old items deleted.
  // write(i, name) writes item i. False when anything before the switch failed
  // (the old items stand); a failed cleanup afterwards is left to the next save.
  static bool WriteSetSwitched(RegistryAccess& reg, const std::string& setPath, std::size_t count,
                               const std::function<bool(std::size_t, const std::string&)>& write);
  // Copies every value and subkey of `from` into `to` (created when missing).
  static bool CopyTree(RegistryAccess& reg, const std::string& from, const std::string& to);

  // Deletes a subkey tree; a missing subkey is no error.
  static bool DeleteTreeIfPresent(RegKey& key, const std::string& subkey);
  // Deletes a value; a missing value is no error.
  static bool DeleteValueIfPresent(RegKey& key, const std::string& name);

 private:
  static bool ReadItem(RegistryAccess& reg, RuleItem& item, const std::string& name, std::uint32_t* logic,
                       bool emptyTextReadable);
  static bool WriteItem(RegistryAccess& reg, const RuleItem& item, const std::string& name,
                        const std::uint32_t* logic);
};

}  // namespace velkor
