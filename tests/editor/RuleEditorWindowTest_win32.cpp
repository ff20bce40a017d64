// The editing session of the main window, in-process: identity load, the rule
// list's reactions, reordering, the save flow with its checks, the reaction to
// outside changes and the window settings.
#include <windows.h>
#include <commctrl.h>
#include <ole2.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "EditorWindowFixture_win32.h"
#include "editor/RuleDragDrop_win32.h"
#include "settings/ProfileSection.h"
#include "settings/VelkorSettings.h"
#include "win/Program.h"
#include "win/Strings.h"

namespace velkor {
namespace {

using namespace test;

class RuleEditorWindowTest : public EditorWindowFixture {};

TEST_F(RuleEditorWindowTest, IdentityLoadFillsBothListsInStoredOrder) {
  Seed(true);
  Open();
  win::ComboBox combo(dialog_, IDC_IDENTITY_COMBO);
  ASSERT_EQ(combo.Count(), 2);
  EXPECT_EQ(combo.ItemText(0), "Alice 青木");  // sorted by user name
  EXPECT_EQ(combo.ItemText(1), "Bob 鈴木");
  EXPECT_EQ(combo.Selection(), 1);  // the default identity
  EXPECT_TRUE(combo.IsEnabled());
  EXPECT_EQ(window_->CurrentIdentity(), kIdentityA);

  std::vector<std::string> names;
  for (const SeedRule& rule : FiveRules()) names.push_back(rule.name);
  EXPECT_EQ(RowTexts(Rules()), names);
  EXPECT_EQ(RowTexts(win::ListView(dialog_, IDC_BLOCKED_SENDER_VIEW)),
            (std::vector<std::string>{"spam1@example.com", "迷惑 <spam2@example.net>"}));
  // Check boxes follow "Enabled"; row 0 is selected and shown.
  for (int row = 0; row < 5; ++row) EXPECT_EQ(Rules().IsChecked(row), FiveRules()[row].enabled) << row;
  EXPECT_EQ(SelectedRows(Rules()), std::vector<int>{0});
  EXPECT_FALSE(window_->HasUnsavedChanges());
  EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(dialog_, IDC_SAVE)));
  EXPECT_TRUE(boxes_.shown().empty());

  // Switching to the other identity loads its rules.
  combo.Select(0);
  ::SendMessageA(dialog_, WM_COMMAND, MAKEWPARAM(IDC_IDENTITY_COMBO, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(combo.Handle()));
  EXPECT_EQ(window_->CurrentIdentity(), kIdentityB);
  EXPECT_EQ(RowTexts(Rules()), std::vector<std::string>{"青木さんのルール"});
  EXPECT_EQ(win::ListView(dialog_, IDC_BLOCKED_SENDER_VIEW).Count(), 0);
}

TEST_F(RuleEditorWindowTest, ShowingARuleSetsTheSlotCheckBoxesFromItsMasks) {
  Seed();
  Open();
  SelectRules({1});  // sender words; delete and stop
  EXPECT_TRUE(Criteria().IsVisible());
  for (int slot = 0; slot < 12; ++slot) {
    EXPECT_EQ(Criteria().IsChecked(slot), slot == 0) << slot;
    EXPECT_EQ(Actions().IsChecked(slot), slot == 2 || slot == 9) << slot;
  }
  EXPECT_EQ(SelectedRows(Criteria()), std::vector<int>{0});
  EXPECT_EQ(SelectedRows(Actions()), std::vector<int>{2});  // the first checked action
  // Two rules selected: both slot lists are hidden.
  Rules().SetSelected(3, true);
  EXPECT_FALSE(Criteria().IsVisible());
  EXPECT_FALSE(Actions().IsVisible());
}

TEST_F(RuleEditorWindowTest, TickingACheckBoxSelectsThatRuleAloneAndMarksAChange) {
  Seed();
  Open();
  SelectRules({0, 1, 4});
  Rules().SetChecked(3, false);
  EXPECT_EQ(SelectedRows(Rules()), std::vector<int>{3});
  EXPECT_EQ(Rules().Focused(), 3);
  EXPECT_TRUE(window_->HasUnsavedChanges());
  EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(dialog_, IDC_SAVE)));
  EXPECT_FALSE(window_->Store().Enabled(static_cast<std::uint32_t>(Rules().Data(3))));
  EXPECT_TRUE(Criteria().IsVisible());  // the one rule is shown
}

