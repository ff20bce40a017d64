// The blocked-sender list in the main window, in-process: label edits, the
// delete question and its progress window, save, the real clipboard, the real
// find dialog, and the address picker's filters and sort.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "EditorWindowFixture_win32.h"
#include "editor/AddressPickerDialog_win32.h"
#include "editor/FindTextDialog_win32.h"
#include "editor/WordListPane_win32.h"
#include "mail/MailDropTargets_win32.h"
#include "mail/SampleMail.h"
#include "rulestore/BlockedSenderList.h"
#include "rulestore/RuleStore.h"
#include "win/Clipboard.h"

namespace velkor {
namespace {

using namespace test;

// Counts the progress windows ("処理中") created while it lives.
class ProgressWindowCounter {
 public:
  ProgressWindowCounter() {
    count_ = 0;
    hook_ = ::SetWindowsHookExA(WH_CBT, &Hook, nullptr, ::GetCurrentThreadId());
  }
  ~ProgressWindowCounter() { ::UnhookWindowsHookEx(hook_); }
  int Count() const { return count_; }

 private:
  static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND) {
      auto* create = reinterpret_cast<CBT_CREATEWNDA*>(lParam);
      const char* name = create->lpcs->lpszName;
      if (name && !IS_INTRESOURCE(name) && std::string(name) == "処理中") ++count_;
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
  }
  static int count_;
  HHOOK hook_;
};
int ProgressWindowCounter::count_ = 0;

// Answers the next FindTextDialog from inside its modal loop.
struct FindScript {
  static std::string text;
  static bool matchCase;
  static void CALLBACK Tick(HWND, UINT, UINT_PTR id, DWORD) {
    HWND dialog = ::FindWindowA(nullptr, "検索");
    if (!dialog || !::GetDlgItem(dialog, IDC_FIND_TEXT)) return;
    ::KillTimer(nullptr, id);
    ::SetDlgItemTextA(dialog, IDC_FIND_TEXT, text.c_str());
    ::CheckDlgButton(dialog, IDC_FIND_MATCH_CASE, matchCase ? BST_CHECKED : BST_UNCHECKED);
    ::SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  }
  static void Arm(const std::string& t, bool c) {
    text = t;
    matchCase = c;
    ::SetTimer(nullptr, 0, 30, &Tick);
  }
};
std::string FindScript::text;
bool FindScript::matchCase = false;

class BlockedSenderPaneTest : public EditorWindowFixture {
 protected:
  void SeedBlocked(const std::vector<std::string>& blocked) {
    SeedIdentity(registry_, kIdentityA, "Bob 鈴木", true);
    SeedRules(registry_, kIdentityA, FiveRules(), blocked);
  }
  win::ListView Blocked() const { return win::ListView(dialog_, IDC_BLOCKED_SENDER_VIEW); }
  std::vector<std::string> Stored() {
    BlockedSenderList list(IdentityBasePath(kIdentityA));
    list.Load(registry_);
    return list.Addresses();
  }
  // Starts editing a fresh row (Ins), types `text` and ends with Enter or Esc.
  void TypeNewRow(const std::string& text, bool escape) {
    Blocked().Focus();
    Command(ID_BLOCKED_ADD_ITEM);
    HWND edit = ListView_GetEditControl(Blocked().Handle());
    ASSERT_NE(edit, nullptr);
    ::SetWindowTextA(edit, text.c_str());
    ::SendMessageA(edit, WM_KEYDOWN, escape ? VK_ESCAPE : VK_RETURN, 0);
    Pump();
  }
  void PutOnClipboard(const std::string& text, bool addressBook) {
    win::Clipboard clipboard(dialog_);
    ASSERT_TRUE(clipboard.IsOpen());
    ASSERT_TRUE(clipboard.Empty());
    ASSERT_TRUE(clipboard.SetText(text));
    if (addressBook) {
      ASSERT_TRUE(clipboard.SetData(win::RegisteredFormat("WABFlatBuffer"), "", 1));
    }
  }
  std::string ClipboardText() {
    win::Clipboard clipboard(dialog_);
    return clipboard.Text();
  }
};

TEST_F(BlockedSenderPaneTest, LabelEditsEndAsTheUserMeant) {
  struct Case {
    const char* what;
    std::string typed;
    bool escape;
    std::vector<std::string> rows;
    std::vector<int> selected;
    bool changed;
  };
  const Case cases[] = {
      {"a new address is added", " new@example.jp\t", false, {"new@example.jp", "spam1@example.com"}, {0}, true},
      {"cancelling a fresh row removes it", "x@y", true, {"spam1@example.com"}, {}, false},
      {"another row's text but for case", "SPAM1@Example.COM", false, {"spam1@example.com"}, {0}, false},
      {"a blank fresh row goes", " \t ", false, {"spam1@example.com"}, {}, false},
  };
  for (const Case& c : cases) {
    SeedBlocked({"spam1@example.com"});
    Open();
    TypeNewRow(c.typed, c.escape);
    EXPECT_EQ(RowTexts(Blocked()), c.rows) << c.what;
    EXPECT_EQ(window_->HasUnsavedChanges(), c.changed) << c.what;
    EXPECT_EQ(SelectedRows(Blocked()), c.selected) << c.what;
    window_.reset();
  }
}

TEST_F(BlockedSenderPaneTest, BlankingARowAsksAndNoKeepsIt) {
  SeedBlocked({"a@example.jp", "b@example.jp"});
  Open();
  for (int answer : {IDNO, IDYES}) {
    boxes_.Answer(answer);
    Blocked().Focus();
    HWND edit = Blocked().EditLabel(0);
    ASSERT_NE(edit, nullptr);
    ::SetWindowTextA(edit, "  ");
    ::SendMessageA(edit, WM_KEYDOWN, VK_RETURN, 0);
    Pump();
    ASSERT_FALSE(boxes_.shown().empty());
    EXPECT_EQ(boxes_.shown().back().text, "編集している項目を削除します。よろしいですか？");
    EXPECT_EQ(boxes_.shown().back().caption, "選択項目の削除（禁止された送信者）");
  }
  EXPECT_EQ(RowTexts(Blocked()), std::vector<std::string>{"b@example.jp"});
}

TEST_F(BlockedSenderPaneTest, DeletingMoreThanFifteenRowsShowsTheProgressWindow) {
  struct Case {
    int selected;
    int progressWindows;
  };
  for (const Case& c : {Case{15, 0}, Case{16, 1}}) {
    std::vector<std::string> blocked;
    for (int i = 0; i < 20; ++i) blocked.push_back("user" + std::to_string(i) + "@example.jp");
    SeedBlocked(blocked);
    Open();
    Blocked().UnselectAll();
    for (int i = 0; i < c.selected; ++i) Blocked().SetSelected(i, true);
    boxes_.Answer(IDYES);
    ProgressWindowCounter progress;
    Command(ID_BLOCKED_DELETE);
    EXPECT_EQ(progress.Count(), c.progressWindows) << c.selected;
    EXPECT_EQ(Blocked().Count(), 20 - c.selected);
    EXPECT_EQ(boxes_.shown().back().text, "選択されているメールアドレスを削除します。よろしいですか？");
    window_.reset();
  }
}

TEST_F(BlockedSenderPaneTest, AnEditEnablesSaveAndTheSaveWritesIt) {
  SeedBlocked({"old@example.jp", "keep@example.jp"});
  Open();
  EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(dialog_, IDC_SAVE)));
  Blocked().UnselectAll();
  Blocked().SetSelected(0, true);
  boxes_.Answer(IDYES);
  Command(ID_BLOCKED_DELETE);
  TypeNewRow("added@example.jp", false);
  EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(dialog_, IDC_SAVE)));
  Command(IDC_SAVE);
  EXPECT_FALSE(window_->HasUnsavedChanges());
  // Nothing is selected after the delete, so the new row goes to the end.
  EXPECT_EQ(Stored(), (std::vector<std::string>{"keep@example.jp", "added@example.jp"}));
  EXPECT_EQ(RowTexts(Blocked()), Stored());
}

