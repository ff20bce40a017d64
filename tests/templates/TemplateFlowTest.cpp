#include <gtest/gtest.h>

#include <deque>

#include "rulestore/RuleStore.h"
#include "templates/TemplateFlow.h"

namespace velkor {
namespace {

// A rule list and dialogs answered from scripts.
class FakePlatform : public TemplatePlatform {
 public:
  struct Choice {
    bool ok;
    RuleTemplateId id;
  };
  std::deque<Choice> choices;
  std::vector<RuleTemplateId> preselections;
  std::deque<InputEnd> inputEnds;
  std::vector<std::string> inputEntries;
  std::vector<std::string> book;
  std::vector<std::string> rows;
  std::vector<bool> checks;
  int selected = -1;
  std::vector<std::string> told;
  std::vector<std::string> captions;

  bool ChooseTemplate(RuleTemplateId preselect, RuleTemplateId* chosen) override {
    preselections.push_back(preselect);
    Choice c = choices.front();
    choices.pop_front();
    *chosen = c.id;
    return c.ok;
  }
  InputEnd Input(std::vector<std::string>* entries) {
    InputEnd end = inputEnds.front();
    inputEnds.pop_front();
    if (end == InputEnd::Ok) *entries = inputEntries;
    return end;
  }
  InputEnd AskPersonalInfo(const std::vector<std::string>&, std::vector<std::string>* entries) override {
    return Input(entries);
  }
  InputEnd AskOwnNames(const std::vector<std::string>&, const std::vector<std::string>&,
                       std::vector<std::string>* entries) override {
    return Input(entries);
  }
  void Tell(const std::string& text, const std::string& caption, bool) override {
    told.push_back(text);
    captions.push_back(caption);
  }
  std::vector<std::string> AddressBookAddresses() override { return book; }
  std::vector<std::string> RuleRowNames() override { return rows; }
  int FirstSelectedRuleRow() override { return selected; }
  void SelectRuleRow(int row) override { selected = row; }
  void InsertRuleRow(int row, const MailRule& rule, bool checked) override {
    rows.insert(rows.begin() + row, rule.Name());
    checks.insert(checks.begin() + row, checked);
    selected = row;
  }
};

class TemplateFlowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* name : {"r0", "r1", "r2", "r3", "r4"}) {
      rules_.AddNewRule(name);
      platform_.rows.push_back(name);
      platform_.checks.push_back(true);
    }
    sources_.ownAddresses = {"me@example.jp"};
  }
  TemplateOutcome Run() { return CreateRuleFromTemplate(platform_, rules_, sources_); }

  RuleSet rules_{"Rules\\Mail"};
  FakePlatform platform_;
  TemplateSources sources_;
};

TEST_F(TemplateFlowTest, InsertsAtTheSelectionButTheCatchAllAtTheEnd) {
  platform_.selected = 2;
  platform_.choices = {{true, 8}};
  TemplateOutcome made = Run();
  EXPECT_EQ(2, made.row);
  EXPECT_EQ("[BLOCK]本文が空白の場合", platform_.rows[2]);
  EXPECT_EQ(made.ruleNumber, rules_.At(2).Number());  // the set's order is the order saved
  EXPECT_EQ(std::vector<std::string>{"ルール名：\n    [BLOCK]本文が空白の場合\nを追加しました。"}, platform_.told);
  EXPECT_EQ("既定のメールルールの作成", platform_.captions[0]);

  platform_.selected = 1;
  platform_.choices = {{true, kUnclassifiedTemplate}};
  EXPECT_EQ(6, Run().row);
  EXPECT_EQ("[UNCLASSIFIED]分類できない場合", platform_.rows.back());
  for (int i = 0; i < rules_.Count(); ++i) EXPECT_EQ(platform_.rows[static_cast<std::size_t>(i)], rules_.At(i).Name());
}

TEST_F(TemplateFlowTest, AnExistingRuleOfAnyCaseIsSelectedAndReported) {
  platform_.rows[3] = "[safe]本文に自分の個人情報が含まれる場合";
  platform_.choices = {{true, 0}};
  EXPECT_EQ(-1, Run().id);
  EXPECT_EQ(3, platform_.selected);
  EXPECT_EQ(std::vector<std::string>{"セーフリスト"}, platform_.captions);
  EXPECT_TRUE(platform_.inputEnds.empty());  // no dialog was shown
  EXPECT_EQ(5, rules_.Count());
}

TEST_F(TemplateFlowTest, EmptySourcesCreateNothing) {
  struct Case {
    const char* what;
    RuleTemplateId id;
    std::vector<std::string> book;
    std::vector<std::string> own;
    InputEnd input;
    std::vector<std::string> told;
  } cases[] = {
      {"only own and address-less entries", 2, {"ME@example.jp", "nobody"}, {"me@example.jp"}, InputEnd::Ok,
       {templatetext::kNoValidAddress}},
      {"no account", 10, {}, {}, InputEnd::Ok, {templatetext::kNoOwnAddress}},
      {"an account without address", 10, {}, {"  "}, InputEnd::Ok, {templatetext::kNoOwnAddress}},
      {"personal information confirmed empty", 0, {}, {}, InputEnd::Ok, {}},
      {"own names cancelled", 1, {}, {}, InputEnd::Cancel, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    platform_.told.clear();
    platform_.choices = {{true, c.id}};
    platform_.inputEnds = {c.input};
    platform_.inputEntries.clear();
    platform_.book = c.book;
    sources_.ownAddresses = c.own;
    EXPECT_EQ(-1, Run().id);
    EXPECT_EQ(c.told, platform_.told);
    EXPECT_EQ(5, rules_.Count());
  }
}

TEST_F(TemplateFlowTest, TwoSeparatorsStandUncheckedAndTheAddressListsAreSynchronisable) {
  platform_.choices = {{true, kSeparatorTemplate}, {true, kSeparatorTemplate}, {true, 3}};
  platform_.book = {"friend@example.jp"};
  for (int i = 0; i < 3; ++i) {
    platform_.selected = -1;
    Run();
  }
  EXPECT_EQ("[SAFE]送信者が信頼できるメールアドレスの場合", platform_.rows[7]);
  EXPECT_EQ(std::string(37, '-'), platform_.rows[6]);
  EXPECT_EQ(std::string(37, '-'), platform_.rows[5]);
  EXPECT_FALSE(platform_.checks[5]);
  EXPECT_FALSE(platform_.checks[6]);
  EXPECT_EQ("区切り線を追加しました。", platform_.told[0]);
  EXPECT_NE(std::string::npos, platform_.told[2].find("ルール名を変更しないでください。"));
}

}  // namespace
}  // namespace velkor
