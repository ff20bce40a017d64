#include "wabsync/SyncTargets.h"

#include <cstdint>
#include <cstdio>

#include "rulestore/RegistryLayout.h"
#include "wabsync/SyncTexts.h"

namespace velkor {

namespace {

constexpr std::uint32_t kSenderCriterion = 12;
constexpr std::uint32_t kBodyCriterion = 9;
constexpr std::uint32_t kByteBlock = 65;

std::string RulesKeyPath(const std::string& identityKey) {
  return oereg::RulesMailPath(oereg::IdentityBasePath(identityKey));
}

bool ReadOrder(RegistryAccess& reg, const std::string& path, std::vector<std::string>* names) {
  RegKey key(reg);
  if (key.Open(path, RegAccess::Read) != regerr::kSuccess) return false;
  std::string order;
  if (!key.ReadString(oereg::kOrder, &order)) return false;
  *names = SplitSyncOrder(order);
  return true;
}

}  // namespace

void SyncReport::AddTarget(int n, std::string_view userName, std::string_view ruleName, SafeListKind kind) {
  char head[32];
  std::snprintf(head, sizeof head, "-- %d --\r\n", n);
  text_ += head;
  text_ += "　USER ： ";
  text_ += userName;
  if (kind == SafeListKind::Sender) {
    text_ += "\r\n　RULE： ";
    text_ += ruleName;
    text_ += "\r\n　CRITERIA： 送信者の条件\r\n";
  } else {
    text_ += "\r\n　RULE ： ";
    text_ += ruleName;
    text_ += "\r\n　CRITERIA： 本文の条件\r\n";
  }
}

std::vector<std::string> SplitSyncOrder(std::string_view order) {
  std::vector<std::string> pieces;
  std::size_t pos = 0;
  while (pos < order.size()) {
    const std::size_t blank = order.find(' ', pos);
    const std::size_t end = blank == std::string_view::npos ? order.size() : blank;
    if (end == pos) break;
    pieces.emplace_back(order.substr(pos, end - pos));
    if (blank == std::string_view::npos) break;
    pos = blank + 1;
  }
  return pieces;
}

void FindSyncTargets(RegistryAccess& reg, const SyncIdentitySource& identities, SyncTargetList* targets,
                     SyncReport* report) {
  targets->Clear();
  report->Clear();
  for (const std::string& identity : identities.IdentityKeys()) {
    if (identity.empty() || identities.StoreRoot(identity).empty()) continue;
    const std::string userName = identities.UserName(identity);
    const std::string rulesPath = RulesKeyPath(identity);
    std::vector<std::string> ruleKeys;
    if (!ReadOrder(reg, rulesPath, &ruleKeys)) continue;

    for (const std::string& ruleKey : ruleKeys) {
      const std::string rulePath = rulesPath + "\\" + ruleKey;
      std::string name;
      {
        RegKey rule(reg);
        if (rule.Open(rulePath, RegAccess::Read) != regerr::kSuccess || !rule.ReadString(oereg::kName, &name)) continue;
      }
      // Exact, case-sensitive: a renamed "[safe]..." rule is the user's own.
      SafeListKind kind;
      std::uint32_t expectedType;
      if (name == wabsync::kSenderRuleName) {
        kind = SafeListKind::Sender;
        expectedType = kSenderCriterion;
      } else if (name == wabsync::kBodyRuleName) {
        kind = SafeListKind::Body;
        expectedType = kBodyCriterion;
      } else {
        continue;
      }

      const std::string criteriaPath = oereg::SubPath(rulePath, oereg::kCriteria);
      std::vector<std::string> criterionKeys;
      if (!ReadOrder(reg, criteriaPath, &criterionKeys)) continue;
      for (const std::string& criterionKey : criterionKeys) {
        const std::string criterionPath = criteriaPath + "\\" + criterionKey;
        RegKey criterion(reg);
        if (criterion.Open(criterionPath, RegAccess::Read) != regerr::kSuccess) continue;
        std::uint32_t type = 0;
        std::uint32_t valueType = 0;
        if (!criterion.ReadDword(oereg::kType, &type) || !criterion.ReadDword(oereg::kValueType, &valueType)) continue;
        if (type != expectedType || valueType != kByteBlock) continue;
        targets->Add(criterionPath, identity, kind);
        report->AddTarget(static_cast<int>(targets->Count()), userName, name, kind);
      }
    }
  }
}

}  // namespace velkor
