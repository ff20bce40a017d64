// The action pane in the running main window, in-process: each value editor
// shows what the rule stores, choices go into the rule and the save, the
// address edit commits when the focus leaves it, the reply file comes from
// the file-open dialog, and a folder list rewritten under the window turns a
// move to a vanished folder red.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "DbxWriter.h"
#include "EditorWindowFixture_win32.h"
#include "editor/ActionPane_win32.h"
#include "editor/RowColours_win32.h"

namespace velkor {
namespace {

using namespace test;

// The store's folders; the second run lacks folder 13.
std::vector<dbxwriter::FolderSpec> Folders(bool with13) {
  std::vector<dbxwriter::FolderSpec> folders = {
      {1, 0, "ローカル フォルダ"}, {4, 1, "受信トレイ"}, {7, 1, "ごみ箱"}, {12, 1, "迷惑メール"}};
  if (with13) folders.push_back({13, 1, "お知らせ"});
  return folders;
}

std::vector<std::uint8_t> Bytes(const std::string& text) {
  std::vector<std::uint8_t> bytes(text.begin(), text.end());
  bytes.push_back(0);
  return bytes;
}
std::vector<std::uint8_t> Dword(std::uint32_t v) {
  return {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8), static_cast<std::uint8_t>(v >> 16),
          static_cast<std::uint8_t>(v >> 24)};
}

class ActionPaneTest : public EditorWindowFixture {
 protected:
  void SetUp() override {
    char dir[MAX_PATH] = {};
    ::GetTempPathA(MAX_PATH, dir);
    root_ = std::string(dir) + "velkor-action-pane\\";
    ::CreateDirectoryA(root_.c_str(), nullptr);
    ASSERT_TRUE(dbxwriter::WriteFoldersDbxFile(root_ + "Folders.dbx", Folders(true)));
    reply_ = root_ + "reply.eml";
    HANDLE file = ::CreateFileA(reply_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << reply_ << " " << ::GetLastError();
    ::CloseHandle(file);
  }
  void TearDown() override {
    EditorWindowFixture::TearDown();
    SetOpenFileDialog(nullptr);
    ::DeleteFileA((root_ + "Folders.dbx").c_str());
    ::DeleteFileA(reply_.c_str());
    ::RemoveDirectoryA(root_.c_str());
  }

  // Identity A with its store here and five rules: move to folder 12,
  // forward, highlight 13, ignore, reply.
  void OpenWithActions() {
    SeedIdentity(registry_, kIdentityA, "Bob 鈴木", true);
    RegKey base(registry_);
    ASSERT_EQ(base.Create(IdentityBasePath(kIdentityA)), regerr::kSuccess);
    base.WriteString("Store Root", root_);
    MailFolderList folders;
    folders.Load(root_);
    ASSERT_EQ(folders.Count(), 5u);
    const FolderRefBytes ref = MakeFolderRef(folders.Stamp(), 12);
    struct Seed {
      const char* name;
      int slot;
      std::vector<std::uint8_t> value;
      std::uint32_t type;
    };
    const Seed seeds[] = {
        {"移動", 0, {ref.begin(), ref.end()}, valuetype::kBytes},
        {"転送", 3, Bytes("a@x.example,b@y.example"), valuetype::kText},
        {"強調", 4, Dword(13), valuetype::kDword},
        {"無視", 7, Dword(2), valuetype::kDword},
        {"返信", 8, Bytes(reply_), valuetype::kText},
    };
    {
      RuleStore store(registry_);
      store.Load(kIdentityA);
      for (const Seed& seed : seeds) {
        MailRule& rule = store.Rules().AddNewRule(seed.name);
        const std::vector<std::uint8_t> words = EncodeStringList({"s@example.jp"});
        store.SetCriterionValue(rule.Number(), SlotBit(0), words.data(), static_cast<std::uint32_t>(words.size()),
                                valuetype::kBytes);
        store.SetActionInUse(rule.Number(), SlotBit(9), false);
        store.SetActionValue(rule.Number(), SlotBit(seed.slot), seed.value.data(),
                             static_cast<std::uint32_t>(seed.value.size()), seed.type);
      }
      struct AnyFolder : FolderRefCheck {
        bool HasFolder(const std::uint8_t*, std::size_t) const override { return true; }
      } anyFolder;
      RuleChecks checks;
      checks.folders = &anyFolder;
      store.SetChecks(checks);
      NullProgress progress;
      ASSERT_TRUE(store.SaveAll(progress).Ok());
    }
    Open();
    ASSERT_EQ(Rules().Count(), 5);
  }
  void ShowRule(int row) {
    SelectRules({row});
    Pump();
  }
  win::Edit AddressEdit() const { return win::Edit(dialog_, IDC_ADDRESS_EDIT); }
  win::TreeView Tree() const { return win::TreeView(dialog_, IDC_FOLDER_TREE); }
  std::vector<std::uint8_t> Value(std::uint32_t rule, int slot) const {
    const RuleAction* a = window_->Store().Action(rule, SlotBit(slot));
    return a && a->HasValue() ? std::vector<std::uint8_t>(a->ValueData(), a->ValueData() + a->ValueSize())
                              : std::vector<std::uint8_t>();
  }
  std::vector<int> Visible() const {
    std::vector<int> ids;
    for (int id : {IDC_ACTION_LABEL, IDC_FOLDER_TREE, IDC_COLOR_COMBO, IDC_ADDRESS_EDIT, IDC_BROWSE, IDC_MARK_COMBO})
      if (::IsWindowVisible(::GetDlgItem(dialog_, id))) ids.push_back(id);
    return ids;
  }
  // A check box clicked by the user: the list has the focus.
  void ClickCheck(int row, bool checked) {
    Actions().Focus();
    Actions().SetChecked(row, checked);
    Pump();
  }
  // The text colour a list row is drawn in.
  COLORREF RowColour(int listId, int row) {
    NMLVCUSTOMDRAW draw{};
    draw.nmcd.hdr.hwndFrom = ::GetDlgItem(dialog_, listId);
    draw.nmcd.hdr.idFrom = static_cast<UINT_PTR>(listId);
    draw.nmcd.hdr.code = NM_CUSTOMDRAW;
    draw.nmcd.dwDrawStage = CDDS_ITEMPREPAINT;
    draw.nmcd.dwItemSpec = static_cast<DWORD_PTR>(row);
    draw.nmcd.lItemlParam = win::ListView(dialog_, listId).Data(row);
    ::SendMessageA(dialog_, WM_NOTIFY, static_cast<WPARAM>(listId), reinterpret_cast<LPARAM>(&draw));
    return draw.clrText;
  }

  std::string root_, reply_;
};

TEST_F(ActionPaneTest, EachPaneKindShowsItsStoredValue) {
  OpenWithActions();
  // The focus column: where the focus is after the rule is picked in the
  // focused rule list (the address edit takes it, a stored value does not).
  struct Case {
    int rule;
    int row;
    std::vector<int> visible;
    const char* label;
    int focus;
  };
  const Case cases[] = {
      {0, 0, {IDC_ACTION_LABEL, IDC_FOLDER_TREE}, "移動先に指定するフォルダ", IDC_RULE_LIST},
      {1, 3, {IDC_ACTION_LABEL, IDC_ADDRESS_EDIT, IDC_BROWSE}, "転送先に指定するメールアドレス", IDC_ADDRESS_EDIT},
      {2, 4, {IDC_ACTION_LABEL, IDC_COLOR_COMBO}, "強調表示に指定する色", IDC_RULE_LIST},
      {3, 7, {IDC_ACTION_LABEL, IDC_MARK_COMBO}, "マークまたは無視の指定", IDC_RULE_LIST},
      {4, 8, {IDC_ACTION_LABEL, IDC_ADDRESS_EDIT, IDC_BROWSE}, "返信メッセージのファイル名", IDC_ADDRESS_EDIT},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.rule);
    Rules().Focus();
    ShowRule(c.rule);
    EXPECT_EQ(SelectedRows(Actions()), std::vector<int>{c.row});
    EXPECT_TRUE(Actions().IsChecked(c.row));
    EXPECT_EQ(Visible(), c.visible);
    EXPECT_EQ(win::Window(dialog_, IDC_ACTION_LABEL).Text(), c.label);
    EXPECT_EQ(::GetDlgCtrlID(::GetFocus()), c.focus);
  }
  Rules().Focus();
  ShowRule(0);
  ASSERT_NE(Tree().Selection(), nullptr);
  EXPECT_EQ(Tree().Data(Tree().Selection()), 12);
  EXPECT_EQ(Tree().ItemText(Tree().Selection()), "迷惑メール");
  // The chosen folder is marked while the tree lacks the focus.
  RECT text{};
  const HTREEITEM chosen = Tree().Selection();
  std::memcpy(&text, &chosen, sizeof chosen);  // TVM_GETITEMRECT takes the item in the rectangle
  ASSERT_TRUE(Tree().Send(TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&text)));
  ::UpdateWindow(Tree().Handle());
  HDC dc = ::GetDC(Tree().Handle());
  const COLORREF back = ::GetPixel(dc, text.right - 1, text.top + 1);
  ::ReleaseDC(Tree().Handle(), dc);
  EXPECT_EQ(back, kUnfocusedSelectionBack);
  ShowRule(1);
  EXPECT_EQ(AddressEdit().Text(), "a@x.example,b@y.example");
  ShowRule(2);
  win::ComboBoxEx colours(dialog_, IDC_COLOR_COMBO);
  EXPECT_EQ(colours.Selection(), 13);
  EXPECT_EQ(colours.ItemText(13), "青");
  ShowRule(3);
  EXPECT_EQ(win::ComboBox(dialog_, IDC_MARK_COMBO).Selection(), 1);
  EXPECT_EQ(win::ComboBox(dialog_, IDC_MARK_COMBO).ItemText(1), "メッセージを無視する");
  ShowRule(4);
  EXPECT_EQ(AddressEdit().Text(), reply_);
  // Merely showing the rules changed none of them.
  EXPECT_FALSE(window_->HasUnsavedChanges());
}

