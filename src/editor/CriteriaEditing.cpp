#include "editor/CriteriaEditing.h"

#include <algorithm>

#include "rulestore/Identities.h"
#include "rulestore/RuleStore.h"
#include "text/ShiftJis.h"

namespace velkor {

CriterionPane PaneOfRow(int row) {
  static const CriterionPane kPanes[kSlotCount] = {
      CriterionPane::Words,    CriterionPane::Words,   CriterionPane::Words, CriterionPane::Words,
      CriterionPane::Words,    CriterionPane::Words,   CriterionPane::Priority, CriterionPane::Account,
      CriterionPane::Size,     CriterionPane::None,    CriterionPane::Security, CriterionPane::None};
  return row >= 0 && row < kSlotCount ? kPanes[row] : CriterionPane::None;
}

std::string FilterSizeText(const std::string& text) {
  return text.find_first_not_of("1234567890") == std::string::npos ? text : std::string();
}

CriteriaEditing::CriteriaEditing(RuleStore& store, std::uint32_t rule, const AccountList& accounts)
    : store_(store), rule_(rule), accounts_(accounts) {}

SlotMask CriteriaEditing::Mask() const { return store_.CriteriaMask(rule_); }

bool CriteriaEditing::Holds(int row) const {
  return row >= 0 && row < kSlotCount && (Mask() & SlotBit(row)) != 0;
}

int CriteriaEditing::CheckedCount() const {
  int count = 0;
  for (SlotMask mask = Mask(); mask; mask &= mask - 1) ++count;
  return count;
}

int CriteriaEditing::FirstChecked() const {
  for (int row = 0; row < kSlotCount; ++row)
    if (Holds(row)) return row;
  return -1;
}

const RuleCriterion* CriteriaEditing::Criterion(int row) const {
  return row >= 0 && row < kSlotCount ? store_.Criterion(rule_, SlotBit(row)) : nullptr;
}

void CriteriaEditing::StoreDword(int row, std::uint32_t value) {
  const std::uint8_t bytes[4] = {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
                                 static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)};
  store_.SetCriterionValue(rule_, SlotBit(row), bytes, 4, valuetype::kDword);
}

void CriteriaEditing::Exclude(int row) {
  if (row == kAllMessagesRow) {
    for (int other = 0; other < kAllMessagesRow; ++other)
      if (Holds(other)) store_.SetCriterionInUse(rule_, SlotBit(other), false);
    if (!Holds(kAllMessagesRow)) store_.SetCriterionInUse(rule_, SlotBit(kAllMessagesRow), true);
  } else if (Holds(kAllMessagesRow)) {
    store_.SetCriterionInUse(rule_, SlotBit(kAllMessagesRow), false);
  }
}

namespace {

// The combo entry of a stored 1-or-2 number, judged by the whole value: 0x101
// is neither, though its low byte alone would pass for 1.
int EntryOfNumber(const RuleCriterion* criterion, std::uint32_t firstValue) {
  std::uint32_t value = 0;
  if (!criterion || !criterion->DwordValue(&value)) return -1;
  if (value != 1 && value != 2) return -1;
  return value == firstValue ? 0 : 1;
}

}  // namespace

CriterionPaneView CriteriaEditing::ShowRow(int row) {
  CriterionPaneView view;
  if (row < 0 || row >= kSlotCount) return view;
  view.kind = PaneOfRow(row);
  const RuleCriterion* criterion = Criterion(row);
  switch (view.kind) {
    case CriterionPane::Words:
      view.title = CriterionSlot(row).description;
      if (criterion && criterion->HasValue())
        view.words = DecodeStringList(criterion->ValueData(), criterion->ValueSize());
      view.addEmptyItem = view.words.empty();
      break;
    case CriterionPane::Priority:
    case CriterionPane::Security: {
      const bool priority = view.kind == CriterionPane::Priority;
      view.title = priority ? ruletext::kPriorityCaption : ruletext::kSecurityCaption;
      view.choices = priority ? std::vector<std::string>{ruletext::kPriorityHigh, ruletext::kPriorityLow}
                              : std::vector<std::string>{ruletext::kSecuritySigned, ruletext::kSecurityEncrypted};
      // Entry 0 is priority high (2) and security signed (1).
      const std::uint32_t first = priority ? kNewPriority : kNewSecurity;
      view.choice = EntryOfNumber(criterion, first);
      if (view.choice < 0) {
        StoreDword(row, first);
        view.choice = 0;
      }
      break;
    }
    case CriterionPane::Account: {
      view.title = ruletext::kAccountCaption;
      std::string stored;
      const bool hasStored = criterion && criterion->TextValue(&stored);
      for (int i = 0; i < accounts_.Count(); ++i) {
        view.choices.push_back(accounts_.AccountName(i));
        if (hasStored && view.choice < 0 && sjis::EqualsIgnoreCase(accounts_.Identifier(i), stored))
          view.choice = i;
      }
      if (view.choice < 0) {
        const std::string fallback = accounts_.IdentifierForNewCriterion();
        for (int i = 0; i < accounts_.Count() && view.choice < 0; ++i)
          if (accounts_.Identifier(i) == fallback) view.choice = i;
        // Without accounts nothing can be stored; the row stays invalid (red).
        if (view.choice >= 0)
          store_.SetCriterionValue(rule_, SlotBit(row), fallback.c_str(),
                                   static_cast<std::uint32_t>(fallback.size() + 1), valuetype::kText);
      }
      break;
    }
    case CriterionPane::Size: {
      view.title = ruletext::kSizeCaption;
      std::uint32_t size = 0;
      if (criterion && criterion->DwordValue(&size))
        view.sizeText = std::to_string(size);
      else
        view.focusSize = true;
      break;
    }
    case CriterionPane::None:
      break;
  }
  Exclude(row);
  return view;
}

