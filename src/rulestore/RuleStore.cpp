#include "rulestore/RuleStore.h"

#include <algorithm>
#include <cstdio>
#include <set>

#include "registry/RegistryAccess.h"
#include "rulestore/RuleIo.h"
#include "text/ShiftJis.h"

namespace velkor {

// ---------------------------------------------------------------------------
// Item sets

bool CriteriaSet::Load(RegistryAccess& reg) {
  loaded_ = false;
  Reset();
  RegKey key(reg);
  std::string order;
  if (keyPath_.empty() || key.Open(keyPath_, RegAccess::Read) != regerr::kSuccess) return false;
  if (!key.ReadString(oereg::kOrder, &order) || order.empty()) return false;
  key.Close();

  int placed = 0;
  for (const auto& name : RuleIo::SplitOrder(order, true)) {
    RuleCriterion item(keyPath_, 0);
    if (!RuleIo::ReadCriterion(reg, item, name)) continue;
    if (mode_ == CriteriaMode::List) {
      items_.push_back(std::move(item));
      ++placed;
      continue;
    }
    const int slot = CriterionSlotOfType(item.Type());
    if (slot < 0) continue;
    items_[slot] = std::move(item);  // of two items of one type the later wins
    ++placed;
  }
  if (placed == 0) {
    Reset();
    return false;
  }
  if (mode_ == CriteriaMode::Fixed && placed > 1) {
    for (const auto& item : items_) {
      if (!item.InUse()) continue;
      logic_ = (item.Logic() == kLogicAny || item.Logic() == kLogicAll) ? item.Logic() : kLogicAll;
      break;
    }
  }
  loaded_ = true;
  return true;
}

namespace {

// Writes the items in use of a fixed-slot set as "000", "001", ... in slot
// order, with the set's "Order". Stale items left behind fail the save so that
// the next one retries the cleanup.
template <typename Item, typename Write>
bool SaveSlotItems(RegistryAccess& reg, const std::string& keyPath, const std::vector<Item>& items, Write write) {
  if (keyPath.empty() || items.size() != kSlotCount) return false;
  const auto used = static_cast<std::size_t>(
      std::count_if(items.begin(), items.end(), [](const Item& item) { return item.InUse(); }));
  if (used == 0) return false;
  const auto names = RuleIo::ItemNames(used);

  RegKey key(reg);
  if (key.Create(keyPath) != regerr::kSuccess) return false;
  const bool cleaned = RuleIo::DeleteSubkeysExcept(key, names);
  if (key.WriteString(oereg::kOrder, RuleIo::JoinOrder(names)) != regerr::kSuccess) return false;
  key.Close();
  std::size_t next = 0;
  for (const auto& item : items) {
    if (item.InUse() && !write(item, names[next++])) return false;
  }
  return cleaned;
}

}  // namespace

bool CriteriaSet::Save(RegistryAccess& reg) const {
  if (mode_ != CriteriaMode::Fixed) return false;
  return SaveSlotItems(reg, keyPath_, items_, [&](const RuleCriterion& item, const std::string& name) {
    return RuleIo::WriteCriterion(reg, item, name, logic_);
  });
}

bool ActionSet::Load(RegistryAccess& reg) {
  loaded_ = false;
  Reset();
  RegKey key(reg);
  std::string order;
  if (keyPath_.empty() || key.Open(keyPath_, RegAccess::Read) != regerr::kSuccess ||
      !key.ReadString(oereg::kOrder, &order) || order.empty()) {
    items_.clear();
    return false;
  }
  key.Close();

  int placed = 0;
  for (const auto& name : RuleIo::SplitOrder(order, true)) {
    RuleAction item(keyPath_, 0);
    if (!RuleIo::ReadAction(reg, item, name)) continue;
    const int slot = ActionSlotOfType(item.Type());
    if (slot < 0) continue;
    items_[slot] = std::move(item);
    ++placed;
  }
  if (placed == 0) {
    items_.clear();
    return false;
  }
  loaded_ = true;
  return true;
}

bool ActionSet::Save(RegistryAccess& reg) const {
  return SaveSlotItems(reg, keyPath_, items_, [&](const RuleAction& item, const std::string& name) {
    return RuleIo::WriteAction(reg, item, name);
  });
}

// ---------------------------------------------------------------------------
// One rule

bool MailRule::Load(RegistryAccess& reg) {
  modified_ = false;
  loaded_ = false;
  bool ok = false;
  {
    RegKey key(reg);
    ok = !parentPath_.empty() && key.Open(KeyPath(), RegAccess::Read) == regerr::kSuccess &&
         key.ReadDword(oereg::kEnabled, &enabled_) && key.ReadString(oereg::kName, &name_) &&
         key.ReadDword(oereg::kVersion, &version_);
  }
  if (ok) {
    actions_ = std::make_unique<ActionSet>(oereg::SubPath(KeyPath(), oereg::kActions));
    ok = actions_->Load(reg);
  }
  if (ok) {
    criteria_ = std::make_unique<CriteriaSet>(oereg::SubPath(KeyPath(), oereg::kCriteria), CriteriaMode::Fixed);
    ok = criteria_->Load(reg);
  }
  if (!ok) {
    enabled_ = 0;
    name_.clear();
    version_ = 0;
    actions_.reset();
    criteria_.reset();
    return false;
  }
  loaded_ = true;
  return true;
}

bool MailRule::Save(RegistryAccess& reg, ProgressSink& progress, const RuleChecks& checks) {
  if (!modified_) return true;
  if (parentPath_.empty() || !actions_ || !criteria_ || !IsValid(checks)) return false;

  progress.SetPercent(0);
  std::string status = ruletext::kSavingRule;
  status.replace(status.find("%s"), 2, name_);
  progress.SetStatusText(status);

  // The version counts saves that reached the registry; a failed attempt
  // writes the same number again next time.
  const std::uint32_t newVersion = version_ + 1;
  {
    RegKey key(reg);
    if (key.Create(KeyPath()) != regerr::kSuccess) return false;
    if (key.WriteDword(oereg::kEnabled, enabled_) != regerr::kSuccess) return false;
    if (key.WriteString(oereg::kName, name_) != regerr::kSuccess) return false;
    if (key.WriteDword(oereg::kVersion, newVersion) != regerr::kSuccess) return false;
    // A failed deletion is made good by the sets' own cleanup below.
    key.DeleteKeyTree(oereg::kActions);
    key.DeleteKeyTree(oereg::kCriteria);
  }
  if (!actions_->Save(reg) || !criteria_->Save(reg)) return false;
  version_ = newVersion;
  modified_ = false;
  return true;
}

// ---------------------------------------------------------------------------
// The rule list

bool RuleSet::Load(RegistryAccess& reg) {
  orderChanged_ = false;
  listReadable_ = true;
  rules_.clear();
  order_.clear();
  storedKeys_.clear();
  protectedKeys_.clear();
  version_ = 0;
  RegKey key(reg);
  if (path_.empty() || key.Open(path_, RegAccess::Read) != regerr::kSuccess) return true;
  storedKeys_ = key.SubKeyNames();
  if (!key.ReadDword(oereg::kVersion, &version_)) {
    // Another program's list: its rules were never shown, so a save may
    // neither delete nor reuse their keys.
    version_ = 0;
    listReadable_ = false;
    protectedKeys_ = storedKeys_;
    return false;
  }
  if (!key.HasValue(oereg::kOrder)) return true;
  if (!key.ReadString(oereg::kOrder, &order_)) return true;
  key.Close();

  std::set<std::uint32_t> numbers;
  for (const auto& name : RuleIo::SplitOrder(order_, false)) {
    // A rule is addressed by its number, so a key name that is no number, or
    // a number already taken, cannot be one of the list's rules.
    std::uint32_t number = 0;
    if (!ParseKeyName(name, &number) || !numbers.insert(number).second) continue;
    auto rule = std::make_unique<MailRule>(path_, name);
    if (!rule->Load(reg)) {
      numbers.erase(number);
      continue;
    }
    // A key named "1" or "0001" stays where it is until the user saves a
    // change; the save then moves it to "001" (see Save).
    rules_.push_back(std::move(rule));
  }
  return true;
}

int RuleSet::IndexOfNumber(std::uint32_t number) const {
  for (int i = 0; i < Count(); ++i) {
    if (rules_[i]->Number() == number) return i;
  }
  return -1;
}

MailRule* RuleSet::Find(std::uint32_t number) {
  const int index = IndexOfNumber(number);
  return index < 0 ? nullptr : rules_[index].get();
}

const MailRule* RuleSet::Find(std::uint32_t number) const {
  const int index = IndexOfNumber(number);
  return index < 0 ? nullptr : rules_[index].get();
}

std::vector<std::uint32_t> RuleSet::Numbers() const {
  std::vector<std::uint32_t> numbers;
  numbers.reserve(rules_.size());
  for (const auto& rule : rules_) numbers.push_back(rule->Number());
  return numbers;
}

std::string RuleSet::UniqueNewName(const std::string& base) const {
  const std::string stem = base.empty() ? std::string(ruletext::kNewRuleName) : base;
  std::set<std::string> names;
  for (const auto& rule : rules_) names.insert(rule->Name());
  std::string candidate = stem;
  for (int counter = 1; names.count(candidate) != 0; ++counter) {
    candidate = stem + " #" + std::to_string(counter);
  }
  return candidate;
}

std::uint32_t RuleSet::NextFreeNumber() const {
  std::set<std::uint32_t> numbers;
  for (const auto& rule : rules_) numbers.insert(rule->Number());
  for (const auto& name : storedKeys_) {
    std::uint32_t number = 0;
    if (ParseKeyName(name, &number)) numbers.insert(number);
  }
  std::uint32_t n = 0;
  while (numbers.count(n) != 0) ++n;
  return n;
}

std::vector<std::string> RuleSet::SubKeys(RegistryAccess& reg) const {
  RegKey key(reg);
  if (key.Open(path_, RegAccess::EnumerateSubKeys) != regerr::kSuccess) return {};
  return key.SubKeyNames();
}

MailRule& RuleSet::AddNewRule(const std::string& name) {
  auto rule = std::make_unique<MailRule>(path_, FormatKeyName(NextFreeNumber()));
  rule->InitAsNew(UniqueNewName(name));
  rules_.push_back(std::move(rule));
  orderChanged_ = true;
  return *rules_.back();
}

bool RuleSet::Remove(std::uint32_t number) {
  const int index = IndexOfNumber(number);
  if (index < 0) return false;
  rules_.erase(rules_.begin() + index);
  orderChanged_ = true;
  return true;
}

bool RuleSet::Reorder(const std::vector<std::uint32_t>& numbers) {
  if (numbers.size() != rules_.size()) return false;
  std::vector<int> from;
  from.reserve(numbers.size());
  std::vector<bool> taken(rules_.size(), false);
  for (std::uint32_t number : numbers) {
    const int index = IndexOfNumber(number);
    if (index < 0 || taken[index]) return false;
    taken[index] = true;
    from.push_back(index);
  }
  if (numbers == Numbers()) return true;
  std::vector<std::unique_ptr<MailRule>> ordered;
  ordered.reserve(rules_.size());
  for (int index : from) ordered.push_back(std::move(rules_[index]));
  rules_ = std::move(ordered);
  orderChanged_ = true;
  return true;
}

bool RuleSet::HasChanges() const {
  if (orderChanged_) return true;
  for (const auto& rule : rules_) {
    if (rule->Modified()) return true;
  }
  return false;
}

int RuleSet::FirstInvalid(const RuleChecks& checks) const {
  for (int i = 0; i < Count(); ++i) {
    if (!rules_[i]->IsValid(checks)) return i;
  }
  return -1;
}

namespace {

bool ContainsName(const std::vector<std::string>& names, const std::string& name) {
  return std::any_of(names.begin(), names.end(),
                     [&](const std::string& n) { return sjis::AsciiLower(n) == sjis::AsciiLower(name); });
}

}  // namespace

// The writes are ordered so that a save cut off at any instant leaves every
// rule Outlook Express reads (through "Order") complete, old or new:
//   1. a rule about to be rewritten in place is first copied to a spare key,
//      and an interim "Order" names the copy instead;
//   2. the rules are written: in place behind their copies, new rules and
//      rules moving to their proper key name under keys "Order" does not list;
//   3. the final "Order" names every rule under its own number;
//   4. keys the final "Order" no longer lists are deleted (the copies, removed
//      rules, leftovers) - except the keys of a list that could not be read.
// A rule keeps its number; only a save that dies between 1 and 3 leaves a
// rule under its copy's number, complete, and the next save tidies up.
bool RuleSet::Save(RegistryAccess& reg, const std::vector<std::uint32_t>& displayOrder, ProgressSink& progress,
                   const RuleChecks& checks, std::vector<std::uint32_t>* failedRules) {
  if (path_.empty() || displayOrder.size() != rules_.size()) return false;
  // The order the user sees is the order stored; a list that names a rule
  // twice or one we do not hold would store an "Order" naming the wrong keys.
  if (!Reorder(displayOrder)) return false;
  const bool changes = HasChanges();
  // A list that could not be read is left exactly as it was unless the user
  // built a list of his own on top of it.
  if (!listReadable_ && (!changes || rules_.empty())) {
    orderChanged_ = false;
    return true;
  }

  progress.SetPercent(0);
  progress.SetStatusText(ruletext::kSavingRules);

  RegKey key(reg);
  if (key.Open(path_, RegAccess::All) != regerr::kSuccess && key.Create(path_) != regerr::kSuccess) return false;
  std::uint32_t version = 0;
  const bool versioned = key.ReadDword(oereg::kVersion, &version);
  if (versioned) {
    version_ = version;
  } else if (listReadable_) {
    if (key.WriteDword(oereg::kVersion, kRulesFormatVersion) != regerr::kSuccess) return false;
    version_ = kRulesFormatVersion;
  }
  // Without "Version" the old "Order" is not read; it is added only once the
  // new "Order" stands, so the unseen rules it lists never come to life.
  const bool versionLast = !versioned && !listReadable_;
  if (!changes) return true;

  std::string storedOrder;
  key.ReadString(oereg::kOrder, &storedOrder);
  const std::vector<std::string> listed = RuleIo::SplitOrder(storedOrder, false);
  const std::vector<std::string> present = key.SubKeyNames();

  if (rules_.empty()) {
    if (key.WriteString(oereg::kOrder, std::string()) != regerr::kSuccess) return false;
    order_.clear();
    // A key that cannot be deleted keeps the flag set, so the next save
    // retries; SaveAll reports it.
    if (RuleIo::DeleteSubkeysExcept(key, protectedKeys_)) orderChanged_ = false;
    storedKeys_ = key.SubKeyNames();
    return true;
  }

  std::vector<std::string> taken = present;
  taken.insert(taken.end(), listed.begin(), listed.end());
  for (const auto& rule : rules_) taken.push_back(rule->KeyName());
  auto freeName = [&]() {
    storedKeys_ = taken;
    std::string name = FormatKeyName(NextFreeNumber());
    taken.push_back(name);
    return name;
  };

  // What "Order" names for a rule whose new content could not be written: its
  // untouched old key, or nothing for a rule that is new.
  std::vector<std::string> fallback(rules_.size());
  std::vector<bool> writeIt(rules_.size(), false);
  bool copied = false;
  std::vector<std::string> interim = listed;
  for (std::size_t i = 0; i < rules_.size(); ++i) {
    MailRule& rule = *rules_[i];
    const std::string canonical = FormatKeyName(rule.Number());
    const bool isListed = ContainsName(listed, rule.KeyName()) && ContainsName(present, rule.KeyName());
    if (sjis::AsciiLower(rule.KeyName()) != sjis::AsciiLower(canonical)) {
      // Stored as "1" or "0001": written anew under "001" (or, when a key we
      // did not load bears that name, a free number) beside the old key.
      if (isListed) fallback[i] = rule.KeyName();
      rule.Rehome(ContainsName(present, canonical) ? freeName() : canonical);
      rule.SetModified(true);
      orderChanged_ = true;
      writeIt[i] = true;
      continue;
    }
    if (!rule.Modified()) {
      fallback[i] = rule.KeyName();
      continue;
    }
    writeIt[i] = true;
    if (!isListed) continue;  // a new rule: its key is listed nowhere yet
    // 1. A listed rule rewritten in place is first copied to a spare key.
    const std::string spare = freeName();
    if (!RuleIo::CopyTree(reg, rule.KeyPath(), path_ + "\\" + spare)) {
      RuleIo::DeleteTreeIfPresent(key, spare);
      if (failedRules) failedRules->push_back(rule.Number());
      fallback[i] = rule.KeyName();
      writeIt[i] = false;
      continue;
    }
    for (auto& name : interim) {
      if (sjis::AsciiLower(name) == sjis::AsciiLower(rule.KeyName())) name = spare;
    }
    fallback[i] = spare;
    copied = true;
  }
  if (copied && key.WriteString(oereg::kOrder, RuleIo::JoinOrder(interim)) != regerr::kSuccess) return false;
  key.Close();

  // 2. The rules themselves, behind their copies or under unlisted keys.
  std::vector<std::string> finalNames;
  bool allWritten = true;
  for (std::size_t i = 0; i < rules_.size(); ++i) {
    MailRule& rule = *rules_[i];
    if (writeIt[i]) {
      if (rule.Save(reg, progress, checks)) {
        fallback[i] = rule.KeyName();
      } else {
        allWritten = false;
        if (failedRules) failedRules->push_back(rule.Number());
      }
    } else if (rule.Modified()) {
      allWritten = false;
    }
    if (fallback[i].empty()) continue;
    // "00a" is the key "00A": only the spelling in "Order" changes.
    const std::string canonical = FormatKeyName(rule.Number());
    finalNames.push_back(sjis::AsciiLower(fallback[i]) == sjis::AsciiLower(canonical) ? canonical : fallback[i]);
  }

  // 3. The final "Order".
  const std::string order = RuleIo::JoinOrder(finalNames);
  RegKey list(reg);
  if (list.Open(path_, RegAccess::All) != regerr::kSuccess) return false;
  if (order != storedOrder || copied) {
    if (list.WriteString(oereg::kOrder, order) != regerr::kSuccess) {
      orderChanged_ = true;
      return false;
    }
  }
  order_ = order;
  if (versionLast) {
    if (list.WriteDword(oereg::kVersion, kRulesFormatVersion) != regerr::kSuccess) return false;
    version_ = kRulesFormatVersion;
  }

  // 4. What the final "Order" does not list.
  std::vector<std::string> keep = finalNames;
  keep.insert(keep.end(), protectedKeys_.begin(), protectedKeys_.end());
  const bool cleaned = RuleIo::DeleteSubkeysExcept(list, keep);
  // A stale key that cannot be deleted, or a rule not yet listed under its own
  // number, leaves the flag set: the next save finishes the work.
  orderChanged_ = !cleaned || !allWritten;
  storedKeys_ = list.SubKeyNames();
  return true;
}

// ---------------------------------------------------------------------------
// The store

void RuleStore::Load(const std::string& identityKey) {
  identityKey_ = identityKey;
  basePath_ = IdentityBasePath(identityKey);
  blocked_.Create(basePath_);
  blockedLoadOk_ = blocked_.Load(reg_);
  rules_ = RuleSet(RulesMailPath(basePath_));
  rulesLoadOk_ = rules_.Load(reg_);
  loaded_ = true;
}

bool RuleStore::HasChanges() const { return loaded_ && (rules_.HasChanges() || blocked_.Modified()); }

SaveResult RuleStore::SaveAll(const std::vector<std::uint32_t>& displayOrder, ProgressSink& progress) {
  SaveResult result;
  const int invalid = rules_.FirstInvalid(checks_);
  if (invalid >= 0) {
    result.outcome = SaveOutcome::InvalidRules;
    result.firstInvalidRule = rules_.At(invalid).Number();
    return result;
  }
  if (!rules_.Save(reg_, displayOrder, progress, checks_, &result.failedRules)) {
    result.outcome = SaveOutcome::Failed;
    return result;
  }
  result.staleRuleKeysLeft = rules_.OrderChanged();
  result.blockedSendersFailed = !blocked_.Save(reg_, progress);
  if (!result.failedRules.empty() || result.blockedSendersFailed || result.staleRuleKeysLeft)
    result.outcome = SaveOutcome::Incomplete;
  return result;
}

namespace {

template <typename Fn>
bool EditRule(RuleSet& rules, std::uint32_t number, Fn&& fn) {
  MailRule* rule = rules.Find(number);
  if (!rule || !fn(*rule)) return false;
  rule->SetModified(true);
  return true;
}

}  // namespace

SlotMask RuleStore::CriteriaMask(std::uint32_t number) const {
  const MailRule* rule = rules_.Find(number);
  return rule && rule->Criteria() ? rule->Criteria()->UsedMask() : 0;
}

SlotMask RuleStore::ActionMask(std::uint32_t number) const {
  const MailRule* rule = rules_.Find(number);
  return rule && rule->Actions() ? rule->Actions()->UsedMask() : 0;
}

const RuleCriterion* RuleStore::Criterion(std::uint32_t number, SlotMask bit) const {
  const MailRule* rule = rules_.Find(number);
  return rule && rule->Criteria() ? rule->Criteria()->ForSlotBit(bit) : nullptr;
}

const RuleAction* RuleStore::Action(std::uint32_t number, SlotMask bit) const {
  const MailRule* rule = rules_.Find(number);
  return rule && rule->Actions() ? rule->Actions()->ForSlotBit(bit) : nullptr;
}

bool RuleStore::SetCriterionValue(std::uint32_t number, SlotMask bit, const void* data, std::uint32_t size,
                                  std::uint32_t valueType) {
  return EditRule(rules_, number, [&](MailRule& rule) {
    RuleCriterion* item = rule.Criteria() ? rule.Criteria()->ForSlotBit(bit) : nullptr;
    if (item) item->SetValue(data, size, valueType);
    return item != nullptr;
  });
}

bool RuleStore::SetCriterionInUse(std::uint32_t number, SlotMask bit, bool inUse) {
  return EditRule(rules_, number, [&](MailRule& rule) {
    RuleCriterion* item = rule.Criteria() ? rule.Criteria()->ForSlotBit(bit) : nullptr;
    if (item) item->SetInUse(inUse);
    return item != nullptr;
  });
}

bool RuleStore::SetCriterionFlags(std::uint32_t number, SlotMask bit, std::uint32_t flags) {
  return EditRule(rules_, number, [&](MailRule& rule) {
    RuleCriterion* item = rule.Criteria() ? rule.Criteria()->ForSlotBit(bit) : nullptr;
    if (item) item->SetFlags(flags);
    return item != nullptr;
  });
}

bool RuleStore::SetActionValue(std::uint32_t number, SlotMask bit, const void* data, std::uint32_t size,
                               std::uint32_t valueType) {
  return EditRule(rules_, number, [&](MailRule& rule) {
    return rule.Actions() && rule.Actions()->SetValue(bit, data, size, valueType);
  });
}

bool RuleStore::SetActionInUse(std::uint32_t number, SlotMask bit, bool inUse) {
  return EditRule(rules_, number, [&](MailRule& rule) {
    if (!rule.Actions() || !rule.Actions()->ForSlotBit(bit)) return false;
    rule.Actions()->SetInUse(bit, inUse);
    return true;
  });
}

bool RuleStore::SetActionFlags(std::uint32_t number, SlotMask bit, std::uint32_t flags) {
  return EditRule(rules_, number, [&](MailRule& rule) {
    RuleAction* item = rule.Actions() ? rule.Actions()->ForSlotBit(bit) : nullptr;
    if (item) item->SetFlags(flags);
    return item != nullptr;
  });
}

std::int64_t RuleStore::Logic(std::uint32_t number) const {
  const MailRule* rule = rules_.Find(number);
  return rule && rule->Criteria() ? rule->Criteria()->Logic() : -1;
}

bool RuleStore::SetLogic(std::uint32_t number, std::uint32_t logic) {
  return EditRule(rules_, number, [&](MailRule& rule) {
    if (!rule.Criteria()) return false;
    rule.Criteria()->SetLogic(logic);
    return true;
  });
}

bool RuleStore::Enabled(std::uint32_t number) const {
  const MailRule* rule = rules_.Find(number);
  return rule && rule->Enabled();
}

bool RuleStore::SetEnabled(std::uint32_t number, bool enabled) {
  return EditRule(rules_, number, [&](MailRule& rule) {
    rule.SetEnabled(enabled);
    return true;
  });
}

std::string RuleStore::Name(std::uint32_t number) const {
  const MailRule* rule = rules_.Find(number);
  return rule ? rule->Name() : std::string();
}

bool RuleStore::SetName(std::uint32_t number, const std::string& name) {
  return EditRule(rules_, number, [&](MailRule& rule) {
    rule.SetName(name);
    return true;
  });
}

bool RuleStore::IsRuleValid(std::uint32_t number) const {
  const MailRule* rule = rules_.Find(number);
  return rule && rule->IsValid(checks_);
}

std::string RuleStore::ProblemText(std::uint32_t number, bool shown) const {
  const MailRule* rule = rules_.Find(number);
  return rule ? rule->ProblemText(checks_, shown) : std::string();
}

std::string SaveFailureText(const SaveResult& result, const RuleSet& rules) {
  switch (result.outcome) {
    case SaveOutcome::Saved:
      return std::string();
    case SaveOutcome::InvalidRules:
      return ruletext::kInvalidRulesMessage;
    case SaveOutcome::Failed:
      return ruletext::kSaveFailed;
    case SaveOutcome::Incomplete:
      break;
  }
  std::string text;
  if (!result.failedRules.empty()) {
    text = ruletext::kIncompleteSave;
    for (std::uint32_t number : result.failedRules) {
      const MailRule* rule = rules.Find(number);
      text += "\r\n・";
      text += rule ? rule->Name() : FormatKeyName(number);
    }
  }
  if (result.blockedSendersFailed) {
    if (!text.empty()) text += "\r\n";
    text += ruletext::kBlockedSendersNotSaved;
  }
  if (result.staleRuleKeysLeft) {
    if (!text.empty()) text += "\r\n";
    text += ruletext::kStaleRuleKeysLeft;
  }
  return text;
}

}  // namespace velkor
