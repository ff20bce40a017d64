// Velkor.exe as a real process: a spam mail dragged from another program onto
// the body criterion's word list opens the NG-word tool on the mail's body;
// OK puts the words the tool found into the list in place of the drag
// placeholder, and the save writes them to the rule.
#include <windows.h>
#include <commctrl.h>
#include <ole2.h>
#include <shlwapi.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "../rulestore/RuleTestSupport.h"
#include "folders/MailFolderList.h"
#include "mail/MailDropTargets_win32.h"
#include "mail/TestDataObject_win32.h"
#include "registry/Win32Registry.h"
#include "rulestore/RuleStore.h"
#include "settings/ProfileSection.h"
#include "settings/VelkorSettings.h"
#include "support/ChildProcess_win32.h"
#include "support/RemoteMemory_win32.h"
#include "templates/TemplateWords.h"

namespace velkor::test {
namespace {

constexpr const char* kTitle = "Velkor Ver 1.0";
constexpr const char* kToolCaption = "NGワード検出ツール";
constexpr const char* kIdentity = "{D2000000-0000-0000-0000-0000000000D2}";
constexpr const char* kOwnAddress = "you@example.jp";
constexpr int kValueList = 1006, kSaveButton = 1036;
constexpr int kToolWordList = 1047, kToolOk = 1036;
constexpr int kBodySlot = 2;
constexpr DWORD kTimeoutMs = 15000;

// The placeholder of a drag rule as the program shows it for an identity
// without a mail store.
const std::string kPlaceholder = DragPlaceholder(StoreStamp{});

// What Outlook Express puts on CF_TEXT for a dragged mail: the header summary
// with Japanese labels, an empty line, the body. The body names the
// account's own address, which the tool must not propose.
const std::string kMailText =
    "送信者: 出会いサポート <support@deai-spam.example>\r\n宛先: <you@example.jp>\r\n"
    "件名 : 【無料】今だけのご案内\r\n\r\n"
    "【無料】今だけ！出会い系サイトで素敵な出会いを。\r\n"
    "エッチな人妻があなたを待っています。登録はこちら→ http://deai-spam.example/join\r\n"
    "完全無料！今すぐアクセス http://cheap-pills.example/buy?id=77\r\n"
    "お問い合わせ: info@spam-mail.example\r\n"
    "このメールは you@example.jp 様にお送りしています。\r\n";
// The raw message is only offered: it marks the text as a dragged mail.
const std::string kRawMessage =
    "From: support@deai-spam.example\r\nTo: you@example.jp\r\n"
    "Subject: =?ISO-2022-JP?B?GyRCIVpMNU5BIVs6IyRAJDEkTiQ0MEZGYhsoQg==?=\r\n\r\n";

void Reset() {
  ::SHDeleteKeyA(HKEY_CURRENT_USER, "Identities");
  ::SHDeleteKeyA(HKEY_CURRENT_USER, kApplicationKey);
}

void SeedDragRule(RegistryAccess& reg) {
  SeedIdentity(reg, kIdentity, "鈴木");
  const std::string rules = RulesMailPath(IdentityBasePath(kIdentity));
  WriteRulesHeader(reg, rules, "000");
  WriteSeedRule(reg, rules, "000", "迷惑メール", 1, 1, {Words(crit::kBody, {kPlaceholder})}, {Plain(act::kStop)});
  SeedAccount(reg, IdentityAccountsPath(kIdentity), "00000001", "自宅", kOwnAddress, "鈴木");
  VelkorSettings settings;
  settings.initialOEUser = kIdentity;
  settings.initialRule = 0;
  ASSERT_TRUE(settings.SaveMainWindow(reg));
}

template <class Done>
bool WaitFor(Done done) {
  for (DWORD start = ::GetTickCount(); ::GetTickCount() - start < kTimeoutMs; ::Sleep(50))
    if (done()) return true;
  return false;
}

struct WindowSearch {
  DWORD processId;
  const std::string& prefix;
  HWND found;
};

// EnumWindows wants a stdcall function: a lambda converts only on 64-bit.
BOOL CALLBACK VisitWindow(HWND window, LPARAM param) {
  auto* s = reinterpret_cast<WindowSearch*>(param);
  DWORD owner = 0;
  ::GetWindowThreadProcessId(window, &owner);
  char caption[256] = {};
  ::GetWindowTextA(window, caption, sizeof caption);
  if (owner != s->processId || !::IsWindowVisible(window) ||
      std::string(caption).compare(0, s->prefix.size(), s->prefix) != 0)
    return TRUE;
  s->found = window;
  return FALSE;
}

// The visible top-level window of the process whose caption begins with `prefix`.
HWND FindProcessWindow(DWORD processId, const std::string& prefix) {
  WindowSearch search{processId, prefix, nullptr};
  ::EnumWindows(&VisitWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// A real OLE drag of the mail from this process, dropped at `at`.
HRESULT DragMailTo(POINT at, DWORD* effect) {
  auto* data = new TestDataObject({{CF_TEXT, OfferedFormat::Bytes, kMailText + '\0'},
                                   {MailClipboardFormat(MailFormat::RawMessage), OfferedFormat::Bytes,
                                    kRawMessage + '\0'}});
  auto* source = new PollingDropSource(at, 5);
  ::SetCursorPos(at.x, at.y);
  const HRESULT hr = ::DoDragDrop(data, source, DROPEFFECT_COPY | DROPEFFECT_MOVE, effect);
  source->Release();
  data->Release();
  return hr;
}

bool Contains(const std::vector<std::string>& words, const std::string& word) {
  return std::find(words.begin(), words.end(), word) != words.end();
}

TEST(MailDropProcess, ABodyDropRunsTheToolAndItsWordsReplaceThePlaceholder) {
  ASSERT_EQ(::FindWindowA(nullptr, kTitle), nullptr) << "Velkor is already running";
  Reset();
  Win32Registry registry;
  SeedDragRule(registry);
  ASSERT_EQ(::OleInitialize(nullptr), S_OK);

  ChildProcess process;
  ASSERT_TRUE(process.Start("Velkor.exe"));
  HWND window = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (window = ::FindWindowA(nullptr, kTitle)) && ::IsWindowVisible(window); }));
  HWND values = ::GetDlgItem(window, kValueList);
  ASSERT_TRUE(WaitFor([&] { return ::IsWindowVisible(values) != FALSE; }));
  ASSERT_EQ(RemoteListItems(process.Id(), values), std::vector<std::string>{kPlaceholder});
  ASSERT_FALSE(::IsWindowEnabled(::GetDlgItem(window, kSaveButton)));

