#pragma once
// Building rule trees in any RegistryAccess the way Outlook Express stores
// them, and a backend-parameterized fixture for the store suite.

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "registry/RegistryAccess.h"
#include "rulestore/RuleModel.h"

namespace velkor::test {

struct SeedItem {
  std::uint32_t type;
  std::uint32_t flags = 0;
  std::uint32_t logic = 2;  // criteria only
  std::uint32_t valueType = 0;
  std::vector<std::uint8_t> value;
};

inline std::vector<std::uint8_t> Bytes(const std::string& s, bool nul = true) {
  std::vector<std::uint8_t> b(s.begin(), s.end());
  if (nul) b.push_back(0);
  return b;
}
inline std::vector<std::uint8_t> Dword(std::uint32_t v) {
  return {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8), static_cast<std::uint8_t>(v >> 16),
          static_cast<std::uint8_t>(v >> 24)};
}
inline SeedItem Words(std::uint32_t type, const std::vector<std::string>& words, std::uint32_t flags = 0) {
  return {type, flags, 2, valuetype::kBytes, EncodeStringList(words)};
}
inline SeedItem Text(std::uint32_t type, const std::string& text) {
  return {type, 0, 2, valuetype::kText, Bytes(text)};
}
inline SeedItem Number(std::uint32_t type, std::uint32_t v) { return {type, 0, 2, valuetype::kDword, Dword(v)}; }
inline SeedItem Plain(std::uint32_t type) { return {type, 0, 2, valuetype::kNone, {}}; }

inline void WriteSeedItems(RegistryAccess& reg, const std::string& setPath, const std::vector<SeedItem>& items,
                           bool criteria, const std::string& order = "") {
  RegKey set(reg);
  ASSERT_EQ(set.Create(setPath), regerr::kSuccess);
  std::string names;
  for (std::size_t i = 0; i < items.size(); ++i) {
    const std::string name = FormatKeyName(static_cast<std::uint32_t>(i));
    names += (i ? " " : "") + name;
    RegKey item(reg);
    ASSERT_EQ(item.Create(setPath + "\\" + name), regerr::kSuccess);
    item.WriteDword("Flags", items[i].flags);
    if (criteria) item.WriteDword("Logic", items[i].logic);
    item.WriteDword("Type", items[i].type);
    if (items[i].valueType != 0) {
      item.WriteDword("ValueType", items[i].valueType);
      const std::uint32_t regType = items[i].valueType == valuetype::kDword  ? regtype::kDword
                                    : items[i].valueType == valuetype::kText ? regtype::kSz
                                                                             : regtype::kBinary;
      item.WriteBytes("Value", items[i].value.data(), static_cast<std::uint32_t>(items[i].value.size()), regType);
    }
  }
  set.WriteString("Order", order.empty() ? names : order);
}

inline void WriteSeedRule(RegistryAccess& reg, const std::string& rulesPath, const std::string& key,
                          const std::string& name, std::uint32_t enabled, std::uint32_t version,
                          const std::vector<SeedItem>& criteria, const std::vector<SeedItem>& actions) {
  RegKey rule(reg);
  ASSERT_EQ(rule.Create(rulesPath + "\\" + key), regerr::kSuccess);
  rule.WriteDword("Enabled", enabled);
  rule.WriteString("Name", name);
  rule.WriteDword("Version", version);
  WriteSeedItems(reg, rulesPath + "\\" + key + "\\Criteria", criteria, true);
  WriteSeedItems(reg, rulesPath + "\\" + key + "\\Actions", actions, false);
}

inline void WriteRulesHeader(RegistryAccess& reg, const std::string& rulesPath, const std::string& order) {
  RegKey mail(reg);
  ASSERT_EQ(mail.Create(rulesPath), regerr::kSuccess);
  mail.WriteDword("Version", 0x50000);
  mail.WriteString("Order", order);
}

// An identity as Outlook Express keeps it; with `isDefault` the one it starts with.
inline void SeedIdentity(RegistryAccess& reg, const std::string& key, const std::string& userName,
                         bool isDefault = true) {
  RegKey identity(reg);
  ASSERT_EQ(identity.Create("Identities\\" + key), regerr::kSuccess);
  identity.WriteString("Username", userName);
  identity.WriteString("User ID", key);
  if (!isDefault) return;
  RegKey root(reg);
  ASSERT_EQ(root.Create("Identities"), regerr::kSuccess);
  root.WriteString("Default User ID", key);
}

// A mail account under `accountsPath` (an identity's or the global Accounts key).
inline void SeedAccount(RegistryAccess& reg, const std::string& accountsPath, const std::string& id,
                        const std::string& name, const std::string& address, const std::string& displayName) {
  RegKey account(reg);
  ASSERT_EQ(account.Create(accountsPath + "\\" + id), regerr::kSuccess);
  account.WriteString("Account Name", name);
  account.WriteString("SMTP Email Address", address);
  account.WriteString("SMTP Display Name", displayName);
}

// "Identities\{id}\Software\Microsoft\Internet Account Manager\Accounts".
inline std::string IdentityAccountsPath(const std::string& identityKey) {
  return "Identities\\" + identityKey + "\\Software\\Microsoft\\Internet Account Manager\\Accounts";
}

// Three rules, stored in the order 000 002 001.
void SeedThreeRules(RegistryAccess& reg, const std::string& rulesPath);

// Folder check answering from a list of folder numbers.
class FolderList : public FolderRefCheck {
 public:
  std::vector<std::uint32_t> folders;
  bool HasFolder(const std::uint8_t* ref, std::size_t size) const override {
    FolderRef r;
    if (!FolderRef::FromBytes(ref, size, &r)) return false;
    for (auto f : folders)
      if (f == r.FolderNumber()) return true;
    return false;
  }
};

struct StoreBackend {
  std::string label;
  std::function<std::unique_ptr<RegistryAccess>()> make;
};
inline std::string PrintToString(const StoreBackend& b) { return b.label; }

// A scratch identity in the backend's HKEY_CURRENT_USER, removed afterwards.
class StoreSuite : public ::testing::TestWithParam<StoreBackend> {
 protected:
  void SetUp() override;
  void TearDown() override;
  std::string BasePath() const;
  std::string RulesPath() const { return BasePath() + "\\Rules\\Mail"; }

  std::unique_ptr<RegistryAccess> reg_;
  std::string identity_;
};

}  // namespace velkor::test