NMLVDISPINFOA EndEdit(HWND list, int row, char* text) {
  NMLVDISPINFOA info{};
  info.hdr.hwndFrom = list;
  info.hdr.idFrom = IDC_RULE_LIST;
  info.hdr.code = LVN_ENDLABELEDITA;
  info.item.iItem = row;
  info.item.mask = LVIF_TEXT;
  info.item.pszText = text;
  return info;
}

TEST_F(RuleEditorWindowTest, RenamingCleansTheTextAndRefusesBlanks) {
  Seed();
  Open();
  const std::string before = Rules().ItemText(2);
  struct Case {
    const char* typed;
    const char* shown;  // nullptr: the old name stays and the message shows
  };
  const Case cases[] = {
      {" \t\r\n ", nullptr},
      {"", nullptr},
      {"\t新しい\r\n名前  ", "新しい名前"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    size_t shownBefore = boxes_.shown().size();
    std::string typed = c.typed;
    NMLVDISPINFOA info = EndEdit(Rules().Handle(), 2, &typed[0]);
    LRESULT accepted = ::SendMessageA(dialog_, WM_NOTIFY, IDC_RULE_LIST, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(::GetWindowLongPtrA(dialog_, DWLP_MSGRESULT), FALSE);  // the list never takes the raw text
    (void)accepted;
    if (c.shown) {
      EXPECT_EQ(Rules().ItemText(2), c.shown);
      EXPECT_EQ(window_->Store().Name(static_cast<std::uint32_t>(Rules().Data(2))), c.shown);
      EXPECT_EQ(boxes_.shown().size(), shownBefore);
    } else {
      EXPECT_EQ(Rules().ItemText(2), before);
      ASSERT_EQ(boxes_.shown().size(), shownBefore + 1);
      EXPECT_EQ(boxes_.shown().back().text, "ルールの名前を空白にできません。");
      EXPECT_EQ(boxes_.shown().back().caption, "Velkor");
      EXPECT_FALSE(window_->HasUnsavedChanges());
    }
  }
  // A cancelled edit changes nothing.
  NMLVDISPINFOA cancelled = EndEdit(Rules().Handle(), 1, nullptr);
  std::string name1 = Rules().ItemText(1);
  ::SendMessageA(dialog_, WM_NOTIFY, IDC_RULE_LIST, reinterpret_cast<LPARAM>(&cancelled));
  EXPECT_EQ(Rules().ItemText(1), name1);
}

TEST_F(RuleEditorWindowTest, DeletingAsksFirst) {
  Seed();
  Open();
  SelectRules({1, 3});
  boxes_.Answer(IDNO);
  Command(ID_RULE_DELETE);
  ASSERT_EQ(boxes_.shown().size(), 1u);
  EXPECT_EQ(boxes_.shown()[0].text, "選択しているメールルールを削除してもよろしいですか？");
  EXPECT_EQ(boxes_.shown()[0].caption, "メールルールの削除");
  EXPECT_EQ(Rules().Count(), 5);
  EXPECT_FALSE(window_->HasUnsavedChanges());

  boxes_.Answer(IDYES);
  Command(ID_RULE_DELETE);
  EXPECT_EQ(RowTexts(Rules()), (std::vector<std::string>{"[SAFE]家族のアドレス", "停止中のルール", "友人"}));
  EXPECT_EQ(Rules().SelectedCount(), 0);
  EXPECT_FALSE(Criteria().IsVisible());
  EXPECT_EQ(window_->Store().Rules().Count(), 3);
  EXPECT_TRUE(window_->HasUnsavedChanges());
}

TEST_F(RuleEditorWindowTest, AddingAnEmptyRuleInsertsItBeforeTheSelectionAndEditsItsName) {
  Seed();
  Open();
  SelectRules({2, 3});
  Command(ID_RULE_ADD_EMPTY);
  ASSERT_EQ(Rules().Count(), 6);
  EXPECT_EQ(Rules().ItemText(2), "新規のメール ルール");
  EXPECT_TRUE(Rules().IsChecked(2));
  EXPECT_EQ(SelectedRows(Rules()), std::vector<int>{2});
  EXPECT_NE(ListView_GetEditControl(Rules().Handle()), nullptr);
  ListView_CancelEditLabel(Rules().Handle());
  // The accelerator Ins on the list adds the next one with a numbered name.
  Rules().Focus();
  MSG key{Rules().Handle(), WM_KEYDOWN, VK_INSERT, 0, 0, {}};
  EXPECT_TRUE(window_->PreTranslate(&key));
  Pump();
  ASSERT_EQ(Rules().Count(), 7);
  EXPECT_EQ(Rules().ItemText(2), "新規のメール ルール #1");
  ListView_CancelEditLabel(Rules().Handle());
  // Keys are not taken while the focus is elsewhere.
  ::SetFocus(::GetDlgItem(dialog_, IDC_SYNC));
  EXPECT_FALSE(window_->PreTranslate(&key));
}

TEST_F(RuleEditorWindowTest, MovingTheLastTwoOfFiveToTheTopKeepsTheirOrderAndSavesIt) {
  Seed();
  Open();
  SelectRules({3, 4});
  ::SendMessageA(dialog_, kMoveRulesMessage, 4, 0);
  EXPECT_EQ(RowTexts(Rules()), (std::vector<std::string>{"メールマガジン", "友人", "[SAFE]家族のアドレス",
                                                         "[BLOCK]迷惑な送信者", "停止中のルール"}));
  EXPECT_EQ(SelectedRows(Rules()), (std::vector<int>{0, 1}));
  EXPECT_FALSE(Rules().IsChecked(4));  // the check boxes travel with their rules
  EXPECT_TRUE(window_->HasUnsavedChanges());

  ASSERT_TRUE(window_->SaveChanges());
  EXPECT_EQ(ReadStored(registry_, kIdentityA).order, "003 004 000 001 002");
  EXPECT_EQ(ReadStored(registry_, kIdentityA).names.front(), "メールマガジン");
  EXPECT_TRUE(boxes_.shown().empty());
}

// Drops on the list after three polls, wherever the cursor is.
class DropAfterPolls : public IDropSource {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDropSource)) {
      *object = this;
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL, DWORD) override {
    return ++polls_ >= 3 ? DRAGDROP_S_DROP : S_OK;
  }
  HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD) override { return DRAGDROP_S_USEDEFAULTCURSORS; }

 private:
  int polls_ = 0;
};

