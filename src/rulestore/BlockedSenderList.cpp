#include "rulestore/BlockedSenderList.h"

#include "rulestore/ProgressSink.h"
#include "registry/RegistryAccess.h"
#include "rulestore/RuleIo.h"
#include "rulestore/RuleStore.h"

namespace velkor {

namespace {
const SlotMask kDeleteBit = SlotBit(ActionSlotOfType(act::kDelete));
}

void BlockedSenderList::Create(const std::string& identityBasePath) {
  keyPath_ = identityBasePath + "\\Block Senders";
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
  const std::string mailPath = keyPath_ + "\\Mail";

  bool ok = false;
  {
    RegKey key(reg);
    RegKey mail(reg);
    ok = !keyPath_.empty() && key.Open(keyPath_, RegAccess::Read) == regerr::kSuccess;
    ok = ok && key.ReadDword("Version", &keyVersion_);
    if (!keyPath_.empty() && mail.Open(mailPath, RegAccess::Read) == regerr::kSuccess) {
      // Each value is read even when an earlier one is missing: the save
      // counts on from the stored "Version" whatever else the key lacks.
      const bool enabled = mail.ReadDword("Enabled", &enabled_);
      const bool named = mail.ReadString("Name", &name_);
      const bool versioned = mail.ReadDword("Version", &mailVersion_);
      ok = ok && enabled && named && versioned;
    } else {
      ok = false;
    }
  }
  if (ok) {
    actions_ = std::make_unique<ActionSet>(mailPath + "\\Actions");
    ok = actions_->Load(reg);
  }
  if (ok) {
    criteria_ = std::make_unique<CriteriaSet>(mailPath + "\\Criteria", CriteriaMode::List);
    ok = criteria_->Load(reg);
  }
  if (ok) {
    loaded_ = true;
    return true;
  }

  // Leave an editable list behind whose one action is the delete action.
  enabled_ = 1;
  if (!actions_ || actions_->Count() == 0) actions_ = std::make_unique<ActionSet>(mailPath + "\\Actions");
  if (RuleAction* remove = actions_->ForSlotBit(kDeleteBit)) {
    remove->ClearValue();
    remove->SetInUse(true);
  }
  if (!criteria_) criteria_ = std::make_unique<CriteriaSet>(mailPath + "\\Criteria", CriteriaMode::List);
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
  const std::string mailPath = keyPath_ + "\\Mail";
  if (!criteria_) criteria_ = std::make_unique<CriteriaSet>(mailPath + "\\Criteria", CriteriaMode::List);
  if (!actions_) {
    actions_ = std::make_unique<ActionSet>(mailPath + "\\Actions");
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
  if (key.ReadDword("Version", &version)) {
    keyVersion_ = version;
  } else {
    if (key.WriteDword("Version", kRulesFormatVersion) != regerr::kSuccess) return false;
    keyVersion_ = kRulesFormatVersion;
  }

  if (criteria_->Count() == 0) {
    if (!RuleIo::DeleteTreeIfPresent(key, "Mail")) return false;
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
    if (mail.Create(keyPath_ + "\\Mail") != regerr::kSuccess) return false;
    std::uint32_t enabled = 0;
    if (!mail.ReadDword("Enabled", &enabled) || enabled != 1) {
      if (mail.WriteDword("Enabled", 1) != regerr::kSuccess) return false;
    }
    enabled_ = 1;
    if (!mail.HasValue("Name")) {
      if (mail.WriteString("Name", ruletext::kBlockedRuleName) != regerr::kSuccess) return false;
      name_ = ruletext::kBlockedRuleName;
    }
    if (mail.WriteDword("Version", newVersion) != regerr::kSuccess) return false;
    // Old entries left under Criteria would be read back as addresses.
    if (!RuleIo::DeleteTreeIfPresent(mail, "Actions") || !RuleIo::DeleteTreeIfPresent(mail, "Criteria"))
      return false;
  }
  if (!WriteAction(reg) || !WriteAddresses(reg, progress)) return false;
  mailVersion_ = newVersion;
  modified_ = false;
  return true;
}

bool BlockedSenderList::WriteAction(RegistryAccess& reg) {
  RegKey key(reg);
  if (key.Create(keyPath_ + "\\Mail\\Actions") != regerr::kSuccess) return false;
  std::string name = "000";
  std::uint32_t type = 0;
  std::vector<std::uint8_t> order;
  if (key.ReadBytes("Order", &order, &type)) {
    std::string text;
    key.ReadString("Order", &text);
    if (type != regtype::kSz || text.size() < 3 || text.find(' ') != std::string::npos) return false;
    name = text;
  } else if (key.WriteString("Order", name) != regerr::kSuccess) {
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
  if (key.WriteString("Order", RuleIo::JoinOrder(names)) != regerr::kSuccess) return false;
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
