// The sync core on a MemoryRegistry with an in-memory address book.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "registry/MemoryRegistry.h"
#include "rulestore/RuleModel.h"
#include "settings/ProfileSection.h"
#include "text/ShiftJis.h"
#include "wabsync/AddressMerge.h"
#include "wabsync/SyncTargets.h"
#include "wabsync/SyncTexts.h"
#include "wabsync/Synchronizer.h"
#include "wabsync/WabSyncSettings.h"
#include "wabsync/OeRegistryBuilder.h"

namespace velkor {
namespace {

using testing::CriterionPath;
using testing::CriterionDef;
using testing::OeRegistryBuilder;

const std::string kIdA = "{AAAAAAAA-0000-0000-0000-000000000001}";
const std::string kIdB = "{BBBBBBBB-0000-0000-0000-000000000002}";
const std::string kDummy = wabsync::kDummyAddress;

class FakePlatform : public SyncPlatform {
 public:
  bool running = false;
  bool nt = true;
  AddressBookRead result = AddressBookRead::Ok;
  std::vector<std::string> book;
  std::vector<std::string> messages;
  int busyDepth = 0;
  int busyCalls = 0;
  bool answer = true;
  bool backupFails = false;
  std::vector<std::string> questions;
  std::vector<std::string> backups;
  std::vector<int> writesAtBackup;  // the registry's writes when each backup was made
  MemoryRegistry* reg = nullptr;

  bool OutlookExpressRunning() override { return running; }
  bool NtFamily() override { return nt; }
  AddressBookRead ReadAddressBook(std::vector<std::string>* addresses) override {
    *addresses = book;
    return result;
  }
  void ShowMessage(const std::string& text) override { messages.push_back(text); }
  bool Ask(const std::string& question) override {
    questions.push_back(question);
    return answer;
  }
  bool WriteBackup(const std::string& identityKey, std::string* folder) override {
    backups.push_back(identityKey);
    writesAtBackup.push_back(reg ? reg->CountWrites() : -1);
    if (backupFails) *folder = "C:\\Backup\\" + identityKey;
    return !backupFails;
  }
  void SetBusy(bool busy) override {
    busyDepth += busy ? 1 : -1;
    ++busyCalls;
  }
};

class SyncTest : public ::testing::Test {
 protected:
  // The log is on from the start: the platform's backup counts the writes made before it.
  SyncTest() : build(reg), identities(MakeRegistrySyncIdentities(reg)) {
    reg.StartLog();
    platform.reg = &reg;
  }

  // Identity A with two accounts and both safe-list rules; identity B with a
  // sender rule only.
  void StandardSetup(const std::vector<std::string>& senderEntries, const std::vector<std::string>& bodyEntries) {
    build.Identity(kIdA, "太郎", "C:\\Mail\\A");
    build.Account(kIdA, "00000001", "taro@home.example");
    build.Account(kIdA, "00000002", "Taro@Work.example");
    build.RuleOrder(kIdA, "001 000");
    build.Rule(kIdA, "000", wabsync::kSenderRuleName, {{"000", 12, 65, senderEntries}});
    build.Rule(kIdA, "001", wabsync::kBodyRuleName, {{"000", 9, 65, bodyEntries}});
  }

  std::vector<std::string> ValueAt(const std::string& path) {
    std::uint32_t type = 0;
    std::vector<std::uint8_t> data;
    if (!reg.GetRaw(RegRoot::CurrentUser, path, "Value", &type, &data)) return {"<missing>"};
    EXPECT_EQ(type, regtype::kBinary);
    return DecodeStringList(data.data(), data.size());
  }
  std::size_t ValueSize(const std::string& path) {
    std::uint32_t type = 0;
    std::vector<std::uint8_t> data;
    reg.GetRaw(RegRoot::CurrentUser, path, "Value", &type, &data);
    return data.size();
  }

  bool Run(SyncMode mode, bool showResult = true) {
    FindSyncTargets(reg, *identities, &targets, &report);
    return Synchronise(reg, *identities, targets, mode, showResult, platform);
  }

