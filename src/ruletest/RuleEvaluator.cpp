#include "ruletest/RuleEvaluator.h"

#include <array>
#include <unordered_map>

#include "mail/MultiPatternMatcher.h"
#include "text/ShiftJis.h"

namespace velkor {

namespace {

// The mail fields word criteria look at; To or Cc looks at two.
enum Field : int { kFieldFrom, kFieldSubject, kFieldBody, kFieldTo, kFieldCc, kFieldCount };

const std::string& FieldText(const MailMessage& mail, int field) {
  switch (field) {
    case kFieldFrom: return mail.from;
    case kFieldSubject: return mail.subject;
    case kFieldBody: return mail.body;
    case kFieldTo: return mail.to;
    default: return mail.cc;
  }
}

// The fields of a word criterion: one, or two for To or Cc.
std::vector<int> FieldsOf(std::uint32_t type) {
  switch (type) {
    case crit::kFrom: return {kFieldFrom};
    case crit::kSubject: return {kFieldSubject};
    case crit::kBody: return {kFieldBody};
    case crit::kTo: return {kFieldTo};
    case crit::kCc: return {kFieldCc};
    case crit::kToOrCc: return {kFieldTo, kFieldCc};
    default: return {};
  }
}

std::uint32_t DwordOf(const RuleItem& item) {
  std::uint32_t value = 0;
  item.DwordValue(&value);
  return value;
}

}  // namespace

struct RuleEvaluator::Compiled {
  struct Word {
    std::string text;                       // as the rule spells it
    std::array<std::uint32_t, 2> patterns;  // pattern index in each field of the criterion
  };
  struct Criterion {
    int slot = 0;
    std::uint32_t type = 0;
    std::uint32_t flags = 0;
    std::vector<int> fields;
    std::vector<Word> words;
    std::uint32_t number = 0;  // priority, size, security
    std::string text;          // account
  };
  struct Action {
    int slot = 0;
    std::uint32_t type = 0;
    std::uint32_t valueType = 0;
    std::vector<std::uint8_t> value;
  };
  struct Rule {
    std::uint32_t number = 0;
    std::string keyName;
    std::string name;
    bool enabled = false;
    bool valid = false;
    bool any = false;  // logic 1
    std::vector<Criterion> criteria;
    std::vector<Action> actions;
  };

  // Blocked senders: whole addresses and domains, case-folded.
  std::unordered_map<std::string, std::string> blockedAddresses;  // folded -> entry
  std::unordered_map<std::string, std::string> blockedDomains;
  std::vector<Rule> rules;
  // Per field: the distinct folded words of every rule, and their matcher.
  std::array<std::vector<std::string>, kFieldCount> patterns;
  std::array<std::unique_ptr<MultiPatternMatcher>, kFieldCount> matchers;

  std::uint32_t PatternOf(int field, const std::string& folded,
                          std::unordered_map<std::string, std::uint32_t>& index) {
    auto [it, added] = index.emplace(folded, static_cast<std::uint32_t>(patterns[field].size()));
    if (added) patterns[field].push_back(folded);
    return it->second;
  }