TEST_F(RuleEditorWindowTest, AnOleDragOntoTheListMovesTheSelectedRules) {
  Seed();
  Open();
  SelectRules({3, 4});
  RECT first{};
  ASSERT_TRUE(Rules().ItemRect(0, &first, LVIR_BOUNDS));
  POINT top{first.left + 20, first.top + 2};  // upper half of row 0
  ::ClientToScreen(Rules().Handle(), &top);
  ::SetCursorPos(top.x, top.y);
  IDataObject* data = CreateRuleDragData(4);
  EXPECT_EQ(RuleDragRow(data), 4);
  DropAfterPolls source;
  DWORD effect = DROPEFFECT_NONE;
  HRESULT hr = ::DoDragDrop(data, &source, DROPEFFECT_COPY | DROPEFFECT_MOVE, &effect);
  data->Release();
  EXPECT_EQ(hr, DRAGDROP_S_DROP);
  EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_MOVE));
  EXPECT_EQ(Rules().ItemText(0), "メールマガジン");
  EXPECT_EQ(Rules().ItemText(1), "友人");
}

TEST_F(RuleEditorWindowTest, ASaveWritesTheRulesReloadsAndSelectsTheSameRowsAgain) {
  Seed();
  Open();
  SelectRules({1});
  Actions().UnselectAll();
  Actions().SetSelected(9, true);  // "stop processing", not the first checked row
  Rules().SetChecked(0, false);    // selects row 0 alone...
  SelectRules({1});                // ...so select row 1 again
  Actions().UnselectAll();
  Actions().SetSelected(9, true);
  std::string renamed = "改名したルール";
  NMLVDISPINFOA info = EndEdit(Rules().Handle(), 1, &renamed[0]);
  ::SendMessageA(dialog_, WM_NOTIFY, IDC_RULE_LIST, reinterpret_cast<LPARAM>(&info));
  ASSERT_TRUE(window_->HasUnsavedChanges());

  Command(IDC_SAVE);
  EXPECT_TRUE(boxes_.shown().empty());
  EXPECT_FALSE(window_->HasUnsavedChanges());
  StoredRules stored = ReadStored(registry_, kIdentityA);
  EXPECT_EQ(stored.names[1], "改名したルール");
  EXPECT_FALSE(stored.enabled[0]);
  EXPECT_EQ(stored.names, RowTexts(Rules()));  // the list shows what was written
  EXPECT_EQ(SelectedRows(Rules()), std::vector<int>{1});
  EXPECT_EQ(SelectedRows(Criteria()), std::vector<int>{0});
  EXPECT_EQ(SelectedRows(Actions()), std::vector<int>{9});
  EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(dialog_, IDC_SAVE)));

  // The window's own save is not an outside change.
  PumpFor(1500);
  EXPECT_TRUE(boxes_.shown().empty());
}