TEST_F(BlockedSenderPaneTest, CopyCutAndPasteGoThroughTheClipboard) {
  SeedBlocked({"a@example.jp", "b@example.jp", "c@example.jp"});
  Open();
  Blocked().SelectAll();
  Command(ID_BLOCKED_COPY);
  EXPECT_EQ(ClipboardText(), "a@example.jp\r\nb@example.jp\r\nc@example.jp");

  Blocked().UnselectAll();
  Blocked().SetSelected(1, true);
  Command(ID_BLOCKED_CUT);
  EXPECT_EQ(ClipboardText(), "b@example.jp");
  EXPECT_EQ(RowTexts(Blocked()), (std::vector<std::string>{"a@example.jp", "c@example.jp"}));

  // Plain text: a case duplicate selects the existing row, the rest is appended once.
  PutOnClipboard("A@EXAMPLE.JP\r\n\tnew@example.jp\r\nnew@example.jp\r\n", false);
  Command(ID_BLOCKED_PASTE);
  EXPECT_EQ(RowTexts(Blocked()), (std::vector<std::string>{"a@example.jp", "c@example.jp", "new@example.jp"}));
  EXPECT_EQ(SelectedRows(Blocked()), (std::vector<int>{0, 2}));
  EXPECT_EQ(Blocked().Focused(), 2);

  // Address-book text: only the indented address lines.
  PutOnClipboard("太郎\r\n電子メール アドレス :\r\n  taro@example.jp\r\n会社 :\r\n  東京\r\n", true);
  Command(ID_BLOCKED_PASTE);
  EXPECT_EQ(RowTexts(Blocked()).back(), "taro@example.jp");
  EXPECT_EQ(Blocked().Count(), 4);
  EXPECT_EQ(window_->Store().BlockedSenders().Addresses(), RowTexts(Blocked()));
}