  MemoryRegistry reg;
  OeRegistryBuilder build;
  std::unique_ptr<SyncIdentitySource> identities;
  SyncTargetList targets;
  SyncReport report;
  FakePlatform platform;
};

// ---------------------------------------------------------------------------
// Finding targets

TEST(SyncOrderTest, SplitsUpToTheFirstEmptyPiece) {
  struct Case {
    const char* order;
    std::vector<std::string> pieces;
  } cases[] = {
      {"000 001 002", {"000", "001", "002"}},
      {"000", {"000"}},
      {"", {}},
      {"000  001", {"000"}},
      {" 000", {}},
      {"000 001 ", {"000", "001"}},
  };
  for (const Case& c : cases) EXPECT_EQ(SplitSyncOrder(c.order), c.pieces) << c.order;
}

TEST_F(SyncTest, ReportListsTargetsInIdentityRuleAndCriteriaOrder) {
  StandardSetup({"x@example.com"}, {"y@example.com"});
  FindSyncTargets(reg, *identities, &targets, &report);

  ASSERT_EQ(targets.Count(), 2u);
  // Rule order "001 000": the body rule comes first.
  EXPECT_EQ(targets.PathAt(0), CriterionPath(kIdA, "001", "000"));
  EXPECT_EQ(targets.PathAt(1), CriterionPath(kIdA, "000", "000"));
  EXPECT_EQ(report.Text(),
            "-- 1 --\r\n　USER ： 太郎\r\n　RULE ： [SAFE]本文に信頼できるメールアドレスを含む場合\r\n"
            "　CRITERIA： 本文の条件\r\n"
            "-- 2 --\r\n　USER ： 太郎\r\n　RULE： [SAFE]送信者が信頼できるメールアドレスの場合\r\n"
            "　CRITERIA： 送信者の条件\r\n");
}

TEST_F(SyncTest, TwoSenderCriteriaGiveTwoNumberedTargetsWithOneHeader) {
  build.Identity(kIdA, "花子", "C:\\Mail\\A");
  build.RuleOrder(kIdA, "000");
  build.Rule(kIdA, "000", wabsync::kSenderRuleName, {{"000", 12, 65, {"a@x"}}, {"001", 12, 65, {"b@x"}}});
  FindSyncTargets(reg, *identities, &targets, &report);

  ASSERT_EQ(targets.Count(), 2u);
  const std::string block = "　USER ： 花子\r\n　RULE： [SAFE]送信者が信頼できるメールアドレスの場合\r\n"
                            "　CRITERIA： 送信者の条件\r\n";
  EXPECT_EQ(report.Text(), "-- 1 --\r\n" + block + "-- 2 --\r\n" + block);
}

TEST_F(SyncTest, PassesOverRulesCriteriaAndIdentitiesThatDoNotQualify) {
  build.Identity(kIdA, "A", "C:\\Mail\\A");
  build.RuleOrder(kIdA, "000 001 002 003");
  // The name test is case-sensitive.
  build.Rule(kIdA, "000", "[safe]送信者が信頼できるメールアドレスの場合", {{"000", 12, 65, {"a@x"}}});
  // Wrong criterion type for the rule, and a text value type.
  build.Rule(kIdA, "001", wabsync::kSenderRuleName, {{"000", 9, 65, {"a@x"}}, {"001", 12, 30, {"a@x"}}});
  // The criteria "Order" ends at a double blank.
  build.Rule(kIdA, "002", wabsync::kBodyRuleName, {{"000", 9, 65, {"a@x"}}, {"001", 9, 65, {"b@x"}}},
             "000  001");
  // Rule 003 is named in "Order" but has no key.
  // An identity without a store root is skipped entirely.
  build.Identity(kIdB, "B", "");
  build.RuleOrder(kIdB, "000");
  build.Rule(kIdB, "000", wabsync::kSenderRuleName, {{"000", 12, 65, {"a@x"}}});
  // A subkey that is not a braced identity.
  build.Identity("Settings", "S", "C:\\Mail\\S");
  build.RuleOrder("Settings", "000");
  build.Rule("Settings", "000", wabsync::kSenderRuleName, {{"000", 12, 65, {"a@x"}}});

  FindSyncTargets(reg, *identities, &targets, &report);
  ASSERT_EQ(targets.Count(), 1u);
  EXPECT_EQ(targets.PathAt(0), CriterionPath(kIdA, "002", "000"));
  EXPECT_EQ(targets.IdentityAt(0), kIdA);
}

// ---------------------------------------------------------------------------
// Add only

TEST_F(SyncTest, AddOnlyKeepsHandAddedDropsDummyAndOwnAppendsNewOnce) {
  StandardSetup({kDummy, "hand@added.example", "TARO@HOME.example"}, {"hand@added.example"});
  platform.book = {"  new@one.example ", "Hand@Added.example", "New@One.example", "taro@work.example",
                   "no-at-sign", "", "second@two.example"};

  ASSERT_TRUE(Run(SyncMode::AddOnly));
  const std::vector<std::string> expected = {"hand@added.example", "new@one.example", "second@two.example"};
  EXPECT_EQ(ValueAt(CriterionPath(kIdA, "000", "000")), expected);
  EXPECT_EQ(ValueAt(CriterionPath(kIdA, "001", "000")), expected);
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_EQ(platform.messages[0], std::string(wabsync::kFinished) + "\r\n\r\n追加したアドレス： 4 件\r\n削除したアドレス： 1 件");
  EXPECT_EQ(platform.busyDepth, 0);
  EXPECT_GT(platform.busyCalls, 0);
  EXPECT_EQ(reg.OpenHandleCount(), 0);

  // Nothing new in the address book: nothing is written.
  reg.StartLog();
  ASSERT_TRUE(Run(SyncMode::AddOnly, false));
  EXPECT_EQ(reg.CountWrites(), 0);
  EXPECT_EQ(platform.messages.size(), 1u);
}

TEST_F(SyncTest, AddOnlyWithNoUsableAddressLeavesTheDummyAndStopsRewritingIt) {
  StandardSetup({kDummy, "taro@home.example"}, {kDummy});
  platform.book = {"", "   "};

  ASSERT_TRUE(Run(SyncMode::AddOnly));
  EXPECT_EQ(ValueAt(CriterionPath(kIdA, "000", "000")), std::vector<std::string>{kDummy});
  EXPECT_EQ(ValueAt(CriterionPath(kIdA, "001", "000")), std::vector<std::string>{kDummy});

  reg.StartLog();
  ASSERT_TRUE(Run(SyncMode::AddOnly));
  EXPECT_EQ(reg.CountWrites(), 0);
}

// ---------------------------------------------------------------------------
// Full

TEST_F(SyncTest, FullRebuildsWithoutOwnAddressesAndKeepsTheFirstSpelling) {
  StandardSetup({"hand@added.example", kDummy}, {"old@x.example"});
  platform.book = {"Friend@Example.com", "TARO@home.EXAMPLE", "friend@example.com", "other@example.com"};

  ASSERT_TRUE(Run(SyncMode::Full));
  const std::vector<std::string> expected = {"Friend@Example.com", "other@example.com"};
  EXPECT_EQ(ValueAt(CriterionPath(kIdA, "000", "000")), expected);
  EXPECT_EQ(ValueAt(CriterionPath(kIdA, "001", "000")), expected);

  // Full always writes, even with nothing new.
  reg.StartLog();
  ASSERT_TRUE(Run(SyncMode::Full));
  EXPECT_EQ(reg.CountOps(RegOp::Set), 2);
}

TEST_F(SyncTest, FullWithAnEmptyAddressBookWritesTheDummyAlone) {
  StandardSetup({"a@x.example"}, {"b@x.example"});
  ASSERT_TRUE(Run(SyncMode::Full));
  EXPECT_EQ(ValueAt(CriterionPath(kIdA, "000", "000")), std::vector<std::string>{kDummy});
  EXPECT_EQ(ValueSize(CriterionPath(kIdA, "000", "000")), 53u);
}

TEST_F(SyncTest, OwnAddressesAreThoseOfTheTargetsIdentity) {
  StandardSetup({kDummy}, {kDummy});
  build.Identity(kIdB, "次郎", "C:\\Mail\\B");
  build.Account(kIdB, "00000001", "jiro@home.example");
  build.RuleOrder(kIdB, "000");
  build.Rule(kIdB, "000", wabsync::kSenderRuleName, {{"000", 12, 65, {kDummy}}});
  platform.book = {"taro@home.example", "jiro@home.example"};

  ASSERT_TRUE(Run(SyncMode::Full));
  EXPECT_EQ(ValueAt(CriterionPath(kIdA, "000", "000")), std::vector<std::string>{"jiro@home.example"});
  EXPECT_EQ(ValueAt(CriterionPath(kIdB, "000", "000")), std::vector<std::string>{"taro@home.example"});
}

TEST_F(SyncTest, OnlyTheValueIsWritten) {
  StandardSetup({"a@x.example"}, {"b@x.example"});
  platform.book = {"new@x.example"};
  const std::string rulePath = testing::RulesPath(kIdA) + "\\000";
  const std::string before = reg.Dump(RegRoot::CurrentUser, "");

  for (SyncMode mode : {SyncMode::AddOnly, SyncMode::Full}) {
    reg.StartLog();
    ASSERT_TRUE(Run(mode));
    int sets = 0;
    for (const RegLogEntry& e : reg.Log()) {
      if (e.op == RegOp::Set || e.op == RegOp::DeleteValue || e.op == RegOp::DeleteTree) {
        EXPECT_EQ(e.name, "Value");
        EXPECT_NE(e.path.find("\\Criteria\\000"), std::string::npos) << e.path;
        ++sets;
      }
      EXPECT_NE(e.op, RegOp::Create);
    }
    EXPECT_EQ(sets, 2);
  }
  // Everything else in the tree is as before: drop the two Value lines and compare.
  auto withoutValues = [](const std::string& dump) {
    std::string out;
    for (const std::string& line : sjis::SplitLines(dump))
      if (line.rfind("\"Value\"=", 0) != 0) out += line + "\n";
    return out;
  };
  EXPECT_EQ(withoutValues(reg.Dump(RegRoot::CurrentUser, "")), withoutValues(before));
}

// ---------------------------------------------------------------------------
// What a run will do, worked out before anything is written

TEST_F(SyncTest, PlanSaysWhatEachListGainsAndLoses) {
  using List = std::vector<std::string>;
  struct Case {
    const char* what;
    SyncMode mode;
    List sender, body, book;
    List senderAdded, senderRemoved, bodyAdded, bodyRemoved;
    bool senderWritten;
    List changedIdentities;
  } cases[] = {
      {"add only: the dummy goes unsaid, an own address is removed",
       SyncMode::AddOnly, {kDummy, "hand@x.example", "TARO@HOME.example"}, {"hand@x.example"},
       {"new@x.example", "Hand@X.example"},
       {"new@x.example"}, {"TARO@HOME.example"}, {"new@x.example"}, {}, true, {kIdA}},
      {"add only with nothing new writes nothing",
       SyncMode::AddOnly, {"a@x.example"}, {"a@x.example"}, {"A@X.example"}, {}, {}, {}, {}, false, {}},
      {"full removes what the address book lacks",
       SyncMode::Full, {"hand@x.example", kDummy}, {"old@x.example"}, {"Friend@x.example", "other@x.example"},
       {"Friend@x.example", "other@x.example"}, {"hand@x.example"},
       {"Friend@x.example", "other@x.example"}, {"old@x.example"}, true, {kIdA}},
      {"full with an unchanged list still writes but changes nothing",
       SyncMode::Full, {"a@x.example"}, {"a@x.example"}, {"a@x.example"}, {}, {}, {}, {}, true, {}},
      {"full with an empty address book leaves the dummy, which is not counted",
       SyncMode::Full, {"a@x.example"}, {kDummy}, {}, {}, {"a@x.example"}, {}, {}, true, {kIdA}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    MemoryRegistry fresh;
    OeRegistryBuilder b(fresh);
    b.Identity(kIdA, "太郎", "C:\\Mail\\A");
    b.Account(kIdA, "00000001", "taro@home.example");
    b.RuleOrder(kIdA, "000 001");
    b.Rule(kIdA, "000", wabsync::kSenderRuleName, {{"000", 12, 65, c.sender}});
    b.Rule(kIdA, "001", wabsync::kBodyRuleName, {{"000", 9, 65, c.body}});
    auto ids = MakeRegistrySyncIdentities(fresh);
    SyncTargetList t;
    SyncReport r;
    FindSyncTargets(fresh, *ids, &t, &r);
    fresh.ClearLog();
    SyncPlan plan;
    std::string sizeMessage;
    ASSERT_EQ(PlanSync(fresh, *ids, t, c.mode, UsableAddresses(c.book), true, &plan, &sizeMessage), nullptr);
    EXPECT_EQ(fresh.CountWrites(), 0);
    ASSERT_EQ(plan.lists.size(), 2u);
    const SyncListPlan& sender = plan.lists[0];
    const SyncListPlan& body = plan.lists[1];
    EXPECT_EQ(sender.kind, SafeListKind::Sender);
    EXPECT_EQ(sender.userName, "太郎");
    EXPECT_EQ(sender.added, c.senderAdded);
    EXPECT_EQ(sender.removed, c.senderRemoved);
    EXPECT_EQ(body.added, c.bodyAdded);
    EXPECT_EQ(body.removed, c.bodyRemoved);
    EXPECT_EQ(sender.write, c.senderWritten);
    EXPECT_EQ(plan.ChangedIdentities(), c.changedIdentities);
    EXPECT_EQ(plan.AddedCount(), c.senderAdded.size() + c.bodyAdded.size());
    EXPECT_EQ(plan.RemovedCount(), c.senderRemoved.size() + c.bodyRemoved.size());
  }
}

TEST(SyncQuestionTest, NamesTheListsAndShowsTheFirstFiveOfEach) {
  SyncPlan plan;
  SyncListPlan sender;
  sender.userName = "太郎";
  sender.kind = SafeListKind::Sender;
  sender.removed = {"a@x", "b@x", "c@x", "d@x", "e@x", "f@x", "g@x"};
  SyncListPlan unchanged;
  unchanged.added = {"new@x"};
  SyncListPlan body;
  body.userName = "花子";
  body.kind = SafeListKind::Body;
  body.removed = {"h@x"};
  plan.lists = {sender, unchanged, body};
  EXPECT_EQ(RemovalQuestion(plan),
            "完全同期を実行すると、次のメールルールの条件から合わせて 8 件のアドレスが削除されます。\r\n"
            "\r\n太郎 ： [SAFE]送信者が信頼できるメールアドレスの場合 （7 件）\r\n"
            "　　a@x\r\n　　b@x\r\n　　c@x\r\n　　d@x\r\n　　e@x\r\n　　ほか 2 件\r\n"
            "\r\n花子 ： [SAFE]本文に信頼できるメールアドレスを含む場合 （1 件）\r\n　　h@x\r\n" +
                std::string(wabsync::kRemovalTail));
  EXPECT_EQ(ResultMessage(plan), std::string(wabsync::kFinished) + "\r\n\r\n追加したアドレス： 1 件\r\n削除したアドレス： 8 件");
}

TEST_F(SyncTest, BacksUpEachChangedIdentityBeforeWritingAndAsksBeforeAFullRunRemoves) {
  struct Case {
    const char* what;
    SyncMode mode;
    bool confirm;
    bool answer;
    bool backupFails;
    bool asked;
    bool synchronised;
    std::string failure;  // the one message of a run that fails, if any
  } cases[] = {
      {"full, confirmed", SyncMode::Full, true, true, false, true, true, ""},
      {"full, refused: nothing happens", SyncMode::Full, true, false, false, true, false, ""},
      {"full without asking (the silent start)", SyncMode::Full, false, false, false, false, true, ""},
      {"add only never asks", SyncMode::AddOnly, true, false, false, false, true, ""},
      {"a backup that cannot be written stops the run", SyncMode::Full, true, true, true, true, false,
       "同期する前のルールのバックアップを作成できませんでした。同期を中止しました。\r\n（C:\\Backup\\" + kIdA + "）"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    // Identity B's list stays as it is, so only A is backed up.
    StandardSetup({"hand@x.example"}, {"hand@x.example"});
    build.Identity(kIdB, "次郎", "C:\\Mail\\B");
    build.RuleOrder(kIdB, "000");
    build.Rule(kIdB, "000", wabsync::kSenderRuleName, {{"000", 12, 65, {"new@x.example"}}});
    platform = FakePlatform();
    platform.reg = &reg;
    platform.book = {"new@x.example"};
    platform.answer = c.answer;
    platform.backupFails = c.backupFails;
    FindSyncTargets(reg, *identities, &targets, &report);
    reg.ClearLog();

    EXPECT_EQ(Synchronise(reg, *identities, targets, c.mode, true, platform, c.confirm), c.synchronised);
    EXPECT_EQ(platform.questions.size(), c.asked ? 1u : 0u);
    if (c.asked && !platform.questions.empty()) {
      EXPECT_NE(platform.questions[0].find("合わせて 2 件"), std::string::npos) << platform.questions[0];
    }
    if (c.synchronised) {
      ASSERT_EQ(platform.messages.size(), 1u);
      EXPECT_EQ(platform.messages[0].rfind(wabsync::kFinished, 0), 0u);
    } else {
      EXPECT_EQ(platform.messages, c.failure.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.failure});
    }
    // The backup comes first and covers the one identity that changes.
    const bool backedUp = c.synchronised || c.backupFails;
    EXPECT_EQ(platform.backups, backedUp ? std::vector<std::string>{kIdA} : std::vector<std::string>{});
    if (backedUp) {
      EXPECT_EQ(platform.writesAtBackup, std::vector<int>{0});
    }
    using List = std::vector<std::string>;
    const List after = !c.synchronised              ? List{"hand@x.example"}
                       : c.mode == SyncMode::Full ? List{"new@x.example"}
                                                  : List{"hand@x.example", "new@x.example"};
    EXPECT_EQ(ValueAt(CriterionPath(kIdA, "000", "000")), after);
    if (!c.synchronised) {
      EXPECT_EQ(reg.CountWrites(), 0);
    }
  }
}

// ---------------------------------------------------------------------------
// Refusals and failures

TEST_F(SyncTest, NoTargetSucceedsWithoutAMessageEvenWhileOutlookExpressRuns) {
  build.Identity(kIdA, "A", "C:\\Mail\\A");
  platform.running = true;
  EXPECT_TRUE(Run(SyncMode::Full));
  EXPECT_TRUE(platform.messages.empty());
}

TEST_F(SyncTest, RefusalsBeforeAnyWrite) {
  struct Case {
    const char* what;
    bool running;
    AddressBookRead read;
    const char* message;
  } cases[] = {
      {"Outlook Express runs", true, AddressBookRead::Ok, wabsync::kOutlookExpressRunning},
      {"no address book", false, AddressBookRead::NotOpened, wabsync::kAddressBookFailed},
      {"address book read only in part", false, AddressBookRead::LoadFailed, wabsync::kAddressBookIncomplete},
  };
  for (const Case& c : cases) {
    MemoryRegistry fresh;
    OeRegistryBuilder b(fresh);
    b.Identity(kIdA, "A", "C:\\Mail\\A");
    b.RuleOrder(kIdA, "000");
    b.Rule(kIdA, "000", wabsync::kSenderRuleName, {{"000", 12, 65, {"keep@x.example"}}});
    auto ids = MakeRegistrySyncIdentities(fresh);
    FakePlatform p;
    p.running = c.running;
    p.result = c.read;
    p.book = {"partial@x.example"};
    SyncTargetList t;
    SyncReport r;
    FindSyncTargets(fresh, *ids, &t, &r);
    fresh.StartLog();
    EXPECT_FALSE(Synchronise(fresh, *ids, t, SyncMode::Full, true, p)) << c.what;
    EXPECT_EQ(p.messages, std::vector<std::string>{c.message}) << c.what;
    EXPECT_EQ(fresh.CountWrites(), 0) << c.what;
    EXPECT_EQ(p.busyDepth, 0) << c.what;
  }
}

// Every target is read before the first write: a read error changes nothing,
// a write error keeps the targets written before it.
TEST_F(SyncTest, AnErrorEndsTheRunKeepingEarlierTargetsAndSparingLaterOnes) {
  StandardSetup({"a@x.example"}, {"b@x.example"});
  platform.book = {"new@x.example"};
  FindSyncTargets(reg, *identities, &targets, &report);
  ASSERT_EQ(targets.Count(), 2u);

  struct Case {
    RegOp op;
    const char* message;
    bool firstWritten;
  } cases[] = {
      {RegOp::Open, wabsync::kOpenKeyFailed, false},
      {RegOp::Query, wabsync::kValueLengthFailed, false},
      {RegOp::Set, wabsync::kUpdateFailed, true},
  };
  for (const Case& c : cases) {
    // Rule 000 (the sender rule) is the second target.
    build.Rule(kIdA, "000", wabsync::kSenderRuleName, {{"000", 12, 65, {"a@x.example"}}});
    build.Rule(kIdA, "001", wabsync::kBodyRuleName, {{"000", 9, 65, {"b@x.example"}}});
    platform.messages.clear();
    reg.FailOperation(c.op, "\\000\\Criteria\\000");
    EXPECT_FALSE(Synchronise(reg, *identities, targets, SyncMode::AddOnly, true, platform));
    reg.ClearFaults();
    EXPECT_EQ(platform.messages, std::vector<std::string>{c.message});
    EXPECT_EQ(ValueAt(targets.PathAt(0)), c.firstWritten ? (std::vector<std::string>{"b@x.example", "new@x.example"})
                                                         : std::vector<std::string>{"b@x.example"});
    EXPECT_EQ(ValueAt(targets.PathAt(1)), std::vector<std::string>{"a@x.example"});
    EXPECT_EQ(reg.OpenHandleCount(), 0);
  }
}

TEST_F(SyncTest, AddOnlyNeedsTheStoredValue) {
  StandardSetup({"a@x.example"}, {"b@x.example"});
  RegKey key(reg);
  key.Open(CriterionPath(kIdA, "001", "000"), RegAccess::All);
  key.DeleteValue("Value");
  key.Close();
  platform.book = {"new@x.example"};
  EXPECT_FALSE(Run(SyncMode::AddOnly));
  EXPECT_EQ(platform.messages, std::vector<std::string>{wabsync::kValueLengthFailed});
  // Full does not read it.
  platform.messages.clear();
  EXPECT_TRUE(Run(SyncMode::Full));
  EXPECT_EQ(ValueAt(CriterionPath(kIdA, "001", "000")), std::vector<std::string>{"new@x.example"});
}

TEST_F(SyncTest, SixteenKilobyteLimitOnlyOffTheNtFamily) {
  // One address whose list encoding takes size bytes: length + NUL + two zero bytes.
  auto addressOfListSize = [](std::size_t size) { return std::string(size - 3 - 2, 'a') + "@x"; };
  struct Case {
    bool nt;
    std::size_t size;
    bool written;
  } cases[] = {{false, 16384, true}, {false, 16385, false}, {true, 16385, true}};
  for (const Case& c : cases) {
    MemoryRegistry fresh;
    OeRegistryBuilder b(fresh);
    b.Identity(kIdA, "A", "C:\\Mail\\A");
    b.RuleOrder(kIdA, "000");
    b.Rule(kIdA, "000", wabsync::kSenderRuleName, {{"000", 12, 65, {"old@x.example"}}});
    auto ids = MakeRegistrySyncIdentities(fresh);
    FakePlatform p;
    p.nt = c.nt;
    p.book = {addressOfListSize(c.size)};
    SyncTargetList t;
    SyncReport r;
    FindSyncTargets(fresh, *ids, &t, &r);
    EXPECT_EQ(Synchronise(fresh, *ids, t, SyncMode::Full, false, p), c.written) << c.size;
    std::uint32_t type;
    std::vector<std::uint8_t> data;
    fresh.GetRaw(RegRoot::CurrentUser, t.PathAt(0), "Value", &type, &data);
    EXPECT_EQ(data.size(), c.written ? c.size : 16u) << c.size;
    if (!c.written) {
      ASSERT_EQ(p.messages.size(), 1u);
      EXPECT_EQ(p.messages[0], SizeLimitMessage(16385));
      EXPECT_NE(p.messages[0].find("現在のデータサイズは16.001KBです。\r\n\r\nこのエラーは"), std::string::npos);
      EXPECT_NE(p.messages[0].find("最新のOSにアップグレードしてください。"), std::string::npos);
    }
    EXPECT_EQ(fresh.OpenHandleCount(), 0);
  }
}

// ---------------------------------------------------------------------------
// Lists and settings

TEST(AddressMergeTest, LargeListsStayCorrect) {
  std::vector<std::string> book;
  for (int i = 0; i < 5000; ++i) book.push_back("user" + std::to_string(i % 2500) + (i < 2500 ? "@x" : "@X"));
  const std::vector<std::string> full = BuildFullList(ExcludedList({"USER7@x"}), UsableAddresses(book));
  ASSERT_EQ(full.size(), 2499u);
  EXPECT_EQ(full.front(), "user0@x");
  EXPECT_EQ(full.back(), "user2499@x");

  std::vector<std::string> list = {"user1@X", "mine@x"};
  EXPECT_TRUE(MergeAddOnly(&list, ExcludedList({}), full));
  EXPECT_EQ(list.size(), 2499u + 1u);
  EXPECT_EQ(list[0], "user1@X");
  EXPECT_EQ(list[1], "mine@x");
  EXPECT_FALSE(MergeAddOnly(&list, ExcludedList({}), full));
}

TEST(AddressMergeTest, FoldingCoversFullWidthLettersButNotKana) {
  // Full-width letters fold; ア (83 41) and ヂ (83 61) differ only in what would
  // be the case bit of an ASCII second byte, and stay two addresses.
  const std::vector<std::string> list =
      BuildFullList(ExcludedList({}), {"ＴＡＲＯ@x", "ｔａｒｏ@x", "ア@x", "ヂ@x", "ヂ@X"});
  EXPECT_EQ(list, (std::vector<std::string>{"ＴＡＲＯ@x", "ア@x", "ヂ@x"}));
  // An "@" that is the second byte of a double-byte character is no "@".
  EXPECT_TRUE(UsableAddresses({"a\x81@b"}).empty());
  EXPECT_EQ(UsableAddresses({"a\x81@b@c"}), std::vector<std::string>{"a\x81@b@c"});
}

TEST_F(SyncTest, SettingsDefaultsAndRoundTrip) {
  WabSyncSettings s;
  s.Load(reg);
  EXPECT_EQ(s.type, 1);
  EXPECT_FALSE(s.startUp);
  EXPECT_TRUE(s.showResult);
  EXPECT_EQ(SyncModeFromSetting(s.type), SyncMode::AddOnly);
  for (std::int32_t t : {0, 2, -1}) EXPECT_EQ(SyncModeFromSetting(t), SyncMode::Full) << t;

  s.type = 0;
  s.startUp = true;
  s.showResult = false;
  ASSERT_TRUE(s.Save(reg));
  WabSyncSettings back;
  back.Load(reg);
  EXPECT_EQ(back.type, 0);
  EXPECT_TRUE(back.startUp);
  EXPECT_FALSE(back.showResult);
  std::uint32_t type;
  std::vector<std::uint8_t> data;
  ASSERT_TRUE(reg.GetRaw(RegRoot::CurrentUser, std::string(kApplicationKey) + "\\Wab Sync", "StartUp", &type, &data));
  EXPECT_EQ(type, regtype::kDword);

  reg.FailNthWrite(1);
  EXPECT_FALSE(s.Save(reg));
}

TEST(SilentArgumentTest, SyncInAnyCaseOnly) {
  for (const char* yes : {"/sync", "/SYNC", "/Sync"}) EXPECT_TRUE(IsSilentSyncArgument(yes)) << yes;
  for (const char* no : {"", "sync", "/sync2", "-sync", " /sync"}) EXPECT_FALSE(IsSilentSyncArgument(no)) << no;
}

}  // namespace
}  // namespace velkor