// The lists are emptied and refilled on a reload; a restored rule far down a
// long list must be scrolled into view again.
TEST_F(RuleEditorWindowTest, AfterASaveTheRestoredRuleIsScrolledIntoView) {
  SeedIdentity(registry_, kIdentityA, "Bob 鈴木", true);
  std::vector<SeedRule> many;
  for (int i = 0; i < 60; ++i)
    many.push_back({"ルール " + std::to_string(i), true, {"r" + std::to_string(i) + "@example.jp"}, false});
  SeedRules(registry_, kIdentityA, many, {"spam@example.com"});
  Open();
  Rules().EnsureVisible(55);
  Rules().SetChecked(55, false);  // an edit to save; row 55 alone is selected
  Command(IDC_SAVE);
  ASSERT_FALSE(window_->HasUnsavedChanges());
  EXPECT_EQ(SelectedRows(Rules()), std::vector<int>{55});
  int top = ListView_GetTopIndex(Rules().Handle());
  int page = ListView_GetCountPerPage(Rules().Handle());
  EXPECT_LE(top, 55);
  EXPECT_GT(top + page, 55);
  EXPECT_EQ(win::ListView(dialog_, IDC_BLOCKED_SENDER_VIEW).Count(), 1);
}

// Reads the restore list and presses 復元 the first time, キャンセル the next.
struct RestoreListScript {
  static int seen;
  static std::string state, column;
  static const win::ScriptedMessageBoxes* boxes;
  static void CALLBACK Tick(HWND, UINT, UINT_PTR id, DWORD) {
    HWND list = nullptr;
    HWND dialog = ::FindWindowA(nullptr, "バックアップから復元");
    if (dialog) list = ::GetDlgItem(dialog, IDC_BACKUP_LIST);
    if (!list || (seen == 1 && boxes->shown().empty())) return;
    if (++seen == 1) {
      state = win::ListView(list).ItemText(0);
      column = win::ListView(list).ColumnTitle(0);
      ::PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    } else {
      ::KillTimer(nullptr, id);
      ::PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    }
  }
};
int RestoreListScript::seen = 0;
std::string RestoreListScript::state, RestoreListScript::column;
const win::ScriptedMessageBoxes* RestoreListScript::boxes = nullptr;