TEST_F(BlockedSenderPaneTest, DroppedMailsAddTheirSenderAndDroppedTextGoesInAsAPaste) {
  const CLIPFORMAT raw = MailClipboardFormat(MailFormat::RawMessage);
  const CLIPFORMAT book = MailClipboardFormat(MailFormat::AddressBook);
  struct Case {
    const char* what;
    std::vector<OfferedFormat> formats;
    DWORD effect;
    std::vector<std::string> rows;
  };
  const std::vector<std::string> before = {"a@example.jp"};
  const Case cases[] = {
      {"a mail from Outlook Express: its bracketed sender",
       {{CF_TEXT, OfferedFormat::Bytes, sample::kTextForm + '\0'}, {raw, OfferedFormat::Bytes, sample::kRawMessage + '\0'}},
       DROPEFFECT_COPY, {"a@example.jp", "taro@spam.example"}},
      {"a mail without its text form: the sender of the raw message",
       {{CF_TEXT, OfferedFormat::StreamOnly, ""}, {raw, OfferedFormat::Bytes, sample::kRawMessage + '\0'}},
       DROPEFFECT_COPY, {"a@example.jp", "taro@spam.example"}},
      {"plain text: its lines, a case duplicate only selected",
       {{CF_TEXT, OfferedFormat::Bytes, std::string("A@EXAMPLE.JP\r\n b@example.jp \r\n\r\nc@example.jp") + '\0'}},
       DROPEFFECT_COPY, {"a@example.jp", "b@example.jp", "c@example.jp"}},
      {"address-book text: only its address lines",
       {{CF_TEXT, OfferedFormat::Bytes, std::string("太郎\r\n電子メール アドレス :\r\n  taro@example.jp\r\n会社 :\r\n  東京\r\n") + '\0'},
        {book, OfferedFormat::StreamOnly, ""}},
       DROPEFFECT_COPY, {"a@example.jp", "taro@example.jp"}},
      {"no text offered: refused", {{raw, OfferedFormat::Bytes, sample::kRawMessage + '\0'}}, DROPEFFECT_NONE,
       {"a@example.jp"}},
  };
  for (const Case& c : cases) {
    SeedBlocked(before);
    Open();
    EXPECT_EQ(DragOnto(IDC_BLOCKED_SENDER_VIEW, c.formats), c.effect) << c.what;
    EXPECT_EQ(RowTexts(Blocked()), c.rows) << c.what;
    EXPECT_EQ(window_->Store().BlockedSenders().Addresses(), c.rows) << c.what;
    EXPECT_EQ(window_->HasUnsavedChanges(), c.rows != before) << c.what;
    window_.reset();
  }
}

