// Velkor.exe as a real process, driven through the real input path as a user
// does: a click on the check box of an unfocused slot list ticks it at once,
// and Japanese typed into each edit the program opens itself arrives whole
// and is saved so.
#include <windows.h>
#include <commctrl.h>
#include <shlwapi.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "registry/RegFile.h"
#include "registry/Win32Registry.h"
#include "res/resource.h"
#include "rulestore/BlockedSenderList.h"
#include "rulestore/RuleStore.h"
#include "settings/ProfileSection.h"
#include "support/ChildProcess_win32.h"
#include "support/RemoteMemory_win32.h"
#include "support/UserInput_win32.h"

namespace velkor::test {
namespace {

constexpr const char* kTitle = "Velkor Ver 1.0";
constexpr const char* kIdentity = "{3F2504E0-4F89-11D3-9A0C-0305E82C3301}";
constexpr DWORD kTimeoutMs = 15000;
constexpr int kSubjectRow = 1;
constexpr int kForwardRow = 3;
constexpr int kFlagRow = 5;

// The demo identity; with `withoutRules` its rules are removed (their move
// actions need the demo's mail store, which a save would check).
void ImportDemo(bool withoutRules) {
  ::SHDeleteKeyA(HKEY_CURRENT_USER, "Identities");
  ::SHDeleteKeyA(HKEY_CURRENT_USER, kApplicationKey);
  std::string path = "Z:" VELKOR_DEMO_REG;
  std::replace(path.begin(), path.end(), '/', '\\');
  std::string bytes;
  ASSERT_TRUE(ReadWholeFile(path, &bytes)) << path;
  Win32Registry registry;
  RegFileError error;
  ASSERT_TRUE(ImportRegFile(registry, bytes, &error)) << error.line << ": " << error.reason;
  if (withoutRules) ::SHDeleteKeyA(HKEY_CURRENT_USER, RulesMailPath(IdentityBasePath(kIdentity)).c_str());
}

template <class Done>
bool WaitFor(Done done) {
  for (DWORD start = ::GetTickCount(); ::GetTickCount() - start < kTimeoutMs; ::Sleep(50))
    if (done()) return true;
  return false;
}

std::string TextOf(HWND control) {
  char text[512] = {};
  ::SendMessageA(control, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
  return text;
}

HWND EditOf(HWND list) { return reinterpret_cast<HWND>(::SendMessageA(list, LVM_GETEDITCONTROL, 0, 0)); }

bool IsChecked(HWND list, int row) {
  const LRESULT state = ::SendMessageA(list, LVM_GETITEMSTATE, static_cast<WPARAM>(row), LVIS_STATEIMAGEMASK);
  return (state >> 12) == 2;
}

// The middle of row `row`'s check box (where a list has them), on the screen.
POINT CheckBoxOf(DWORD process, HWND list, int row) {
  RemoteMemory memory(process, sizeof(RECT));
  RECT rect{};
  rect.left = LVIR_BOUNDS;
  memory.Write(rect);
  ::SendMessageA(list, LVM_GETITEMRECT, static_cast<WPARAM>(row), memory.Address());
  memory.Read(&rect);
  POINT at{rect.left + 9, (rect.top + rect.bottom) / 2};
  ::MapWindowPoints(list, nullptr, &at, 1);
  return at;
}

// A point on the text of row `row`, on the screen.
POINT RowPoint(DWORD process, HWND list, int row) {
  POINT at = CheckBoxOf(process, list, row);
  at.x += 20;
  return at;
}

struct OwnedSearch {
  HWND owner;
  HWND found;
};

BOOL CALLBACK TakeOwned(HWND window, LPARAM data) {
  auto* search = reinterpret_cast<OwnedSearch*>(data);
  if (::GetWindow(window, GW_OWNER) != search->owner || !::IsWindowVisible(window)) return TRUE;
  search->found = window;
  return FALSE;
}

// A visible window that `owner` owns, or null.
HWND OwnedWindow(HWND owner) {
  OwnedSearch search{owner, nullptr};
  ::EnumThreadWindows(::GetWindowThreadProcessId(owner, nullptr), &TakeOwned, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// A point in the empty part of a list, below its rows.
POINT EmptyPartOf(HWND list) {
  RECT rect;
  ::GetWindowRect(list, &rect);
  return {(rect.left + rect.right) / 2, rect.bottom - 8};
}

struct Velkor {
  ChildProcess process;
  HWND window = nullptr;
  bool Start() {
    if (!process.Start("Velkor.exe")) return false;
    if (!WaitFor([&] { return (window = ::FindWindowA(nullptr, kTitle)) && ::IsWindowVisible(window); }))
      return false;
    // A click that arrives while the window is still starting up is lost.
    const bool active = WaitFor([&] {
      ::SetForegroundWindow(window);
      return ::GetForegroundWindow() == window;
    });
    ::Sleep(500);
    return active;
  }
  HWND Item(int id) const { return ::GetDlgItem(window, id); }
  void Close() {
    ::PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    // Unsaved edits ask first: no.
    HWND box = nullptr;
    if (WaitFor([&] { return !process.Running() || ((box = ::FindWindowA("#32770", nullptr)) && box != window); }) &&
        box)
      ::PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDNO, BN_CLICKED), 0);
    process.WaitForExit(kTimeoutMs);
  }
};

TEST(SlotListsThroughTheMouse, OneClickOnAnUnfocusedListTicksTheBox) {
  ASSERT_EQ(::FindWindowA(nullptr, kTitle), nullptr) << "Velkor is already running";
  ImportDemo(false);
  Velkor velkor;
  ASSERT_TRUE(velkor.Start());
  struct Case {
    int list;
    int row;
  };
  for (const Case& c : {Case{IDC_CRITERIA_TYPE_LIST, kSubjectRow}, Case{IDC_ACTION_TYPE_LIST, kFlagRow}}) {
    SCOPED_TRACE(c.list);
    HWND list = velkor.Item(c.list);
    ASSERT_TRUE(WaitFor([&] { return ::IsWindowVisible(list) != FALSE; }));
    ASSERT_FALSE(IsChecked(list, c.row));
    ASSERT_NE(FocusOfThread(velkor.window), list);
    ::SetForegroundWindow(velkor.window);
    ClickAt(CheckBoxOf(velkor.process.Id(), list, c.row));
    EXPECT_TRUE(WaitFor([&] { return IsChecked(list, c.row); }));
    ::Sleep(300);  // nothing undoes it afterwards
    EXPECT_TRUE(IsChecked(list, c.row));
    // The next click goes to the other list, unfocused again.
    Press(VK_ESCAPE);
  }
  velkor.Close();
}

TEST(JapaneseThroughTheKeyboard, EveryEditTheProgramOpensTakesItWholeAndTheSaveKeepsIt) {
  ASSERT_EQ(::FindWindowA(nullptr, kTitle), nullptr) << "Velkor is already running";
  ImportDemo(true);
  Velkor velkor;
  ASSERT_TRUE(velkor.Start());
  HWND rules = velkor.Item(IDC_RULE_LIST), values = velkor.Item(IDC_VALUE_LIST);
  HWND blocked = velkor.Item(IDC_BLOCKED_SENDER_VIEW), address = velkor.Item(IDC_ADDRESS_EDIT);
  const DWORD id = velkor.process.Id();
  struct Case {
    const char* how;
    std::function<HWND()> open;  // opens the edit; answers it once it is there
    std::wstring typed;
    std::string shown;  // Shift_JIS
  };
  auto labelEdit = [](HWND list) {
    HWND edit = nullptr;
    WaitFor([&] { return (edit = EditOf(list)) != nullptr && FocusOfThread(list) == edit; });
    return edit;
  };
  const Case cases[] = {
      {"Ins in the rule list",
       [&] {
         if (!FocusByClick(rules, EmptyPartOf(rules))) return HWND{};
         Press(VK_INSERT);
         return labelEdit(rules);
       },
       L"テスト", "テスト"},
      {"ticking a word criterion",
       [&] {
         ClickAt(CheckBoxOf(id, velkor.Item(IDC_CRITERIA_TYPE_LIST), kSubjectRow));
         return labelEdit(values);
       },
       L"激安", "激安"},
      {"Ins in the criterion's words",
       [&] {
         Press(VK_INSERT);
         return labelEdit(values);
       },
       L"バイアグラ", "バイアグラ"},
      {"ticking forward",
       [&] {
         ClickAt(CheckBoxOf(id, velkor.Item(IDC_ACTION_TYPE_LIST), kForwardRow));
         WaitFor([&] { return FocusOfThread(address) == address; });
         return address;
       },
       L"やまだ太郎 <yamada@example.jp>", "やまだ太郎 <yamada@example.jp>"},
      {"Ins in the blocked senders",
       [&] {
         if (!FocusByClick(blocked, EmptyPartOf(blocked))) return HWND{};
         Press(VK_INSERT);
         return labelEdit(blocked);
       },
       L"迷惑 <meiwaku@example.jp>", "迷惑 <meiwaku@example.jp>"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.how);
    ::SetForegroundWindow(velkor.window);
    HWND edit = c.open();
    ASSERT_NE(edit, nullptr);
    TypeText(c.typed);
    EXPECT_TRUE(WaitFor([&] { return TextOf(edit) == c.shown; })) << TextOf(edit);
    if (edit != address) {
      Press(VK_RETURN);
      EXPECT_TRUE(WaitFor([&] { return EditOf(::GetParent(edit)) == nullptr; }));
    }
  }

  // F2 edits the focused row (the blocked sender just added) with its text
  // selected, so typing replaces it; Ctrl+A selects what was typed since.
  Press(VK_F2);
  HWND rename = labelEdit(blocked);
  ASSERT_NE(rename, nullptr);
  TypeText(L"別の送信者");
  EXPECT_TRUE(WaitFor([&] { return TextOf(rename) == "別の送信者"; })) << TextOf(rename);
  Press('A', VK_CONTROL);
  TypeText(L"迷惑 <meiwaku@example.jp>");
  EXPECT_TRUE(WaitFor([&] { return TextOf(rename) == "迷惑 <meiwaku@example.jp>"; })) << TextOf(rename);
  Press(VK_RETURN);

  // The NG-word tool serves its own messages: a word pasted into its list and
  // edited there (a slow double click opens the edit).
  Press('C', VK_CONTROL);  // the blocked sender just added
  ::PostMessageA(velkor.window, WM_APP + 1, 0, 0);
  HWND tool = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (tool = OwnedWindow(velkor.window)) != nullptr; }));
  HWND words = ::GetDlgItem(tool, IDC_NG_WORD_LIST);
  ASSERT_TRUE(FocusByClick(words, EmptyPartOf(words)));
  Press('V', VK_CONTROL);
  ASSERT_TRUE(WaitFor([&] { return ::SendMessageA(words, LVM_GETITEMCOUNT, 0, 0) == 1; }));
  const std::string pasted = RemoteListItems(id, words).at(0);
  const POINT word = RowPoint(id, words, 0);
  ClickAt(word);
  ::Sleep(::GetDoubleClickTime() + 300);
  ClickAt(word);
  HWND wordEdit = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (wordEdit = EditOf(words)) != nullptr; }));
  Press(VK_END);
  TypeText(L"激安");
  EXPECT_TRUE(WaitFor([&] { return TextOf(wordEdit) == pasted + "激安"; })) << TextOf(wordEdit);
  Press(VK_RETURN);
  EXPECT_EQ(RemoteListItems(id, words), std::vector<std::string>{pasted + "激安"});
  ::PostMessageA(tool, WM_COMMAND, MAKEWPARAM(IDC_NG_CANCEL, BN_CLICKED), 0);
  ASSERT_TRUE(WaitFor([&] { return !::IsWindow(tool); }));

  ::PostMessageA(velkor.window, WM_COMMAND, MAKEWPARAM(IDC_SAVE, BN_CLICKED), 0);
  ASSERT_TRUE(WaitFor([&] { return !::IsWindowEnabled(velkor.Item(IDC_SAVE)); }));
  Win32Registry registry;
  RuleStore store(registry);
  store.Load(kIdentity);
  ASSERT_EQ(store.Rules().Count(), 1);
  const std::uint32_t rule = store.Rules().At(0).Number();
  EXPECT_EQ(store.Rules().At(0).Name(), "テスト");
  const RuleCriterion* subject = store.Criterion(rule, SlotBit(kSubjectRow));
  ASSERT_NE(subject, nullptr);
  EXPECT_EQ(DecodeStringList(subject->ValueData(), subject->ValueSize()),
            (std::vector<std::string>{"バイアグラ", "激安"}));  // Ins adds before the selected word
  const RuleAction* forward = store.Action(rule, SlotBit(kForwardRow));
  std::string forwardTo;
  ASSERT_TRUE(forward && forward->TextValue(&forwardTo));
  EXPECT_EQ(forwardTo, "やまだ太郎 <yamada@example.jp>");
  BlockedSenderList list(IdentityBasePath(kIdentity));
  list.Load(registry);
  const std::vector<std::string> saved = list.Addresses();
  EXPECT_NE(std::find(saved.begin(), saved.end(), "迷惑 <meiwaku@example.jp>"), saved.end());

  velkor.Close();
  ImportDemo(false);
}

}  // namespace
}  // namespace velkor::test