TEST_F(RuleEditorWindowTest, TheRestoreListNamesTheStateBeforeASaveAndNoReturnsToIt) {
  Seed();
  Open();
  Rules().SetChecked(0, false);
  Command(IDC_SAVE);  // writes a backup of what was stored before
  ASSERT_FALSE(window_->HasUnsavedChanges());
  boxes_.Answer(IDNO);
  RestoreListScript::boxes = &boxes_;
  ::SetTimer(nullptr, 0, 50, &RestoreListScript::Tick);
  Command(ID_RULE_RESTORE_BACKUP);
  EXPECT_EQ(RestoreListScript::seen, 2);  // いいえ came back to the list
  EXPECT_EQ(RestoreListScript::state, "保存前の状態");
  EXPECT_EQ(RestoreListScript::column, "内容");
  ASSERT_EQ(boxes_.shown().size(), 1u);
  EXPECT_NE(boxes_.shown()[0].text.find("に保存する前の状態に"), std::string::npos);
  EXPECT_FALSE(ReadStored(registry_, kIdentityA).enabled[0]);  // nothing restored
}

TEST_F(RuleEditorWindowTest, AnInvalidRuleStopsTheSaveAndIsSelected) {
  Seed();
  Open();
  SelectRules({4});
  Command(ID_RULE_ADD_EMPTY);  // at row 4, with no criterion: invalid
  ListView_CancelEditLabel(Rules().Handle());
  Rules().SetChecked(0, false);  // another change, on a valid rule
  std::string before = registry_.Dump(RegRoot::CurrentUser, "Identities");

  Command(IDC_SAVE);
  ASSERT_EQ(boxes_.shown().size(), 1u);
  EXPECT_EQ(boxes_.shown()[0].text,
            "メッセージルールにエラーがあるため、保存できません。\n赤いアイテムをクリックして、問題を解決してください。");
  EXPECT_EQ(SelectedRows(Rules()), std::vector<int>{4});
  EXPECT_EQ(registry_.Dump(RegRoot::CurrentUser, "Identities"), before);
  EXPECT_TRUE(window_->HasUnsavedChanges());

  // Its tip tells what is missing.
  char buffer[256] = {};
  NMLVGETINFOTIPA tip{};
  tip.hdr.hwndFrom = Rules().Handle();
  tip.hdr.idFrom = IDC_RULE_LIST;
  tip.hdr.code = LVN_GETINFOTIPA;
  tip.pszText = buffer;
  tip.cchTextMax = sizeof buffer;
  tip.iItem = 4;
  ::SendMessageA(dialog_, WM_NOTIFY, IDC_RULE_LIST, reinterpret_cast<LPARAM>(&tip));
  EXPECT_EQ(std::string(buffer), "このルールの条件を指定してください");
  tip.iItem = 0;
  buffer[0] = '\0';
  ::SendMessageA(dialog_, WM_NOTIFY, IDC_RULE_LIST, reinterpret_cast<LPARAM>(&tip));
  EXPECT_EQ(std::string(buffer), "");  // valid rules have no tip
}

// ---------------------------------------------------------------------------
// Saving while Outlook Express runs (the test msimn.exe beside this program)

std::string Beside(const char* name) { return win::ProgramSiblingPath(name); }

class FakeOutlookExpress {
 public:
  FakeOutlookExpress() {
    ready_ = ::CreateEventA(nullptr, TRUE, FALSE, "VelkorEditorTestReady");
    quit_ = ::CreateEventA(nullptr, TRUE, FALSE, "VelkorEditorTestQuit");
    std::string program = Beside("msimn.exe");
    std::string commandLine = "\"" + program + "\" /window /ready:VelkorEditorTestReady /quit:VelkorEditorTestQuit";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    if (::CreateProcessA(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                         &process_)) {
      ::CloseHandle(process_.hThread);
      started_ = ::WaitForSingleObject(ready_, 15000) == WAIT_OBJECT_0;
    }
  }
  ~FakeOutlookExpress() {
    End();
    ::CloseHandle(ready_);
    ::CloseHandle(quit_);
  }
  bool Started() const { return started_; }
  void End() {
    if (!process_.hProcess) return;
    ::SetEvent(quit_);
    if (::WaitForSingleObject(process_.hProcess, 10000) != WAIT_OBJECT_0) ::TerminateProcess(process_.hProcess, 1);
    ::CloseHandle(process_.hProcess);
    process_.hProcess = nullptr;
  }