// Holds the clipboard open from another thread, as another program would.
class ClipboardHeldElsewhere {
 public:
  ClipboardHeldElsewhere() {
    opened_ = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    release_ = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    thread_ = ::CreateThread(nullptr, 0, &Hold, this, 0, nullptr);
    // Wine's clipboard may ask this thread's windows while the other one opens it.
    PumpUntil([this] { return ::WaitForSingleObject(opened_, 0) == WAIT_OBJECT_0; });
  }
  bool Held() const { return held_; }
  ~ClipboardHeldElsewhere() {
    ::SetEvent(release_);
    ::WaitForSingleObject(thread_, 5000);
    for (HANDLE h : {thread_, opened_, release_}) ::CloseHandle(h);
  }

 private:
  static DWORD WINAPI Hold(void* self) {
    auto* held = static_cast<ClipboardHeldElsewhere*>(self);
    held->held_ = ::OpenClipboard(nullptr) != FALSE;
    ::SetEvent(held->opened_);
    ::WaitForSingleObject(held->release_, 10000);
    if (held->held_) ::CloseClipboard();
    return 0;
  }
  HANDLE opened_, release_, thread_;
  bool held_ = false;
};

TEST_F(BlockedSenderPaneTest, AClipboardThatCannotBeOpenedTakesNothingAndGivesNothing) {
  SeedBlocked({"a@example.jp", "b@example.jp"});
  Open();
  PutOnClipboard("before", false);
  {
    ClipboardHeldElsewhere held;
    ASSERT_TRUE(held.Held());
    Blocked().SelectAll();
    Command(ID_BLOCKED_CUT);  // the rows still go
    EXPECT_EQ(Blocked().Count(), 0);
    Command(ID_BLOCKED_PASTE);  // nothing comes
    EXPECT_EQ(Blocked().Count(), 0);
  }
  EXPECT_EQ(ClipboardText(), "before");
}

TEST_F(BlockedSenderPaneTest, FindAndFindNextWrapAndTellWhenNothingMatches) {
  SeedBlocked({"alpha@example.jp", "beta@example.jp", "ALPHA@other.jp"});
  Open();
  Blocked().Focus();
  Blocked().UnselectAll();
  Blocked().SetFocused(2, true);
  FindScript::Arm("alpha", false);
  Command(ID_BLOCKED_FIND);  // from the last row: the first row
  EXPECT_EQ(SelectedRows(Blocked()), std::vector<int>{0});
  Command(ID_FIND_NEXT);  // F3
  EXPECT_EQ(SelectedRows(Blocked()), std::vector<int>{2});
  EXPECT_TRUE(boxes_.shown().empty());

  FindScript::Arm("gamma", true);
  Command(ID_BLOCKED_FIND);
  ASSERT_EQ(boxes_.shown().size(), 1u);
  EXPECT_EQ(boxes_.shown()[0].text, "\"gamma\"　は見つかりません。");
  EXPECT_EQ(SelectedRows(Blocked()), std::vector<int>{2});
  EXPECT_EQ(SharedFindSettings().text, "gamma");
  EXPECT_TRUE(SharedFindSettings().matchCase);
  SharedFindSettings() = FindSettings{};
}

// Not a timed test: it shows every pasted address and prints how long 2,000
// and 20,000 new addresses took, for the notes on performance.
TEST_F(BlockedSenderPaneTest, PastingTwentyThousandNewAddressesShowsThemAll) {
  for (int count : {2000, 20000}) {
    SeedBlocked({"first@example.jp"});
    Open();
    std::string text;
    for (int i = 0; i < count; ++i) text += "user" + std::to_string(i) + "@paste.example\r\n";
    PutOnClipboard(text, false);
    DWORD start = ::GetTickCount();
    Command(ID_BLOCKED_PASTE);
    DWORD elapsed = ::GetTickCount() - start;
    std::printf("pasting %d new addresses: %lu ms\n", count, static_cast<unsigned long>(elapsed));
    EXPECT_EQ(Blocked().Count(), count + 1);
    EXPECT_EQ(Blocked().SelectedCount(), count);
    EXPECT_EQ(window_->Store().BlockedSenders().Count(), count + 1);
    window_.reset();
  }
}

