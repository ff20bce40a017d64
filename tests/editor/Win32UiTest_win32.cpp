// The thin Win32 layer: argument filling, the message-box seam, the control
// views on real controls, the editor's row colours, and help with no help file.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include "win/Help.h"
#include "editor/RowColours_win32.h"
#include "res/resource.h"
#include "win/Controls.h"
#include "win/Dialog.h"
#include "win/MessageBox.h"
#include "win/Program.h"
#include "win/ScopedFlag.h"
#include "win/Strings.h"

namespace velkor::win {
namespace {

TEST(FillArguments, ReplacesPlaceholdersInOrder) {
  struct Case {
    const char* pattern;
    std::vector<std::string> args;
    const char* expected;
  };
  const Case cases[] = {
      {"\"%s\"　は見つかりません。", {"abc"}, "\"abc\"　は見つかりません。"},
      {"個人情報 '%s' は、あなたのメールアドレス '%s' の一部分に一致します。", {"山田", "yamada@example.jp"},
       "個人情報 '山田' は、あなたのメールアドレス 'yamada@example.jp' の一部分に一致します。"},
      {"新規のメール ルール #%d", {"3"}, "新規のメール ルール #3"},
      {"%d%%", {"42"}, "42%"},
      {"%s and %s", {"one"}, "one and %s"},  // a missing argument leaves its placeholder
      {"no placeholder", {"x"}, "no placeholder"},
      {"100%", {}, "100%"},      // a trailing per-cent sign stays
      {"%s", {"%s%d"}, "%s%d"},  // an argument is never filled again
      {"表%s", {"x"}, "表x"},  // 0x95 0x5C before the placeholder
  };
  for (const Case& c : cases) EXPECT_EQ(FillArguments(c.pattern, c.args), c.expected) << c.pattern;
}

TEST(FillArguments, NeverTakesASecondByteForAPlaceholder) {
  // 0x81 0x25 is no Shift_JIS character, but a lead byte must still carry the
  // next byte with it rather than leave a half character before "%".
  std::string pattern = "\x81\x25s";
  EXPECT_EQ(FillArguments(pattern, {"X"}), pattern);
}

TEST(ProgramPath, FolderIsCutAtARealSeparatorOnly) {
  struct Case {
    const char* path;
    const char* folder;
  };
  const Case cases[] = {
      {"C:\\Program Files\\Velkor\\Velkor.exe", "C:\\Program Files\\Velkor\\"},
      {"C:\\表\\Velkor.exe", "C:\\表\\"},   // 表 ends in 0x5C, the byte of a backslash
      {"C:\\ソフト表Velkor.exe", "C:\\"},  // no separator after the last real one
      {"Z:/tmp/build/Velkor.exe", "Z:/tmp/build/"},
      {"Velkor.exe", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(FolderOf(c.path), c.folder) << c.path;
  std::string program = ProgramPath();
  ASSERT_FALSE(program.empty());
  EXPECT_EQ(ProgramSiblingPath("TarnWABSync.exe"), FolderOf(program) + "TarnWABSync.exe");
}

TEST(ScopedFlag, NestedGuardsKeepTheOuterOneSet) {
  bool guard = false;
  {
    ScopedFlag outer(guard);
    {
      ScopedFlag inner(guard);
      EXPECT_TRUE(guard);
    }
    EXPECT_TRUE(guard);  // the outer change is still in progress
  }
  EXPECT_FALSE(guard);
}

TEST(MessageBoxSeam, ScriptAnswersAndRecords) {
  {
    ScriptedMessageBoxes script({IDNO, IDCANCEL});
    EXPECT_EQ(ShowMessage(nullptr, "保存しますか？", "メッセージルールの保存", MB_YESNOCANCEL), IDNO);
    EXPECT_EQ(ShowMessage(nullptr, "二つ目", "Velkor", MB_YESNOCANCEL), IDCANCEL);
    // Out of answers: the box's default button.
    EXPECT_EQ(ShowMessage(nullptr, "三つ目", "Velkor", MB_YESNO | MB_DEFBUTTON2), IDNO);
    EXPECT_EQ(ShowMessageId(nullptr, IDS_WATCH_ERROR, "Velkor", MB_OK), IDOK);
    ASSERT_EQ(script.shown().size(), 4u);
    EXPECT_EQ(script.shown()[0].text, "保存しますか？");
    EXPECT_EQ(script.shown()[0].caption, "メッセージルールの保存");
    EXPECT_EQ(script.shown()[0].flags, static_cast<UINT>(MB_YESNOCANCEL));
    EXPECT_EQ(script.shown()[3].text, "レジストリの監視中にエラーが発生しました。終了します。");
    {
      // A nested script takes over and gives the outer one back.
      ScriptedMessageBoxes inner({IDRETRY});
      EXPECT_EQ(ShowMessage(nullptr, "inner", "Velkor", MB_ABORTRETRYIGNORE), IDRETRY);
    }
    EXPECT_EQ(ShowMessage(nullptr, "outer again", "Velkor", MB_OK), IDOK);
    EXPECT_EQ(script.shown().size(), 5u);
  }
  // Without a script the handler is gone (a real box would show).
  MessageBoxHandler none = SetMessageBoxHandler(nullptr);
  EXPECT_FALSE(none);
}

TEST(MessageBoxSeam, DefaultAnswerFollowsTheDefaultButton) {
  struct Case {
    UINT flags;
    int answer;
  };
  const Case cases[] = {
      {MB_OK, IDOK},
      {MB_OKCANCEL | MB_DEFBUTTON2, IDCANCEL},
      {MB_YESNO, IDYES},
      {MB_YESNOCANCEL | MB_DEFBUTTON3 | MB_ICONQUESTION, IDCANCEL},
      {MB_ABORTRETRYIGNORE | MB_DEFBUTTON2, IDRETRY},
      {MB_ABORTRETRYIGNORE | MB_DEFBUTTON3, IDIGNORE},
      {MB_RETRYCANCEL, IDRETRY},
  };
  for (const Case& c : cases) EXPECT_EQ(DefaultAnswer(c.flags), c.answer) << std::hex << c.flags;
}

// The control views on the real controls of the main window's template.
class ControlsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    INITCOMMONCONTROLSEX init{sizeof(init), ICC_LISTVIEW_CLASSES | ICC_TREEVIEW_CLASSES | ICC_USEREX_CLASSES};
    ::InitCommonControlsEx(&init);
    ASSERT_TRUE(dialog_.CreateModeless(nullptr, IDD_VELKOR_DIALOG));
    ::ShowWindow(dialog_.Handle(), SW_SHOWNA);
  }
  Dialog dialog_;
};

TEST_F(ControlsTest, ListViewRowsKeepTextDataChecksAndSelection) {
  ListView list(dialog_.Handle(), IDC_RULE_LIST);
  list.SetExtendedStyle(LVS_EX_CHECKBOXES, LVS_EX_CHECKBOXES);
  list.InsertColumn(0, "適用するメールルール", 200);
  const char* names[] = {"[SAFE]本文に自分の個人情報が含まれる場合", "表示", "third"};
  for (int i = 0; i < 3; ++i) ASSERT_EQ(list.Insert(i, names[i], 0x100 + i), i);
  std::string longName(3000, 'x');
  ASSERT_EQ(list.Insert(3, longName, 7), 3);
  EXPECT_EQ(list.Count(), 4);
  EXPECT_EQ(list.ItemText(0), names[0]);
  EXPECT_EQ(list.ItemText(3), longName);  // longer than any first buffer
  EXPECT_EQ(list.Data(2), 0x102);
  EXPECT_EQ(list.FindData(0x101), 1);
  EXPECT_EQ(list.FindData(0x999), -1);

  list.SetChecked(1, true);
  EXPECT_FALSE(list.IsChecked(0));
  EXPECT_TRUE(list.IsChecked(1));
  list.SetChecked(1, false);
  EXPECT_FALSE(list.IsChecked(1));

  list.SetSelected(0, true);
  list.SetSelected(2, true);
  EXPECT_EQ(list.SelectedCount(), 2);
  EXPECT_EQ(list.NextSelected(), 0);
  EXPECT_EQ(list.NextSelected(0), 2);
  EXPECT_EQ(list.NextSelected(2), -1);
  list.SelectAll();
  EXPECT_EQ(list.SelectedCount(), 4);
  list.UnselectAll();
  EXPECT_EQ(list.SelectedCount(), 0);
  list.SetFocused(2, true);
  EXPECT_EQ(list.Focused(), 2);

  EXPECT_TRUE(list.SetItemText(1, "改名"));
  EXPECT_EQ(list.ItemText(1), "改名");
  EXPECT_TRUE(list.Delete(0));
  EXPECT_EQ(list.ItemText(0), "改名");
  list.SetColumnTitle(0, "宛先にユーザが含まれている場合");
  EXPECT_EQ(list.ColumnTitle(0), "宛先にユーザが含まれている場合");
}

TEST_F(ControlsTest, EditorRowsTakeTheirLookAndALabelEditIsLeftToTheList) {
  ListView list(dialog_.Handle(), IDC_RULE_LIST);
  list.InsertColumn(0, "ルール", 200);
  for (int i = 0; i < 2; ++i) list.Insert(i, "row", i);
  list.SetSelected(1, true);
  int asked = 0;
  auto draw = [&](DWORD stage, int row, RowLook look, NMLVCUSTOMDRAW* out) {
    *out = NMLVCUSTOMDRAW{};
    out->nmcd.hdr.hwndFrom = list.Handle();
    out->nmcd.dwDrawStage = stage;
    out->nmcd.dwItemSpec = static_cast<DWORD_PTR>(row);
    out->nmcd.uItemState = CDIS_SELECTED | CDIS_FOCUS;
    out->clrText = out->clrTextBk = CLR_DEFAULT;
    return DrawListRow(out, [&](int, LPARAM) { return ++asked, look; });
  };
  struct Case {
    int row;
    bool focus;
    RowLook look;
    LRESULT result;
    COLORREF text, back;
  };
  const COLORREF white = RGB(255, 255, 255), grey = RGB(236, 233, 216);
  const Case cases[] = {
      {0, false, RowLook::Valid, CDRF_NEWFONT, RGB(0, 0, 0), white},
      {0, true, RowLook::Invalid, CDRF_NEWFONT, RGB(255, 0, 0), white},
      {1, false, RowLook::Valid, CDRF_NEWFONT, RGB(0, 0, 255), grey},
      {1, false, RowLook::Invalid, CDRF_NEWFONT, RGB(255, 0, 0), grey},
      {1, true, RowLook::Invalid, CDRF_NEWFONT, white, RGB(49, 106, 197)},
      {1, true, RowLook::ListDrawn, CDRF_DODEFAULT, CLR_DEFAULT, CLR_DEFAULT},
  };
  NMLVCUSTOMDRAW out;
  for (const Case& c : cases) {
    const int n = static_cast<int>(&c - cases);
    ::SetFocus(c.focus ? list.Handle() : nullptr);
    EXPECT_EQ(draw(CDDS_ITEMPREPAINT, c.row, c.look, &out), c.result) << n;
    EXPECT_EQ(out.clrText, c.text) << n;
    EXPECT_EQ(out.clrTextBk, c.back) << n;
    // The list's own highlight is off exactly where the colours are the pane's.
    const bool ownHighlight = c.row == 1 && c.look != RowLook::ListDrawn;
    EXPECT_EQ(out.nmcd.uItemState, ownHighlight ? 0u : UINT{CDIS_SELECTED | CDIS_FOCUS}) << n;
  }
  EXPECT_EQ(draw(CDDS_PREPAINT, 0, RowLook::Valid, &out), CDRF_NOTIFYITEMDRAW);

  list.Focus();
  list.SetFocused(1, true);
  ASSERT_NE(list.EditLabel(1), nullptr);
  asked = 0;
  EXPECT_EQ(draw(CDDS_ITEMPREPAINT, 1, RowLook::Invalid, &out), CDRF_DODEFAULT);
  EXPECT_EQ(asked, 0);
  EXPECT_EQ(draw(CDDS_ITEMPREPAINT, 0, RowLook::Invalid, &out), CDRF_NEWFONT);
  EXPECT_EQ(out.clrText, RGB(255, 0, 0));
}

TEST_F(ControlsTest, TreeFindsNestedDataDepthFirst) {
  TreeView tree(dialog_.Handle(), IDC_FOLDER_TREE);
  HTREEITEM root = tree.Insert(nullptr, "ローカル フォルダ", 0);
  HTREEITEM inbox = tree.Insert(root, "受信トレイ", 4);
  HTREEITEM deep = tree.Insert(inbox, "迷惑メール", 9);
  HTREEITEM sent = tree.Insert(root, "送信済みアイテム", 5);
  EXPECT_EQ(tree.Count(), 4);
  EXPECT_EQ(tree.FindData(9), deep);
  EXPECT_EQ(tree.FindData(5), sent);
  EXPECT_EQ(tree.FindData(0), root);
  EXPECT_EQ(tree.FindData(77), nullptr);
  EXPECT_EQ(tree.ItemText(deep), "迷惑メール");
  ASSERT_TRUE(tree.Select(deep));
  EXPECT_EQ(tree.Selection(), deep);
  EXPECT_EQ(tree.Data(tree.Selection()), 9);
  tree.Clear();
  EXPECT_EQ(tree.Count(), 0);
}

TEST_F(ControlsTest, CombosKeepTextAndData) {
  ComboBoxEx colours(dialog_.Handle(), IDC_COLOR_COMBO);
  EXPECT_EQ(colours.Insert(0, "既定", 0, 10), 0);
  EXPECT_EQ(colours.Insert(1, "黒", 1, 11), 1);
  EXPECT_EQ(colours.Count(), 2);
  EXPECT_EQ(colours.ItemText(1), "黒");
  EXPECT_EQ(colours.Data(0), 10);
  colours.Select(1);
  EXPECT_EQ(colours.Selection(), 1);

  ComboBox identities(dialog_.Handle(), IDC_IDENTITY_COMBO);  // sorted
  identities.Add("メインユーザー", 1);
  identities.Add("Alice", 0);
  EXPECT_EQ(identities.ItemText(0), "Alice");
  EXPECT_EQ(identities.Data(0), 0);
  EXPECT_EQ(identities.Data(1), 1);
}

TEST_F(ControlsTest, DialogItemHelpers) {
  dialog_.SetItemText(IDC_ADDRESS_EDIT, "a@example.jp,b@example.jp");
  EXPECT_EQ(dialog_.ItemText(IDC_ADDRESS_EDIT), "a@example.jp,b@example.jp");
  EXPECT_EQ(dialog_.ItemText(9999), "");
  dialog_.SetChecked(IDC_LOGIC_ANY, true);
  EXPECT_TRUE(dialog_.IsChecked(IDC_LOGIC_ANY));
  EXPECT_FALSE(dialog_.IsChecked(IDC_LOGIC_ALL));
  dialog_.ShowItem(IDC_BROWSE, true);
  EXPECT_TRUE(dialog_.IsItemVisible(IDC_BROWSE));
  dialog_.ShowItem(IDC_BROWSE, false);
  EXPECT_FALSE(dialog_.IsItemVisible(IDC_BROWSE));
}

TEST(Help, MissingHelpFileIsToldAndNothingElseHappens) {
  // The test program has no .chm beside it.
  ScriptedMessageBoxes script;
  EXPECT_FALSE(velkor::ShowContextHelp(nullptr, 0x10000 + IDD_VELKOR_DIALOG));
  ASSERT_EQ(script.shown().size(), 1u);
  EXPECT_NE(script.shown()[0].text.find(".chm"), std::string::npos);
  EXPECT_NE(script.shown()[0].text.find("見つかりません"), std::string::npos);
  EXPECT_EQ(velkor::HelpFilePath().substr(velkor::HelpFilePath().size() - 4), ".chm");
}

}  // namespace
}  // namespace velkor::win