 private:
  HANDLE ready_;
  HANDLE quit_;
  PROCESS_INFORMATION process_{};
  bool started_ = false;
};

class SaveWhileOutlookExpressRuns : public EditorWindowFixture {
 protected:
  void SetUp() override {
    Seed();
    Open();
    Rules().SetChecked(2, true);
    ASSERT_TRUE(window_->HasUnsavedChanges());
    before_ = registry_.Dump(RegRoot::CurrentUser, "Identities");
  }
  bool Written() { return registry_.Dump(RegRoot::CurrentUser, "Identities") != before_; }
  std::string before_;
};

TEST_F(SaveWhileOutlookExpressRuns, AbortWritesNothing) {
  FakeOutlookExpress outlook;
  ASSERT_TRUE(outlook.Started());
  boxes_.Answer(IDABORT);
  EXPECT_FALSE(window_->SaveChanges());
  ASSERT_EQ(boxes_.shown().size(), 1u);
  EXPECT_EQ(boxes_.shown()[0].text, win::LoadResString(IDS_OE_RUNNING_WARNING));
  EXPECT_EQ(boxes_.shown()[0].caption, "警告");
  EXPECT_EQ(boxes_.shown()[0].flags & MB_TYPEMASK, static_cast<UINT>(MB_ABORTRETRYIGNORE));
  EXPECT_FALSE(Written());
  EXPECT_TRUE(window_->HasUnsavedChanges());
}

TEST_F(SaveWhileOutlookExpressRuns, RetryAfterItEndedSavesWithoutAnotherMessage) {
  FakeOutlookExpress outlook;
  ASSERT_TRUE(outlook.Started());
  std::vector<std::string> shown;
  win::MessageBoxHandler previous =
      win::SetMessageBoxHandler([&](HWND, const std::string& text, const std::string&, UINT) {
        shown.push_back(text);
        outlook.End();  // the user closes Outlook Express, then presses Retry
        return IDRETRY;
      });
  bool saved = window_->SaveChanges();
  win::SetMessageBoxHandler(previous);
  EXPECT_TRUE(saved);
  EXPECT_EQ(shown, std::vector<std::string>{win::LoadResString(IDS_OE_RUNNING_WARNING)});
  EXPECT_TRUE(Written());
  EXPECT_TRUE(ReadStored(registry_, kIdentityA).enabled[2]);
}

TEST_F(SaveWhileOutlookExpressRuns, IgnoreThenCancelWritesNothingIgnoreThenOkSaves) {
  FakeOutlookExpress outlook;
  ASSERT_TRUE(outlook.Started());
  boxes_.Answer(IDIGNORE);
  boxes_.Answer(IDCANCEL);
  EXPECT_FALSE(window_->SaveChanges());
  ASSERT_EQ(boxes_.shown().size(), 2u);
  EXPECT_EQ(boxes_.shown()[1].text, win::LoadResString(IDS_SAVE_WHILE_OE_RUNS));
  EXPECT_FALSE(Written());

  boxes_.Answer(IDIGNORE);
  boxes_.Answer(IDOK);
  EXPECT_TRUE(window_->SaveChanges());
  EXPECT_TRUE(Written());
}

// ---------------------------------------------------------------------------
// Outside changes, close, settings

