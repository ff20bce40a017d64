#include "rulestore/RuleIo.h"

#include <unordered_set>

#include "rulestore/RegistryLayout.h"
#include "text/ShiftJis.h"

namespace velkor {

namespace {
// Item key names are three hex digits; the buffer leaves room for anything a
// damaged profile holds.
constexpr std::uint32_t kNameBuffer = 512;
}  // namespace

bool RuleIo::ReadItem(RegistryAccess& reg, RuleItem& item, const std::string& name, std::uint32_t* logic,
                      bool emptyTextReadable) {
  if (item.keyPath_.empty() || name.empty()) return false;
  RegKey key(reg);
  if (key.Open(item.keyPath_ + "\\" + name, RegAccess::Read) != regerr::kSuccess) return false;
  std::uint32_t flags = 0, type = 0, itemLogic = 0;
  if (!key.ReadDword(oereg::kFlags, &flags)) return false;
  if (logic && !key.ReadDword(oereg::kLogic, &itemLogic)) return false;
  if (!key.ReadDword(oereg::kType, &type)) return false;

  item.type_ = type;
  item.flags_ = flags;
  if (logic) *logic = itemLogic;
  item.hasValue_ = false;
  item.value_.clear();
  item.valueType_ = valuetype::kNone;

  if (key.HasValue(oereg::kValueType)) {
    std::uint32_t valueType = 0;
    if (!key.ReadDword(oereg::kValueType, &valueType)) return false;
    std::vector<std::uint8_t> bytes;
    switch (valueType) {
      case valuetype::kDword:
        if (!key.ReadBytes(oereg::kValue, &bytes) || bytes.size() != 4) return false;
        break;
      case valuetype::kText:
        if (!key.ReadBytes(oereg::kValue, &bytes)) return false;
        if (!emptyTextReadable && (bytes.empty() || bytes[0] == 0)) return false;
        break;
      case valuetype::kBytes:
        if (!key.ReadBytes(oereg::kValue, &bytes)) return false;
        break;
      default:
        return false;
    }
    item.hasValue_ = true;
    item.value_ = std::move(bytes);
    item.valueType_ = valueType;
  }
  item.loaded_ = true;
  item.inUse_ = true;
  return true;
}

bool RuleIo::ReadCriterion(RegistryAccess& reg, RuleCriterion& item, const std::string& name) {
  return ReadItem(reg, item, name, &item.logic_, false);
}

bool RuleIo::ReadAction(RegistryAccess& reg, RuleAction& item, const std::string& name) {
  return ReadItem(reg, item, name, nullptr, true);
}

bool RuleIo::WriteItem(RegistryAccess& reg, const RuleItem& item, const std::string& name,
                       const std::uint32_t* logic) {
  if (item.keyPath_.empty() || name.empty()) return false;
  RegKey key(reg);
  if (key.Create(item.keyPath_ + "\\" + name) != regerr::kSuccess) return false;
  if (key.WriteDword(oereg::kFlags, item.flags_) != regerr::kSuccess) return false;
  if (logic && key.WriteDword(oereg::kLogic, *logic) != regerr::kSuccess) return false;
  if (key.WriteDword(oereg::kType, item.type_) != regerr::kSuccess) return false;
  if (!item.hasValue_) {
    return DeleteValueIfPresent(key, oereg::kValueType) && DeleteValueIfPresent(key, oereg::kValue);
  }
  if (key.WriteDword(oereg::kValueType, item.valueType_) != regerr::kSuccess) return false;
  std::uint32_t regType;
  switch (item.valueType_) {
    case valuetype::kDword: regType = regtype::kDword; break;
    case valuetype::kText: regType = regtype::kSz; break;
    case valuetype::kBytes: regType = regtype::kBinary; break;
    default: return false;
  }
  return key.WriteBytes(oereg::kValue, item.value_.data(), static_cast<std::uint32_t>(item.value_.size()), regType) ==
         regerr::kSuccess;
}

bool RuleIo::WriteCriterion(RegistryAccess& reg, const RuleCriterion& item, const std::string& name,
                            std::uint32_t logic) {
  return WriteItem(reg, item, name, &logic);
}

bool RuleIo::WriteAction(RegistryAccess& reg, const RuleAction& item, const std::string& name) {
  return WriteItem(reg, item, name, nullptr);
}

std::vector<std::string> RuleIo::SplitOrder(const std::string& order, bool stopAtEmpty) {
  std::vector<std::string> names;
  for (auto& name : sjis::Split(order, ' ')) {
    if (name.empty()) {
      if (stopAtEmpty) break;
      continue;
    }
    names.push_back(std::move(name));
  }
  return names;
}

std::string RuleIo::JoinOrder(const std::vector<std::string>& names) {
  std::string order;
  for (const auto& name : names) {
    if (!order.empty()) order += ' ';
    order += name;
  }
  return order;
}

std::vector<std::string> RuleIo::ItemNames(std::size_t count) {
  std::vector<std::string> names;
  names.reserve(count);
  for (std::size_t i = 0; i < count; ++i) names.push_back(FormatKeyName(static_cast<std::uint32_t>(i)));
  return names;
}

bool RuleIo::DeleteSubkeysExcept(RegKey& key, const std::vector<std::string>& keep) {
  std::unordered_set<std::string> kept;
  kept.reserve(keep.size());
  for (const auto& k : keep) kept.insert(sjis::AsciiLower(k));
  // Names are collected first: deleting while enumerating by index would skip
  // the name that moves into the deleted one's place.
  for (const auto& subkey : key.SubKeyNames(kNameBuffer)) {
    if (kept.count(sjis::AsciiLower(subkey)) != 0) continue;
    if (key.DeleteKeyTree(subkey) != regerr::kSuccess) return false;
  }
  return true;
}

std::vector<std::string> RuleIo::FreshItemNames(std::size_t count, const std::vector<std::string>& taken) {
  std::unordered_set<std::string> used;
  used.reserve(taken.size());
  for (const auto& name : taken) used.insert(sjis::AsciiLower(name));
  std::vector<std::string> names;
  names.reserve(count);
  for (std::uint32_t n = 0; names.size() < count; ++n) {
    std::string name = FormatKeyName(n);
    if (used.count(sjis::AsciiLower(name)) == 0) names.push_back(std::move(name));
  }
  return names;
}

bool RuleIo::WriteSetSwitched(RegistryAccess& reg, const std::string& setPath, std::size_t count,
                              const std::function<bool(std::size_t, const std::string&)>& write) {
  std::vector<std::string> oldNames;
  {
    RegKey key(reg);
    if (key.Create(setPath) != regerr::kSuccess) return false;
    std::string order;
    if (key.ReadString(oereg::kOrder, &order)) oldNames = SplitOrder(order, false);
    // Keys no "Order" lists are leftovers of an interrupted save: nobody reads them.
    if (!DeleteSubkeysExcept(key, oldNames)) return false;
  }
  const auto names = FreshItemNames(count, oldNames);
  for (std::size_t i = 0; i < count; ++i) {
    if (!write(i, names[i])) return false;
  }
  RegKey key(reg);
  if (key.Open(setPath, RegAccess::All) != regerr::kSuccess) return false;
  if (key.WriteString(oereg::kOrder, JoinOrder(names)) != regerr::kSuccess) return false;
  DeleteSubkeysExcept(key, names);
  return true;
}

bool RuleIo::CopyTree(RegistryAccess& reg, const std::string& from, const std::string& to) {
  // Keys still to copy, as paths below `from` and `to`; each key is copied
  // before its subkeys, in enumeration order, from this stack rather than by
  // recursion, so no nesting depth can exhaust the thread's stack.
  std::vector<std::string> pending{std::string()};
  std::vector<char> name(16384);
  std::vector<std::uint8_t> data;
  while (!pending.empty()) {
    const std::string below = std::move(pending.back());
    pending.pop_back();
    RegKey source(reg);
    RegKey target(reg);
    if (source.Open(from + below, RegAccess::Read) != regerr::kSuccess || target.Create(to + below) != regerr::kSuccess)
      return false;
    for (std::uint32_t index = 0;; ++index) {
      std::uint32_t nameSize = static_cast<std::uint32_t>(name.size());
      std::uint32_t type = 0, dataSize = 0;
      long rc = reg.EnumValue(source.Handle(), index, name.data(), &nameSize, &type, nullptr, &dataSize);
      if (rc == regerr::kNoMoreItems) break;
      if (rc != regerr::kSuccess) return false;
      const std::string valueName(name.data(), nameSize);
      if (!source.ReadBytes(valueName, &data, &type)) return false;
      if (target.WriteBytes(valueName, data.data(), static_cast<std::uint32_t>(data.size()), type) != regerr::kSuccess)
        return false;
    }
    const std::vector<std::string> subkeys = source.SubKeyNames(kNameBuffer);
    for (auto it = subkeys.rbegin(); it != subkeys.rend(); ++it) pending.push_back(below + "\\" + *it);
  }
  return true;
}

bool RuleIo::DeleteTreeIfPresent(RegKey& key, const std::string& subkey) {
  const long rc = key.DeleteKeyTree(subkey);
  return rc == regerr::kSuccess || rc == regerr::kFileNotFound;
}

bool RuleIo::DeleteValueIfPresent(RegKey& key, const std::string& name) {
  const long rc = key.DeleteValue(name);
  return rc == regerr::kSuccess || rc == regerr::kFileNotFound;
}

}  // namespace velkor