  const std::string* BlockedEntry(const std::string& sender) const {
    if (sender.empty()) return nullptr;
    const std::string folded = sjis::FoldCase(sender);
    if (auto it = blockedAddresses.find(folded); it != blockedAddresses.end()) return &it->second;
    const std::size_t at = folded.rfind('@');
    if (at == std::string::npos) return nullptr;
    // The domain itself, then every suffix after a dot.
    for (std::size_t from = at + 1; from < folded.size();) {
      if (auto it = blockedDomains.find(folded.substr(from)); it != blockedDomains.end()) return &it->second;
      const std::size_t dot = folded.find('.', from);
      if (dot == std::string::npos) break;
      from = dot + 1;
    }
    return nullptr;
  }
};

RuleEvaluator::RuleEvaluator(const std::vector<std::string>& blockedSenders,
                             const std::vector<const MailRule*>& rules, const RuleChecks& checks)
    : c_(std::make_unique<Compiled>()) {
  for (const std::string& entry : blockedSenders) {
    const std::string folded = sjis::FoldCase(sjis::Trim(entry));
    if (folded.empty()) continue;
    auto& map = folded.find('@') != std::string::npos ? c_->blockedAddresses : c_->blockedDomains;
    map.emplace(folded, entry);
  }

  std::array<std::unordered_map<std::string, std::uint32_t>, kFieldCount> index;
  for (const MailRule* source : rules) {
    Compiled::Rule& rule = c_->rules.emplace_back();
    rule.number = source->Number();
    rule.keyName = source->KeyName();
    rule.name = source->Name();
    rule.enabled = source->Enabled();
    rule.valid = source->Criteria() && source->Actions() && source->IsValid(checks);
    if (!rule.valid) continue;
    rule.any = source->Criteria()->Logic() == kLogicAny;
    for (int slot = 0; slot < kSlotCount; ++slot) {
      const RuleCriterion* item = source->Criteria()->ForSlotBit(SlotBit(slot));
      if (!item || !item->InUse()) continue;
      Compiled::Criterion& criterion = rule.criteria.emplace_back();
      criterion.slot = slot;
      criterion.type = item->Type();
      criterion.flags = item->Flags();
      criterion.fields = FieldsOf(item->Type());
      if (!criterion.fields.empty()) {
        for (std::string& word : DecodeStringList(item->ValueData(), item->ValueSize())) {
          const std::string folded = sjis::FoldCase(word);
          Compiled::Word w{std::move(word), {0, 0}};
          for (std::size_t f = 0; f < criterion.fields.size(); ++f) {
            const int field = criterion.fields[f];
            w.patterns[f] = c_->PatternOf(field, folded, index[field]);
          }
          criterion.words.push_back(std::move(w));
        }
      } else if (item->Type() == crit::kAccount) {
        item->TextValue(&criterion.text);
      } else {
        criterion.number = DwordOf(*item);
      }
    }
    for (int slot = 0; slot < kSlotCount; ++slot) {
      const RuleAction* item = source->Actions()->ForSlotBit(SlotBit(slot));
      if (!item || !item->InUse()) continue;
      Compiled::Action& action = rule.actions.emplace_back();
      action.slot = slot;
      action.type = item->Type();
      action.valueType = item->ValueType();
      if (item->HasValue()) action.value.assign(item->ValueData(), item->ValueData() + item->ValueSize());
    }
  }
  for (int field = 0; field < kFieldCount; ++field) {
    if (!c_->patterns[field].empty()) c_->matchers[field] = std::make_unique<MultiPatternMatcher>(c_->patterns[field]);
  }
}

RuleEvaluator::~RuleEvaluator() = default;

int RuleEvaluator::RuleCount() const { return static_cast<int>(c_->rules.size()); }

RuleVerdict RuleEvaluator::Evaluate(const MailMessage& mail, const std::string& account) const {
  RuleVerdict verdict;
  if (const std::string* entry = c_->BlockedEntry(mail.SenderAddress())) {
    verdict.blocked = true;
    verdict.blockedEntry = *entry;
    verdict.folder = FinalFolder::Deleted;
  }

  // One pass per field for the words of every rule.
  std::array<std::vector<std::uint8_t>, kFieldCount> found;
  for (int field = 0; field < kFieldCount; ++field) {
    if (!c_->matchers[field]) continue;
    found[field] = c_->matchers[field]->FindPresent(sjis::FoldCase(FieldText(mail, field)));
  }

  bool stopped = false;
  bool folderDecided = verdict.blocked;
  for (const Compiled::Rule& rule : c_->rules) {
    const int ruleIndex = static_cast<int>(verdict.rules.size());
    RuleResult& result = verdict.rules.emplace_back();
    result.number = rule.number;
    result.keyName = rule.keyName;
    result.name = rule.name;
    if (!rule.valid) {
      result.state = RuleState::Invalid;
      continue;
    }
    std::size_t matchedCount = 0;
    for (const Compiled::Criterion& criterion : rule.criteria) {
      CriterionResult& cr = result.criteria.emplace_back();
      cr.slot = criterion.slot;
      cr.type = criterion.type;
      cr.negated = (criterion.flags & kCritFlagNot) != 0;
      cr.allWords = (criterion.flags & kCritFlagAllWords) != 0;
      bool matched = false;
      switch (criterion.type) {
        case crit::kPriority:
          matched = (criterion.number == 2 && mail.priority == MailPriority::High) ||
                    (criterion.number == 1 && mail.priority == MailPriority::Low);
          break;
        case crit::kSecurity:
          matched = (criterion.number == 1 && mail.security == MailSecurity::Signed) ||
                    (criterion.number == 2 && mail.security == MailSecurity::Encrypted);
          break;
        case crit::kSize:
          matched = mail.size >= std::uint64_t{criterion.number} * 1024;
          break;
        case crit::kAttachment:
          matched = !mail.attachments.empty();
          break;
        case crit::kAccount:
          matched = sjis::EqualsIgnoreCase(criterion.text, account);
          break;
        case crit::kAll:
          matched = true;
          break;
        default: {
          cr.wordCount = criterion.words.size();
          for (const Compiled::Word& word : criterion.words) {
            bool contained = false;
            for (std::size_t f = 0; f < criterion.fields.size(); ++f)
              contained = contained || found[criterion.fields[f]][word.patterns[f]] != 0;
            if (contained) cr.foundWords.push_back(word.text);
          }
          // No usable word: contained in nothing.
          const bool contains = cr.allWords ? !criterion.words.empty() && cr.foundWords.size() == criterion.words.size()
                                            : !cr.foundWords.empty();
          matched = contains != cr.negated;
          break;
        }
      }
      cr.matched = matched;
      matchedCount += matched ? 1 : 0;
    }
    result.criteriaMatch = rule.any ? matchedCount > 0 : matchedCount == rule.criteria.size();
    if (!rule.enabled) {
      result.state = RuleState::Disabled;
      continue;
    }
    if (verdict.blocked || stopped) {
      result.state = RuleState::NotReached;
      continue;
    }
    if (!result.criteriaMatch) {
      result.state = RuleState::NotMatched;
      continue;
    }
    result.state = RuleState::Matched;
    verdict.appliedRules.push_back(ruleIndex);
    for (const Compiled::Action& action : rule.actions) {
      ActionResult& ar = verdict.actions.emplace_back();
      ar.rule = ruleIndex;
      ar.slot = action.slot;
      ar.type = action.type;
      ar.valueType = action.valueType;
      ar.value = action.value;
      if (action.type == act::kMove || action.type == act::kDelete) {
        ar.decidesFolder = !folderDecided;
        ar.superseded = folderDecided;
        if (!folderDecided) {
          folderDecided = true;
          verdict.decidingRule = ruleIndex;
          FolderRef ref;
          if (action.type == act::kMove && FolderRef::FromBytes(action.value.data(), action.value.size(), &ref)) {
            verdict.folder = FinalFolder::Folder;
            verdict.folderNumber = ref.FolderNumber();
          } else {
            verdict.folder = FinalFolder::Deleted;
          }
        }
      }
      if (action.type == act::kStop) stopped = true;
    }
    if (stopped) verdict.stoppedBy = ruleIndex;
  }
  return verdict;
}

}  // namespace velkor