TEST_F(ActionPaneTest, ChosenFolderIsSavedAndAVanishedOneTurnsTheMoveRed) {
  OpenWithActions();
  ShowRule(0);
  const std::uint32_t rule = static_cast<std::uint32_t>(Rules().Data(0));
  ASSERT_TRUE(Tree().Select(Tree().FindData(13)));  // as a click: TVN_SELCHANGED reaches the pane
  Pump();
  const FolderRefBytes expected = MakeFolderRef(window_->Folders().Stamp(), 13);
  EXPECT_EQ(Value(rule, 0), std::vector<std::uint8_t>(expected.begin(), expected.end()));
  EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(dialog_, IDC_SAVE)));
  ASSERT_TRUE(window_->SaveChanges());
  // The reload shows the same rule, row and folder again, on the rebuilt tree.
  EXPECT_EQ(SelectedRows(Actions()), std::vector<int>{0});
  ASSERT_NE(Tree().Selection(), nullptr);
  EXPECT_EQ(Tree().Data(Tree().Selection()), 13);
  {
    RuleStore reread(registry_);
    reread.Load(kIdentityA);
    const RuleAction* saved = reread.Action(rule, SlotBit(0));
    ASSERT_TRUE(saved && saved->HasValue());
    EXPECT_EQ(std::vector<std::uint8_t>(saved->ValueData(), saved->ValueData() + saved->ValueSize()),
              std::vector<std::uint8_t>(expected.begin(), expected.end()));
  }

  // Folder 13 vanishes from the store while the window runs.
  ShowRule(0);
  EXPECT_EQ(RowColour(IDC_RULE_LIST, 0), RGB(0, 0, 255));  // selected, valid
  ASSERT_TRUE(dbxwriter::WriteFoldersDbxFile(root_ + "Folders.dbx", Folders(false)));
  ASSERT_TRUE(PumpUntil([&] { return !window_->Folders().HasFolder(13); }));
  Pump();
  EXPECT_FALSE(window_->Store().IsRuleValid(rule));
  EXPECT_EQ(RowColour(IDC_RULE_LIST, 0), RGB(255, 0, 0));
  Actions().UnselectAll();
  EXPECT_EQ(RowColour(IDC_ACTION_TYPE_LIST, 0), RGB(255, 0, 0));
  EXPECT_EQ(Value(rule, 0), std::vector<std::uint8_t>(expected.begin(), expected.end()));  // the reference is kept
  EXPECT_EQ(Tree().FindData(13), nullptr);
  EXPECT_NE(Tree().FindData(12), nullptr);
  EXPECT_FALSE(window_->HasUnsavedChanges());
}