// Presses Cancel on the progress window once its bar reaches `at` per cent.
struct CancelAtPosition {
  static int at;
  static bool pressed;
  static HHOOK hook;
  static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam) {
    auto* call = reinterpret_cast<CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && call->message == PBM_SETPOS && !pressed && static_cast<int>(call->wParam) >= at) {
      pressed = true;
      ::PostMessageA(::GetParent(call->hwnd), WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    }
    return ::CallNextHookEx(hook, code, wParam, lParam);
  }
  explicit CancelAtPosition(int percent) {
    at = percent;
    pressed = false;
    hook = ::SetWindowsHookExA(WH_CALLWNDPROC, &Hook, nullptr, ::GetCurrentThreadId());
  }
  ~CancelAtPosition() { ::UnhookWindowsHookEx(hook); }
};
int CancelAtPosition::at = 0;
bool CancelAtPosition::pressed = false;
HHOOK CancelAtPosition::hook = nullptr;

// Cancel while the lines are read (bar below 50) and while the rows go in
// (above 50): either way the paste adds nothing and the selection stays.
TEST_F(BlockedSenderPaneTest, CancelAnywhereInALongPasteAddsNothing) {
  const int cancelAt[] = {20, 75};
  for (int percent : cancelAt) {
    SCOPED_TRACE(percent);
    SeedBlocked({"first@example.jp", "second@example.jp"});
    Open();
    Blocked().UnselectAll();
    Blocked().SetSelected(1, true);
    std::string text = "FIRST@example.jp\r\n";
    for (int i = 0; i < 5000; ++i) text += "user" + std::to_string(i) + "@paste.example\r\n";
    PutOnClipboard(text, false);
    {
      CancelAtPosition cancel(percent);
      Command(ID_BLOCKED_PASTE);
      EXPECT_TRUE(CancelAtPosition::pressed);
    }
    EXPECT_EQ(RowTexts(Blocked()), (std::vector<std::string>{"first@example.jp", "second@example.jp"}));
    EXPECT_EQ(SelectedRows(Blocked()), std::vector<int>{1});
    EXPECT_EQ(window_->Store().BlockedSenders().Count(), 2);
    EXPECT_FALSE(window_->HasUnsavedChanges());
    window_.reset();
  }
}

class AddressPickerTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { InitUi(); }
  void Open(AddressPickerRequest& request) {
    dialog_ = std::make_unique<AddressPickerDialog>(request);
    ASSERT_TRUE(dialog_->CreateModeless(nullptr, IDD_ADDRESS_PICKER));
    Pump();
  }
  win::ListView List() const { return win::ListView(dialog_->Handle(), IDC_PICKER_LIST); }
  std::vector<std::string> Column(int column) const {
    std::vector<std::string> out;
    for (int i = 0; i < List().Count(); ++i) out.push_back(List().ItemText(i, column));
    return out;
  }
  void Click(int id) { ::SendMessageA(dialog_->Handle(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); }
  void ClickHeader(int column) {
    NMLISTVIEW notify{};
    notify.hdr.hwndFrom = List().Handle();
    notify.hdr.idFrom = IDC_PICKER_LIST;
    notify.hdr.code = LVN_COLUMNCLICK;
    notify.iItem = -1;
    notify.iSubItem = column;
    ::SendMessageA(dialog_->Handle(), WM_NOTIFY, IDC_PICKER_LIST, reinterpret_cast<LPARAM>(&notify));
  }
  static AddressPickerRequest Request() {
    AddressPickerRequest request;
    request.bookOpen = true;
    request.book = {{"Bさん", "b@example.jp"}, {"自分", "me@example.jp"}, {"aさん", "a@example.jp"},
                    {"迷惑", "spam@example.com"}, {"住所なし", ""}};
    request.filter = picker::kHideBlockedAndOwn;
    request.lists.blocked = {"SPAM@example.com"};
    request.lists.own = {"me@example.jp"};
    request.preselect = {"a@example.jp"};
    return request;
  }
  std::unique_ptr<AddressPickerDialog> dialog_;
};