TEST_F(RuleEditorWindowTest, AnOutsideChangeIsReportedAndReloadedDroppingUnsavedEdits) {
  Seed();
  Open();
  Rules().SetChecked(0, false);  // an unsaved edit that the reload drops
  // Another program adds a rule.
  {
    RuleStore other(registry_);
    other.Load(kIdentityA);
    MailRule& rule = other.Rules().AddNewRule("外から追加");
    std::vector<std::uint8_t> words = EncodeStringList({"x@example.jp"});
    other.SetCriterionValue(rule.Number(), SlotBit(0), words.data(), static_cast<std::uint32_t>(words.size()),
                            valuetype::kBytes);
    NullProgress progress;
    ASSERT_TRUE(other.SaveAll(progress).Ok());
  }
  EXPECT_TRUE(PumpUntil([&] { return Rules().Count() == 6; }));
  ASSERT_EQ(boxes_.shown().size(), 1u);
  EXPECT_EQ(boxes_.shown()[0].text, win::LoadResString(IDS_RULES_CHANGED_OUTSIDE));
  EXPECT_EQ(Rules().ItemText(5), "外から追加");
  EXPECT_TRUE(Rules().IsChecked(0));
  EXPECT_FALSE(window_->HasUnsavedChanges());
}

TEST_F(RuleEditorWindowTest, CloseAsksToSaveAndCancelKeepsTheWindow) {
  Seed();
  Open();
  Rules().SetChecked(1, false);
  boxes_.Answer(IDCANCEL);
  ::SendMessageA(dialog_, WM_SYSCOMMAND, SC_CLOSE, 0);
  Pump();
  ASSERT_TRUE(::IsWindow(dialog_));
  EXPECT_EQ(Texts(), std::vector<std::string>{"メッセージルールは変更されています。変更を保存しますか？"});
  EXPECT_EQ(boxes_.shown()[0].caption, "メッセージルールの保存");

  boxes_.Answer(IDYES);
  ::SendMessageA(dialog_, WM_SYSCOMMAND, SC_CLOSE, 0);
  Pump();
  EXPECT_FALSE(::IsWindow(dialog_));
  EXPECT_FALSE(ReadStored(registry_, kIdentityA).enabled[1]);
}