TEST_F(ActionPaneTest, CheckingMoveStoresFolderZeroAndFocusesTheTree) {
  OpenWithActions();
  ShowRule(3);
  const std::uint32_t rule = static_cast<std::uint32_t>(Rules().Data(3));
  ClickCheck(0, true);
  EXPECT_EQ(window_->Store().ActionMask(rule), SlotBit(0) | SlotBit(7));
  const FolderRefBytes top = MakeFolderRef(window_->Folders().Stamp(), 0);
  EXPECT_EQ(Value(rule, 0), std::vector<std::uint8_t>(top.begin(), top.end()));
  EXPECT_EQ(::GetFocus(), Tree().Handle());
  EXPECT_EQ(Tree().Selection(), Tree().Root());
  EXPECT_FALSE(window_->Store().IsRuleValid(rule));  // folder 0 is no target until one is chosen
}

TEST_F(ActionPaneTest, ServerActionTakesEveryOtherRowOutAndForwardTakesItOutAgain) {
  OpenWithActions();
  ShowRule(2);
  const std::uint32_t rule = static_cast<std::uint32_t>(Rules().Data(2));
  ClickCheck(2, true);
  ClickCheck(5, true);
  ClickCheck(11, true);
  EXPECT_EQ(window_->Store().ActionMask(rule), SlotBit(11));
  for (int row = 0; row < kSlotCount; ++row) EXPECT_EQ(Actions().IsChecked(row), row == 11) << row;
  EXPECT_EQ(SelectedRows(Actions()), std::vector<int>{11});
  EXPECT_EQ(Visible(), std::vector<int>{});
  ClickCheck(3, true);
  EXPECT_EQ(window_->Store().ActionMask(rule), SlotBit(3));
  EXPECT_FALSE(Actions().IsChecked(11));
  EXPECT_EQ(::GetFocus(), AddressEdit().Handle());
}

