#include <gtest/gtest.h>

#include "../rulestore/RuleTestSupport.h"
#include "editor/CriteriaEditing.h"
#include "registry/MemoryRegistry.h"
#include "rulestore/Identities.h"
#include "rulestore/RuleStore.h"
#include "templates/TemplateWords.h"

namespace velkor::test {
namespace {

const std::string kId = "{C0000000-0000-0000-0000-000000000001}";
const std::string kPlaceholder = DragPlaceholder(StoreStamp{0x1234ABCD, 0});

class CriteriaEditingTest : public ::testing::Test {
 protected:
  // One rule "000" with the given criteria; accounts 00000001 and 00000002
  // (the default).
  void Load(const std::vector<SeedItem>& criteria, std::uint32_t logic = 2) {
    reg_ = std::make_unique<MemoryRegistry>();
    store_ = std::make_unique<RuleStore>(*reg_);
    const std::string rules = RulesMailPath(IdentityBasePath(kId));
    WriteRulesHeader(*reg_, rules, "000");
    std::vector<SeedItem> items = criteria;
    for (auto& item : items) item.logic = logic;
    WriteSeedRule(*reg_, rules, "000", "rule", 1, 1, items, {Plain(act::kStop)});
    for (const char* id : {"00000001", "00000002"})
      SeedAccount(*reg_, IdentityAccountsPath(kId), id, std::string("acct ") + id, std::string(id) + "@example.jp",
                  "山田");
    RegKey manager(*reg_);
    manager.Create("Identities\\" + kId + "\\Software\\Microsoft\\Internet Account Manager");
    manager.WriteString("Default Mail Account", "00000002");
    store_->Load(kId);
    accounts_.Read(*reg_, kId);
    ASSERT_TRUE(store_->HasRule(0));
  }
  CriteriaEditing Editing() { return CriteriaEditing(*store_, 0, accounts_); }
  std::vector<std::uint8_t> Value(int row) const {
    const RuleCriterion* c = store_->Criterion(0, SlotBit(row));
    return c && c->HasValue() ? std::vector<std::uint8_t>(c->ValueData(), c->ValueData() + c->ValueSize())
                              : std::vector<std::uint8_t>();
  }