TEST_F(RuleEditorWindowTest, WindowSettingsSurviveARestart) {
  Seed(true);
  Open();
  win::ComboBox combo(dialog_, IDC_IDENTITY_COMBO);
  combo.Select(0);  // Alice
  ::SendMessageA(dialog_, WM_COMMAND, MAKEWPARAM(IDC_IDENTITY_COMBO, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(combo.Handle()));
  ::SetWindowPos(dialog_, nullptr, 37, 41, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  ::SendMessageA(dialog_, WM_SYSCOMMAND, SC_CLOSE, 0);
  Pump();
  ASSERT_FALSE(::IsWindow(dialog_));
  VelkorSettings stored;
  stored.Load(registry_);
  EXPECT_EQ(stored.initialOEUser, kIdentityB);
  EXPECT_EQ(stored.initialRule, 0);
  EXPECT_EQ(stored.mainWndLeft, 37);
  EXPECT_EQ(stored.desktopWidth, ::GetSystemMetrics(SM_CXSCREEN));

  Open();
  RECT rect;
  ::GetWindowRect(dialog_, &rect);
  EXPECT_EQ(rect.left, 37);
  EXPECT_EQ(rect.top, 41);
  EXPECT_EQ(window_->CurrentIdentity(), kIdentityB);
  window_.reset();

  // On a screen of another size the stored place is not used.
  ProfileSection(registry_, settingsname::kSection).SetInt(settingsname::kDesktopWidth, 640);
  Open();
  ::GetWindowRect(dialog_, &rect);
  EXPECT_NE(rect.left, 37);
}

TEST_F(RuleEditorWindowTest, AlwaysOnTopTogglesAndIsStoredAtOnce) {
  Seed();
  Open();
  ::SendMessageA(dialog_, WM_SYSCOMMAND, ID_SYS_TOPMOST, 0);
  EXPECT_TRUE(window_->IsTopMost());
  EXPECT_TRUE(::GetMenuState(::GetSystemMenu(dialog_, FALSE), ID_SYS_TOPMOST, MF_BYCOMMAND) & MF_CHECKED);
  EXPECT_EQ(ProfileSection(registry_, settingsname::kSection).GetInt(settingsname::kShowTopMost, -1), 1);
  window_.reset();
  Open();  // starts on top
  EXPECT_TRUE(window_->IsTopMost());
  EXPECT_TRUE(::GetMenuState(::GetSystemMenu(dialog_, FALSE), ID_SYS_TOPMOST, MF_BYCOMMAND) & MF_CHECKED);
  ::SendMessageA(dialog_, WM_SYSCOMMAND, ID_SYS_TOPMOST, 0);
  EXPECT_FALSE(window_->IsTopMost());
  EXPECT_FALSE(::GetMenuState(::GetSystemMenu(dialog_, FALSE), ID_SYS_TOPMOST, MF_BYCOMMAND) & MF_CHECKED);
  EXPECT_EQ(ProfileSection(registry_, settingsname::kSection).GetInt(settingsname::kShowTopMost, -1), 0);
}

TEST_F(RuleEditorWindowTest, SyncIsRefusedWhileChangesAreUnsaved) {
  Seed();
  Open();
  Rules().SetChecked(1, false);
  Command(IDC_SYNC);
  EXPECT_EQ(Texts(), std::vector<std::string>{"変更を保存してから、同期設定してください。"});
}

TEST_F(RuleEditorWindowTest, APressFirstEndsAnEditOrOnlyFocusesAnUnfocusedList) {
  Seed();
  Open();
  HWND blocked = ::GetDlgItem(dialog_, IDC_BLOCKED_SENDER_VIEW);
  HWND values = ::GetDlgItem(dialog_, IDC_VALUE_LIST);
  auto press = [](HWND target, UINT message) { return MSG{target, message, 0, MAKELPARAM(4, 4), 0, {}}; };

  // The first left press on the unfocused sender list only focuses it.
  Rules().Focus();
  MSG left = press(blocked, WM_LBUTTONDOWN);
  EXPECT_TRUE(window_->PreTranslate(&left));
  EXPECT_EQ(::GetFocus(), blocked);
  EXPECT_FALSE(window_->PreTranslate(&left));
  // A right press focuses too, and goes on to open the menu.
  Rules().Focus();
  MSG right = press(blocked, WM_RBUTTONDOWN);
  EXPECT_FALSE(window_->PreTranslate(&right));
  EXPECT_EQ(::GetFocus(), blocked);
  // Presses on other lists are left alone.
  MSG onRules = press(Rules().Handle(), WM_LBUTTONDOWN);
  EXPECT_FALSE(window_->PreTranslate(&onRules));
  EXPECT_EQ(::GetFocus(), blocked);

  // While a word is being edited, a press elsewhere ends the edit and is dropped.
  ::ShowWindow(values, SW_SHOW);
  win::ListView words(values);
  words.Insert(0, "word");
  words.Focus();
  ASSERT_NE(words.EditLabel(0), nullptr);
  EXPECT_TRUE(window_->PreTranslate(&onRules));
  EXPECT_EQ(::GetFocus(), Rules().Handle());
  EXPECT_EQ(ListView_GetEditControl(values), nullptr);
}

TEST(RuleEditorWindowStart, WithoutAnyIdentityTheWindowTellsAndCloses) {
  InitUi();
  MemoryRegistry registry;
  Win32ThreadStarter threads;
  RegistryWatchers watchers(registry, threads);
  win::ScriptedMessageBoxes boxes;
  RuleEditorWindow window(registry, watchers);
  window.CreateModeless(nullptr, IDD_VELKOR_DIALOG);
  Pump();
  ASSERT_EQ(boxes.shown().size(), 1u);
  EXPECT_EQ(boxes.shown()[0].text, "Outlook Expressのユーザ情報を取得できません。");
  EXPECT_FALSE(window.Handle() && ::IsWindow(window.Handle()));
}

}  // namespace
}  // namespace velkor
