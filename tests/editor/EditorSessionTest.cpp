// The editor's session on a memory registry: which identity it starts with,
// when the remembered selection survives a load, the rule display order that
// a save writes, and the poll timer's decisions.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "../rulestore/RuleTestSupport.h"
#include "addressbook/FileStamp.h"
#include "editor/EditorSession.h"
#include "registry/MemoryRegistry.h"

namespace velkor {
namespace {

constexpr const char* kA = "{0A000000-0000-0000-0000-00000000000A}";
constexpr const char* kB = "{0B000000-0000-0000-0000-00000000000B}";
constexpr const char* kGone = "{0C000000-0000-0000-0000-00000000000C}";

using test::SeedIdentity;

void SetDefault(RegistryAccess& reg, const std::string& key) {
  RegKey root(reg);
  ASSERT_EQ(root.Create("Identities"), regerr::kSuccess);
  root.WriteString("Default User ID", key);
}

// A rule must have a criterion to be saved: a sender word.
void GiveSender(RuleStore& store, std::uint32_t number) {
  std::vector<std::uint8_t> words = EncodeStringList({"spam@example.com"});
  store.SetCriterionValue(number, SlotBit(0), words.data(), static_cast<std::uint32_t>(words.size()),
                          valuetype::kBytes);
}

void AddAt(EditorSession& session, int index) { GiveSender(session.Store(), session.AddRuleAt(index).Number()); }

// Saves rules of these names, in this order, for `identity`.
void SeedRules(RegistryAccess& reg, const std::string& identity, const std::vector<std::string>& names) {
  RuleStore store(reg);
  store.Load(identity);
  for (const std::string& name : names) GiveSender(store, store.Rules().AddNewRule(name).Number());
  NullProgress progress;
  ASSERT_TRUE(store.SaveAll(progress).Ok());
}

std::vector<std::string> Names(const RuleSet& rules) {
  std::vector<std::string> out;
  for (int i = 0; i < rules.Count(); ++i) out.push_back(rules.At(i).Name());
  return out;
}

TEST(EditorSession, StartsWithTheRememberedThenTheDefaultIdentity) {
  struct Case {
    const char* name;
    std::string remembered;
    std::string defaultKey;
    std::string expected;  // empty: the window takes its first entry
  };
  const Case cases[] = {
      {"remembered and listed", kB, kA, kB},
      {"nothing remembered", "", kA, kA},
      {"remembered identity deleted", kGone, kA, kA},
      {"default deleted too", kGone, kGone, ""},
      {"no default", "", "", ""},
  };
  for (const Case& c : cases) {
    MemoryRegistry reg;
    SeedIdentity(reg, kA, "Bob", false);
    SeedIdentity(reg, kB, "Alice", false);
    if (!c.defaultKey.empty()) SetDefault(reg, c.defaultKey);
    EditorSession session(reg);
    ASSERT_EQ(session.ReadIdentities().size(), 2u);
    EXPECT_EQ(session.PreferredIdentity(c.remembered), c.expected) << c.name;
  }
}

TEST(EditorSession, ARememberedSelectionSurvivesOnlyALoadOfItsOwnIdentity) {
  MemoryRegistry reg;
  SeedIdentity(reg, kA, "Bob", false);
  SeedIdentity(reg, kB, "Alice", false);
  EditorSession session(reg);
  const RememberedSelection selection{7, 3, 2};

  session.Remember(selection, kA);
  session.Load(kA);  // start, or a reload after a save
  EXPECT_EQ(session.Remembered(), selection);
  session.Load(kB);  // identity switch
  EXPECT_EQ(session.Remembered(), RememberedSelection());
  session.Remember(selection, kB);
  session.Load(kA);
  EXPECT_EQ(session.Remembered(), RememberedSelection());
}

// The window no longer reads its rows back: what the session holds is what
// the save writes, and a reload shows it in that order.
TEST(EditorSession, TheDisplayOrderIsWhatASaveWrites) {
  struct Case {
    const char* name;
    void (*edit)(EditorSession&);
    std::vector<std::string> expected;
  };
  const Case cases[] = {
      {"add before the second", [](EditorSession& s) { AddAt(s, 1); },
       {"r0", "新規のメール ルール", "r1", "r2", "r3"}},
      {"add past the end appends", [](EditorSession& s) { AddAt(s, 99); },
       {"r0", "r1", "r2", "r3", "新規のメール ルール"}},
      {"last two to the top", [](EditorSession& s) { s.MoveRules({false, false, true, true}, 3, 0); },
       {"r2", "r3", "r0", "r1"}},
      {"first to the end", [](EditorSession& s) { s.MoveRules({true, false, false, false}, 0, 4); },
       {"r1", "r2", "r3", "r0"}},
      {"remove then add at the top",
       [](EditorSession& s) {
         s.RemoveRule(s.DisplayOrder()[1]);
         AddAt(s, 0);
       },
       {"新規のメール ルール", "r0", "r2", "r3"}},
  };
  for (const Case& c : cases) {
    MemoryRegistry reg;
    SeedIdentity(reg, kA, "Bob", false);
    SeedRules(reg, kA, {"r0", "r1", "r2", "r3"});
    EditorSession session(reg);
    session.Load(kA);
    c.edit(session);
    EXPECT_EQ(Names(session.Rules()), c.expected) << c.name;
    ASSERT_TRUE(session.HasUnsavedChanges()) << c.name;
    NullProgress progress;
    ASSERT_TRUE(session.Save(progress).Ok()) << c.name;
    session.Load(kA);
    EXPECT_EQ(Names(session.Rules()), c.expected) << c.name;
    EXPECT_FALSE(session.HasUnsavedChanges()) << c.name;
  }
}

TEST(EditorSession, APollFollowsTheWatchersThenTheAddressBookFile) {
  MemoryRegistry reg;
  SeedIdentity(reg, kA, "Bob", false);
  EditorSession session(reg);
  session.Load(kA);

  struct Case {
    WatchTickAction watch;
    PollAction expected;
  };
  const Case watched[] = {
      {WatchTickAction::Fatal, PollAction::Fatal},
      {WatchTickAction::Reload, PollAction::Reload},
      {WatchTickAction::Restart, PollAction::RestartWatchers},
      {WatchTickAction::None, PollAction::None},
  };
  for (const Case& c : watched) {
    WatchTickDecision watch;
    watch.action = c.watch;
    watch.messageId = c.watch == WatchTickAction::None ? 0 : 104;
    watch.stopWatchers = c.watch != WatchTickAction::None;
    PollDecision decision = session.Poll(watch);
    EXPECT_EQ(decision.action, c.expected) << static_cast<int>(c.watch);
    EXPECT_EQ(decision.messageId, watch.messageId);
    EXPECT_EQ(decision.stopTimer, watch.stopWatchers);
  }

  // The address-book file appears: reopen once, then quiet again.
  std::string file = ::testing::TempDir() + "velkor-session.wab";
  std::ofstream(file) << "contacts";
  RegKey wab(reg);
  ASSERT_EQ(wab.Create(kWabFileNameKey), regerr::kSuccess);
  wab.WriteString("", file);
  PollDecision changed = session.Poll(WatchTickDecision());
  EXPECT_EQ(changed.action, PollAction::ReopenAddressBook);
  EXPECT_TRUE(changed.stopTimer);
  session.SetAddressBook(AddressEntryList(), AddressBookFileStamp(reg));
  EXPECT_EQ(session.Poll(WatchTickDecision()).action, PollAction::None);
  std::remove(file.c_str());
}

}  // namespace
}  // namespace velkor
