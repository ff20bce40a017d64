// The read/write suite every registry backend must pass: natively on the
// memory registry, and under Wine on the real registry.

#include <gtest/gtest.h>

#include "RuleTestSupport.h"
#include "rulestore/Identities.h"
#include "rulestore/RuleStore.h"

namespace velkor::test {

void SeedThreeRules(RegistryAccess& reg, const std::string& rulesPath) {
  WriteRulesHeader(reg, rulesPath, "000 002 001");
  WriteSeedRule(reg, rulesPath, "000", "[SAFE]友人", 1, 4,
                {Words(crit::kFrom, {"taro@example.jp", "hanako@example.jp"})}, {Plain(act::kStop)});
  WriteSeedRule(reg, rulesPath, "001", "広告", 0, 1,
                {Words(crit::kSubject, {"未承諾広告", "儲かる"}, kCritFlagAllWords), Plain(crit::kAttachment)},
                {Plain(act::kDelete), Number(act::kHighlight, 3)});
  WriteSeedRule(reg, rulesPath, "002", "大きいメール", 1, 7, {Number(crit::kSize, 500)}, {Plain(act::kFlag)});
}

void StoreSuite::SetUp() {
  reg_ = GetParam().make();
  identity_ = "{7E57AB1E-5EED-4C0D-9A11-0000000000" + std::to_string(10 + ::testing::UnitTest::GetInstance()->random_seed() % 90) + "}";
  RegKey ids(*reg_);
  if (ids.Create(kIdentitiesKey) == regerr::kSuccess) ids.DeleteKeyTree(identity_);
}

void StoreSuite::TearDown() {
  RegKey ids(*reg_);
  if (ids.Open(kIdentitiesKey, RegAccess::All) == regerr::kSuccess) ids.DeleteKeyTree(identity_);
}

std::string StoreSuite::BasePath() const { return IdentityBasePath(identity_); }

namespace {

std::string ReadText(RegistryAccess& reg, const std::string& path, const std::string& name) {
  RegKey key(reg);
  std::string v = "<missing>";
  if (key.Open(path, RegAccess::Read) == regerr::kSuccess) key.ReadString(name, &v);
  return v;
}

std::uint32_t ReadNumber(RegistryAccess& reg, const std::string& path, const std::string& name) {
  RegKey key(reg);
  std::uint32_t v = 0xDEADBEEF;
  if (key.Open(path, RegAccess::Read) == regerr::kSuccess) key.ReadDword(name, &v);
  return v;
}

bool KeyExists(RegistryAccess& reg, const std::string& path) {
  RegKey key(reg);
  return key.Open(path, RegAccess::Read) == regerr::kSuccess;
}

std::vector<std::string> Words(const RuleCriterion* c) {
  return c ? DecodeStringList(c->ValueData(), c->ValueSize()) : std::vector<std::string>{"<no slot>"};
}

}  // namespace

TEST_P(StoreSuite, ReadsRulesInStoredOrderWithTheirItems) {
  SeedThreeRules(*reg_, RulesPath());
  RuleStore store(*reg_);
  store.Load(identity_);
  ASSERT_TRUE(store.RulesLoadedCleanly());
  EXPECT_EQ(store.Rules().Numbers(), (std::vector<std::uint32_t>{0, 2, 1}));

  EXPECT_EQ(store.Name(0), "[SAFE]友人");
  EXPECT_TRUE(store.Enabled(0));
  EXPECT_FALSE(store.Enabled(1));
  EXPECT_EQ(store.Rules().Find(2)->Version(), 7u);
  EXPECT_EQ(store.CriteriaMask(1), SlotBit(1) | SlotBit(9));
  EXPECT_EQ(store.ActionMask(1), SlotBit(2) | SlotBit(4));
  EXPECT_EQ(Words(store.Criterion(0, SlotBit(0))), (std::vector<std::string>{"taro@example.jp", "hanako@example.jp"}));
  EXPECT_EQ(store.Criterion(1, SlotBit(1))->Flags(), kCritFlagAllWords);
  EXPECT_EQ(store.Logic(1), 2);
  std::uint32_t colour = 0;
  ASSERT_TRUE(store.Action(1, SlotBit(4))->DwordValue(&colour));
  EXPECT_EQ(colour, 3u);
  EXPECT_FALSE(store.HasChanges());
  for (std::uint32_t n : {0u, 1u, 2u}) EXPECT_TRUE(store.IsRuleValid(n)) << n;
}

TEST_P(StoreSuite, EditsSurviveSaveAndFreshRead) {
  SeedThreeRules(*reg_, RulesPath());
  {
    RuleStore store(*reg_);
    store.Load(identity_);
    store.SetEnabled(0, false);
    store.SetName(0, "[SAFE]家族");
    // Rule 002: subject words (slot 1) and an account (slot 7), any of them.
    const auto subject = EncodeStringList({"会議", "予定"});
    store.SetCriterionInUse(2, SlotBit(8), false);
    store.SetCriterionValue(2, SlotBit(1), subject.data(), static_cast<std::uint32_t>(subject.size()),
                            valuetype::kBytes);
    store.SetCriterionValue(2, SlotBit(7), "{ACCT-1}", 9, valuetype::kText);
    store.SetLogic(2, kLogicAny);
    const auto colour = Dword(5);
    store.SetActionValue(2, SlotBit(4), colour.data(), 4, valuetype::kDword);
    MailRule& added = store.Rules().AddNewRule();
    EXPECT_EQ(added.KeyName(), "003");
    const auto from = EncodeStringList({"spam@example.com"});
    store.SetCriterionValue(3, SlotBit(0), from.data(), static_cast<std::uint32_t>(from.size()), valuetype::kBytes);
    ASSERT_TRUE(store.Rules().Remove(1));
    NullProgress progress;
    const SaveResult result = store.SaveAll({3, 2, 0}, progress);
    ASSERT_EQ(result.outcome, SaveOutcome::Saved);
    EXPECT_FALSE(store.HasChanges());
  }
  RuleStore fresh(*reg_);
  fresh.Load(identity_);
  EXPECT_EQ(fresh.Rules().Numbers(), (std::vector<std::uint32_t>{3, 2, 0}));
  EXPECT_EQ(ReadText(*reg_, RulesPath(), "Order"), "003 002 000");
  EXPECT_FALSE(KeyExists(*reg_, RulesPath() + "\\001"));

  EXPECT_EQ(fresh.Name(0), "[SAFE]家族");
  EXPECT_FALSE(fresh.Enabled(0));
  EXPECT_EQ(fresh.Rules().Find(0)->Version(), 5u);
  EXPECT_EQ(fresh.Name(3), ruletext::kNewRuleName);
  EXPECT_EQ(fresh.ActionMask(3), SlotBit(9));
  EXPECT_EQ(Words(fresh.Criterion(3, SlotBit(0))), (std::vector<std::string>{"spam@example.com"}));

  // Slots 1 and 7 are stored as items 000 and 001, both with the rule's logic.
  EXPECT_EQ(fresh.CriteriaMask(2), SlotBit(1) | SlotBit(7));
  EXPECT_EQ(fresh.Logic(2), kLogicAny);
  const std::string criteria = RulesPath() + "\\002\\Criteria";
  EXPECT_EQ(ReadText(*reg_, criteria, "Order"), "000 001");
  EXPECT_EQ(ReadNumber(*reg_, criteria + "\\000", "Type"), crit::kSubject);
  EXPECT_EQ(ReadNumber(*reg_, criteria + "\\001", "Type"), crit::kAccount);
  EXPECT_EQ(ReadNumber(*reg_, criteria + "\\001", "Logic"), kLogicAny);
  EXPECT_EQ(ReadText(*reg_, criteria + "\\001", "Value"), "{ACCT-1}");
  EXPECT_FALSE(KeyExists(*reg_, criteria + "\\002"));
  EXPECT_EQ(Words(fresh.Criterion(2, SlotBit(1))), (std::vector<std::string>{"会議", "予定"}));
  EXPECT_EQ(fresh.ActionMask(2), SlotBit(4) | SlotBit(5));
}

TEST_P(StoreSuite, MovingARuleRewritesOnlyTheOrder) {
  SeedThreeRules(*reg_, RulesPath());
  RuleStore store(*reg_);
  store.Load(identity_);
  NullProgress progress;
  ASSERT_TRUE(store.SaveAll({1, 0, 2}, progress).Ok());
  EXPECT_EQ(ReadText(*reg_, RulesPath(), "Order"), "001 000 002");
  for (const char* key : {"000", "001", "002"}) EXPECT_TRUE(KeyExists(*reg_, RulesPath() + "\\" + key)) << key;
  EXPECT_EQ(ReadNumber(*reg_, RulesPath() + "\\002", "Version"), 7u);  // not rewritten
}

TEST_P(StoreSuite, ARuleSavedThreeTimesCountsThreeVersions) {
  SeedThreeRules(*reg_, RulesPath());
  RuleStore store(*reg_);
  store.Load(identity_);
  NullProgress progress;
  for (int i = 0; i < 3; ++i) {
    store.SetEnabled(2, i % 2 == 0);
    ASSERT_TRUE(store.SaveAll(progress).Ok());
  }
  EXPECT_EQ(ReadNumber(*reg_, RulesPath() + "\\002", "Version"), 10u);
}

TEST_P(StoreSuite, RemovingEveryRuleEmptiesTheList) {
  SeedThreeRules(*reg_, RulesPath());
  WriteSeedRule(*reg_, RulesPath(), "07F", "never read", 1, 1, {Plain(crit::kAll)}, {Plain(act::kStop)});
  RuleStore store(*reg_);
  store.Load(identity_);
  for (std::uint32_t n : {0u, 1u, 2u}) store.Rules().Remove(n);
  NullProgress progress;
  ASSERT_TRUE(store.SaveAll({}, progress).Ok());
  RegKey mail(*reg_);
  ASSERT_EQ(mail.Open(RulesPath(), RegAccess::Read), regerr::kSuccess);
  std::vector<std::uint8_t> order;
  ASSERT_TRUE(mail.ReadBytes("Order", &order));
  EXPECT_EQ(order, std::vector<std::uint8_t>{0});
  EXPECT_TRUE(mail.SubKeyNames().empty());
}

TEST_P(StoreSuite, BlockedSendersRoundTrip) {
  {
    RuleStore store(*reg_);
    store.Load(identity_);
    EXPECT_FALSE(store.BlockedLoadedCleanly());
    EXPECT_EQ(store.BlockedSenders().Count(), 0);
    store.BlockedSenders().SetAddresses({"a@spam.example", "迷惑<b@spam.example>", "c@spam.example"});
    NullProgress progress;
    ASSERT_TRUE(store.SaveAll(progress).Ok());
  }
  const std::string mail = BasePath() + "\\Block Senders\\Mail";
  EXPECT_EQ(ReadNumber(*reg_, BasePath() + "\\Block Senders", "Version"), 0x50000u);
  EXPECT_EQ(ReadText(*reg_, mail, "Name"), "送信者を禁止する");
  EXPECT_EQ(ReadNumber(*reg_, mail, "Enabled"), 1u);
  EXPECT_EQ(ReadText(*reg_, mail + "\\Actions", "Order"), "000");
  EXPECT_EQ(ReadNumber(*reg_, mail + "\\Actions\\000", "Type"), act::kDelete);
  EXPECT_EQ(ReadText(*reg_, mail + "\\Criteria", "Order"), "000 001 002");
  EXPECT_EQ(ReadNumber(*reg_, mail + "\\Criteria\\002", "Type"), crit::kBlockedSender);
  EXPECT_EQ(ReadNumber(*reg_, mail + "\\Criteria\\002", "Logic"), 1u);

  RuleStore fresh(*reg_);
  fresh.Load(identity_);
  EXPECT_TRUE(fresh.BlockedLoadedCleanly());
  EXPECT_EQ(fresh.BlockedSenders().Addresses(),
            (std::vector<std::string>{"a@spam.example", "迷惑<b@spam.example>", "c@spam.example"}));
  EXPECT_EQ(fresh.BlockedSenders().MailVersion(), 1u);

  // The last address removed: Mail goes, Block Senders and its version stay.
  fresh.BlockedSenders().SetAddresses({});
  NullProgress progress;
  ASSERT_TRUE(fresh.SaveAll(progress).Ok());
  EXPECT_FALSE(KeyExists(*reg_, mail));
  EXPECT_EQ(ReadNumber(*reg_, BasePath() + "\\Block Senders", "Version"), 0x50000u);
}

}  // namespace velkor::test