  RECT rect;
  ::GetWindowRect(values, &rect);
  DWORD effect = DROPEFFECT_NONE;
  ASSERT_EQ(DragMailTo(POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2}, &effect),
            DRAGDROP_S_DROP);
  EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_COPY));

  HWND tool = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (tool = FindProcessWindow(process.Id(), kToolCaption)) != nullptr; }))
      << "the NG-word tool did not open";
  HWND toolList = ::GetDlgItem(tool, kToolWordList);
  ASSERT_TRUE(WaitFor([&] { return ::SendMessageA(toolList, LVM_GETITEMCOUNT, 0, 0) > 0; }));
  const std::vector<std::string> found = RemoteListItems(process.Id(), toolList);

  // Dictionary words, links (up to the first character a link cannot hold)
  // and addresses of the body; never the header's sender, the account's own
  // address or the placeholder.
  struct Expected {
    std::string word;
    bool listed;
  };
  const Expected expected[] = {
      {"エッチ", true},
      {"出会い系サイト", true},
      {"完全無料", true},
      {"http://deai-spam.example/join", true},
      {"http://cheap-pills.example/buy", true},
      {"info@spam-mail.example", true},
      {"support@deai-spam.example", false},
      {kOwnAddress, false},
      {kPlaceholder, false},
  };
  for (const Expected& e : expected) EXPECT_EQ(Contains(found, e.word), e.listed) << e.word;

  ::PostMessageA(tool, WM_COMMAND, MAKEWPARAM(kToolOk, BN_CLICKED), 0);
  ASSERT_TRUE(WaitFor([&] { return !::IsWindow(tool); })) << "OK did not close the tool";
  EXPECT_TRUE(WaitFor([&] { return !::IsIconic(window); })) << "the main window stayed minimised";
  ASSERT_TRUE(WaitFor([&] { return RemoteListItems(process.Id(), values) == found; }))
      << "the tool's words did not replace the placeholder";
  HWND save = ::GetDlgItem(window, kSaveButton);
  ASSERT_TRUE(WaitFor([&] { return ::IsWindowEnabled(save) != FALSE; }));
  ::PostMessageA(window, WM_COMMAND, MAKEWPARAM(kSaveButton, BN_CLICKED), 0);
  ASSERT_TRUE(WaitFor([&] { return !::IsWindowEnabled(save); })) << "the save did not finish";
  ::PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_TRUE(process.WaitForExit(kTimeoutMs));

  RuleStore store(registry);
  store.Load(kIdentity);
  const RuleCriterion* body = store.Criterion(0, SlotBit(kBodySlot));
  ASSERT_NE(body, nullptr);
  EXPECT_EQ(DecodeStringList(body->ValueData(), body->ValueSize()), found);
  ::OleUninitialize();
  Reset();
}

}  // namespace
}  // namespace velkor::test
