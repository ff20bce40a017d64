// The tester's reading of blocked senders and rules, one row per rule shape.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "../rulestore/RuleTestSupport.h"
#include "ruletest/RuleEvaluator.h"
#include "ruletest/RuleTestText.h"

namespace velkor {
namespace {

struct CritSpec {
  std::uint32_t type = 0;
  std::vector<std::string> words;  // word criteria
  std::uint32_t flags = 0;
  std::uint32_t number = 0;  // priority, size, security
  std::string text;          // account
};
CritSpec W(std::uint32_t type, std::vector<std::string> words, std::uint32_t flags = 0) {
  CritSpec c;
  c.type = type;
  c.words = std::move(words);
  c.flags = flags;
  return c;
}
CritSpec N(std::uint32_t type, std::uint32_t number = 0) {
  CritSpec c;
  c.type = type;
  c.number = number;
  return c;
}
CritSpec Account(const std::string& id) {
  CritSpec c = N(crit::kAccount);
  c.text = id;
  return c;
}
struct ActSpec {
  std::uint32_t type = 0;
  std::uint32_t folder = 0;  // move and copy
};
struct RuleSpec {
  std::vector<CritSpec> criteria;
  std::vector<ActSpec> actions;
  std::uint32_t logic = kLogicAll;
  bool enabled = true;
};
RuleSpec R(std::vector<CritSpec> criteria, std::vector<ActSpec> actions = {{act::kMove, 5}},
           std::uint32_t logic = kLogicAll, bool enabled = true) {
  return RuleSpec{std::move(criteria), std::move(actions), logic, enabled};
}

std::unique_ptr<MailRule> MakeRule(int index, const RuleSpec& spec) {
  auto rule = std::make_unique<MailRule>("Rules\\Mail", FormatKeyName(static_cast<std::uint32_t>(index)));
  rule->InitAsNew("rule" + std::to_string(index));
  rule->SetEnabled(spec.enabled);
  rule->Criteria()->SetLogic(spec.logic);
  for (const CritSpec& c : spec.criteria) {
    RuleCriterion* item = rule->Criteria()->ForSlotBit(SlotBit(CriterionSlotOfType(c.type)));
    if (IsWordListCriterion(c.type)) {
      const auto bytes = EncodeStringList(c.words);
      item->SetValue(bytes.data(), static_cast<std::uint32_t>(bytes.size()), valuetype::kBytes);
    } else if (c.type == crit::kAccount) {
      item->SetTextValue(c.text);
    } else if (c.type == crit::kAttachment || c.type == crit::kAll) {
      item->SetInUse(true);
    } else {
      item->SetDwordValue(c.number);
    }
    item->SetFlags(c.flags);
  }
  rule->Actions()->SetInUse(SlotBit(ActionSlotOfType(act::kStop)), false);
  for (const ActSpec& a : spec.actions) {
    const SlotMask bit = SlotBit(ActionSlotOfType(a.type));
    if (a.type == act::kMove || a.type == act::kCopy) {
      const FolderRef ref = FolderRef::Make(0x11223344, 0x556677, a.folder);
      rule->Actions()->SetValue(bit, ref.bytes, FolderRef::kSize, valuetype::kBytes);
    } else {
      rule->Actions()->SetInUse(bit, true);
    }
  }
  return rule;
}

// A mail with every field filled; "アイ" has the trail byte 'A' (0x41).
MailMessage SampleMail() {
  MailMessage m;
  m.from = "Ｓａｌｅ Shop <Jane+Deals@Example.CO.JP>";
  m.fromAddresses = {{"Ｓａｌｅ Shop", "Jane+Deals@Example.CO.JP"}};
  m.subject = "ＳＡＬＥ：アイテム特価";
  m.to = "me@example.jp, list@lists.example.org";
  m.cc = "boss@example.jp";
  m.body = "Hello,\r\n本日限りの特価です\r\n";
  m.attachments = {{"a.zip", "application/zip", 100}};
  m.priority = MailPriority::High;
  m.security = MailSecurity::Signed;
  m.size = 40 * 1024;
  return m;
}

struct Row {
  const char* what;
  std::vector<RuleSpec> rules;
  std::vector<std::string> blocked;
  const char* states;  // per rule: M matched, N not, D disabled, I invalid, R not reached
  FinalFolder folder;
  std::uint32_t folderNumber;
  std::vector<std::string> found;  // the first rule's first criterion
};

const std::vector<Row>& Rows() {
  const std::vector<ActSpec> move5 = {{act::kMove, 5}};
  const CritSpec all = N(crit::kAll);
  static const std::vector<Row> rows = {
      {"sender: address in any case", {R({W(crit::kFrom, {"zzz", "jane+deals@example.co.jp"})})}, {}, "M",
       FinalFolder::Folder, 5, {"jane+deals@example.co.jp"}},
      {"sender: display name, full-width case", {R({W(crit::kFrom, {"ｓａｌｅ"})})}, {}, "M", FinalFolder::Folder, 5,
       {"ｓａｌｅ"}},
      {"subject: never from a trail byte", {R({W(crit::kSubject, {"a"})})}, {}, "N", FinalFolder::Inbox, 0, {}},
      {"body: all words, one missing", {R({W(crit::kBody, {"特価", "missing"}, kCritFlagAllWords)})}, {}, "N",
       FinalFolder::Inbox, 0, {"特価"}},
      {"body: all words present", {R({W(crit::kBody, {"HELLO", "特価"}, kCritFlagAllWords)})}, {}, "M",
       FinalFolder::Folder, 5, {"HELLO", "特価"}},
      {"negated: none contained", {R({W(crit::kBody, {"unsubscribe"}, kCritFlagNot)})}, {}, "M", FinalFolder::Folder,
       5, {}},
      {"negated: one contained", {R({W(crit::kBody, {"unsubscribe", "特価"}, kCritFlagNot)})}, {}, "N",
       FinalFolder::Inbox, 0, {"特価"}},
      {"negated all words: one missing",
       {R({W(crit::kBody, {"特価", "missing"}, kCritFlagNot | kCritFlagAllWords)})}, {}, "M", FinalFolder::Folder, 5,
       {"特価"}},
      {"To: the second address", {R({W(crit::kTo, {"lists.example.org"})})}, {}, "M", FinalFolder::Folder, 5,
       {"lists.example.org"}},
      {"Cc: not the To addresses", {R({W(crit::kCc, {"me@example.jp"})})}, {}, "N", FinalFolder::Inbox, 0, {}},
      {"To or Cc: found in Cc", {R({W(crit::kToOrCc, {"boss@"})})}, {}, "M", FinalFolder::Folder, 5, {"boss@"}},
      {"priority high", {R({N(crit::kPriority, 2)})}, {}, "M", FinalFolder::Folder, 5, {}},
      {"priority low", {R({N(crit::kPriority, 1)})}, {}, "N", FinalFolder::Inbox, 0, {}},
      {"size at the limit", {R({N(crit::kSize, 40)})}, {}, "M", FinalFolder::Folder, 5, {}},
      {"size above", {R({N(crit::kSize, 41)})}, {}, "N", FinalFolder::Inbox, 0, {}},
      {"attachment", {R({N(crit::kAttachment)})}, {}, "M", FinalFolder::Folder, 5, {}},
      {"security encrypted", {R({N(crit::kSecurity, 2)})}, {}, "N", FinalFolder::Inbox, 0, {}},
      {"account of the test", {R({Account("00000002")})}, {}, "M", FinalFolder::Folder, 5, {}},
      {"other account", {R({Account("00000003")})}, {}, "N", FinalFolder::Inbox, 0, {}},
      {"logic any", {R({W(crit::kSubject, {"zzz"}), N(crit::kPriority, 2)}, move5, kLogicAny)}, {}, "M",
       FinalFolder::Folder, 5, {}},
      {"logic all", {R({W(crit::kSubject, {"zzz"}), N(crit::kPriority, 2)}, move5, kLogicAll)}, {}, "N",
       FinalFolder::Inbox, 0, {}},
      {"logic 0 means all", {R({W(crit::kSubject, {"zzz"}), N(crit::kPriority, 2)}, move5, 0)}, {}, "N",
       FinalFolder::Inbox, 0, {}},
      {"disabled rule skipped", {R({all}, {{act::kDelete}}, kLogicAll, false)}, {}, "D", FinalFolder::Inbox, 0, {}},
      {"invalid rule skipped", {R({W(crit::kSubject, {})}, {{act::kDelete}}), R({all}, {{act::kMove, 6}})}, {}, "IM",
       FinalFolder::Folder, 6, {}},
      {"stop ends the processing", {R({all}, {{act::kFlag}, {act::kStop}}), R({all}, {{act::kDelete}})}, {}, "MR",
       FinalFolder::Inbox, 0, {}},
      {"first move wins", {R({all}, {{act::kMove, 6}}), R({all}, {{act::kDelete}})}, {}, "MM", FinalFolder::Folder, 6,
       {}},
      {"delete before a move", {R({all}, {{act::kDelete}}), R({all}, {{act::kMove, 6}})}, {}, "MM",
       FinalFolder::Deleted, 0, {}},
      {"blocked address, any case", {R({all})}, {"jane+deals@EXAMPLE.co.jp"}, "R", FinalFolder::Deleted, 0, {}},
      {"blocked address is whole", {R({all})}, {"deals@example.co.jp"}, "M", FinalFolder::Folder, 5, {}},
      {"blocked domain equal", {R({all})}, {"example.co.jp"}, "R", FinalFolder::Deleted, 0, {}},
      {"blocked parent domain", {R({all})}, {"co.jp"}, "R", FinalFolder::Deleted, 0, {}},
      {"blocked domain on a dot only", {R({all})}, {"ample.co.jp"}, "M", FinalFolder::Folder, 5, {}},
  };
  return rows;
}

char StateCode(RuleState s) {
  switch (s) {
    case RuleState::Matched: return 'M';
    case RuleState::NotMatched: return 'N';
    case RuleState::Disabled: return 'D';
    case RuleState::Invalid: return 'I';
    default: return 'R';
  }
}

TEST(RuleEvaluatorTest, Semantics) {
  test::FolderList folders;
  folders.folders = {5, 6};
  RuleChecks checks;
  checks.folders = &folders;
  const MailMessage mail = SampleMail();
  for (const Row& row : Rows()) {
    SCOPED_TRACE(row.what);
    std::vector<std::unique_ptr<MailRule>> owned;
    std::vector<const MailRule*> rules;
    for (const RuleSpec& spec : row.rules) {
      owned.push_back(MakeRule(static_cast<int>(owned.size()), spec));
      rules.push_back(owned.back().get());
    }
    const RuleEvaluator evaluator(row.blocked, rules, checks);
    const RuleVerdict v = evaluator.Evaluate(mail, "00000002");
    std::string states;
    for (const RuleResult& r : v.rules) states += StateCode(r.state);
    EXPECT_EQ(states, row.states);
    EXPECT_EQ(v.blocked, !row.blocked.empty() && row.folder == FinalFolder::Deleted && row.states[0] == 'R');
    EXPECT_EQ(v.blockedEntry, v.blocked ? row.blocked[0] : "");
    EXPECT_EQ(v.folder, row.folder);
    EXPECT_EQ(v.folderNumber, row.folderNumber);
    const auto& criteria = v.rules[0].criteria;
    EXPECT_EQ(criteria.empty() ? std::vector<std::string>{} : criteria[0].foundWords, row.found);
  }
}

TEST(RuleEvaluatorTest, LaterMoveIsListedNotApplied) {
  test::FolderList folders;
  folders.folders = {5, 6};
  RuleChecks checks;
  checks.folders = &folders;
  auto first = MakeRule(0, R({N(crit::kAll)}, {{act::kMove, 5}, {act::kFlag}}));
  auto second = MakeRule(1, R({N(crit::kAll)}, {{act::kMove, 6}, {act::kCopy, 6}}));
  const RuleEvaluator evaluator({}, {first.get(), second.get()}, checks);
  const RuleVerdict v = evaluator.Evaluate(SampleMail(), "");
  ASSERT_EQ(v.actions.size(), 4u);
  EXPECT_TRUE(v.actions[0].decidesFolder);
  EXPECT_EQ(v.actions[2].type, act::kMove);
  EXPECT_TRUE(v.actions[2].superseded);
  EXPECT_EQ(v.appliedRules, (std::vector<int>{0, 1}));
  EXPECT_EQ(VerdictText(v, [](std::uint32_t n) { return n == 5 ? std::string("広告") : std::string(); }),
            "「rule0」により「広告」へ移動されます");
}

}  // namespace
}  // namespace velkor
