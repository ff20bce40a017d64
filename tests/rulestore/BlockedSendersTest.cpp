#include <gtest/gtest.h>

#include "RuleTestSupport.h"
#include "registry/MemoryRegistry.h"
#include "rulestore/RuleStore.h"

namespace velkor::test {
namespace {

const std::string kBase = IdentityBasePath("{B10C0000-0000-0000-0000-000000000000}");
const std::string kBlock = kBase + "\\Block Senders";

class RecordingProgress : public ProgressSink {
 public:
  std::vector<int> percents;
  std::vector<std::string> texts;
  void SetStatusText(const std::string& t) override { texts.push_back(t); }
  void SetPercent(int p) override { percents.push_back(p); }
};

void SeedBlocked(MemoryRegistry& reg, const std::vector<SeedItem>& criteria, const char* name = "OE の名前") {
  RegKey k(reg);
  k.Create(kBlock);
  k.WriteDword("Version", 0x50000);
  k.Create(kBlock + "\\Mail");
  k.WriteDword("Enabled", 1);
  k.WriteString("Name", name);
  k.WriteDword("Version", 4);
  WriteSeedItems(reg, kBlock + "\\Mail\\Actions", {Plain(act::kDelete)}, false);
  WriteSeedItems(reg, kBlock + "\\Mail\\Criteria", criteria, true);
}

SeedItem Sender(const std::string& address) { return {crit::kBlockedSender, 0, 1, valuetype::kText, Bytes(address)}; }

TEST(BlockedSenderListTest, NoKeyLoadsAnEmptyEditableList) {
  MemoryRegistry reg;
  reg.StartLog();
  BlockedSenderList list(kBase);
  EXPECT_FALSE(list.Load(reg));
  EXPECT_EQ(list.Count(), 0);
  ASSERT_NE(list.Actions(), nullptr);
  EXPECT_EQ(list.Actions()->UsedMask(), SlotBit(2));  // the delete action
  RecordingProgress progress;
  EXPECT_TRUE(list.Save(reg, progress));
  EXPECT_EQ(reg.CountWrites(), 0);
}

TEST(BlockedSenderListTest, SaveShowsProgressAndKeepsTheStoredName) {
  MemoryRegistry reg;
  SeedBlocked(reg, {Sender("old@x"), {crit::kBlockedSender, 0, 1, valuetype::kText, Bytes("")}, Sender("old2@x")});
  BlockedSenderList list(kBase);
  ASSERT_TRUE(list.Load(reg));
  EXPECT_EQ(list.Addresses(), (std::vector<std::string>{"old@x", "old2@x"}));  // the empty entry is not read
  list.SetAddresses({"a@x", "b@x", "c@x"});
  RecordingProgress progress;
  ASSERT_TRUE(list.Save(reg, progress));
  EXPECT_EQ(progress.percents, (std::vector<int>{0, 0, 33, 66}));
  EXPECT_EQ(progress.texts, std::vector<std::string>{ruletext::kSavingBlockedSenders});
  std::string name;
  RegKey mail(reg);
  mail.Open(kBlock + "\\Mail", RegAccess::Read);
  mail.ReadString("Name", &name);
  EXPECT_EQ(name, "OE の名前");
  std::uint32_t version = 0;
  mail.ReadDword("Version", &version);
  EXPECT_EQ(version, 5u);
  RegKey criteria(reg);
  criteria.Open(kBlock + "\\Mail\\Criteria", RegAccess::Read);
  // The new entries take names the old "Order" (000 001 002) did not list.
  EXPECT_EQ(criteria.SubKeyNames(), (std::vector<std::string>{"003", "004", "005"}));
}

TEST(BlockedSenderListTest, AnImproperStoredEntryFailsTheSaveUntilTheListIsSetAgain) {
  MemoryRegistry reg;
  SeedBlocked(reg, {Sender("a@x"), {crit::kBlockedSender, 4, 1, valuetype::kText, Bytes("b@x")}});
  RuleStore store(reg);
  store.Load("{B10C0000-0000-0000-0000-000000000000}");
  ASSERT_EQ(store.BlockedSenders().Count(), 2);
  NullProgress progress;
  // Rewritten from its own entries (as after a reload) the flagged entry is refused.
  BlockedSenderList& list = store.BlockedSenders();
  list.SetAddresses(list.Addresses());
  EXPECT_TRUE(list.Save(reg, progress));
  BlockedSenderList reread(kBase);
  reread.Load(reg);
  EXPECT_EQ(reread.Addresses(), (std::vector<std::string>{"a@x", "b@x"}));
  EXPECT_EQ(reread.Criteria()->At(1).Flags(), 0u);
}

// A Mail key that lacks its "Name" fails the load, but its stored "Version"
// still counts on, and the missing name is written.
TEST(BlockedSenderListTest, SaveAfterADamagedLoadCountsOnFromTheStoredVersion) {
  MemoryRegistry reg;
  SeedBlocked(reg, {Sender("a@x")});
  {
    RegKey mail(reg);
    ASSERT_EQ(mail.Open(kBlock + "\\Mail", RegAccess::All), regerr::kSuccess);
    mail.WriteDword("Version", 7);
    mail.DeleteValue("Name");
  }
  BlockedSenderList list(kBase);
  EXPECT_FALSE(list.Load(reg));
  list.SetAddresses({"b@x"});
  NullProgress progress;
  ASSERT_TRUE(list.Save(reg, progress));
  BlockedSenderList reread(kBase);
  ASSERT_TRUE(reread.Load(reg));
  EXPECT_EQ(reread.MailVersion(), 8u);
  EXPECT_EQ(reread.Name(), ruletext::kBlockedRuleName);
  EXPECT_EQ(reread.Addresses(), std::vector<std::string>{"b@x"});
}

TEST(BlockedSenderListTest, FailedSaveIsReportedAndRetried) {
  MemoryRegistry reg;
  SeedBlocked(reg, {Sender("a@x")});
  RuleStore store(reg);
  store.Load("{B10C0000-0000-0000-0000-000000000000}");
  store.BlockedSenders().SetAddresses({"n@x", "m@x"});
  reg.FailOperation(RegOp::Set, kBlock + "\\Mail\\Criteria\\001");
  NullProgress progress;
  SaveResult result = store.SaveAll(progress);
  EXPECT_EQ(result.outcome, SaveOutcome::Incomplete);
  EXPECT_TRUE(result.blockedSendersFailed);
  EXPECT_TRUE(store.BlockedSenders().Modified());
  EXPECT_EQ(SaveFailureText(result, store.Rules()), ruletext::kBlockedSendersNotSaved);
  reg.ClearFaults();
  EXPECT_TRUE(store.SaveAll(progress).Ok());
  BlockedSenderList reread(kBase);
  reread.Load(reg);
  EXPECT_EQ(reread.Addresses(), (std::vector<std::string>{"n@x", "m@x"}));
  EXPECT_EQ(reread.MailVersion(), 5u);
}

}  // namespace
}  // namespace velkor::test
