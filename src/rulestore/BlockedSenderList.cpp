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

  bool ok = false;
  {
    RegKey key(reg);
    RegKey mail(reg);
    ok = !keyPath_.empty() && key.Open(keyPath_, RegAccess::Read) == regerr::kSuccess;
    ok = ok && key.ReadDword(oereg::kVersion, &keyVersion_);
    if (!keyPath_.empty() && mail.Open(mailPath, RegAccess::Read) == regerr::kSuccess) {
      // Each value is read even when an earlier one is missing: the save
      // counts on from the stored "Version" whatever else the key lacks.
      const bool enabled = mail.ReadDword(oereg::kEnabled, &enabled_);
      const bool named = mail.ReadString(oereg::kName, &name_);
      const bool versioned = mail.ReadDword(oereg::kVersion, &mailVersion_);
      ok = ok && enabled && named && versioned;
    } else {
      ok = false;
    }
  }
  if (ok) {
    actions_ = std::make_unique<ActionSet>(oereg::SubPath(mailPath, oereg::kActions));
    ok = actions_->Load(reg);
  }
  if (ok) {
    criteria_ = std::make_unique<CriteriaSet>(oereg::SubPath(mailPath, oereg::kCriteria), CriteriaMode::List);
    ok = criteria_->Load(reg);
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

  if (criteria_->Count() == 0) {
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
    if (mail.Create(oereg::SubPath(keyPath_, oereg::kBlockedRule)) != regerr::kSuccess) return false;
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
    // Old entries left under Criteria would be read back as addresses.
    if (!RuleIo::DeleteTreeIfPresent(mail, oereg::kActions) || !RuleIo::DeleteTreeIfPresent(mail, oereg::kCriteria))
      return false;
  }
  if (!WriteAction(reg) || !WriteAddresses(reg, progress)) return false;
  mailVersion_ = newVersion;
  modified_ = false;
  return true;
}

bool BlockedSenderList::WriteAction(RegistryAccess& reg) {
  RegKey key(reg);
  if (key.Create(oereg::SubPath(oereg::SubPath(keyPath_, oereg::kBlockedRule), oereg::kActions)) != regerr::kSuccess) return false;
  std::string name = "000";
  std::uint32_t type = 0;
  std::vector<std::uint8_t> order;
  if (key.ReadBytes(oereg::kOrder, &order, &type)) {
    std::string text;
    key.ReadString(oereg::kOrder, &text);
    if (type != regtype::kSz || text.size() < 3 || text.find(' ') != std::string::npos) return false;
    name = text;
  } else if (key.WriteString(oereg::kOrder, name) != regerr::kSuccess) {
    return false;
  }
  if (!RuleIo::DeleteTreeIfPresent(key, name)) return false;
  key.Close();
  // Whatever the list held, the stored action deletes the message.
  RuleAction remove(actions_->KeyPath(), act::kDelete);
  if (const RuleAction* held = actions_->ForSlotBit(kDeleteBit)) remove.SetFlags(held->Flags());
  remove.SetInUse(true);
  return RuleIo::WriteAction(reg, remove, name);
}

bool BlockedSenderList::WriteAddresses(RegistryAccess& reg, ProgressSink& progress) {
  const int count = criteria_->Count();
  const auto names = RuleIo::ItemNames(static_cast<std::size_t>(count));
  RegKey key(reg);
  if (key.Create(criteria_->KeyPath()) != regerr::kSuccess) return false;
  if (key.WriteString(oereg::kOrder, RuleIo::JoinOrder(names)) != regerr::kSuccess) return false;
  const RuleChecks checks;
  for (int i = 0; i < count; ++i) {
    progress.SetPercent(i * 100 / count);
    if (!RuleIo::DeleteTreeIfPresent(key, names[i])) return false;
    const RuleCriterion& entry = criteria_->At(i);
    const bool proper = entry.InUse() && entry.Type() == crit::kBlockedSender && entry.Flags() == 0 &&
                        entry.Logic() == kLogicAny && entry.IsValid(checks);
    if (!proper || !RuleIo::WriteCriterion(reg, entry, names[i], kLogicAny)) return false;
  }
  return true;
}

}  // namespace velkor
