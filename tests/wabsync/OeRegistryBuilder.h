#pragma once
// Writes Outlook Express identities, accounts and safe-list rules into any
// RegistryAccess, as Outlook Express and the editor leave them.

#include <cstdint>
#include <string>
#include <vector>

#include "registry/RegistryAccess.h"
#include "rulestore/RuleModel.h"

namespace velkor::testing {

inline std::string IdentityBase(const std::string& identity) {
  return "Identities\\" + identity + "\\Software\\Microsoft\\Outlook Express\\5.0";
}
inline std::string RulesPath(const std::string& identity) { return IdentityBase(identity) + "\\Rules\\Mail"; }
inline std::string CriterionPath(const std::string& identity, const std::string& rule, const std::string& item) {
  return RulesPath(identity) + "\\" + rule + "\\Criteria\\" + item;
}

struct CriterionDef {
  std::string key;  // "000"
  std::uint32_t type;
  std::uint32_t valueType;
  std::vector<std::string> entries;
  std::uint32_t flags = 0;
};

class OeRegistryBuilder {
 public:
  explicit OeRegistryBuilder(RegistryAccess& reg) : reg_(reg) {}

  void Identity(const std::string& key, const std::string& userName, const std::string& storeRoot) {
    RegKey id(reg_);
    id.Create("Identities\\" + key);
    id.WriteString("Username", userName);
    RegKey base(reg_);
    base.Create(IdentityBase(key));
    if (!storeRoot.empty()) base.WriteString("Store Root", storeRoot);
  }

  void Account(const std::string& identity, const std::string& id, const std::string& address) {
    RegKey key(reg_);
    key.Create("Identities\\" + identity + "\\Software\\Microsoft\\Internet Account Manager\\Accounts\\" + id);
    key.WriteString("Account Name", "account " + id);
    key.WriteString("SMTP Email Address", address);
    key.WriteString("SMTP Display Name", "name " + id);
  }

  void RuleOrder(const std::string& identity, const std::string& order) {
    RegKey key(reg_);
    key.Create(RulesPath(identity));
    key.WriteDword("Version", 3);
    key.WriteString("Order", order);
  }

  void Rule(const std::string& identity, const std::string& ruleKey, const std::string& name,
            const std::vector<CriterionDef>& criteria, const std::string& criteriaOrder = "") {
    const std::string rulePath = RulesPath(identity) + "\\" + ruleKey;
    RegKey rule(reg_);
    rule.Create(rulePath);
    rule.WriteDword("Enabled", 1);
    rule.WriteString("Name", name);
    rule.WriteDword("Version", 7);
    RegKey actions(reg_);
    actions.Create(rulePath + "\\Actions");
    actions.WriteString("Order", "000");
    RegKey action(reg_);
    action.Create(rulePath + "\\Actions\\000");
    action.WriteDword("Flags", 0);
    action.WriteDword("Type", 12);

    std::string order;
    RegKey set(reg_);
    set.Create(rulePath + "\\Criteria");
    for (const CriterionDef& c : criteria) {
      if (!order.empty()) order += ' ';
      order += c.key;
      RegKey item(reg_);
      item.Create(rulePath + "\\Criteria\\" + c.key);
      item.WriteDword("Flags", c.flags);
      item.WriteDword("Logic", 2);
      item.WriteDword("Type", c.type);
      item.WriteDword("ValueType", c.valueType);
      const std::vector<std::uint8_t> bytes = EncodeStringList(c.entries);
      item.WriteBytes("Value", bytes.data(), static_cast<std::uint32_t>(bytes.size()));
    }
    set.WriteString("Order", criteriaOrder.empty() ? order : criteriaOrder);
  }

 private:
  RegistryAccess& reg_;
};

}  // namespace velkor::testing