TEST_F(ActionPaneTest, AddressEditCommitsWhenTheFocusLeavesThePair) {
  OpenWithActions();
  ShowRule(1);
  const std::uint32_t rule = static_cast<std::uint32_t>(Rules().Data(1));
  AddressEdit().Focus();
  AddressEdit().SetText("c@z.example ; d@w.example , ,");
  AddressEdit().SetModified(true);
  win::Window(dialog_, IDC_BROWSE).Focus();  // to its own button: not yet
  EXPECT_EQ(Value(rule, 3), Bytes("a@x.example,b@y.example"));
  Actions().Focus();
  EXPECT_EQ(Value(rule, 3), Bytes("c@z.example,d@w.example"));
  EXPECT_EQ(AddressEdit().Text(), "c@z.example,d@w.example");

  // A press on another control while typing commits before anything else.
  AddressEdit().Focus();
  AddressEdit().SetText(" ; ");
  AddressEdit().SetModified(true);
  MSG press{};
  press.hwnd = Rules().Handle();
  press.message = WM_LBUTTONDOWN;
  press.wParam = MK_LBUTTON;
  press.lParam = MAKELPARAM(5, 5);
  EXPECT_TRUE(window_->PreTranslate(&press));
  EXPECT_FALSE(window_->Store().Action(rule, SlotBit(3))->HasValue());  // separators only: no value
  EXPECT_FALSE(Actions().IsChecked(3));
  EXPECT_EQ(Visible(), std::vector<int>{});
}