TEST_F(AddressPickerTest, FiltersRefillAndHeadersSort) {
  AddressPickerRequest request = Request();
  Open(request);
  EXPECT_EQ(Column(1), (std::vector<std::string>{"b@example.jp", "a@example.jp"}));
  EXPECT_EQ(List().SelectedCount(), 1);
  EXPECT_TRUE(List().IsSelected(1));
  EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(dialog_->Handle(), IDC_PICKER_ADD)));

  struct Step {
    int control;  // a filter radio, or -1 / -2 for a click on header 0 / 1
    std::vector<std::string> names;
  };
  const Step steps[] = {
      {IDC_PICKER_FILTER_BLOCKED, {"Bさん", "自分", "aさん"}},
      {IDC_PICKER_FILTER_ALL, {"Bさん", "自分", "aさん", "迷惑"}},
      {-1, {"迷惑", "自分", "Bさん", "aさん"}},  // the first click on the name column sorts descending
      {-1, {"aさん", "Bさん", "自分", "迷惑"}},
      {-2, {"aさん", "Bさん", "自分", "迷惑"}},  // the address column keeps ascending: a, b, me, spam
      {-2, {"迷惑", "自分", "Bさん", "aさん"}},
  };
  for (const Step& s : steps) {
    if (s.control > 0) {
      Click(s.control);
    } else {
      ClickHeader(-s.control - 1);
    }
    EXPECT_EQ(Column(0), s.names) << s.control;
  }
  EXPECT_EQ(List().SelectedCount(), 0);  // a refill does not preselect
  EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(dialog_->Handle(), IDC_PICKER_ADD)));

  List().SetSelected(0, true);
  List().SetSelected(3, true);
  Click(IDC_PICKER_ADD);
  EXPECT_EQ(request.chosen, (std::vector<std::string>{"spam@example.com", "a@example.jp"}));
}

// A find started away from the list (the 検索 button, F3 on a filter or
// a button) must not leave the found row selected in a list without the
// focus, drawn faintly: the list takes the focus, 追加 stays the default.
TEST_F(AddressPickerTest, AFoundRowGetsTheFocusWhereverTheFindStarted) {
  AddressPickerRequest request = Request();
  request.filter = picker::kShowAll;
  request.preselect.clear();
  Open(request);
  HWND picker = dialog_->Handle();
  struct Case {
    int focusedControl;
    int command;
  };
  const Case cases[] = {
      {ID_EDIT_FIND, ID_EDIT_FIND},
      {IDC_PICKER_FILTER_ALL, ID_FIND_NEXT},
      {IDCANCEL, ID_FIND_NEXT},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.focusedControl);
    List().UnselectAll();
    ::SendMessageA(picker, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(::GetDlgItem(picker, c.focusedControl)), TRUE);
    if (c.command == ID_EDIT_FIND) FindScript::Arm("a@", false);
    Click(c.command);
    Pump();
    EXPECT_EQ(List().SelectedCount(), 1);
    EXPECT_TRUE(List().IsSelected(2));  // aさん
    EXPECT_EQ(::GetFocus(), List().Handle());
    EXPECT_EQ(LOWORD(::SendMessageA(picker, DM_GETDEFID, 0, 0)), IDC_PICKER_ADD);
  }
  SharedFindSettings() = FindSettings{};
}

TEST_F(AddressPickerTest, WithoutAnAddressBookItClosesAtOnce) {
  AddressPickerRequest request = Request();
  request.bookOpen = false;
  AddressPickerDialog picker(request);
  EXPECT_EQ(picker.Run(nullptr), -1);
  EXPECT_TRUE(request.chosen.empty());
}

}  // namespace
}  // namespace velkor
