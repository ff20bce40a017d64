#include <gtest/gtest.h>

#include <set>

#include "../rulestore/RuleTestSupport.h"
#include "editor/ActionEditing.h"
#include "registry/MemoryRegistry.h"
#include "rulestore/RuleStore.h"

namespace velkor::test {
namespace {

const std::string kId = "{C0000000-0000-0000-0000-000000000001}";
const StoreStamp kStamp{0x1234ABCD, 0x00563412};

// Only the paths it was given exist.
class FakePaths : public PathCheck {
 public:
  std::set<std::string> existing;
  bool Exists(const std::string& path) const override { return existing.count(path) != 0; }
};

std::vector<std::uint8_t> FolderRefValue(const StoreStamp& stamp, std::uint32_t folder) {
  const FolderRefBytes ref = MakeFolderRef(stamp, folder);
  return {ref.begin(), ref.end()};
}

class ActionEditingTest : public ::testing::Test {
 protected:
  // One rule "000" with a sender criterion and the given actions.
  void Load(const std::vector<SeedItem>& actions) {
    reg_ = std::make_unique<MemoryRegistry>();
    store_ = std::make_unique<RuleStore>(*reg_);
    const std::string rules = RulesMailPath(IdentityBasePath(kId));
    WriteRulesHeader(*reg_, rules, "000");
    WriteSeedRule(*reg_, rules, "000", "rule", 1, 1, {Words(crit::kFrom, {"a@example.jp"})}, actions);
    store_->Load(kId);
    ASSERT_TRUE(store_->HasRule(0));
    ASSERT_FALSE(store_->HasChanges());
  }
  ActionEditing Editing() { return ActionEditing(*store_, 0, paths_); }
  const RuleAction* Action(int row) const { return store_->Action(0, SlotBit(row)); }
  std::vector<std::uint8_t> Value(int row) const {
    const RuleAction* a = Action(row);
    return a && a->HasValue() ? std::vector<std::uint8_t>(a->ValueData(), a->ValueData() + a->ValueSize())
                              : std::vector<std::uint8_t>();
  }

