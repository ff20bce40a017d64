// The main window's template and the skeleton window, created in-process.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "EditorWindowFixture_win32.h"
#include "help/HelpContext.h"
#include "editor/RuleEditorWindow_win32.h"
#include "res/resource.h"
#include "registry/MemoryRegistry.h"
#include "win/Controls.h"
#include "win/Strings.h"

namespace velkor {
namespace {

void InitControls() {
  INITCOMMONCONTROLSEX init{sizeof(init), ICC_LISTVIEW_CLASSES | ICC_TREEVIEW_CLASSES | ICC_USEREX_CLASSES |
                                              ICC_PROGRESS_CLASS};
  ::InitCommonControlsEx(&init);
}

std::string ClassOf(HWND hwnd) {
  char name[64] = {};
  ::GetClassNameA(hwnd, name, sizeof name);
  return name;
}

std::vector<HWND> Children(HWND dialog) {
  std::vector<HWND> out;
  for (HWND child = ::GetWindow(dialog, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
    out.push_back(child);
  return out;
}

void Pump() {
  MSG msg;
  while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    ::TranslateMessage(&msg);
    ::DispatchMessageA(&msg);
  }
}

enum class Kind { Combo, DropList, Push, Radio, Group, ListView, Label, Edit, Tree, ComboEx };

struct ExpectedControl {
  int id;
  Kind kind;
  const char* text;  // caption, or the column title of a list view
};

const ExpectedControl kMainControls[] = {
    {IDC_IDENTITY_COMBO, Kind::DropList, ""},
    {IDC_SAVE, Kind::Push, "保存"},
    {IDC_SYNC, Kind::Push, "アドレス帳との同期"},
    {IDC_RULE_LIST, Kind::ListView, "適用するメールルール"},
    {IDC_BLOCKED_SENDER_VIEW, Kind::ListView, "禁止された送信者のメールアドレス"},
    {IDC_CRITERIA_TYPE_LIST, Kind::ListView, "ルール条件"},
    {IDC_VALUE_LIST, Kind::ListView, "条件"},
    {IDC_CRITERIA_COMBO, Kind::DropList, ""},
    {IDC_CRITERIA_LABEL, Kind::Label, ""},
    {IDC_SIZE_EDIT, Kind::Edit, ""},
    {IDC_LOGIC_ALL, Kind::Radio, "すべての\n条件を満たす"},
    {IDC_LOGIC_ANY, Kind::Radio, "少なくとも一つの\n条件を満たす"},
    {IDC_WORDS_CONTAINED, Kind::Radio, "単語を含む"},
    {IDC_WORDS_NOT_CONTAINED, Kind::Radio, "単語を含まない"},
    {IDC_WORDS_ALL, Kind::Radio, "単語の\nすべてを含む"},
    {IDC_WORDS_ANY, Kind::Radio, "単語のうち\n少なくとも一つを含む"},
    {IDC_LOGIC_GROUP, Kind::Group, "ルール適用条件"},
    {IDC_OPTION1_GROUP, Kind::Group, "条件のオプション1"},
    {IDC_OPTION2_GROUP, Kind::Group, "条件のオプション2"},
    {IDC_ACTION_TYPE_LIST, Kind::ListView, "ルールのアクション"},
    {IDC_FOLDER_TREE, Kind::Tree, ""},
    {IDC_COLOR_COMBO, Kind::ComboEx, ""},
    {IDC_ADDRESS_EDIT, Kind::Edit, ""},
    {IDC_BROWSE, Kind::Push, "参照"},
    {IDC_MARK_COMBO, Kind::DropList, ""},
    {IDC_ACTION_LABEL, Kind::Label, ""},
};

bool IsKind(HWND hwnd, Kind kind) {
  std::string cls = ClassOf(hwnd);
  LONG style = ::GetWindowLongA(hwnd, GWL_STYLE);
  LONG button = style & BS_TYPEMASK;
  switch (kind) {
    case Kind::Combo: return cls == "ComboBox";
    case Kind::DropList: return cls == "ComboBox" && (style & 3) == CBS_DROPDOWNLIST;
    case Kind::Push: return cls == "Button" && (button == BS_PUSHBUTTON || button == BS_DEFPUSHBUTTON);
    case Kind::Radio: return cls == "Button" && (button == BS_AUTORADIOBUTTON || button == BS_RADIOBUTTON);
    case Kind::Group: return cls == "Button" && button == BS_GROUPBOX;
    case Kind::ListView: return cls == WC_LISTVIEWA && (style & LVS_TYPEMASK) == LVS_REPORT;
    case Kind::Label: return cls == "Static";
    case Kind::Edit: return cls == "Edit";
    case Kind::Tree: return cls == WC_TREEVIEWA;
    case Kind::ComboEx: return cls == WC_COMBOBOXEXA;
  }
  return false;
}

// Value editors that share a place and are shown one at a time: controls of
// two different choices of one pane may overlap, nothing else may.
const std::vector<std::vector<std::vector<int>>> kPanes = {
    {{IDC_VALUE_LIST, IDC_OPTION1_GROUP, IDC_OPTION2_GROUP, IDC_WORDS_CONTAINED, IDC_WORDS_NOT_CONTAINED,
      IDC_WORDS_ALL, IDC_WORDS_ANY},
     {IDC_CRITERIA_LABEL, IDC_CRITERIA_COMBO},
     {IDC_CRITERIA_LABEL, IDC_SIZE_EDIT}},
    {{IDC_ACTION_LABEL, IDC_FOLDER_TREE},
     {IDC_ACTION_LABEL, IDC_COLOR_COMBO},
     {IDC_ACTION_LABEL, IDC_ADDRESS_EDIT, IDC_BROWSE},
     {IDC_ACTION_LABEL, IDC_MARK_COMBO}},
};

bool NeverShownTogether(int a, int b) {
  for (const auto& pane : kPanes) {
    bool aIn = false, bIn = false, together = false;
    for (const auto& choice : pane) {
      bool hasA = std::find(choice.begin(), choice.end(), a) != choice.end();
      bool hasB = std::find(choice.begin(), choice.end(), b) != choice.end();
      aIn |= hasA;
      bIn |= hasB;
      together |= hasA && hasB;
    }
    if (aIn && bIn) return !together;
  }
  return false;
}

bool Contains(const RECT& outer, const RECT& inner) {
  return inner.left >= outer.left && inner.right <= outer.right && inner.top >= outer.top &&
         inner.bottom <= outer.bottom;
}

bool Overlap(const RECT& a, const RECT& b) {
  RECT both;
  return ::IntersectRect(&both, &a, &b) != FALSE;
}

// An extended combo box's own window spans its drop-down list; its place in
// the layout is that of the combo inside it.
RECT PlaceOf(HWND hwnd) {
  RECT rect;
  ::GetWindowRect(hwnd, &rect);
  if (ClassOf(hwnd) == WC_COMBOBOXEXA) {
    HWND combo = reinterpret_cast<HWND>(::SendMessageA(hwnd, CBEM_GETCOMBOCONTROL, 0, 0));
    if (combo) ::GetWindowRect(combo, &rect);
  }
  return rect;
}

namespace about {
std::string version;
bool icon = false;
bool closed = false;

void CALLBACK InspectAndClose(HWND, UINT, UINT_PTR, DWORD) {
  HWND box = ::FindWindowA(nullptr, "バージョン情報 Velkor");
  if (!box || closed) return;
  version = win::Window(box, IDC_ABOUT_VERSION).Text();
  icon = ::SendDlgItemMessageA(box, IDC_ABOUT_ICON, STM_GETICON, 0, 0) != 0;
  closed = true;
  ::SendMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
}
}  // namespace about

// The window on one identity with five rules (it closes itself without one).
class MainWindowTest : public test::EditorWindowFixture {
 protected:
  static void SetUpTestSuite() { InitControls(); test::InitUi(); }
  void SetUp() override {
    Seed();
    Open();
  }
  void CheckNoOverlapInside();
};

// F1 shows the page of the pane whose control has the focus; the window's own
// page for the controls of no pane.
TEST_F(MainWindowTest, HelpShowsThePageOfTheFocusedPane) {
  struct Case {
    int control;
    const char* page;
  };
  const Case cases[] = {
      {IDC_RULE_LIST, "rulelist.html"},     {IDC_BLOCKED_SENDER_VIEW, "blocked.html"},
      {IDC_CRITERIA_TYPE_LIST, "criteria.html"}, {IDC_VALUE_LIST, "criteria.html"},
      {IDC_LOGIC_ANY, "criteria.html"},     {IDC_ACTION_TYPE_LIST, "actions.html"},
      {IDC_FOLDER_TREE, "actions.html"},    {IDC_IDENTITY_COMBO, "main.html"},
      {IDC_SAVE, "main.html"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.control);
    EXPECT_STREQ(HelpPageFor(window_->HelpContext(::GetDlgItem(dialog_, c.control))), c.page);
  }
  // Without a control in the help request, the focus decides.
  ::SetFocus(::GetDlgItem(dialog_, IDC_BLOCKED_SENDER_VIEW));
  EXPECT_STREQ(HelpPageFor(window_->HelpContext(nullptr)), "blocked.html");
  // A control of another window (a dialog over the main window) is not a pane's.
  EXPECT_STREQ(HelpPageFor(window_->HelpContext(::GetDesktopWindow())), "main.html");
}

TEST_F(MainWindowTest, HoldsEveryControlWithItsKindAndText) {
  char title[64] = {};
  ::GetWindowTextA(dialog_, title, sizeof title);
  EXPECT_STREQ(title, "Velkor Ver 1.0");
  for (const ExpectedControl& want : kMainControls) {
    SCOPED_TRACE(want.id);
    HWND control = ::GetDlgItem(dialog_, want.id);
    ASSERT_NE(control, nullptr);
    EXPECT_TRUE(IsKind(control, want.kind)) << ClassOf(control);
    if (want.kind == Kind::ListView) {
      win::ListView list(control);
      EXPECT_EQ(list.ColumnCount(), 1);
      // The word list shows the title of the criterion shown: rule 0's senders.
      EXPECT_EQ(list.ColumnTitle(0), want.id == IDC_VALUE_LIST ? "送信者にユーザが含まれている場合" : want.text);
    } else if (want.kind != Kind::DropList && want.kind != Kind::ComboEx && want.kind != Kind::Tree) {
      EXPECT_EQ(win::Window(control).Text(), want.text);
    }
  }
  // The identity combo keeps its entries sorted by user name.
  EXPECT_TRUE(::GetWindowLongA(::GetDlgItem(dialog_, IDC_IDENTITY_COMBO), GWL_STYLE) & CBS_SORT);
}

TEST_F(MainWindowTest, ListViewsHaveTheirStylesAndColumnWidths) {
  struct ListCase {
    int id;
    bool checkBoxes, fullRow, multiSelect, editLabels;
  };
  const ListCase cases[] = {
      {IDC_RULE_LIST, true, false, true, true},
      {IDC_BLOCKED_SENDER_VIEW, false, true, true, true},
      {IDC_VALUE_LIST, false, true, true, true},
      {IDC_CRITERIA_TYPE_LIST, true, true, false, false},
      {IDC_ACTION_TYPE_LIST, true, true, false, false},
  };
  for (const ListCase& c : cases) {
    SCOPED_TRACE(c.id);
    win::ListView list(dialog_, c.id);
    DWORD ex = list.ExtendedStyle();
    LONG style = static_cast<LONG>(list.Style());
    EXPECT_TRUE(ex & LVS_EX_INFOTIP);
    EXPECT_EQ((ex & LVS_EX_CHECKBOXES) != 0, c.checkBoxes);
    EXPECT_EQ((ex & LVS_EX_FULLROWSELECT) != 0, c.fullRow);
    EXPECT_EQ((style & LVS_SINGLESEL) == 0, c.multiSelect);
    EXPECT_EQ((style & LVS_EDITLABELS) != 0, c.editLabels);
  }
  for (int id : {IDC_RULE_LIST, IDC_BLOCKED_SENDER_VIEW, IDC_VALUE_LIST}) {
    win::ListView list(dialog_, id);
    RECT client = list.ClientRect();
    if (id == IDC_VALUE_LIST)  // sized to its header once a criterion shows
      EXPECT_GE(list.ColumnWidth(0), client.right - client.left - 50);
    else
      EXPECT_EQ(list.ColumnWidth(0), client.right - client.left - 50) << id;
  }
}

// At the default size, at the least size the frame allows (which fits the
// work area of an 800 x 600 screen below a task bar) and at the 1024 x 600 of
// a netbook, and back at the default, where every control is where the
// template puts it.
TEST_F(MainWindowTest, ControlsShownTogetherNeverOverlapAndStayInside) {
  RECT opening;
  ::GetWindowRect(dialog_, &opening);
  std::vector<RECT> defaults;
  for (HWND child : Children(dialog_)) defaults.push_back(PlaceOf(child));
  MINMAXINFO limits{};
  ::SendMessageA(dialog_, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
  EXPECT_LE(limits.ptMinTrackSize.x, 800);
  EXPECT_LE(limits.ptMinTrackSize.y, 570);
  const SIZE sizes[] = {{limits.ptMinTrackSize.x, limits.ptMinTrackSize.y}, {1024, 570},
                        {opening.right - opening.left, opening.bottom - opening.top}};
  for (SIZE size : sizes) {
    SCOPED_TRACE(std::to_string(size.cx) + "x" + std::to_string(size.cy));
    ::SetWindowPos(dialog_, nullptr, 0, 0, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
    RECT window;
    ::GetWindowRect(dialog_, &window);
    EXPECT_EQ(window.right - window.left, size.cx);
    EXPECT_EQ(window.bottom - window.top, size.cy);
    CheckNoOverlapInside();
  }
  std::vector<HWND> children = Children(dialog_);
  for (std::size_t i = 0; i < children.size(); ++i) {
    RECT now = PlaceOf(children[i]);
    ::OffsetRect(&now, opening.left, opening.top);  // the window moved to 0, 0
    EXPECT_TRUE(::EqualRect(&now, &defaults[i])) << ::GetDlgCtrlID(children[i]);
  }
}

void MainWindowTest::CheckNoOverlapInside() {
  RECT client;
  ::GetClientRect(dialog_, &client);
  ::MapWindowPoints(dialog_, nullptr, reinterpret_cast<POINT*>(&client), 2);
  std::vector<HWND> children = Children(dialog_);
  for (HWND child : children) EXPECT_TRUE(Contains(client, PlaceOf(child))) << ::GetDlgCtrlID(child);
  for (size_t i = 0; i < children.size(); ++i) {
    for (size_t j = i + 1; j < children.size(); ++j) {
      HWND a = children[i], b = children[j];
      int idA = ::GetDlgCtrlID(a), idB = ::GetDlgCtrlID(b);
      RECT ra = PlaceOf(a), rb = PlaceOf(b);
      if (!Overlap(ra, rb)) continue;
      bool groupHoldsOther = (IsKind(a, Kind::Group) && Contains(ra, rb)) || (IsKind(b, Kind::Group) && Contains(rb, ra));
      if (groupHoldsOther || NeverShownTogether(idA, idB)) continue;
      ADD_FAILURE() << "controls " << idA << " and " << idB << " overlap";
    }
  }
  // Only the first choice of each pane is visible before a rule is shown.
  for (int id : {IDC_CRITERIA_COMBO, IDC_SIZE_EDIT, IDC_CRITERIA_LABEL, IDC_COLOR_COMBO, IDC_ADDRESS_EDIT, IDC_BROWSE,
                 IDC_MARK_COMBO})
    EXPECT_FALSE(window_->IsItemVisible(id)) << id;
}

TEST_F(MainWindowTest, FitsAScreenOf1024x768) {
  RECT rect;
  ::GetWindowRect(dialog_, &rect);
  EXPECT_LE(rect.right - rect.left, 1024);
  EXPECT_LE(rect.bottom - rect.top, 738);  // a task bar stays visible
  EXPECT_GE(rect.right - rect.left, 800);  // and it is not a cramped window either
}

TEST_F(MainWindowTest, EnterAndEscKeepTheWindowOpenSystemCloseEndsIt) {
  ::SendMessageA(dialog_, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  ::SendMessageA(dialog_, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
  Pump();
  EXPECT_TRUE(::IsWindow(dialog_));
  ::SendMessageA(dialog_, WM_SYSCOMMAND, SC_CLOSE, 0);
  Pump();
  EXPECT_FALSE(::IsWindow(dialog_));
}

TEST_F(MainWindowTest, SystemMenuOpensTheAboutBox) {
  HMENU menu = ::GetSystemMenu(dialog_, FALSE);
  char text[128] = {};
  ASSERT_GT(::GetMenuStringA(menu, ID_SYS_ABOUT, text, sizeof text, MF_BYCOMMAND), 0);
  EXPECT_STREQ(text, "バージョン情報 Velkor(&A)...");

  // The about box runs its own modal loop; a thread timer inspects and closes it.
  about::version.clear();
  about::icon = about::closed = false;
  UINT_PTR timer = ::SetTimer(nullptr, 0, 50, &about::InspectAndClose);
  ::PostMessageA(dialog_, WM_SYSCOMMAND, ID_SYS_ABOUT, 0);
  DWORD start = ::GetTickCount();
  while (!about::closed && ::GetTickCount() - start < 5000) {
    Pump();
    ::Sleep(10);
  }
  ::KillTimer(nullptr, timer);
  Pump();
  EXPECT_TRUE(about::closed);
  EXPECT_EQ(about::version, "Velkor Version 1.0");
  EXPECT_TRUE(about::icon);
  EXPECT_TRUE(::IsWindow(dialog_));  // closing the about box leaves the main window
  EXPECT_EQ(::FindWindowA(nullptr, "バージョン情報 Velkor"), nullptr);
}

// Every dialog of the program: no two controls share an id.
TEST(VelkorResources, NoDuplicateIdsWithinADialog) {
  InitControls();
  for (int id : {IDD_ABOUTBOX, IDD_VELKOR_DIALOG, IDD_PROGRESS}) {
    SCOPED_TRACE(id);
    win::Dialog dialog;
    ASSERT_TRUE(dialog.CreateModeless(nullptr, id));
    std::map<int, int> seen;
    for (HWND child : Children(dialog.Handle())) {
      int controlId = ::GetDlgCtrlID(child);
      if (controlId == 0xFFFF) continue;  // unnamed labels
      EXPECT_EQ(++seen[controlId], 1) << "id " << controlId << " used twice";
    }
    EXPECT_FALSE(seen.empty());
  }
}

TEST(VelkorResources, ProgressWindowStartsAsItShould) {
  InitControls();
  win::Dialog progress;
  ASSERT_TRUE(progress.CreateModeless(nullptr, IDD_PROGRESS));
  EXPECT_EQ(progress.Title(), "処理中");
  EXPECT_EQ(progress.ItemText(IDC_PROGRESS_STATUS), "状態");
  EXPECT_EQ(progress.ItemText(IDC_PROGRESS_PERCENT), "0 %");
  EXPECT_EQ(ClassOf(progress.Item(IDC_PROGRESS_BAR)), PROGRESS_CLASSA);
  EXPECT_EQ(progress.ItemText(IDCANCEL), "キャンセル");
}

TEST(VelkorResources, StringTableHoldsTheMessages) {
  struct Case {
    UINT id;
    const char* text;
  };
  const Case cases[] = {
      {IDS_APP_TITLE, "Velkor"},
      {IDS_ABOUTBOX, "バージョン情報 Velkor(&A)..."},
      {IDS_WATCH_START_FAILED, "レジストリ監視を開始できません。終了します。"},
      {IDS_WATCH_ERROR, "レジストリの監視中にエラーが発生しました。終了します。"},
      {IDS_RULES_CHANGED_OUTSIDE,
       "他のプログラムにより、Outlook Expressのメッセージルールが変更されました。\nメッセージルールを再読み込みします。"},
      {IDS_OLE_INIT_FAILED, "Oleの初期化に失敗しました"},
      {IDS_WAB_FLAT_BUFFER, "WABFlatBuffer"},
      {IDS_RULE_LIST_FORMAT, "Outlook Express Mail Rule List (OstrelSoft)"},
  };
  for (const Case& c : cases) EXPECT_EQ(win::LoadResString(c.id), c.text) << c.id;
  // The two long save messages: their first and last lines.
  std::string running = win::LoadResString(IDS_OE_RUNNING_WARNING);
  EXPECT_EQ(running.find("Outlook Expressまたはそれに関連したプログラムが起動しています。\n"), 0u);
  EXPECT_NE(running.find("\n［ 無視 ］：この警告を無視して保存する。"), std::string::npos);
  std::string saving = win::LoadResString(IDS_SAVE_WHILE_OE_RUNS);
  EXPECT_EQ(saving.find("メッセージルールを保存します。\n"), 0u);
  EXPECT_NE(saving.find("変更しないでください。"), std::string::npos);
  EXPECT_EQ(win::LoadResString(4242), "");
}

TEST(VelkorResources, AcceleratorsGiveTheGenericEditingCommands) {
  HACCEL table = ::LoadAcceleratorsA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_ACCELERATORS));
  ASSERT_NE(table, nullptr);
  std::vector<ACCEL> entries(static_cast<size_t>(::CopyAcceleratorTableA(table, nullptr, 0)));
  ::CopyAcceleratorTableA(table, entries.data(), static_cast<int>(entries.size()));
  std::map<std::pair<WORD, bool>, WORD> byKey;
  for (const ACCEL& a : entries) byKey[{a.key, (a.fVirt & FCONTROL) != 0}] = a.cmd;
  const std::map<std::pair<WORD, bool>, WORD> expected = {
      {{VK_DELETE, false}, ID_EDIT_CLEAR}, {{'C', true}, ID_EDIT_COPY},     {{'X', true}, ID_EDIT_CUT},
      {{'F', true}, ID_EDIT_FIND},         {{VK_INSERT, false}, ID_EDIT_INSERT}, {{'V', true}, ID_EDIT_PASTE},
      {{'A', true}, ID_EDIT_SELECT_ALL},   {{VK_F3, false}, ID_FIND_NEXT},
  };
  EXPECT_EQ(byKey, expected);
}

TEST(VelkorResources, ContextMenusHoldTheirCommands) {
  HMENU menus = ::LoadMenuA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_LIST_MENUS));
  ASSERT_NE(menus, nullptr);
  auto ids = [](HMENU popup) {
    std::set<UINT> out;
    for (int i = 0; i < ::GetMenuItemCount(popup); ++i)
      if (UINT id = ::GetMenuItemID(popup, i); id != 0 && id != static_cast<UINT>(-1)) out.insert(id);
    return out;
  };
  EXPECT_EQ(ids(::GetSubMenu(menus, 0)),
            (std::set<UINT>{ID_VALUE_ADD_ITEM, ID_VALUE_ADD_FROM_WAB, ID_VALUE_CUT, ID_VALUE_COPY, ID_VALUE_PASTE,
                            ID_VALUE_DELETE, ID_VALUE_SELECT_ALL, ID_VALUE_FIND, ID_FIND_NEXT}));
  EXPECT_EQ(ids(::GetSubMenu(menus, 1)),
            (std::set<UINT>{ID_BLOCKED_ADD_ITEM, ID_BLOCKED_ADD_FROM_WAB, ID_BLOCKED_CUT, ID_BLOCKED_COPY,
                            ID_BLOCKED_PASTE, ID_BLOCKED_DELETE, ID_BLOCKED_SELECT_ALL, ID_BLOCKED_FIND, ID_FIND_NEXT}));
  HMENU rules = ::GetSubMenu(menus, 2);
  EXPECT_EQ(ids(rules), (std::set<UINT>{ID_RULE_ADD_EMPTY, ID_RULE_CREATE_TEMPLATE, ID_RULE_CUT, ID_RULE_COPY,
                                        ID_RULE_PASTE, ID_RULE_DELETE, ID_RULE_SELECT_ALL, ID_RULE_RESTORE_BACKUP,
                                        ID_RULE_TEST}));
  for (UINT id : {ID_RULE_CUT, ID_RULE_COPY, ID_RULE_PASTE})
    EXPECT_TRUE(::GetMenuState(rules, id, MF_BYCOMMAND) & MF_GRAYED) << id;
  ::DestroyMenu(menus);
}

}  // namespace
}  // namespace velkor
