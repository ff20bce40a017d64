#include <gtest/gtest.h>

#include <numeric>

#include "rulestore/RuleStore.h"
#include "templates/RuleTemplates.h"

namespace velkor {
namespace {

const RuleCriterion& CriterionOf(const MailRule& rule, int slot) {
  return *rule.Criteria()->ForSlotBit(SlotBit(slot));
}

TEST(RuleTemplates, FixedListsHoldTheirEntriesNegatedAndSizedAsStored) {
  struct Case {
    RuleTemplateId id;
    const char* name;
    int slot;
    std::size_t entries;
  } cases[] = {
      {9, "[BLOCK]宛先およびCCが空白の場合", 5, 40},
      {8, "[BLOCK]本文が空白の場合", 2, 111},
      {7, "[BLOCK]本文に日本語が含まれない場合", 2, 71},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RuleSet rules("Rules\\Mail");
    MailRule& rule = BuildTemplateRule(rules, c.id, FixedTemplateWords(c.id, StoreStamp{}), StoreStamp{});
    EXPECT_EQ(c.name, rule.Name());
    const RuleCriterion& criterion = CriterionOf(rule, c.slot);
    EXPECT_EQ(SlotBit(c.slot), rule.Criteria()->UsedMask());
    EXPECT_EQ(kCritFlagNot, criterion.Flags());
    std::vector<std::string> words = DecodeStringList(criterion.ValueData(), criterion.ValueSize());
    ASSERT_EQ(c.entries, words.size());
    std::size_t bytes = std::accumulate(words.begin(), words.end(), std::size_t{0},
                                        [](std::size_t sum, const std::string& w) { return sum + w.size(); });
    EXPECT_EQ(bytes + words.size() + 2, criterion.ValueSize());
    EXPECT_EQ(SlotBit(2) | SlotBit(9), rule.Actions()->UsedMask());  // delete and stop
    EXPECT_TRUE(rule.IsValid(RuleChecks{}));
  }
}

TEST(RuleTemplates, EveryTemplateBuildsAValidRuleWithItsSlotActionsAndState) {
  StoreStamp stamp;
  stamp.first = 0x12345678;
  stamp.second = 0x00abcdef;
  MailFolderList none;
  struct Folders : FolderRefCheck {
    StoreStamp stamp;
    bool HasFolder(const std::uint8_t* ref, std::size_t size) const override {
      return FolderRefMatchesStore(ref, size, stamp) && FolderRefFolderId(ref, size) == 7;
    }
  } folders;
  folders.stamp = stamp;
  RuleChecks checks;
  checks.folders = &folders;
  const std::vector<std::string> someWords{"x@example.jp"};
  for (RuleTemplateId id = 0; id < kTemplateCount; ++id) {
    SCOPED_TRACE(id);
    const RuleTemplate& tmpl = TemplateAt(id);
    RuleSet rules("Rules\\Mail");
    std::vector<std::string> words = FixedTemplateWords(id, stamp);
    if (words.empty() && tmpl.words != TemplateWords::None) words = someWords;
    MailRule& rule = BuildTemplateRule(rules, id, words, stamp);
    EXPECT_TRUE(rule.IsValid(checks));
    EXPECT_TRUE(rule.Modified());
    EXPECT_EQ(tmpl.enabled, rule.Enabled());
    EXPECT_EQ(SlotBit(tmpl.criterionSlot), rule.Criteria()->UsedMask());
    SlotMask actions = SlotBit(9);
    if (tmpl.deletes) actions |= SlotBit(2);
    if (id == kUnclassifiedTemplate) actions |= SlotBit(0);
    EXPECT_EQ(actions, rule.Actions()->UsedMask());
  }
}

TEST(RuleTemplates, CatchAllMovesToFolderSevenOfTheStoreAndSeparatorsKeepTheirName) {
  StoreStamp stamp;
  stamp.first = 0x0a0b0c0d;
  stamp.second = 0x00302010;
  RuleSet rules("Rules\\Mail");
  MailRule& all = BuildTemplateRule(rules, kUnclassifiedTemplate, {}, stamp);
  const RuleAction& move = *all.Actions()->ForSlotBit(SlotBit(0));
  FolderRefBytes expected = MakeFolderRef(stamp, 7);
  ASSERT_EQ(12u, move.ValueSize());
  EXPECT_TRUE(std::equal(expected.begin(), expected.end(), move.ValueData()));
  EXPECT_EQ(1, move.ValueData()[7]);
  EXPECT_FALSE(CriterionOf(all, 11).HasValue());

  std::uint32_t first = BuildTemplateRule(rules, kSeparatorTemplate, FixedTemplateWords(12, stamp), stamp).Number();
  MailRule& second = BuildTemplateRule(rules, kSeparatorTemplate, FixedTemplateWords(12, stamp), stamp);
  EXPECT_EQ(std::string(37, '-'), rules.Find(first)->Name());
  EXPECT_EQ(std::string(37, '-'), second.Name());
  EXPECT_FALSE(second.Enabled());
  EXPECT_EQ(std::vector<std::string>{"区切り線用のダミー\x81\x40(0A0B0C0D)"},
            DecodeStringList(CriterionOf(second, 0).ValueData(), CriterionOf(second, 0).ValueSize()));
}

TEST(RuleTemplates, RowsListEveryTemplateWithTheSeparatorTwice) {
  const std::vector<RuleTemplateId> expected{0, 1, 2, 3, 12, 4, 5, 6, 7, 8, 9, 10, 12, 11};
  EXPECT_EQ(expected, TemplateRowOrder());
  // The sync utility finds these two by name.
  EXPECT_STREQ("[SAFE]本文に信頼できるメールアドレスを含む場合", TemplateAt(2).ruleName);
  EXPECT_STREQ("[SAFE]送信者が信頼できるメールアドレスの場合", TemplateAt(3).ruleName);
}

TEST(TrustedAddressList, TrimsFiltersDropsOwnAndKeepsTheFirstSpelling) {
  struct Case {
    const char* what;
    std::vector<std::string> book;
    std::vector<std::string> own;
    std::vector<std::string> expected;
  } cases[] = {
      {"repeat in other case with blanks, own in other case",
       {"Friend@Example.jp", "  friend@EXAMPLE.JP \t", "ME@mine.jp"},
       {" me@MINE.jp"},
       {"Friend@Example.jp"}},
      {"no @, empty, full-width letters fold",
       {"", "nobody", "ａｂ@example.jp", "ＡＢ@EXAMPLE.JP", "c@d"},
       {},
       {"ａｂ@example.jp", "c@d"}},
      {"second byte of a kanji that looks like @ is no @", {"\x81\x40\x82\x40"}, {}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(c.expected, TrustedAddressList(c.book, c.own));
  }
}

TEST(FindRuleNamed, IgnoresCaseButNothingElse) {
  const std::vector<std::string> rows{"ルールＡ", "[safe]本文に自分の個人情報が含まれる場合", "[SAFE]本文"};
  EXPECT_EQ(1, FindRuleNamed(rows, TemplateAt(0).ruleName));
  EXPECT_EQ(-1, FindRuleNamed(rows, "[SAFE]本文 "));
  EXPECT_EQ(0, FindRuleNamed(rows, "ルールａ"));
}

TEST(TemplateMessages, NamesAreFilledAsTheyAre) {
  EXPECT_EQ("ルール名：\n    a%sb\nを追加しました。 \n\nメールを保存するフォルダを指定してください。",
            TemplateSuccessMessage(kUnclassifiedTemplate, "a%sb"));
  EXPECT_EQ("区切り線を追加しました。", TemplateSuccessMessage(kSeparatorTemplate, "x"));
  EXPECT_EQ("ルール名：\n    n\nはすでに存在します。", TemplateExistsMessage("n"));
}

}  // namespace
}  // namespace velkor
