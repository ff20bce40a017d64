#pragma once
// The mail rules of one Outlook Express identity in the registry (below
// HKEY_CURRENT_USER), read into the model of RuleModel.h and written back.
//
//   Identities\{id}\Software\Microsoft\Outlook Express\5.0   identity base key
//     Rules\Mail            "Version" (DWORD), "Order" (e.g. "000 002 001")
//       NNN                 "Enabled", "Name", "Version"
//         Actions           "Order"; III: "Flags", "Type", ["ValueType", "Value"]
//         Criteria          "Order"; III: "Flags", "Logic", "Type", ["ValueType", "Value"]
//     Block Senders         see BlockedSenderList.h
//
// Saving is incremental: only modified rules are rewritten, "Order" only when
// rules were added, removed or moved. Nothing here shows a message; results
// come back as flags and as a SaveResult.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "rulestore/BlockedSenderList.h"
#include "rulestore/ProgressSink.h"
#include "rulestore/RegistryLayout.h"
#include "rulestore/RuleModel.h"

namespace velkor {

class RegistryAccess;

constexpr std::uint32_t kRulesFormatVersion = oereg::kFormatVersion;

using oereg::IdentityBasePath;
using oereg::RulesMailPath;

namespace ruletext {
constexpr const char* kInvalidRulesMessage =
    "メッセージルールにエラーがあります。赤いアイテムをクリックして、問題を解決してください。";
constexpr const char* kSavingRules = "メッセージルールを保存しています。";
constexpr const char* kSavingRule = "'%s'を保存中です。";
constexpr const char* kIncompleteSave = "次のルールを保存できませんでした。もう一度保存してください。";
constexpr const char* kBlockedSendersNotSaved = "禁止された送信者リストを保存できませんでした。";
constexpr const char* kSaveFailed = "メッセージルールを保存できませんでした。";
constexpr const char* kStaleRuleKeysLeft = "不要になったルールのキーの一部を削除できませんでした。もう一度保存してください。";
}  // namespace ruletext

enum class SaveOutcome {
  Saved,         // everything written
  InvalidRules,  // nothing written: a rule is invalid (firstInvalidRule)
  Failed,        // the rule list itself could not be written; nothing after it
  Incomplete,    // the list was written but some rules or the blocked senders were not
};

struct SaveResult {
  SaveOutcome outcome = SaveOutcome::Saved;
  std::vector<std::uint32_t> failedRules;  // numbers of rules not (fully) written
  bool blockedSendersFailed = false;
  bool staleRuleKeysLeft = false;  // keys of rules no longer listed could not be deleted
  std::int64_t firstInvalidRule = -1;  // number of the first invalid rule
  bool Ok() const { return outcome == SaveOutcome::Saved; }
};

class RuleSet {
 public:
  RuleSet() = default;
  explicit RuleSet(std::string rulesMailPath) : path_(std::move(rulesMailPath)) {}

  const std::string& KeyPath() const { return path_; }
  std::uint32_t Version() const { return version_; }
  const std::string& OrderText() const { return order_; }

  // Reads the whole list. No Rules\Mail key: empty, success. No "Version": empty, failure.
  bool Load(RegistryAccess& reg);

  int Count() const { return static_cast<int>(rules_.size()); }
  MailRule& At(int index) { return *rules_[index]; }
  const MailRule& At(int index) const { return *rules_[index]; }
  int IndexOfNumber(std::uint32_t number) const;  // -1 when no rule has it
  MailRule* Find(std::uint32_t number);
  const MailRule* Find(std::uint32_t number) const;
  // Numbers of all rules in set order (what a save wants when nothing moved).
  std::vector<std::uint32_t> Numbers() const;

  // The next free name: the base ("新規のメール ルール" when empty), then "base #1", ...
  std::string UniqueNewName(const std::string& base = std::string()) const;
  // The smallest number that no rule bears and no key of Rules\Mail has: a new
  // rule never lands on a key it did not load.
  std::uint32_t NextFreeNumber() const;
  // False when Rules\Mail exists but could not be read as a list (no "Version").
  bool ListReadable() const { return listReadable_; }
  // Appends a new rule; sets the order-changed flag.
  MailRule& AddNewRule(const std::string& name = std::string());
  bool Remove(std::uint32_t number);
  // Moves the rules into this order (the editor's display order); every number
  // must be present once. Sets the order-changed flag when anything moved.
  bool Reorder(const std::vector<std::uint32_t>& numbers);
  void MarkOrderChanged() { orderChanged_ = true; }
  bool OrderChanged() const { return orderChanged_; }
  bool HasChanges() const;

  // First invalid rule's index, or -1.
  int FirstInvalid(const RuleChecks& checks) const;