  std::unique_ptr<MemoryRegistry> reg_;
  std::unique_ptr<RuleStore> store_;
  AccountList accounts_;
};

TEST_F(CriteriaEditingTest, AllMessagesExcludesEveryOtherRowAndIsExcludedAgain) {
  Load({Words(crit::kSubject, {"a"}), Plain(crit::kAttachment), Number(crit::kSize, 10)});
  CriteriaEditing editing = Editing();
  EXPECT_EQ(editing.Mask(), SlotBit(1) | SlotBit(8) | SlotBit(9));
  editing.CheckRow(kAllMessagesRow);
  EXPECT_EQ(editing.Mask(), SlotBit(kAllMessagesRow));
  EXPECT_FALSE(editing.Options(kAllMessagesRow, 0).logicVisible);
  editing.CheckRow(9);
  EXPECT_EQ(editing.Mask(), SlotBit(9));
  // The words of an unchecked row are kept and come back with its check box.
  EXPECT_EQ(editing.CheckRow(1).words, std::vector<std::string>{"a"});
  EXPECT_TRUE(editing.Options(1, 1).logicVisible);
  EXPECT_TRUE(store_->Rules().Find(0)->Modified());
}

TEST_F(CriteriaEditingTest, ShowingAPaneStoresTheDefaultOfAMissingOrUnusableValue) {
  struct Case {
    SeedItem stored;
    int row;
    int choice;                         // entry shown
    std::vector<std::uint8_t> value;    // value afterwards
    bool modified;
  };
  const std::vector<Case> cases = {
      {Number(crit::kPriority, 1), 6, 1, Dword(1), false},
      {Number(crit::kPriority, 0x101), 6, 0, Dword(2), true},  // the whole value counts, not its low byte
      {Number(crit::kPriority, 7), 6, 0, Dword(2), true},
      {Plain(crit::kPriority), 6, 0, Dword(2), true},
      {Number(crit::kSecurity, 2), 10, 1, Dword(2), false},
      {Number(crit::kSecurity, 0), 10, 0, Dword(1), true},
      {Text(crit::kAccount, "00000001"), 7, 0, Bytes("00000001"), false},
      {Text(crit::kAccount, "0000000F"), 7, 1, Bytes("00000002"), true},  // the default account
      {Plain(crit::kAccount), 7, 1, Bytes("00000002"), true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.row * 100 + c.choice);
    Load({c.stored});
    const CriterionPaneView view = Editing().ShowRow(c.row);
    EXPECT_EQ(view.choices.size(), 2u);
    EXPECT_EQ(view.choice, c.choice);
    EXPECT_EQ(Value(c.row), c.value);
    EXPECT_EQ(store_->Rules().Find(0)->Modified(), c.modified);
  }
}

TEST_F(CriteriaEditingTest, ComboChoicesStoreTheirNumbersAndAccountIds) {
  Load({Number(crit::kPriority, 2), Text(crit::kAccount, "00000001"), Number(crit::kSecurity, 1)});
  struct Case {
    int row, index;
    std::vector<std::uint8_t> value;
  };
  const std::vector<Case> cases = {{6, 1, Dword(1)}, {6, 0, Dword(2)},  // 重要度－"低", "高"
                                   {10, 1, Dword(2)}, {10, 0, Dword(1)},  // 暗号化されたメッセー, 署名付き
                                   {7, 1, Bytes("00000002")}};
  CriteriaEditing editing = Editing();
  for (const Case& c : cases) {
    EXPECT_TRUE(editing.ChooseEntry(c.row, c.index));
    EXPECT_EQ(Value(c.row), c.value) << c.row << " " << c.index;
  }
}

TEST_F(CriteriaEditingTest, SizeEntries) {
  const std::vector<std::pair<std::string, std::string>> typing = {
      {"12a", ""}, {"123", "123"}, {"-5", ""}, {"１２", ""}, {"", ""}};
  for (const auto& [typed, shown] : typing) EXPECT_EQ(FilterSizeText(typed), shown) << typed;

  Load({Number(crit::kSize, 5), Plain(crit::kAttachment)});
  CriteriaEditing editing = Editing();
  const std::vector<std::pair<std::string, std::uint32_t>> left = {
      {"99999", 32767}, {"32767", 32767}, {"100", 100}, {"0", 0}, {"99999999999999999999", 32767}};
  for (const auto& [text, stored] : left) {
    EXPECT_EQ(editing.CommitSize(text), std::to_string(stored));
    EXPECT_EQ(Value(kSizeRow), Dword(stored)) << text;
  }
  // Empty stores no value: the rule no longer holds the size criterion.
  EXPECT_EQ(editing.CommitSize(""), "");
  EXPECT_FALSE(editing.Holds(kSizeRow));
  EXPECT_TRUE(editing.ShowRow(kSizeRow).focusSize);
}

TEST_F(CriteriaEditingTest, CommittedWordListsAndTheDragPlaceholder) {
  Load({Words(crit::kBody, {kPlaceholder})});
  CriteriaEditing editing = Editing();
  // An edit that ends with the same words changes nothing.
  editing.CommitWords(kBodyRow, {kPlaceholder}, kPlaceholder);
  EXPECT_FALSE(store_->Rules().Find(0)->Modified());
  struct Case {
    std::vector<std::string> items;
    std::vector<int> removed;
    std::vector<std::uint8_t> value;
  };
  const std::vector<Case> cases = {
      {{kPlaceholder}, {}, EncodeStringList({kPlaceholder})},
      {{kPlaceholder, ""}, {}, EncodeStringList({kPlaceholder})},  // an item still being edited
      {{kPlaceholder, "abc"}, {0}, EncodeStringList({"abc"})},
      {{kPlaceholder, kPlaceholder}, {1}, EncodeStringList({kPlaceholder})},
      {{"abc", "de"}, {}, {0x61, 0x62, 0x63, 0x00, 0x64, 0x65, 0x00, 0x00, 0x00}},
  };
  for (const Case& c : cases) {
    const WordCommit commit = editing.CommitWords(kBodyRow, c.items, kPlaceholder);
    EXPECT_EQ(commit.removed, c.removed) << c.items.size();
    EXPECT_EQ(Value(kBodyRow), c.value);
    EXPECT_TRUE(commit.held);
  }
  EXPECT_FALSE(editing.CommitWords(kBodyRow, {}, kPlaceholder).held);
  EXPECT_TRUE(editing.ShowRow(kBodyRow).addEmptyItem);
}

TEST_F(CriteriaEditingTest, OptionRadiosChangeOnlyWhatDiffers) {
  Load({Words(crit::kSubject, {"x"}), Words(crit::kBody, {"y"})}, 0);
  CriteriaEditing editing = Editing();
  EXPECT_TRUE(editing.Options(1, 1).logicAll);  // a stored 0 reads as "all"
  EXPECT_FALSE(editing.ClickOption(1, OptionRadio::LogicAll));
  struct Case {
    OptionRadio radio;
    bool changed;
    std::int64_t logic;
    std::uint32_t flags;
  };
  const std::vector<Case> cases = {
      {OptionRadio::LogicAny, true, 1, 0},         {OptionRadio::LogicAny, false, 1, 0},
      {OptionRadio::LogicAll, true, 2, 0},         {OptionRadio::WordsNotContained, true, 2, 1},
      {OptionRadio::AllWords, true, 2, 3},         {OptionRadio::AllWords, false, 2, 3},
      {OptionRadio::WordsContained, true, 2, 2},   {OptionRadio::AnyWord, true, 2, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(editing.ClickOption(1, c.radio), c.changed);
    EXPECT_EQ(store_->Logic(0), c.logic);
    EXPECT_EQ(store_->Criterion(0, SlotBit(1))->Flags(), c.flags);
  }
  EXPECT_EQ(store_->Criterion(0, SlotBit(2))->Flags(), 0u);
  EXPECT_FALSE(editing.Options(1, 0).wordOptionsVisible);
}

TEST_F(CriteriaEditingTest, TipsAndRedRows) {
  Load({Words(crit::kSubject, {"x"}), {crit::kSecurity, 0, 2, valuetype::kDword, Dword(9)}});
  CriteriaEditing editing = Editing();
  EXPECT_EQ(editing.RowTip(1, 1024), "件名に指定した言葉が含まれる場合");
  EXPECT_FALSE(editing.RowInvalid(1));
  EXPECT_TRUE(editing.RowInvalid(10));
  EXPECT_EQ(editing.RowTip(10, 1024), std::string("メッセージが指定したセキュリティ状態である場合") + ruletext::kSlotError);
  editing.CommitWords(1, {""}, kPlaceholder);
  store_->SetCriterionInUse(0, SlotBit(1), true);
  EXPECT_EQ(editing.RowTip(1, 1024), std::string("件名に指定した言葉が含まれる場合") + ruletext::kSlotEmpty);
}

}  // namespace
}  // namespace velkor::test