TEST_F(ActionPaneTest, ClosingWhileTypingKeepsTheTypedAddresses) {
  OpenWithActions();
  ShowRule(1);
  const std::uint32_t rule = static_cast<std::uint32_t>(Rules().Data(1));
  AddressEdit().Focus();
  AddressEdit().SetText("new@x.example");
  AddressEdit().SetModified(true);
  boxes_.Answer(IDCANCEL);
  ::SendMessageA(dialog_, WM_SYSCOMMAND, SC_CLOSE, 0);  // Alt+F4: the focus does not move
  EXPECT_EQ(Texts(), std::vector<std::string>{mainwindow::kSaveQuestion});
  EXPECT_EQ(Value(rule, 3), Bytes("new@x.example"));
  EXPECT_TRUE(::IsWindow(dialog_));
}

TEST_F(ActionPaneTest, ReplyBrowseAsksTheFileDialogAndAMissingFileIsCleared) {
  OpenWithActions();
  ShowRule(4);
  const std::uint32_t rule = static_cast<std::uint32_t>(Rules().Data(4));
  OPENFILENAMEA seen{};
  std::string filter, title, initial;
  SetOpenFileDialog([&](OPENFILENAMEA* dialog) {
    seen = *dialog;
    for (const char* p = dialog->lpstrFilter; *p; p += std::strlen(p) + 1) filter += std::string(p) + "|";
    title = dialog->lpstrTitle;
    initial = dialog->lpstrFile;
    std::strcpy(dialog->lpstrFile, "C:\\no-such-file.eml");
    return true;
  });
  win::Window(dialog_, IDC_BROWSE).Focus();
  Command(IDC_BROWSE);
  EXPECT_EQ(filter, "ニュース (*.nws)|*.nws|メール (*.eml)|*.eml|HTML (*.htm)|*.htm; *.html|テキスト(*.txt)|*.txt|");
  EXPECT_EQ(seen.nFilterIndex, 2u);
  EXPECT_STREQ(seen.lpstrDefExt, "eml");
  EXPECT_EQ(title, "返信用のメッセージファイル");
  EXPECT_EQ(initial, reply_);
  const DWORD flags = OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST | OFN_DONTADDTORECENT;
  EXPECT_EQ(seen.Flags & flags, flags);
  EXPECT_EQ(AddressEdit().Text(), "C:\\no-such-file.eml");
  EXPECT_TRUE(AddressEdit().IsModified());
  EXPECT_EQ(Value(rule, 8), Bytes(reply_));  // not yet committed
  Actions().Focus();
  EXPECT_FALSE(window_->Store().Action(rule, SlotBit(8))->HasValue());
  EXPECT_FALSE(Actions().IsChecked(8));
}

TEST_F(ActionPaneTest, ColourComboShowsTheSeventeenSwatchesAndWhiteStoresSixteen) {
  OpenWithActions();
  win::ComboBoxEx colours(dialog_, IDC_COLOR_COMBO);
  auto images = reinterpret_cast<HIMAGELIST>(colours.Send(CBEM_GETIMAGELIST));
  ASSERT_NE(images, nullptr);
  EXPECT_EQ(ImageList_GetImageCount(images), kColourCount);
  int cx = 0, cy = 0;
  ImageList_GetIconSize(images, &cx, &cy);
  EXPECT_EQ(cx, 24);
  EXPECT_EQ(cy, 12);
  ASSERT_EQ(colours.Count(), kColourCount);
  EXPECT_EQ(colours.ItemText(0), "既定");
  EXPECT_EQ(colours.ItemText(16), "白");
  ShowRule(2);
  const std::uint32_t rule = static_cast<std::uint32_t>(Rules().Data(2));
  colours.Select(16);
  ::SendMessageA(dialog_, WM_COMMAND, MAKEWPARAM(IDC_COLOR_COMBO, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(colours.Handle()));
  EXPECT_EQ(Value(rule, 4), Dword(16));
  EXPECT_TRUE(window_->HasUnsavedChanges());
}

}  // namespace
}  // namespace velkor
