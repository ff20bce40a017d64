#include "EditorBenchData.h"

#include <string>
#include <vector>

#include "registry/RegistryAccess.h"
#include "rulestore/RuleStore.h"

namespace velkor {
namespace {

bool AddIdentity(RegistryAccess& reg, const std::string& key, const std::string& name) {
  RegKey identity(reg);
  if (identity.Create(std::string("Identities\\") + key) != regerr::kSuccess) return false;
  return identity.WriteString("Username", name) == regerr::kSuccess &&
         identity.WriteString("User ID", key) == regerr::kSuccess;
}

bool SeedIdentity(RegistryAccess& reg, const std::string& key, int rules, int blocked) {
  RuleStore store(reg);
  store.Load(key);
  for (int i = 0; i < rules; ++i) {
    MailRule& rule = store.Rules().AddNewRule("迷惑メール対策ルール " + std::to_string(i));
    std::vector<std::uint8_t> words =
        EncodeStringList({"spam" + std::to_string(i) + "@example.com", "広告" + std::to_string(i)});
    store.SetCriterionValue(rule.Number(), SlotBit(0), words.data(), static_cast<std::uint32_t>(words.size()),
                            valuetype::kBytes);
    if (i % 3 == 0) store.SetActionInUse(rule.Number(), SlotBit(2), true);
    if (i % 5 == 0) store.SetEnabled(rule.Number(), false);
  }
  std::vector<std::string> addresses;
  addresses.reserve(static_cast<std::size_t>(blocked));
  for (int i = 0; i < blocked; ++i) addresses.push_back("sender" + std::to_string(i) + "@spam.example.net");
  store.BlockedSenders().SetAddresses(addresses);
  NullProgress progress;
  return store.SaveAll(progress).Ok();
}

}  // namespace

bool SeedEditorBenchRegistry(RegistryAccess& reg, int rules, int blocked) {
  if (!AddIdentity(reg, benchdata::kLargeIdentity, "大量 太郎") ||
      !AddIdentity(reg, benchdata::kSmallIdentity, "少量 花子"))
    return false;
  RegKey root(reg);
  if (root.Create("Identities") != regerr::kSuccess ||
      root.WriteString("Default User ID", benchdata::kLargeIdentity) != regerr::kSuccess)
    return false;
  return SeedIdentity(reg, benchdata::kLargeIdentity, rules, blocked) &&
         SeedIdentity(reg, benchdata::kSmallIdentity, 1, 0);
}

}  // namespace velkor
