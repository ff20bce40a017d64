#pragma once
// The blocked senders ("Block Senders") of one identity: a special mail rule
// whose criteria are the addresses (one type-23 criterion each) and whose one
// action deletes the message.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "rulestore/RuleModel.h"

namespace velkor {

class RegistryAccess;
class ProgressSink;

namespace ruletext {
constexpr const char* kBlockedRuleName = "送信者を禁止する";
constexpr const char* kSavingBlockedSenders = "禁止された送信者リストを保存しています。";
}  // namespace ruletext

class BlockedSenderList {
 public:
  BlockedSenderList() = default;
  // identityBasePath: "Identities\{...}\Software\Microsoft\Outlook Express\5.0".
  explicit BlockedSenderList(const std::string& identityBasePath) { Create(identityBasePath); }
  void Create(const std::string& identityBasePath);

  // Path of Block Senders (the change watcher watches it).
  const std::string& KeyPath() const { return keyPath_; }
  bool Loaded() const { return loaded_; }
  bool Modified() const { return modified_; }

  // Never shows a message. On failure the list is still usable (possibly empty).
  bool Load(RegistryAccess& reg);

  int Count() const;
  // Empty when the entry's value is not a text of at least one character.
  std::string Address(int index) const;
  std::vector<std::string> Addresses() const;
  // Replaces the whole list (view order) and marks it modified.
  void SetAddresses(const std::vector<std::string>& addresses);

  // Writes a modified list; an unmodified one is left alone (success).
  bool Save(RegistryAccess& reg, ProgressSink& progress);

  std::uint32_t KeyVersion() const { return keyVersion_; }
  std::uint32_t MailVersion() const { return mailVersion_; }
  const std::string& Name() const { return name_; }
  const CriteriaSet* Criteria() const { return criteria_.get(); }
  const ActionSet* Actions() const { return actions_.get(); }

 private:
  void ReadUnorderedAddresses(RegistryAccess& reg);
  bool WriteAction(RegistryAccess& reg);
  bool WriteAddresses(RegistryAccess& reg, ProgressSink& progress);

  std::string keyPath_;
  bool loaded_ = false;
  bool modified_ = false;
  std::uint32_t keyVersion_ = 0;
  std::uint32_t enabled_ = 1;
  std::string name_;
  std::uint32_t mailVersion_ = 0;
  std::unique_ptr<ActionSet> actions_;
  std::unique_ptr<CriteriaSet> criteria_;
};

}  // namespace velkor