  std::unique_ptr<MemoryRegistry> reg_;
  std::unique_ptr<RuleStore> store_;
  FakePaths paths_;
};

TEST_F(ActionEditingTest, ServerActionsExcludeEveryOtherAndAreExcludedAgain) {
  struct Case {
    int exclusiveRow;
    int laterRow;
  };
  for (const Case& c : {Case{actionrow::kDeleteFromServer, actionrow::kForward},
                        Case{actionrow::kDontDownload, actionrow::kMove}}) {
    SCOPED_TRACE(c.exclusiveRow);
    Load({Plain(act::kDelete), Plain(act::kFlag)});
    ActionEditing editing = Editing();
    EXPECT_EQ(editing.Mask(), SlotBit(2) | SlotBit(5));
    editing.CheckRow(c.exclusiveRow, kStamp);
    EXPECT_EQ(editing.Mask(), SlotBit(c.exclusiveRow));
    editing.CheckRow(c.laterRow, kStamp);
    EXPECT_EQ(editing.Mask(), SlotBit(c.laterRow));
  }
}

// Rules written by other programs may break the combination; showing a row
// restores it, and showing a consistent rule changes nothing.
TEST_F(ActionEditingTest, ShowingARowKeepsTheCombinationAndOtherwiseChangesNothing) {
  Load({Number(act::kHighlight, 3), Plain(act::kFlag)});
  Editing().ShowRow(actionrow::kHighlight, kStamp);
  Editing().ShowRow(5, kStamp);
  EXPECT_FALSE(store_->HasChanges());

  Load({{act::kMove, 0, 2, valuetype::kBytes, FolderRefValue(kStamp, 9)}, Plain(act::kDeleteFromServer)});
  EXPECT_EQ(Editing().Mask(), SlotBit(0) | SlotBit(11));
  Editing().ShowRow(actionrow::kMove, kStamp);
  EXPECT_EQ(Editing().Mask(), SlotBit(0));
  EXPECT_TRUE(store_->HasChanges());

  Load({Plain(act::kFlag), Plain(act::kDontDownload)});
  Editing().ShowRow(actionrow::kDontDownload, kStamp);
  EXPECT_EQ(Editing().Mask(), SlotBit(actionrow::kDontDownload));
}

TEST_F(ActionEditingTest, ForwardTextIsCleanedAndAnEmptyOneStoresNothing) {
  struct Case {
    const char* typed;
    const char* stored;  // empty: no value, row unchecked
  };
  const Case cases[] = {
      {"a@x.example ; b@y.example , ,c@z.example", "a@x.example,b@y.example,c@z.example"},
      {"\t山田@例.jp\r\n;", "山田@例.jp"},
      // A second byte of a double-byte character is never taken for a separator.
      {"表示@x.example", "表示@x.example"},
      {" ; , ;", ""},
      {"", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    Load({Text(act::kForward, "old@x.example")});
    const TextCommit commit = Editing().CommitText(actionrow::kForward, c.typed, false);
    EXPECT_TRUE(commit.stored);
    EXPECT_EQ(commit.text, c.stored);
    if (*c.stored) {
      EXPECT_EQ(Value(actionrow::kForward), Bytes(c.stored));
      EXPECT_TRUE(commit.held);
    } else {
      EXPECT_FALSE(Action(actionrow::kForward)->HasValue());
      EXPECT_FALSE(commit.held);
      EXPECT_FALSE(Editing().Holds(actionrow::kForward));
    }
  }
}

TEST_F(ActionEditingTest, UnchangedTextStoresNothingUnlessEmpty) {
  Load({Text(act::kForward, "a@x.example ; b")});
  TextCommit commit = Editing().CommitText(actionrow::kForward, "a@x.example ; b", true);
  EXPECT_FALSE(commit.stored);
  EXPECT_FALSE(store_->HasChanges());
  // A freshly checked forward row left empty is taken out again.
  commit = Editing().CommitText(actionrow::kForward, "", true);
  EXPECT_TRUE(commit.stored);
  EXPECT_FALSE(commit.held);
}

TEST_F(ActionEditingTest, ReplyPathMustNameAnExistingFile) {
  paths_.existing = {"C:\\返信\\reply.eml"};
  struct Case {
    const char* typed;
    const char* stored;
  };
  for (const Case& c : {Case{" C:\\返信\\reply.eml\t", "C:\\返信\\reply.eml"}, Case{"C:\\missing.eml", ""}}) {
    SCOPED_TRACE(c.typed);
    Load({Text(act::kReply, "C:\\old.eml")});
    const TextCommit commit = Editing().CommitText(actionrow::kReply, c.typed, false);
    EXPECT_EQ(commit.text, c.stored);
    EXPECT_EQ(Value(actionrow::kReply), *c.stored ? Bytes(c.stored) : std::vector<std::uint8_t>());
    EXPECT_EQ(commit.held, *c.stored != 0);
  }
}

TEST_F(ActionEditingTest, FolderRowsSelectTheStoredFolderOfThisStoreOnly) {
  struct Case {
    const char* name;
    std::vector<SeedItem> actions;
    std::optional<std::uint32_t> shown;
    bool storeSelected;
  };
  const StoreStamp otherStore{0x1234ABCD, 0x00563413};
  const Case cases[] = {
      {"this store", {{act::kMove, 0, 2, valuetype::kBytes, FolderRefValue(kStamp, 9)}}, 9u, false},
      {"other store", {{act::kMove, 0, 2, valuetype::kBytes, FolderRefValue(otherStore, 9)}}, std::nullopt, false},
      {"no value", {Plain(act::kMove)}, std::nullopt, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Load(c.actions);
    const ActionPaneView view = Editing().ShowRow(actionrow::kMove, kStamp);
    EXPECT_EQ(view.kind, ActionValueKind::Folder);
    EXPECT_EQ(view.label, "移動先に指定するフォルダ");
    EXPECT_EQ(view.folder, c.shown);
    EXPECT_EQ(view.storeSelectedFolder, c.storeSelected);
  }
}

TEST_F(ActionEditingTest, CheckingMoveWithoutValueStoresTheReferenceOfTheSelectedFolder) {
  Load({Plain(act::kStop)});
  ActionEditing editing = Editing();
  const ActionPaneView view = editing.CheckRow(actionrow::kMove, kStamp);
  ASSERT_TRUE(view.storeSelectedFolder);
  EXPECT_EQ(editing.Mask(), SlotBit(0) | SlotBit(9));
  // What folder id 0 selects is the tree's business: its top item carries 0.
  EXPECT_TRUE(editing.StoreFolder(actionrow::kMove, kStamp, 0u));
  const std::vector<std::uint8_t> expected = {0xCD, 0xAB, 0x34, 0x12, 0x12, 0x34, 0x56, 1, 0, 0, 0, 0};
  EXPECT_EQ(Value(actionrow::kMove), expected);
  EXPECT_EQ(Action(actionrow::kMove)->ValueType(), valuetype::kBytes);
  // Choosing a folder stores its number; a selection of nothing takes the action out.
  EXPECT_TRUE(editing.StoreFolder(actionrow::kMove, kStamp, 0x10203u));
  EXPECT_EQ(editing.StoredFolder(actionrow::kMove, kStamp), 0x10203u);
  EXPECT_FALSE(editing.StoreFolder(actionrow::kMove, kStamp, std::nullopt));
  EXPECT_EQ(editing.Mask(), SlotBit(9));
}

TEST_F(ActionEditingTest, ColourAndMarkShowTheirEntryOrStoreTheDefault) {
  struct Case {
    const char* name;
    SeedItem stored;
    int row;
    int choice;
    std::vector<std::uint8_t> after;
  };
  const Case cases[] = {
      {"colour missing", Plain(act::kHighlight), actionrow::kHighlight, 0, Dword(0)},
      {"colour 16", Number(act::kHighlight, 16), actionrow::kHighlight, 16, Dword(16)},
      {"colour 17 shows no entry", Number(act::kHighlight, 17), actionrow::kHighlight, -1, Dword(17)},
      {"colour 0x103 shows no entry", Number(act::kHighlight, 0x103), actionrow::kHighlight, -1, Dword(0x103)},
      {"mark 0x101 is out of range", Number(act::kWatchIgnore, 0x101), actionrow::kWatchIgnore, 0, Dword(1)},
      {"mark missing", Plain(act::kWatchIgnore), actionrow::kWatchIgnore, 0, Dword(1)},
      {"ignore", Number(act::kWatchIgnore, 2), actionrow::kWatchIgnore, 1, Dword(2)},
      {"mark out of range", Number(act::kWatchIgnore, 5), actionrow::kWatchIgnore, 0, Dword(1)},
      {"mark as text", Text(act::kWatchIgnore, "2"), actionrow::kWatchIgnore, 0, Dword(1)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Load({c.stored});
    const ActionPaneView view = Editing().ShowRow(c.row, kStamp);
    EXPECT_EQ(view.choice, c.choice);
    EXPECT_EQ(Value(c.row), c.after);
    EXPECT_EQ(Action(c.row)->ValueType(), valuetype::kDword);
  }
}

TEST_F(ActionEditingTest, ChosenEntriesStoreTheirNumbers) {
  Load({Number(act::kHighlight, 3), Number(act::kWatchIgnore, 1)});
  ActionEditing editing = Editing();
  EXPECT_STREQ(Colour(16).text, "白");
  EXPECT_TRUE(editing.ChooseEntry(actionrow::kHighlight, 16));
  EXPECT_EQ(Value(actionrow::kHighlight), Dword(16));
  EXPECT_TRUE(editing.ChooseEntry(actionrow::kWatchIgnore, 1));
  EXPECT_EQ(Value(actionrow::kWatchIgnore), Dword(2));
  EXPECT_TRUE(editing.ChooseEntry(actionrow::kWatchIgnore, 0));
  EXPECT_EQ(Value(actionrow::kWatchIgnore), Dword(1));
  EXPECT_FALSE(editing.RowInvalid(actionrow::kHighlight));
}

TEST(ForwardAddresses, SplitForThePickerPreselection) {
  EXPECT_EQ(SplitForwardAddresses("a@x;b@y, ,\tc@z ,"), (std::vector<std::string>{"a@x", "b@y", "c@z"}));
  EXPECT_EQ(SplitForwardAddresses(" ;, "), std::vector<std::string>{});
  EXPECT_EQ(JoinForwardAddresses({"a@x", "b@y"}), "a@x,b@y");
}

}  // namespace
}  // namespace velkor::test