CriterionPaneView CriteriaEditing::CheckRow(int row) {
  CriterionPaneView view = ShowRow(row);
  if (row >= 0 && row < kSlotCount && !Holds(row)) store_.SetCriterionInUse(rule_, SlotBit(row), true);
  return view;
}

void CriteriaEditing::UncheckRow(int row) {
  if (Holds(row)) store_.SetCriterionInUse(rule_, SlotBit(row), false);
}

bool CriteriaEditing::ChooseEntry(int row, int index) {
  switch (PaneOfRow(row)) {
    case CriterionPane::Priority:
      if (index == 0 || index == 1) StoreDword(row, index == 0 ? 2 : 1);
      break;
    case CriterionPane::Security:
      if (index == 0 || index == 1) StoreDword(row, index == 0 ? 1 : 2);
      break;
    case CriterionPane::Account:
      if (index >= 0 && index < accounts_.Count()) {
        const std::string& id = accounts_.Identifier(index);
        store_.SetCriterionValue(rule_, SlotBit(row), id.c_str(), static_cast<std::uint32_t>(id.size() + 1),
                                 valuetype::kText);
      }
      break;
    default:
      break;
  }
  return Holds(row);
}

std::string CriteriaEditing::CommitSize(const std::string& text) {
  if (text.empty()) {
    store_.SetCriterionValue(rule_, SlotBit(kSizeRow), nullptr, 0, valuetype::kNone);
    return std::string();
  }
  const std::uint32_t size = ParseSizeEntry(text);
  StoreDword(kSizeRow, size);
  return std::to_string(size);
}

OptionView CriteriaEditing::Options(int shownRow, int wordCount) const {
  OptionView view;
  view.logicVisible = CheckedCount() >= 2;
  if (view.logicVisible) view.logicAll = store_.Logic(rule_) != kLogicAny;
  view.wordOptionsVisible = PaneOfRow(shownRow) == CriterionPane::Words && Holds(shownRow) && wordCount > 0;
  if (view.wordOptionsVisible) {
    const RuleCriterion* criterion = Criterion(shownRow);
    const std::uint32_t flags = criterion ? criterion->Flags() : 0;
    view.notContained = (flags & kCritFlagNot) != 0;
    view.allWords = (flags & kCritFlagAllWords) != 0;
  }
  return view;
}

bool CriteriaEditing::ClickOption(int row, OptionRadio radio) {
  if (radio == OptionRadio::LogicAll || radio == OptionRadio::LogicAny) {
    const std::int64_t logic = store_.Logic(rule_);
    if (logic < 0) return false;
    if (radio == OptionRadio::LogicAll && logic == kLogicAny) return store_.SetLogic(rule_, kLogicAll);
    if (radio == OptionRadio::LogicAny && logic != kLogicAny) return store_.SetLogic(rule_, kLogicAny);
    return false;
  }
  const RuleCriterion* criterion = Criterion(row);
  if (!criterion || PaneOfRow(row) != CriterionPane::Words) return false;
  std::uint32_t flags = criterion->Flags();
  switch (radio) {
    case OptionRadio::WordsContained: flags &= ~kCritFlagNot; break;
    case OptionRadio::WordsNotContained: flags |= kCritFlagNot; break;
    case OptionRadio::AllWords: flags |= kCritFlagAllWords; break;
    case OptionRadio::AnyWord: flags &= ~kCritFlagAllWords; break;
    default: break;
  }
  if (flags == criterion->Flags()) return false;
  return store_.SetCriterionFlags(rule_, SlotBit(row), flags);
}

WordCommit CriteriaEditing::CommitWords(int row, const std::vector<std::string>& items,
                                        const std::string& placeholder) {
  WordCommit commit;
  std::vector<bool> keep(items.size(), true);
  // Only real words count: an empty item must not let the placeholder go.
  std::size_t remaining = 0;
  for (const std::string& item : items) remaining += item.empty() ? 0 : 1;
  for (std::size_t i = items.size(); i-- > 0 && remaining > 1;) {
    if (sjis::EqualsIgnoreCase(items[i], placeholder)) {
      keep[i] = false;
      --remaining;
      commit.removed.push_back(static_cast<int>(i));
    }
  }
  std::vector<std::string> words;
  words.reserve(remaining);
  for (std::size_t i = 0; i < items.size(); ++i)
    // An empty entry would end the stored list early.
    if (keep[i] && !items[i].empty()) words.push_back(items[i]);
  const std::vector<std::uint8_t> value = EncodeStringList(words);
  const std::uint32_t type = value.empty() ? valuetype::kNone : valuetype::kBytes;
  // An edit that ended with the same words is no change to save.
  const RuleCriterion* criterion = Criterion(row);
  const bool same = criterion && criterion->InUse() == !value.empty() && criterion->ValueType() == type &&
                    std::equal(value.begin(), value.end(), criterion->ValueData(),
                               criterion->ValueData() + criterion->ValueSize());
  if (!same)
    store_.SetCriterionValue(rule_, SlotBit(row), value.empty() ? nullptr : value.data(),
                             static_cast<std::uint32_t>(value.size()), type);
  commit.held = Holds(row);
  return commit;
}

std::string CriteriaEditing::RowTip(int row, std::size_t bufferSize) const {
  const RuleCriterion* criterion = Criterion(row);
  if (!criterion) return std::string();
  return CriterionSlotText(*criterion, row, store_.Checks(), bufferSize);
}

bool CriteriaEditing::RowInvalid(int row) const {
  const RuleCriterion* criterion = Criterion(row);
  return criterion && criterion->InUse() && !criterion->IsValid(store_.Checks());
}

}  // namespace velkor
