// Saves that must not lose what is stored: damaged or foreign layouts that are
// loaded, edited and saved, and saves cut off after every single write.

#include <gtest/gtest.h>

#include <functional>
#include <set>

#include "RuleTestSupport.h"
#include "registry/MemoryRegistry.h"
#include "rulestore/RuleIo.h"
#include "rulestore/RuleStore.h"

namespace velkor::test {
namespace {

const std::string kId = "{5AFE0000-0000-0000-0000-000000000000}";
const std::string kBase = IdentityBasePath(kId);
const std::string kRules = kBase + "\\Rules\\Mail";
const std::string kBlock = kBase + "\\Block Senders";
const std::vector<std::string> kStored = {"a@spam.example", "迷惑<b@spam.example>", "c@spam.example"};

void SeedBlocked(MemoryRegistry& reg) {
  RegKey k(reg);
  k.Create(kBlock);
  k.WriteDword("Version", 0x50000);
  k.Create(kBlock + "\\Mail");
  k.WriteDword("Enabled", 1);
  k.WriteString("Name", "送信者を禁止する");
  k.WriteDword("Version", 2);
  WriteSeedItems(reg, kBlock + "\\Mail\\Actions", {Plain(act::kDelete)}, false);
  std::vector<SeedItem> items;
  for (const auto& a : kStored) items.push_back({crit::kBlockedSender, 0, 1, valuetype::kText, Bytes(a)});
  WriteSeedItems(reg, kBlock + "\\Mail\\Criteria", items, true);
}

void Remove(MemoryRegistry& reg, const std::string& path, const std::string& value) {
  RegKey k(reg);
  ASSERT_EQ(k.Open(path, RegAccess::All), regerr::kSuccess);
  k.DeleteValue(value);
}

std::string DumpKeys(const MemoryRegistry& reg, const std::vector<std::string>& keys) {
  std::string dump;
  for (const auto& key : keys) dump += key + ":" + reg.Dump(RegRoot::CurrentUser, kRules + "\\" + key);
  return dump;
}

// A rule as Outlook Express reads it, for comparing contents across saves.
std::string Content(const MailRule& rule) {
  std::string text = rule.Name() + "|" + std::to_string(rule.EnabledValue());
  auto item = [&](const RuleItem& i) {
    text += "|" + std::to_string(i.Type()) + "," + std::to_string(i.Flags()) + "," + std::to_string(i.ValueType()) +
            ":" + (i.ValueData() ? std::string(reinterpret_cast<const char*>(i.ValueData()), i.ValueSize()) : "");
  };
  for (int s = 0; s < kSlotCount; ++s) {
    const RuleCriterion* c = rule.Criteria()->ForSlotBit(SlotBit(s));
    if (c && c->InUse()) item(*c);
  }
  text += "|logic" + std::to_string(rule.Criteria()->Logic());
  for (int s = 0; s < kSlotCount; ++s) {
    const RuleAction* a = rule.Actions()->ForSlotBit(SlotBit(s));
    if (a && a->InUse()) item(*a);
  }
  return text;
}

// Damaged or foreign layouts: load, edit, save; nothing stored is lost.
TEST(SafeSaveTest, DamagedLayoutsKeepEverythingStored) {
  struct Case {
    const char* what;
    std::function<void(MemoryRegistry&)> damage;
    std::function<void(RuleStore&)> edit;
    std::vector<std::string> unseenKeys;  // rule keys that must stay byte for byte
    std::vector<std::uint32_t> rulesAfter;
  };
  auto addBlocked = [](RuleStore& s) {
    auto list = s.BlockedSenders().Addresses();
    list.push_back("new@spam.example");
    s.BlockedSenders().SetAddresses(list);
  };
  auto addRule = [](RuleStore& s) {
    s.Rules().AddNewRule("追加").Criteria()->ForSlotBit(SlotBit(11))->SetInUse(true);
  };
  const Case cases[] = {
      {"Block Senders without Version", [](MemoryRegistry& r) { Remove(r, kBlock, "Version"); }, addBlocked, {}, {0, 2, 1}},
      {"Mail without Name", [](MemoryRegistry& r) { Remove(r, kBlock + "\\Mail", "Name"); }, addBlocked, {}, {0, 2, 1}},
      {"Mail without Enabled and Version",
       [](MemoryRegistry& r) { Remove(r, kBlock + "\\Mail", "Enabled"); Remove(r, kBlock + "\\Mail", "Version"); },
       addBlocked, {}, {0, 2, 1}},
      {"Mail without Actions",
       [](MemoryRegistry& r) { RegKey k(r); k.Open(kBlock + "\\Mail", RegAccess::All); k.DeleteKeyTree("Actions"); },
       addBlocked, {}, {0, 2, 1}},
      {"Criteria without Order", [](MemoryRegistry& r) { Remove(r, kBlock + "\\Mail\\Criteria", "Order"); }, addBlocked,
       {}, {0, 2, 1}},
      {"Rules\\Mail without Version, a rule added", [](MemoryRegistry& r) { Remove(r, kRules, "Version"); }, addRule,
       {"000", "001", "002"}, {3}},
      {"Rules\\Mail without Version, a blocked sender added", [](MemoryRegistry& r) { Remove(r, kRules, "Version"); },
       addBlocked, {"000", "001", "002"}, {}},
      {"an unlisted key 003 beside the list", [](MemoryRegistry& r) {
         WriteSeedRule(r, kRules, "004", "誰か", 1, 1, {Plain(crit::kAll)}, {Plain(act::kStop)});
         WriteSeedRule(r, kRules, "003", "誰か", 1, 1, {Plain(crit::kAll)}, {Plain(act::kStop)}); },
       [&](RuleStore& s) { addRule(s); EXPECT_EQ(s.Rules().At(3).KeyName(), "005"); }, {}, {0, 2, 1, 5}},
  };
  for (const auto& c : cases) {
    MemoryRegistry reg;
    SeedThreeRules(reg, kRules);
    SeedBlocked(reg);
    c.damage(reg);
    const std::string unseen = DumpKeys(reg, c.unseenKeys);
    RuleStore store(reg);
    store.Load(kId);
    EXPECT_FALSE(store.HasChanges()) << c.what;
    c.edit(store);
    NullProgress progress;
    ASSERT_TRUE(store.SaveAll(progress).Ok()) << c.what;

    RuleStore fresh(reg);
    fresh.Load(kId);
    EXPECT_EQ(fresh.Rules().Numbers(), c.rulesAfter) << c.what;
    EXPECT_EQ(DumpKeys(reg, c.unseenKeys), unseen) << c.what;
    const auto addresses = fresh.BlockedSenders().Addresses();
    for (const auto& a : kStored) EXPECT_EQ(std::count(addresses.begin(), addresses.end(), a), 1) << c.what << " " << a;
    EXPECT_TRUE(fresh.BlockedLoadedCleanly()) << c.what;  // the save wrote the header it lacked
  }
}

// Keys named "1" or "00a": a load is no change; a save of a change stores the
// rules under "%03X" names, and "Order" lists exactly those.
TEST(SafeSaveTest, OddKeyNamesMoveOnlyWithASavedChange) {
  MemoryRegistry reg;
  WriteRulesHeader(reg, kRules, "1 00a 0002");
  WriteSeedRule(reg, kRules, "1", "one", 1, 1, {Plain(crit::kAll)}, {Plain(act::kStop)});
  WriteSeedRule(reg, kRules, "00a", "ten", 1, 1, {Plain(crit::kAll)}, {Plain(act::kFlag)});
  WriteSeedRule(reg, kRules, "0002", "two", 1, 1, {Plain(crit::kAll)}, {Plain(act::kDelete)});
  const std::string before = reg.Dump(RegRoot::CurrentUser, kRules);
  RuleStore store(reg);
  store.Load(kId);
  EXPECT_FALSE(store.HasChanges());
  NullProgress progress;
  ASSERT_TRUE(store.SaveAll(progress).Ok());
  EXPECT_EQ(reg.Dump(RegRoot::CurrentUser, kRules), before);  // nothing to save, nothing written

  store.SetEnabled(10, false);
  ASSERT_TRUE(store.SaveAll(progress).Ok());
  std::string order;
  RegKey mail(reg);
  ASSERT_EQ(mail.Open(kRules, RegAccess::Read), regerr::kSuccess);
  mail.ReadString("Order", &order);
  EXPECT_EQ(order, "001 00A 002");
  EXPECT_EQ(mail.SubKeyNames(), (std::vector<std::string>{"001", "002", "00a"}));
  RuleStore fresh(reg);
  fresh.Load(kId);
  EXPECT_EQ(fresh.Rules().Numbers(), (std::vector<std::uint32_t>{1, 10, 2}));
  EXPECT_EQ(fresh.Name(2), "two");
  EXPECT_FALSE(fresh.Enabled(10));
  EXPECT_EQ(fresh.ActionMask(2), store.ActionMask(2));
}

// The edits of the interrupted saves: rules changed, added, removed and moved,
// and a new blocked-sender list.
void Edit(RuleStore& store) {
  store.SetName(0, "変更");
  const auto body = EncodeStringList({"当選", "無料"});
  store.SetCriterionValue(2, SlotBit(2), body.data(), static_cast<std::uint32_t>(body.size()), valuetype::kBytes);
  store.SetEnabled(1, false);
  store.Rules().AddNewRule("新しい").Criteria()->ForSlotBit(SlotBit(9))->SetInUse(true);
  store.Rules().Remove(1);
  store.BlockedSenders().SetAddresses({"x@spam.example", "y@spam.example", "a@spam.example", "z@spam.example"});
}
const std::vector<std::uint32_t> kDisplay = {3, 2, 0};

// The seeded identity; in the second round after a complete save, so that the
// blocked senders switch from the names that save chose back to the low ones.
void Prepare(MemoryRegistry& reg, bool secondRound) {
  SeedThreeRules(reg, kRules);
  SeedBlocked(reg);
  if (!secondRound) return;
  RuleStore first(reg);
  first.Load(kId);
  first.BlockedSenders().SetAddresses({"p@spam.example"});
  first.SetName(2, "二回目");
  NullProgress progress;
  ASSERT_TRUE(first.SaveAll(progress).Ok());
}

std::set<std::string> Contents(const RuleStore& store) {
  std::set<std::string> contents;
  for (int i = 0; i < store.Rules().Count(); ++i) contents.insert(Content(store.Rules().At(i)));
  return contents;
}

// Ended after every single write, the registry as it stands loads with every
// listed rule complete and old or new, and the blocked senders old or new.
TEST(SafeSaveTest, ASaveCutOffAfterAnyWriteLeavesOldOrNewContent) {
  NullProgress progress;
  std::set<std::string> oldContents, newContents;
  std::vector<std::string> oldBlocked, newBlocked;
  int writes = 0;
  for (int secondSave = 0; secondSave < 2; ++secondSave) {
    MemoryRegistry reg;
    Prepare(reg, secondSave != 0);
    {
      RuleStore store(reg);
      store.Load(kId);
      oldContents = Contents(store);
      oldBlocked = store.BlockedSenders().Addresses();
      Edit(store);
      reg.StartLog();
      ASSERT_TRUE(store.SaveAll(kDisplay, progress).Ok());
      writes = reg.CountWrites();
      RuleStore saved(reg);
      saved.Load(kId);
      newContents = Contents(saved);
      newBlocked = saved.BlockedSenders().Addresses();
      EXPECT_EQ(saved.Rules().Numbers(), kDisplay);
    }
    ASSERT_GT(writes, 30);
    for (int n = 1; n <= writes; ++n) {
      MemoryRegistry cut;
      Prepare(cut, secondSave != 0);
      RuleStore store(cut);
      store.Load(kId);
      Edit(store);
      cut.EndAfterNthWrite(n);
      store.SaveAll(kDisplay, progress);
      EXPECT_TRUE(cut.Ended()) << n;
      cut.ClearFaults();

      RuleStore after(cut);
      after.Load(kId);
      std::string order;
      RegKey mail(cut);
      mail.Open(kRules, RegAccess::Read);
      mail.ReadString("Order", &order);
      EXPECT_EQ(after.Rules().Count(), static_cast<int>(RuleIo::SplitOrder(order, false).size()))
          << "round " << secondSave << " write " << n << ": a listed rule did not load";
      for (const auto& content : Contents(after)) {
        EXPECT_TRUE(oldContents.count(content) || newContents.count(content))
            << "round " << secondSave << " write " << n << ": " << content;
      }
      // No rule vanished: rules 0 and 2 (under their own or a spare number) and
      // either the removed 1 or the added one.
      EXPECT_EQ(after.Rules().Count(), 3) << n;
      const auto blocked = after.BlockedSenders().Addresses();
      EXPECT_TRUE(blocked == oldBlocked || blocked == newBlocked) << "round " << secondSave << " write " << n;
    }
  }
}

}  // namespace
}  // namespace velkor::test
