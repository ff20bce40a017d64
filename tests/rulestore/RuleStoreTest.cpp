// The store on the memory registry: what a save writes (operation log), what
// a failed write leaves behind (fault injection), and damaged trees.

#include <gtest/gtest.h>

#include "RuleTestSupport.h"
#include "registry/MemoryRegistry.h"
#include "rulestore/RuleStore.h"

namespace velkor::test {
namespace {

const std::string kId = "{11111111-2222-3333-4444-555555555555}";
const std::string kBase = IdentityBasePath(kId);
const std::string kRules = kBase + "\\Rules\\Mail";

std::vector<RegLogEntry> Writes(const MemoryRegistry& reg) {
  std::vector<RegLogEntry> writes;
  for (const auto& e : reg.Log())
    if (e.write) writes.push_back(e);
  return writes;
}

// The edits every fault-injection run makes before saving.
void EditForSave(RuleStore& store) {
  store.SetName(0, "変更");
  const auto body = EncodeStringList({"当選", "無料"});
  store.SetCriterionValue(2, SlotBit(2), body.data(), static_cast<std::uint32_t>(body.size()), valuetype::kBytes);
  store.SetActionInUse(1, SlotBit(5), true);
  store.Rules().AddNewRule("新しい").Criteria()->ForSlotBit(SlotBit(9))->SetInUse(true);
  store.Rules().Remove(2);
  store.BlockedSenders().SetAddresses({"x@spam.example", "y@spam.example"});
}

void Seed(MemoryRegistry& reg) {
  SeedThreeRules(reg, kRules);
  RegKey news(reg);
  news.Create(kBase + "\\Rules\\News");
  news.WriteString("Order", "000");
}

TEST(RuleStoreWriteTest, SaveWithoutChangesWritesOnlyAMissingVersion) {
  MemoryRegistry reg;
  Seed(reg);
  RuleStore store(reg);
  store.Load(kId);
  RegKey mail(reg);
  mail.Open(kRules, RegAccess::All);
  mail.DeleteValue("Version");
  mail.Close();
  reg.StartLog();
  NullProgress progress;
  ASSERT_TRUE(store.SaveAll(progress).Ok());
  const auto writes = Writes(reg);
  ASSERT_EQ(writes.size(), 1u);
  EXPECT_EQ(writes[0].name, "Version");
  EXPECT_EQ(reg.OpenHandleCount(), 0);
}

TEST(RuleStoreWriteTest, RulesThatCouldNotBeReadAreNotWipedByAnUnrelatedSave) {
  MemoryRegistry reg;
  Seed(reg);
  RegKey mail(reg);
  mail.Open(kRules, RegAccess::All);
  mail.DeleteValue("Version");
  mail.Close();
  const std::string before = reg.Dump(RegRoot::CurrentUser, kRules);
  RuleStore store(reg);
  store.Load(kId);
  EXPECT_FALSE(store.RulesLoadedCleanly());  // no "Version": read as an empty list
  store.BlockedSenders().SetAddresses({"a@spam.example"});
  NullProgress progress;
  ASSERT_TRUE(store.SaveAll(progress).Ok());
  // Only the missing "Version" was added; every rule key is still there.
  RegKey check(reg);
  check.Open(kRules, RegAccess::All);
  check.DeleteValue("Version");
  check.Close();
  EXPECT_EQ(reg.Dump(RegRoot::CurrentUser, kRules), before);
  // A rule added and removed again leaves nothing behind either.
  store.Rules().AddNewRule();
  store.Rules().Remove(store.Rules().At(0).Number());
  ASSERT_TRUE(store.SaveAll(progress).Ok());
  EXPECT_EQ(reg.Dump(RegRoot::CurrentUser, kRules), before);
}

TEST(RuleStoreWriteTest, OnlyModifiedRulesAreRewritten) {
  MemoryRegistry reg;
  Seed(reg);
  RuleStore store(reg);
  store.Load(kId);
  store.SetEnabled(1, true);
  const std::string before = reg.Dump(RegRoot::CurrentUser, kRules + "\\000") +
                             reg.Dump(RegRoot::CurrentUser, kRules + "\\002") +
                             reg.Dump(RegRoot::CurrentUser, kBase + "\\Rules\\News");
  reg.StartLog();
  NullProgress progress;
  ASSERT_TRUE(store.SaveAll(progress).Ok());
  // Beside rule 001 only its spare copy 003 and the list's "Order" are written.
  for (const auto& w : Writes(reg)) {
    const bool own = w.path.find(kRules + "\\001") != std::string::npos ||
                     w.path.find(kRules + "\\003") != std::string::npos ||
                     (w.path == kRules && w.name == "Order");
    EXPECT_TRUE(own) << w.path << " " << w.name;
  }
  EXPECT_EQ(before, reg.Dump(RegRoot::CurrentUser, kRules + "\\000") + reg.Dump(RegRoot::CurrentUser, kRules + "\\002") +
                        reg.Dump(RegRoot::CurrentUser, kBase + "\\Rules\\News"));
  RegKey mail(reg);
  ASSERT_EQ(mail.Open(kRules, RegAccess::Read), regerr::kSuccess);
  EXPECT_EQ(mail.SubKeyNames(), (std::vector<std::string>{"000", "001", "002"}));  // the copy is gone
  mail.Close();
  EXPECT_EQ(reg.OpenHandleCount(), 0);
}

TEST(RuleStoreWriteTest, InvalidRuleBlocksTheWholeSave) {
  MemoryRegistry reg;
  Seed(reg);
  RuleStore store(reg);
  store.Load(kId);
  store.SetName(0, "x");
  store.SetCriterionInUse(2, SlotBit(8), false);  // rule 002 left without criteria
  reg.StartLog();
  NullProgress progress;
  const SaveResult result = store.SaveAll(progress);
  EXPECT_EQ(result.outcome, SaveOutcome::InvalidRules);
  EXPECT_EQ(result.firstInvalidRule, 2);
  EXPECT_EQ(reg.CountWrites(), 0);
  EXPECT_EQ(SaveFailureText(result, store.Rules()), ruletext::kInvalidRulesMessage);
}

TEST(RuleStoreWriteTest, AFailedRuleMakesTheSaveIncompleteButOthersAreWritten) {
  MemoryRegistry reg;
  Seed(reg);
  RuleStore store(reg);
  store.Load(kId);
  store.SetName(0, "一");
  store.SetName(1, "二");
  store.BlockedSenders().SetAddresses({"z@spam.example"});
  reg.FailOperation(RegOp::Set, kRules + "\\000\\Criteria");
  NullProgress progress;
  const SaveResult result = store.SaveAll(progress);
  EXPECT_EQ(result.outcome, SaveOutcome::Incomplete);
  EXPECT_EQ(result.failedRules, std::vector<std::uint32_t>{0});
  EXPECT_FALSE(result.blockedSendersFailed);
  EXPECT_TRUE(store.Rules().Find(0)->Modified());
  EXPECT_FALSE(store.Rules().Find(1)->Modified());
  EXPECT_FALSE(store.BlockedSenders().Modified());
  EXPECT_NE(SaveFailureText(result, store.Rules()).find("一"), std::string::npos);
  reg.ClearFaults();
  EXPECT_TRUE(store.SaveAll(progress).Ok());
}

// The key of a removed rule cannot be deleted (say, a key another program
// protected): the edited rules are written all the same, the save says what was
// left, and the next save deletes the key.
TEST(RuleStoreWriteTest, AStaleKeyThatCannotBeDeletedDoesNotStopTheRules) {
  struct Case {
    std::vector<std::uint32_t> removed;
    std::vector<std::string> keysAfter;
  };
  const Case cases[] = {{{2}, {"000", "001"}}, {{0, 1, 2}, {}}};
  for (const auto& c : cases) {
    MemoryRegistry reg;
    Seed(reg);
    RuleStore store(reg);
    store.Load(kId);
    store.SetName(1, "二");
    for (std::uint32_t number : c.removed) store.Rules().Remove(number);
    store.BlockedSenders().SetAddresses({"z@spam.example"});
    reg.FailOperation(RegOp::DeleteTree, kRules + "\\002");
    NullProgress progress;
    const SaveResult result = store.SaveAll(progress);
    EXPECT_EQ(result.outcome, SaveOutcome::Incomplete) << c.removed.size();
    EXPECT_TRUE(result.staleRuleKeysLeft);
    EXPECT_TRUE(result.failedRules.empty());
    EXPECT_FALSE(store.BlockedSenders().Modified());
    EXPECT_TRUE(store.HasChanges());
    EXPECT_EQ(SaveFailureText(result, store.Rules()), ruletext::kStaleRuleKeysLeft);
    RuleStore reread(reg);
    reread.Load(kId);
    EXPECT_EQ(reread.Rules().Count(), 3 - static_cast<int>(c.removed.size()));
    if (store.HasRule(1)) {
      EXPECT_EQ(reread.Name(1), "二");
    }
    EXPECT_EQ(reread.BlockedSenders().Addresses(), std::vector<std::string>{"z@spam.example"});

    reg.ClearFaults();
    EXPECT_TRUE(store.SaveAll(progress).Ok());
    EXPECT_FALSE(store.HasChanges());
    RegKey mail(reg);
    ASSERT_EQ(mail.Open(kRules, RegAccess::Read), regerr::kSuccess);
    EXPECT_EQ(mail.SubKeyNames(), c.keysAfter);
  }
}

// For every write of a save in turn: that write fails. Nothing crashes or
// leaks, the failure is reported, and the next save leaves exactly the
// registry a fault-free save leaves.
TEST(RuleStoreWriteTest, EveryFailedWriteIsReportedAndRepairedByTheNextSave) {
  NullProgress progress;
  std::string expected;
  int writes = 0;
  {
    MemoryRegistry reg;
    Seed(reg);
    RuleStore store(reg);
    store.Load(kId);
    EditForSave(store);
    reg.StartLog();
    ASSERT_TRUE(store.SaveAll({0, 3, 1}, progress).Ok());
    writes = reg.CountWrites();
    expected = reg.Dump(RegRoot::CurrentUser, "");
  }
  ASSERT_GT(writes, 20);
  int reported = 0;
  for (int n = 1; n <= writes; ++n) {
    MemoryRegistry reg;
    Seed(reg);
    RuleStore store(reg);
    store.Load(kId);
    EditForSave(store);
    reg.FailNthWrite(n);
    const SaveResult failed = store.SaveAll({0, 3, 1}, progress);
    EXPECT_EQ(reg.OpenHandleCount(), 0) << n;
    reg.ClearFaults();
    if (failed.Ok()) {
      // Only a deletion whose work the rewrite repeats may fail unnoticed.
      EXPECT_EQ(reg.Dump(RegRoot::CurrentUser, ""), expected) << "write " << n;
      continue;
    }
    ++reported;
    for (std::uint32_t number : failed.failedRules) EXPECT_TRUE(store.Rules().Find(number)->Modified()) << n;
    if (failed.blockedSendersFailed) {
      EXPECT_TRUE(store.BlockedSenders().Modified()) << n;
    }
    EXPECT_TRUE(store.HasChanges()) << n;
    EXPECT_TRUE(store.SaveAll({0, 3, 1}, progress).Ok()) << n;
    EXPECT_EQ(reg.Dump(RegRoot::CurrentUser, ""), expected) << "write " << n;
    EXPECT_FALSE(store.HasChanges()) << n;
  }
  // Unreported: only the two clearing deletions of each of the three rewritten
  // rules, whose work the rewrite of the sets repeats.
  EXPECT_EQ(writes - reported, 6);
}

// Trees Outlook Express or a damaged profile could hold.
struct DamageCase {
  const char* what;
  std::function<void(MemoryRegistry&)> damage;
  bool loadOk;
  std::vector<std::uint32_t> rules;
  std::function<void(const RuleStore&)> check;
};

void SetRaw(MemoryRegistry& reg, const std::string& path, const std::string& name, std::uint32_t type,
            const std::vector<std::uint8_t>& data) {
  ASSERT_TRUE(reg.SetRaw(RegRoot::CurrentUser, path, name, type, data));
}

TEST(RuleStoreReadTest, DamagedTrees) {
  const DamageCase cases[] = {
      {"no Rules\\Mail", [](MemoryRegistry& r) { RegKey k(r); k.Open(kBase + "\\Rules", RegAccess::All); k.DeleteKeyTree("Mail"); },
       true, {}, nullptr},
      {"order 001 000", [](MemoryRegistry& r) { SetRaw(r, kRules, "Order", regtype::kSz, Bytes("001 000")); }, true, {1, 0}, nullptr},
      {"double blanks in the rule order",
       [](MemoryRegistry& r) { SetRaw(r, kRules, "Order", regtype::kSz, Bytes(" 000  001 ")); }, true, {0, 1}, nullptr},
      {"double blank in an action order ends it",
       [](MemoryRegistry& r) { SetRaw(r, kRules + "\\001\\Actions", "Order", regtype::kSz, Bytes("000  001")); }, true,
       {0, 2, 1}, [](const RuleStore& s) { EXPECT_EQ(s.ActionMask(1), SlotBit(2)); }},
      {"order without NUL, stored as binary",
       [](MemoryRegistry& r) { SetRaw(r, kRules, "Order", regtype::kBinary, Bytes("002", false)); }, true, {2}, nullptr},
      {"key not named in the order is not read",
       [](MemoryRegistry& r) { WriteSeedRule(r, kRules, "003", "x", 1, 1, {Plain(crit::kAll)}, {Plain(act::kStop)}); },
       true, {0, 2, 1}, nullptr},
      {"order names a missing key and garbage",
       [](MemoryRegistry& r) { SetRaw(r, kRules, "Order", regtype::kSz, Bytes("000 00F zz 000 002")); }, true, {0, 2}, nullptr},
      {"empty text criterion dropped, rule with it alone dropped",
       [](MemoryRegistry& r) { SetRaw(r, kRules + "\\002\\Criteria\\000", "ValueType", regtype::kDword, Dword(30));
                               SetRaw(r, kRules + "\\002\\Criteria\\000", "Value", regtype::kSz, Bytes("")); },
       true, {0, 1}, nullptr},
      {"unknown action type dropped", [](MemoryRegistry& r) { SetRaw(r, kRules + "\\001\\Actions\\000", "Type", regtype::kDword, Dword(3)); },
       true, {0, 2, 1}, [](const RuleStore& s) { EXPECT_EQ(s.ActionMask(1), SlotBit(4)); }},
      {"duplicate criterion type: the later wins",
       [](MemoryRegistry& r) { WriteSeedItems(r, kRules + "\\000\\Criteria", {Words(crit::kFrom, {"a"}), Words(crit::kFrom, {"b"})}, true); },
       true, {0, 2, 1}, [](const RuleStore& s) {
         const RuleCriterion* c = s.Criterion(0, SlotBit(0));
         EXPECT_EQ(DecodeStringList(c->ValueData(), c->ValueSize()), std::vector<std::string>{"b"});
       }},
      {"logic from two criteria with Logic 1",
       [](MemoryRegistry& r) { SetRaw(r, kRules + "\\001\\Criteria\\000", "Logic", regtype::kDword, Dword(1));
                               SetRaw(r, kRules + "\\001\\Criteria\\001", "Logic", regtype::kDword, Dword(1));
                               SetRaw(r, kRules + "\\002\\Criteria\\000", "Logic", regtype::kDword, Dword(1)); },
       true, {0, 2, 1}, [](const RuleStore& s) { EXPECT_EQ(s.Logic(1), 1); EXPECT_EQ(s.Logic(2), 2); }},
      {"Enabled stored as text", [](MemoryRegistry& r) { SetRaw(r, kRules + "\\000", "Enabled", regtype::kSz, Bytes("1")); },
       true, {2, 1}, nullptr},
      {"number value of two bytes", [](MemoryRegistry& r) { SetRaw(r, kRules + "\\002\\Criteria\\000", "Value", regtype::kDword, {1, 2}); },
       true, {0, 1}, nullptr},
      {"unknown value type", [](MemoryRegistry& r) { SetRaw(r, kRules + "\\002\\Criteria\\000", "ValueType", regtype::kDword, Dword(7)); },
       true, {0, 1}, nullptr},
      {"name without NUL", [](MemoryRegistry& r) { SetRaw(r, kRules + "\\000", "Name", regtype::kSz, Bytes("名前", false)); },
       true, {0, 2, 1}, [](const RuleStore& s) { EXPECT_EQ(s.Name(0), "名前"); }},
      {"text value without NUL kept as stored",
       [](MemoryRegistry& r) { WriteSeedItems(r, kRules + "\\000\\Actions", {Text(act::kForward, "a@b")}, false);
                               SetRaw(r, kRules + "\\000\\Actions\\000", "Value", regtype::kSz, Bytes("a@b", false)); },
       true, {0, 2, 1}, [](const RuleStore& s) { EXPECT_EQ(s.Action(0, SlotBit(3))->ValueSize(), 3u); }},
      {"no Version", [](MemoryRegistry& r) { RegKey k(r); k.Open(kRules, RegAccess::All); k.DeleteValue("Version"); },
       false, {}, nullptr},
  };
  for (const auto& c : cases) {
    MemoryRegistry reg;
    SeedThreeRules(reg, kRules);
    c.damage(reg);
    RuleStore store(reg);
    store.Load(kId);
    EXPECT_TRUE(store.Loaded()) << c.what;
    EXPECT_EQ(store.RulesLoadedCleanly(), c.loadOk) << c.what;
    EXPECT_EQ(store.Rules().Numbers(), c.rules) << c.what;
    if (c.check) c.check(store);
    EXPECT_EQ(reg.OpenHandleCount(), 0) << c.what;
  }
}

TEST(RuleStoreReadTest, OddKeyNamesSurviveAnOrderRewrite) {
  MemoryRegistry reg;
  WriteRulesHeader(reg, kRules, "1 00a");
  WriteSeedRule(reg, kRules, "1", "one", 1, 1, {Plain(crit::kAll)}, {Plain(act::kStop)});
  WriteSeedRule(reg, kRules, "00a", "ten", 1, 1, {Plain(crit::kAll)}, {Plain(act::kFlag)});
  RuleStore store(reg);
  store.Load(kId);
  ASSERT_EQ(store.Rules().Numbers(), (std::vector<std::uint32_t>{1, 10}));
  store.Rules().AddNewRule().Criteria()->ForSlotBit(SlotBit(11))->SetInUse(true);
  NullProgress progress;
  ASSERT_TRUE(store.SaveAll(progress).Ok());
  RuleStore fresh(reg);
  fresh.Load(kId);
  EXPECT_EQ(fresh.Rules().Numbers(), (std::vector<std::uint32_t>{1, 10, 0}));
  EXPECT_EQ(fresh.Name(1), "one");
  EXPECT_EQ(fresh.ActionMask(10), SlotBit(5));
}

}  // namespace
}  // namespace velkor::test
