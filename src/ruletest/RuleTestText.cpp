#include "ruletest/RuleTestText.h"

#include <cstdio>

namespace velkor {

namespace {

std::string Format(const char* pattern, const std::string& a, const std::string& b = std::string()) {
  std::string out(std::string(pattern).size() + a.size() + b.size() + 16, '\0');
  const int n = std::snprintf(out.data(), out.size(), pattern, a.c_str(), b.c_str());
  out.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
  return out;
}

std::string FolderText(std::uint32_t number, const FolderNameLookup& folderName) {
  std::string name = folderName ? folderName(number) : std::string();
  return name.empty() ? "#" + std::to_string(number) : name;
}

// "1,234,567": the size as the mail program shows it.
std::string Grouped(std::uint64_t value) {
  std::string digits = std::to_string(value);
  for (int i = static_cast<int>(digits.size()) - 3; i > 0; i -= 3) digits.insert(static_cast<std::size_t>(i), ",");
  return digits;
}

}  // namespace

std::string VerdictText(const RuleVerdict& verdict, const FolderNameLookup& folderName) {
  using namespace ruletesttext;
  if (verdict.blocked) return Format(kBlockedBy, verdict.blockedEntry, kDeletedItems);
  if (verdict.decidingRule >= 0) {
    const std::string folder =
        verdict.folder == FinalFolder::Folder ? FolderText(verdict.folderNumber, folderName) : kDeletedItems;
    return Format(kMovedBy, verdict.rules[static_cast<std::size_t>(verdict.decidingRule)].name, folder);
  }
  if (verdict.appliedRules.empty()) return kNoRuleMatches;
  const std::string& first = verdict.rules[static_cast<std::size_t>(verdict.appliedRules.front())].name;
  if (verdict.appliedRules.size() == 1) return Format(kMatchedStays, first, kInbox);
  std::string out(std::string(kMatchedMoreStays).size() + first.size() + 64, '\0');
  const int n = std::snprintf(out.data(), out.size(), kMatchedMoreStays, first.c_str(),
                              static_cast<int>(verdict.appliedRules.size() - 1), kInbox);
  out.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
  return out;
}

const char* RuleStateMark(RuleState state) {
  using namespace ruletesttext;
  switch (state) {
    case RuleState::Matched: return kMarkMatched;
    case RuleState::NotMatched: return kMarkNotMatched;
    case RuleState::Disabled: return kMarkDisabled;
    case RuleState::Invalid: return kMarkInvalid;
    default: return kMarkNotReached;
  }
}

std::vector<std::string> RuleDetailLines(const RuleVerdict& verdict, int ruleIndex, const FolderNameLookup& folderName) {
  using namespace ruletesttext;
  std::vector<std::string> lines;
  if (ruleIndex < 0 || static_cast<std::size_t>(ruleIndex) >= verdict.rules.size()) return lines;
  const RuleResult& rule = verdict.rules[static_cast<std::size_t>(ruleIndex)];
  switch (rule.state) {
    case RuleState::Disabled:
      lines.push_back(std::string(kDisabledRule) + (rule.criteriaMatch ? kWouldMatch : ""));
      break;
    case RuleState::Invalid:
      lines.push_back(kInvalidRule);
      break;
    case RuleState::NotReached:
      lines.push_back(verdict.blocked || verdict.stoppedBy < 0
                          ? std::string(kNotReachedBlocked)
                          : Format(kNotReachedStopped, verdict.rules[static_cast<std::size_t>(verdict.stoppedBy)].name));
      break;
    default:
      break;
  }
  for (const CriterionResult& c : rule.criteria) {
    std::string line = std::string(c.matched ? kCriterionMatched : kCriterionNotMatched) + " " +
                       CriterionSlot(c.slot).description;
    if (IsWordListCriterion(c.type)) {
      if (c.negated) line += std::string(" ") + kNotContained;
      if (c.foundWords.empty()) {
        line += std::string(" ") + kNoneContained;
      } else {
        line += std::string(" ") + kContained;
        for (std::size_t i = 0; i < c.foundWords.size(); ++i) line += (i ? ", " : "") + c.foundWords[i];
      }
    }
    lines.push_back(std::move(line));
  }
  bool header = false;
  for (const ActionResult& a : verdict.actions) {
    if (a.rule != ruleIndex) continue;
    if (!header) lines.push_back(kActionsHeader);
    header = true;
    std::string line = std::string("  ") + ActionSlot(a.slot).description;
    FolderRef ref;
    if ((a.type == act::kMove || a.type == act::kCopy) && FolderRef::FromBytes(a.value.data(), a.value.size(), &ref))
      line += "「" + FolderText(ref.FolderNumber(), folderName) + "」";
    if (a.superseded) line += kSupersededMove;
    lines.push_back(std::move(line));
  }
  return lines;
}

std::vector<std::string> MailSummaryLines(const MailMessage& mail) {
  using namespace ruletesttext;
  std::string attachments;
  for (const MailAttachment& a : mail.attachments)
    attachments += (attachments.empty() ? "" : ", ") + (a.fileName.empty() ? a.contentType : a.fileName);
  const char* priority = mail.priority == MailPriority::High  ? kPriorityHigh
                         : mail.priority == MailPriority::Low ? kPriorityLow
                                                              : kPriorityNormal;
  std::vector<std::string> lines = {
      kFrom + mail.from,
      kSubject + mail.subject,
      kTo + mail.to,
      kCc + mail.cc,
      Format(kSize, Grouped(mail.size)),
      kAttachments + (attachments.empty() ? std::string(kNoAttachment) : attachments),
      kPriority + std::string(priority),
  };
  if (mail.security != MailSecurity::None)
    lines.push_back(kSecurity + std::string(mail.security == MailSecurity::Signed ? kSigned : kEncrypted));
  return lines;
}

}  // namespace velkor
