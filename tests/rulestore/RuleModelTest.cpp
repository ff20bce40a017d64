// The rule model without a registry: validity, encodings, texts, slots.

#include <gtest/gtest.h>

#include "RuleTestSupport.h"
#include "rulestore/RuleStore.h"

namespace velkor::test {
namespace {

struct CriterionCase {
  const char* what;
  SeedItem item;
  bool ntFamily;
  bool valid;
};

RuleCriterion MakeCriterion(const SeedItem& s) {
  RuleCriterion c("R\\Criteria", s.type);
  c.SetFlags(s.flags);
  c.SetLogic(s.logic);
  c.SetValue(s.valueType ? s.value.data() : nullptr, static_cast<std::uint32_t>(s.value.size()), s.valueType);
  c.SetInUse(true);
  return c;
}

TEST(RuleCriterionTest, Validity) {
  const std::vector<std::uint8_t> big16k(16384, 'a'), big16k1(16385, 'a');
  const CriterionCase cases[] = {
      {"words", Words(crit::kSubject, {"a"}), true, true},
      {"all words, negated", Words(crit::kSubject, {"a"}, 3), true, true},
      {"flags 4", Words(crit::kSubject, {"a"}, 4), true, false},
      {"logic 3", {crit::kFrom, 0, 3, valuetype::kBytes, EncodeStringList({"a"})}, true, false},
      {"empty word list", {crit::kBody, 0, 2, valuetype::kBytes, {}}, true, false},
      {"word list as text", Text(crit::kTo, "a"), true, false},
      {"16 KB on 9x", {crit::kSubject, 0, 2, valuetype::kBytes, big16k}, false, true},
      {"16 KB + 1 on 9x", {crit::kSubject, 0, 2, valuetype::kBytes, big16k1}, false, false},
      {"16 KB + 1 on NT", {crit::kSubject, 0, 2, valuetype::kBytes, big16k1}, true, true},
      {"priority 0x101", Number(crit::kPriority, 0x101), true, true},
      {"priority 3", Number(crit::kPriority, 3), true, false},
      {"priority 3 bytes", {crit::kPriority, 0, 2, valuetype::kDword, {1, 0, 0}}, true, false},
      {"security 2", Number(crit::kSecurity, 2), true, true},
      {"attachment", Plain(crit::kAttachment), true, true},
      {"attachment with value", Number(crit::kAttachment, 1), true, false},
      {"size", Number(crit::kSize, 40000), true, true},
      {"account", Text(crit::kAccount, "1"), true, true},
      {"account empty", Text(crit::kAccount, ""), true, false},
      {"blocked sender", {crit::kBlockedSender, 0, 1, valuetype::kText, Bytes("a@b")}, true, true},
      {"blocked sender logic 2", {crit::kBlockedSender, 0, 2, valuetype::kText, Bytes("a@b")}, true, false},
      {"type 16", Plain(16), true, false},
      {"type 7", Plain(7), true, false},
  };
  RuleChecks nt, nine;
  nine.ntFamily = false;
  for (const auto& c : cases) {
    EXPECT_EQ(MakeCriterion(c.item).IsValid(c.ntFamily ? nt : nine), c.valid) << c.what;
  }
  RuleCriterion unused("R", 16);
  EXPECT_TRUE(unused.IsValid(nt));
}

class Files : public PathCheck {
 public:
  bool Exists(const std::string& path) const override { return path == "C:\\reply.eml"; }
};

TEST(RuleActionTest, Validity) {
  FolderList folders;
  folders.folders = {42};
  Files files;
  RuleChecks checks;
  checks.folders = &folders;
  checks.paths = &files;
  const FolderRef inStore = FolderRef::Make(0x11223344, 0x556677, 42), gone = FolderRef::Make(0x11223344, 0x556677, 7);
  struct Case {
    const char* what;
    std::uint32_t type;
    std::uint32_t valueType;
    std::vector<std::uint8_t> value;
    bool valid;
  } cases[] = {
      {"move to existing folder", act::kMove, valuetype::kBytes, {inStore.bytes, inStore.bytes + 12}, true},
      {"move to missing folder", act::kMove, valuetype::kBytes, {gone.bytes, gone.bytes + 12}, false},
      {"copy with 11 bytes", act::kCopy, valuetype::kBytes, {inStore.bytes, inStore.bytes + 11}, false},
      {"forward", act::kForward, valuetype::kText, Bytes("x@y"), true},
      {"reply to existing file", act::kReply, valuetype::kText, Bytes("C:\\reply.eml"), true},
      {"reply to missing file", act::kReply, valuetype::kText, Bytes("C:\\none.eml"), false},
      {"delete", act::kDelete, 0, {}, true},
      {"stop with value", act::kStop, valuetype::kDword, Dword(1), false},
      {"highlight 16", act::kHighlight, valuetype::kDword, Dword(16), true},
      {"highlight 17", act::kHighlight, valuetype::kDword, Dword(17), false},
      {"watch 2", act::kWatchIgnore, valuetype::kDword, Dword(2), true},
      {"watch 0", act::kWatchIgnore, valuetype::kDword, Dword(0), false},
      {"type 3", 3, 0, {}, false},
  };
  for (const auto& c : cases) {
    RuleAction a("R\\Actions", c.type);
    a.SetValue(c.valueType ? c.value.data() : nullptr, static_cast<std::uint32_t>(c.value.size()), c.valueType);
    a.SetInUse(true);
    EXPECT_EQ(a.IsValid(checks), c.valid) << c.what;
  }
  // Without anyone to ask about folders, a move cannot be valid.
  RuleAction move("R\\Actions", act::kMove);
  move.SetValue(inStore.bytes, 12, valuetype::kBytes);
  EXPECT_FALSE(move.IsValid(RuleChecks{}));
}

TEST(RuleEncodingTest, StringLists) {
  EXPECT_EQ(EncodeStringList({"abc", "de"}), (std::vector<std::uint8_t>{'a', 'b', 'c', 0, 'd', 'e', 0, 0, 0}));
  EXPECT_EQ(EncodeStringList({"a"}), (std::vector<std::uint8_t>{'a', 0, 0, 0}));
  EXPECT_TRUE(EncodeStringList({}).empty());
  EXPECT_EQ(EncodeStringList({"", "a"}), EncodeStringList({"a"}));  // an empty entry would end the list

  const struct {
    std::vector<std::uint8_t> bytes;
    std::vector<std::string> entries;
  } decodes[] = {
      {{'a', 0, 'b', 0, 0, 0}, {"a", "b"}},
      {{'a', 0, 0, 'b', 0}, {"a"}},    // stops at the first empty entry
      {{'a', 'b'}, {"ab"}},            // no NUL at all: bounded by the size
      {{0x83, 0x5C, 0}, {"\x83\x5C"}},  // a second byte 0x5C is part of the character
      {{}, {}},
  };
  for (const auto& d : decodes) EXPECT_EQ(DecodeStringList(d.bytes.data(), d.bytes.size()), d.entries);
}

TEST(RuleEncodingTest, KeyNamesSlotsAndFolderRefs) {
  EXPECT_EQ(FormatKeyName(0), "000");
  EXPECT_EQ(FormatKeyName(10), "00A");
  EXPECT_EQ(FormatKeyName(0x1234), "1234");
  std::uint32_t n = 0;
  EXPECT_TRUE(ParseKeyName("00a", &n));
  EXPECT_EQ(n, 10u);
  EXPECT_FALSE(ParseKeyName("0x1", &n));
  EXPECT_FALSE(ParseKeyName("", &n));

  EXPECT_EQ(SlotOfBit(SlotBit(0)), 0);
  EXPECT_EQ(SlotOfBit(SlotBit(11)), 11);
  for (SlotMask bad : {0u, 3u, 1u << 12}) EXPECT_EQ(SlotOfBit(bad), -1) << bad;

  const FolderRef ref = FolderRef::Make(0xA1B2C3D4, 0x00E5F607, 0x100);
  const std::uint8_t expected[12] = {0xD4, 0xC3, 0xB2, 0xA1, 0x07, 0xF6, 0xE5, 1, 0, 1, 0, 0};
  EXPECT_EQ(std::vector<std::uint8_t>(ref.bytes, ref.bytes + 12), std::vector<std::uint8_t>(expected, expected + 12));
  EXPECT_TRUE(ref.SameStore(FolderRef::Make(0xA1B2C3D4, 0x00E5F607, 5)));
  EXPECT_FALSE(ref.SameStore(FolderRef::Make(0xA1B2C3D4, 0x00E5F608, 0x100)));
}

TEST(RuleEncodingTest, SizeEntries) {
  const struct {
    const char* text;
    std::uint32_t kb;
  } cases[] = {{"100", 100}, {"-5", 32767}, {"40000", 32767}, {"32766", 32766}, {"32767", 32767},
               {" 12kb", 12}, {"99999999999999999999", 32767}, {"abc", 0}, {"0", 0}};
  for (const auto& c : cases) EXPECT_EQ(ParseSizeEntry(c.text), c.kb) << c.text;
}

TEST(ActionSetTest, ServerActionsExcludeEveryOther) {
  ActionSet actions("R\\Actions");
  actions.SetInUse(SlotBit(0), true);
  actions.SetInUse(SlotBit(5), true);
  actions.SetInUse(SlotBit(11), true);
  EXPECT_EQ(actions.UsedMask(), SlotBit(11));
  actions.SetInUse(SlotBit(10), true);
  EXPECT_EQ(actions.UsedMask(), SlotBit(10));
  const auto colour = Dword(2);
  actions.SetValue(SlotBit(4), colour.data(), 4, valuetype::kDword);
  EXPECT_EQ(actions.UsedMask(), SlotBit(4));
  EXPECT_FALSE(actions.SetInUse(SlotBit(12), true));
  EXPECT_EQ(actions.UsedMask(), SlotBit(4));
}

TEST(MailRuleTest, ProblemTexts) {
  RuleChecks checks;
  MailRule rule("M", "000");
  rule.InitAsNew("r");
  EXPECT_EQ(rule.ProblemText(checks, false), ruletext::kNoCriteria);
  rule.Actions()->SetInUse(SlotBit(9), false);
  EXPECT_EQ(rule.ProblemText(checks, false), ruletext::kNoCriteriaNoActions);
  rule.Criteria()->ForSlotBit(SlotBit(1))->SetInUse(true);  // in use with no value: invalid
  EXPECT_EQ(rule.ProblemText(checks, false), ruletext::kNoActions);
  rule.Actions()->SetInUse(SlotBit(2), true);
  EXPECT_EQ(rule.ProblemText(checks, true), ruletext::kRedItemsInvalid);
  EXPECT_EQ(rule.ProblemText(checks, false), ruletext::kItemHasError);
  const auto words = EncodeStringList({"x"});
  rule.Criteria()->ForSlotBit(SlotBit(1))->SetValue(words.data(), 4, valuetype::kBytes);
  EXPECT_EQ(rule.ProblemText(checks, false), "");
}

TEST(MailRuleTest, CriterionSlotTexts) {
  RuleChecks nine;
  nine.ntFamily = false;
  RuleCriterion subject("C", crit::kSubject);
  subject.SetInUse(true);
  EXPECT_EQ(CriterionSlotText(subject, 1, nine), std::string(CriterionSlot(1).description) + ruletext::kSlotEmpty);
  const std::vector<std::uint8_t> big(16385, 'a');
  subject.SetValue(big.data(), 16385, valuetype::kBytes);
  const std::string text = CriterionSlotText(subject, 1, nine);
  EXPECT_NE(text.find("16.001KB"), std::string::npos) << text;
  EXPECT_EQ(CriterionSlotText(subject, 1, RuleChecks{}), CriterionSlot(1).description);
  RuleCriterion priority("C", crit::kPriority);
  priority.SetDwordValue(7);
  EXPECT_EQ(CriterionSlotText(priority, 6, nine), std::string(CriterionSlot(6).description) + ruletext::kSlotError);
  // Cut to the buffer without splitting a double-byte character.
  EXPECT_EQ(CriterionSlotText(priority, 6, nine, 6), "メッ");
}

TEST(RuleSetTest, NewRuleNamesAndNumbers) {
  RuleSet set("M");
  MailRule& first = set.AddNewRule();
  EXPECT_EQ(first.Name(), ruletext::kNewRuleName);
  EXPECT_EQ(first.KeyName(), "000");
  EXPECT_TRUE(first.Modified());
  EXPECT_TRUE(set.OrderChanged());
  set.AddNewRule();
  set.AddNewRule();
  EXPECT_EQ(set.At(2).Name(), std::string(ruletext::kNewRuleName) + " #2");
  set.Remove(1);
  EXPECT_EQ(set.AddNewRule().KeyName(), "001");  // the smallest free number
  EXPECT_EQ(set.UniqueNewName("spam"), "spam");
  EXPECT_FALSE(set.Reorder({0, 0, 2}));
  EXPECT_TRUE(set.Reorder({2, 1, 0}));
  EXPECT_EQ(set.Numbers(), (std::vector<std::uint32_t>{2, 1, 0}));
}

}  // namespace
}  // namespace velkor::test
