#include "rulestore/BlockedSenderList.h"

#include "rulestore/ProgressSink.h"
#include "rulestore/RegistryLayout.h"
#include "registry/RegistryAccess.h"
#include "rulestore/RuleIo.h"
#include "rulestore/RuleStore.h"

namespace velkor {

namespace {
const SlotMask kDeleteBit = SlotBit(ActionSlotOfType(act::kDelete));
}

void BlockedSenderList::Create(const std::string& identityBasePath) {
  keyPath_ = oereg::BlockSendersPath(identityBasePath);
  loaded_ = false;
  modified_ = false;
  keyVersion_ = 0;
  enabled_ = 1;
  name_.clear();
  mailVersion_ = 0;
  actions_.reset();
  criteria_.reset();
}

bool BlockedSenderList::Load(RegistryAccess& reg) {
  loaded_ = false;
  modified_ = false;
  actions_.reset();
  criteria_.reset();
  keyVersion_ = 0;
  enabled_ = 1;
  name_.clear();
  mailVersion_ = 0;
  const std::string mailPath = oereg::SubPath(keyPath_, oereg::kBlockedRule);

  // The header values and the items are read independently: a header that
  // lacks a value must not hide the addresses, or the next save would replace
  // every stored address with an empty list.
  bool header = false;
  bool mailExists = false;
  {
    RegKey key(reg);
    RegKey mail(reg);
    header = !keyPath_.empty() && key.Open(keyPath_, RegAccess::Read) == regerr::kSuccess;
    header = header && key.ReadDword(oereg::kVersion, &keyVersion_);
    mailExists = !keyPath_.empty() && mail.Open(mailPath, RegAccess::Read) == regerr::kSuccess;
    if (mailExists) {
      // Each value is read even when an earlier one is missing: the save
      // counts on from the stored "Version" whatever else the key lacks.
      const bool enabled = mail.ReadDword(oereg::kEnabled, &enabled_);
      const bool named = mail.ReadString(oereg::kName, &name_);
      const bool versioned = mail.ReadDword(oereg::kVersion, &mailVersion_);
      header = header && enabled && named && versioned;
    }
  }
  bool ok = header && mailExists;
  if (mailExists) {
    actions_ = std::make_unique<ActionSet>(oereg::SubPath(mailPath, oereg::kActions));
    ok = actions_->Load(reg) && ok;
    criteria_ = std::make_unique<CriteriaSet>(oereg::SubPath(mailPath, oereg::kCriteria), CriteriaMode::List);
    if (!criteria_->Load(reg)) {
      ok = false;
      ReadUnorderedAddresses(reg);
    }
  }
  if (ok) {
    loaded_ = true;
    return true;
  }

  // Leave an editable list behind whose one action is the delete action.
  enabled_ = 1;
  if (!actions_ || actions_->Count() == 0) actions_ = std::make_unique<ActionSet>(oereg::SubPath(mailPath, oereg::kActions));
  if (RuleAction* remove = actions_->ForSlotBit(kDeleteBit)) {
    remove->ClearValue();
    remove->SetInUse(true);
  }
  if (!criteria_) criteria_ = std::make_unique<CriteriaSet>(oereg::SubPath(mailPath, oereg::kCriteria), CriteriaMode::List);
  return false;
}

void BlockedSenderList::ReadUnorderedAddresses(RegistryAccess& reg) {
  // Without a readable "Order" the entries are still there: take them in key
  // order, so that a save keeps them instead of writing an empty list.
  RegKey key(reg);
  if (key.Open(criteria_->KeyPath(), RegAccess::Read) != regerr::kSuccess) return;
  const auto names = key.SubKeyNames();
  key.Close();
  for (const auto& name : names) {
    RuleCriterion item(criteria_->KeyPath(), 0);
    if (RuleIo::ReadCriterion(reg, item, name)) criteria_->items_.push_back(std::move(item));
  }
}

int BlockedSenderList::Count() const { return criteria_ ? criteria_->Count() : 0; }

std::string BlockedSenderList::Address(int index) const { return criteria_ ? criteria_->TextAt(index) : ""; }

std::vector<std::string> BlockedSenderList::Addresses() const {
  std::vector<std::string> addresses;
  for (int i = 0; i < Count(); ++i) addresses.push_back(Address(i));
  return addresses;
}

void BlockedSenderList::SetAddresses(const std::vector<std::string>& addresses) {
  const std::string mailPath = oereg::SubPath(keyPath_, oereg::kBlockedRule);
  if (!criteria_) criteria_ = std::make_unique<CriteriaSet>(oereg::SubPath(mailPath, oereg::kCriteria), CriteriaMode::List);
  if (!actions_) {
    actions_ = std::make_unique<ActionSet>(oereg::SubPath(mailPath, oereg::kActions));
    actions_->SetInUse(kDeleteBit, true);
  }
  criteria_->SetTexts(addresses);
  modified_ = true;
}

bool BlockedSenderList::Save(RegistryAccess& reg, ProgressSink& progress) {
  if (!modified_) return true;
  if (keyPath_.empty() || !actions_ || !criteria_) return false;
  progress.SetPercent(0);
  progress.SetStatusText(ruletext::kSavingBlockedSenders);

  RegKey key(reg);
  if (key.Create(keyPath_) != regerr::kSuccess) return false;
  std::uint32_t version = 0;
  if (key.ReadDword(oereg::kVersion, &version)) {
    keyVersion_ = version;
  } else {
    if (key.WriteDword(oereg::kVersion, kRulesFormatVersion) != regerr::kSuccess) return false;
    keyVersion_ = kRulesFormatVersion;
  }

  const std::string mailPath = oereg::SubPath(keyPath_, oereg::kBlockedRule);
  if (criteria_->Count() == 0) {
    // An empty "Order" first: a save cut off while the tree goes reads as the
    // empty list, never as a part of the old one.
    RegKey criteria(reg);
    if (criteria.Open(oereg::SubPath(mailPath, oereg::kCriteria), RegAccess::All) == regerr::kSuccess &&
        criteria.WriteString(oereg::kOrder, std::string()) != regerr::kSuccess)
      return false;
    criteria.Close();
    if (!RuleIo::DeleteTreeIfPresent(key, oereg::kBlockedRule)) return false;
    mailVersion_ = 0;
    name_.clear();
    modified_ = false;
    return true;
  }

  // As for rules, the version counts saves that reached the registry, so a
  // failed attempt and its retry store the same number.
  const std::uint32_t newVersion = mailVersion_ + 1;
  {
    RegKey mail(reg);
    if (mail.Create(mailPath) != regerr::kSuccess) return false;
    std::uint32_t enabled = 0;
    if (!mail.ReadDword(oereg::kEnabled, &enabled) || enabled != 1) {
      if (mail.WriteDword(oereg::kEnabled, 1) != regerr::kSuccess) return false;
    }
    enabled_ = 1;
    if (!mail.HasValue(oereg::kName)) {
      if (mail.WriteString(oereg::kName, ruletext::kBlockedRuleName) != regerr::kSuccess) return false;
      name_ = ruletext::kBlockedRuleName;
    }
    if (mail.WriteDword(oereg::kVersion, newVersion) != regerr::kSuccess) return false;
  }
  if (!WriteAction(reg) || !WriteAddresses(reg, progress)) return false;
  mailVersion_ = newVersion;
  modified_ = false;
  return true;
}

bool BlockedSenderList::WriteAction(RegistryAccess& reg) {
  // Whatever the list held, the stored action deletes the message.
  RuleAction remove(actions_->KeyPath(), act::kDelete);
  if (const RuleAction* held = actions_->ForSlotBit(kDeleteBit)) remove.SetFlags(held->Flags());
  remove.SetInUse(true);
  // A stored action that already is exactly that stays as it is.
  {
    RegKey key(reg);
    std::string order;
    if (key.Open(actions_->KeyPath(), RegAccess::Read) == regerr::kSuccess && key.ReadString(oereg::kOrder, &order) &&
        !order.empty() && order.find(' ') == std::string::npos) {
      key.Close();
      RuleAction stored(actions_->KeyPath(), 0);
      if (RuleIo::ReadAction(reg, stored, order) && stored.Type() == act::kDelete && !stored.HasValue() &&
          stored.Flags() == remove.Flags())
        return true;
    }
  }
  return RuleIo::WriteSetSwitched(reg, actions_->KeyPath(), 1, [&](std::size_t, const std::string& name) {
    return RuleIo::WriteAction(reg, remove, name);
  });
}

bool BlockedSenderList::WriteAddresses(RegistryAccess& reg, ProgressSink& progress) {
  const int count = criteria_->Count();
  const RuleChecks checks;
  // The new entries go under names the stored "Order" does not list, so the
  // old list stays whole until the one write of the new "Order".
  return RuleIo::WriteSetSwitched(
      reg, criteria_->KeyPath(), static_cast<std::size_t>(count), [&](std::size_t i, const std::string& name) {
        progress.SetPercent(static_cast<int>(i * 100 / static_cast<std::size_t>(count)));
        const RuleCriterion& entry = criteria_->At(static_cast<int>(i));
        const bool proper = entry.InUse() && entry.Type() == crit::kBlockedSender && entry.Flags() == 0 &&
                            entry.Logic() == kLogicAny && entry.IsValid(checks);
        return proper && RuleIo::WriteCriterion(reg, entry, name, kLogicAny);
      });
}

}  // namespace velkor
