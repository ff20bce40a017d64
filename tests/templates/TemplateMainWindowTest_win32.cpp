// The command from the main window (the frame and its rule list pane), on a
// memory registry: where the new rule goes, that it is shown as selected, and
// what a save then writes.
#include <windows.h>

#include <gtest/gtest.h>

#include "DialogScript_win32.h"
#include "editor/EditorWindowFixture_win32.h"
#include "templates/RuleTemplates.h"

namespace velkor {
namespace {

class TemplateMainWindow : public test::EditorWindowFixture {
 protected:
  void SetUp() override {
    Seed();
    Open();
  }
  void RunCommand(DialogScript& script) {
    script.Run([&] { Command(ID_RULE_CREATE_TEMPLATE); });
    EXPECT_TRUE(script.Done());
  }
};

TEST_F(TemplateMainWindow, ANewRuleGoesBeforeTheSelectionIsShownAndSavedInThatPlace) {
  SelectRules({2});  // rule 3 of 5
  DialogScript block;
  block.Add(templatetext::kDialogTitle, Choose(8));
  RunCommand(block);
  ASSERT_EQ(6, Rules().Count());
  EXPECT_EQ("[BLOCK]本文が空白の場合", Rules().ItemText(2));
  EXPECT_EQ(std::vector<int>{2}, SelectedRows(Rules()));
  EXPECT_TRUE(Rules().IsChecked(2));
  // Shown as for a user selection: the body criterion and the delete action are ticked.
  EXPECT_TRUE(Criteria().IsVisible());
  EXPECT_TRUE(Criteria().IsChecked(2));
  EXPECT_TRUE(Actions().IsChecked(2));
  EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(dialog_, IDC_SAVE)));

  Rules().UnselectAll();
  for (int i = 0; i < 2; ++i) {
    DialogScript separator;
    separator.Add(templatetext::kDialogTitle, Choose(kSeparatorTemplate));
    RunCommand(separator);
  }
  DialogScript none;  // OK without a row changes nothing
  none.Add(templatetext::kDialogTitle, Choose(-1));
  RunCommand(none);
  ASSERT_EQ(8, Rules().Count());

  ASSERT_TRUE(window_->SaveChanges());
  test::StoredRules stored = test::ReadStored(registry_, test::kIdentityA);
  ASSERT_EQ(8u, stored.names.size());
  EXPECT_EQ("[BLOCK]本文が空白の場合", stored.names[2]);
  EXPECT_EQ(std::string(37, '-'), stored.names[6]);
  EXPECT_EQ(std::string(37, '-'), stored.names[7]);
  EXPECT_FALSE(stored.enabled[6]);
  EXPECT_FALSE(stored.enabled[7]);
  EXPECT_TRUE(stored.enabled[2]);
}

}  // namespace
}  // namespace velkor