  // Writes the list in the given display order. Returns false when the list
  // itself (Rules\Mail, its "Version" or "Order") could not be written; rules
  // that failed are listed in failedRules and stay modified. When a key of a
  // rule no longer listed could not be deleted, the order-changed flag stays
  // set (the next save retries) and the rules are written all the same.
  bool Save(RegistryAccess& reg, const std::vector<std::uint32_t>& displayOrder, ProgressSink& progress,
            const RuleChecks& checks, std::vector<std::uint32_t>* failedRules);

 private:
  std::vector<std::string> SubKeys(RegistryAccess& reg) const;

  std::string path_;
  std::uint32_t version_ = 0;
  std::string order_;
  bool orderChanged_ = false;
  bool listReadable_ = true;
  // Key names below Rules\Mail as last seen; a new rule's number avoids them.
  std::vector<std::string> storedKeys_;
  // Keys of a list that could not be read: never deleted or reused.
  std::vector<std::string> protectedKeys_;
  std::vector<std::unique_ptr<MailRule>> rules_;
};

// The object the editor works through for one identity.
class RuleStore {
 public:
  explicit RuleStore(RegistryAccess& reg) : reg_(reg) {}

  RegistryAccess& Registry() const { return reg_; }
  void SetChecks(const RuleChecks& checks) { checks_ = checks; }
  const RuleChecks& Checks() const { return checks_; }

  // First the blocked senders, then the rules; loaded afterwards whatever the
  // two reported (a part that could not be read is empty).
  void Load(const std::string& identityKey);
  bool Loaded() const { return loaded_; }
  bool RulesLoadedCleanly() const { return rulesLoadOk_; }
  bool BlockedLoadedCleanly() const { return blockedLoadOk_; }

  const std::string& IdentityKey() const { return identityKey_; }
  const std::string& BasePath() const { return basePath_; }
  // The keys the change watcher watches.
  std::string RulesKeyPath() const { return rules_.KeyPath(); }
  std::string BlockedKeyPath() const { return blocked_.KeyPath(); }

  RuleSet& Rules() { return rules_; }
  const RuleSet& Rules() const { return rules_; }
  BlockedSenderList& BlockedSenders() { return blocked_; }
  const BlockedSenderList& BlockedSenders() const { return blocked_; }

  bool HasChanges() const;
  // Validates, writes the rules in display order, then the blocked senders.
  SaveResult SaveAll(const std::vector<std::uint32_t>& displayOrder, ProgressSink& progress);
  // In the current set order.
  SaveResult SaveAll(ProgressSink& progress) { return SaveAll(rules_.Numbers(), progress); }

  // Per-rule operations by rule number; a number no rule bears addresses
  // nothing (reads give 0, false, empty or -1; writes do nothing and return
  // false). Every change marks the rule modified.
  bool HasRule(std::uint32_t number) const { return rules_.Find(number) != nullptr; }
  SlotMask CriteriaMask(std::uint32_t number) const;
  SlotMask ActionMask(std::uint32_t number) const;
  const RuleCriterion* Criterion(std::uint32_t number, SlotMask bit) const;
  const RuleAction* Action(std::uint32_t number, SlotMask bit) const;
  bool SetCriterionValue(std::uint32_t number, SlotMask bit, const void* data, std::uint32_t size,
                         std::uint32_t valueType);
  bool SetCriterionInUse(std::uint32_t number, SlotMask bit, bool inUse);
  bool SetCriterionFlags(std::uint32_t number, SlotMask bit, std::uint32_t flags);
  bool SetActionValue(std::uint32_t number, SlotMask bit, const void* data, std::uint32_t size,
                      std::uint32_t valueType);
  bool SetActionInUse(std::uint32_t number, SlotMask bit, bool inUse);
  bool SetActionFlags(std::uint32_t number, SlotMask bit, std::uint32_t flags);
  std::int64_t Logic(std::uint32_t number) const;  // -1 when no rule
  bool SetLogic(std::uint32_t number, std::uint32_t logic);
  bool Enabled(std::uint32_t number) const;
  bool SetEnabled(std::uint32_t number, bool enabled);
  std::string Name(std::uint32_t number) const;
  bool SetName(std::uint32_t number, const std::string& name);
  bool IsRuleValid(std::uint32_t number) const;
  std::string ProblemText(std::uint32_t number, bool shown) const;

 private:
  RegistryAccess& reg_;
  RuleChecks checks_;
  std::string identityKey_;
  std::string basePath_;
  bool loaded_ = false;
  bool rulesLoadOk_ = false;
  bool blockedLoadOk_ = false;
  RuleSet rules_;
  BlockedSenderList blocked_;
};

// The message for a failed or incomplete save, naming the rules not written.
std::string SaveFailureText(const SaveResult& result, const RuleSet& rules);

}  // namespace velkor
