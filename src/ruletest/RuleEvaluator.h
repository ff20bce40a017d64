#pragma once
// Applies one identity's blocked senders and mail rules to a read mail the way
// the mail program does on download, and says why: which blocked entry or
// which rules caught it, which criteria matched with which words, the actions
// in effect and the folder the mail ends in.
//
// The reading, where the mail program's own behaviour is not documented:
//  - Blocked senders first. An entry with "@" is the whole sender address, an
//    entry without "@" a domain that the sender's domain equals or ends in
//    ("." + entry); letter case ignored. A blocked mail goes to the deleted
//    items and no rule is applied.
//  - Rules in display order; a disabled or invalid rule is skipped.
//  - A rule matches when its criteria in use match: logic 1 any, else all.
//  - Word criteria: each word a substring of the field, letter case ignored,
//    never starting inside a double-byte character. Flag 2: all words, else
//    any; flag 1: the result negated.
//  - Every matching rule's actions apply in order; a stop ends the processing
//    after the rule's own actions; the first move or delete decides the folder.
//
// The words of all rules are searched in one pass per field of the mail.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "message/MailMessage.h"
#include "rulestore/RuleModel.h"

namespace velkor {

class MultiPatternMatcher;

enum class RuleState : std::uint8_t {
  Matched,     // applied
  NotMatched,  // its criteria do not match
  Disabled,    // skipped: not enabled
  Invalid,     // skipped: the rule is not valid
  NotReached,  // not applied: the sender is blocked or an earlier rule stopped the processing
};

struct CriterionResult {
  int slot = 0;  // display slot 0-11
  std::uint32_t type = 0;
  bool matched = false;
  bool negated = false;   // flag 1: matches when the words are not contained
  bool allWords = false;  // flag 2: every word must be contained
  std::size_t wordCount = 0;
  // Word criteria: the words the field contains, as the rule spells them, in
  // list order. For a negated criterion that matched this is empty.
  std::vector<std::string> foundWords;
};

struct RuleResult {
  std::uint32_t number = 0;
  std::string keyName;
  std::string name;
  RuleState state = RuleState::NotMatched;
  // Whether the criteria match; also answered for a disabled or not reached
  // rule (what it would do), false for an invalid one.
  bool criteriaMatch = false;
  std::vector<CriterionResult> criteria;  // the criteria in use, by slot; empty for an invalid rule
};

struct ActionResult {
  int rule = 0;  // index into RuleVerdict::rules
  int slot = 0;
  std::uint32_t type = 0;
  std::uint32_t valueType = 0;
  std::vector<std::uint8_t> value;
  bool decidesFolder = false;  // the first move or delete
  bool superseded = false;     // a later move or delete: listed, but the mail is not moved again
};

enum class FinalFolder : std::uint8_t { Inbox, Deleted, Folder };

struct RuleVerdict {
  bool blocked = false;
  std::string blockedEntry;  // the blocked-sender entry that matched
  std::vector<RuleResult> rules;      // every rule, in display order
  std::vector<int> appliedRules;      // indices of the matched rules, in the order applied
  std::vector<ActionResult> actions;  // the actions in effect, in order
  FinalFolder folder = FinalFolder::Inbox;
  std::uint32_t folderNumber = 0;  // FinalFolder::Folder: the folder of the deciding move
  int decidingRule = -1;           // index of the rule whose move or delete decides; -1 for none or blocked
  int stoppedBy = -1;              // index of the rule that stopped the processing
};

class RuleEvaluator {
 public:
  // `rules` in display order; they are copied, so the evaluator stays usable
  // when they change (build a new one to follow the change).
  RuleEvaluator(const std::vector<std::string>& blockedSenders, const std::vector<const MailRule*>& rules,
                const RuleChecks& checks);
  ~RuleEvaluator();
  RuleEvaluator(const RuleEvaluator&) = delete;
  RuleEvaluator& operator=(const RuleEvaluator&) = delete;

  // `account`: the identifier of the account the mail came in by.
  RuleVerdict Evaluate(const MailMessage& mail, const std::string& account) const;

  int RuleCount() const;

 private:
  struct Compiled;
  std::unique_ptr<Compiled> c_;
};

}  // namespace velkor
