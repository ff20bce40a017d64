// Velkor.exe as a real process on the demo identity: a saved spam mail (.eml)
// dragged from Explorer onto the rule tester gets the verdict of the keyword
// rule with the words that caught it; unticking that rule in the main window
// changes the verdict at once, before any save.
#include <windows.h>
#include <commctrl.h>
#include <ole2.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <string>

#include "mail/TestDataObject_win32.h"
#include "registry/RegFile.h"
#include "registry/Win32Registry.h"
#include "support/ChildProcess_win32.h"
#include "support/RemoteMemory_win32.h"

namespace velkor::test {
namespace {

constexpr const char* kTitle = "Velkor Ver 1.0";
constexpr const char* kTesterCaption = "ルールのテスト";
constexpr const char* kSettingsKey = "Software\\Ostrel Software Development\\Velkor";
constexpr int kRuleList = 1002, kTestButton = 1239, kVerdict = 1243, kTesterRules = 1244, kDetails = 1245;
constexpr int kKeywordRuleRow = 2;  // "[BLOCK]迷惑メールのキーワード" in the demo rules
constexpr DWORD kTimeoutMs = 15000;

// Subject "未承諾広告※ 素敵な出会いをお約束", body "今すぐクリックして無料登録！" (ISO-2022-JP, base64).
const char kSpamMail[] =
    "From: info@deai-support.example.com\r\nTo: hanako@example.ne.jp\r\n"
    "Subject: =?ISO-2022-JP?B?GyRCTCQ+NUJ6OS05cCIoGyhCIBskQkFHRSgkSj1QMnEkJCRyJCpMc0IrGyhC?=\r\n"
    "MIME-Version: 1.0\r\nContent-Type: text/plain; charset=ISO-2022-JP\r\nContent-Transfer-Encoding: base64\r\n\r\n"
    "GyRCOiMkOSQwJS8laiVDJS8kNyRGTDVOQUVQTz8hKhsoQg0K\r\n";

std::string FromUnix(const char* path) {
  std::string out = std::string("Z:") + path;
  for (char& c : out)
    if (c == '/') c = '\\';
  return out;
}

void ResetRegistry(bool importDemo) {
  ::SHDeleteKeyA(HKEY_CURRENT_USER, "Identities");
  ::SHDeleteKeyA(HKEY_CURRENT_USER, kSettingsKey);
  if (!importDemo) return;
  std::string bytes;
  ASSERT_TRUE(ReadWholeFile(FromUnix(VELKOR_DEMO_REG), &bytes));
  Win32Registry registry;
  RegFileError error;
  ASSERT_TRUE(ImportRegFile(registry, bytes, &error)) << error.line << ": " << error.reason;
}

template <class Done>
bool WaitFor(Done done) {
  for (DWORD start = ::GetTickCount(); ::GetTickCount() - start < kTimeoutMs; ::Sleep(50))
    if (done()) return true;
  return false;
}

struct WindowSearch {
  DWORD processId;
  const std::string& caption;
  HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM param) {
  auto* s = reinterpret_cast<WindowSearch*>(param);
  DWORD owner = 0;
  ::GetWindowThreadProcessId(window, &owner);
  char text[256] = {};
  ::GetWindowTextA(window, text, sizeof text);
  if (owner != s->processId || !::IsWindowVisible(window) || s->caption != text) return TRUE;
  s->found = window;
  return FALSE;
}

// The visible top-level window of the process with this caption.
HWND FindProcessWindow(DWORD processId, const std::string& caption) {
  WindowSearch search{processId, caption, nullptr};
  ::EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::string ItemText(HWND dialog, int id) {
  char text[4096] = {};
  ::GetDlgItemTextA(dialog, id, text, sizeof text);
  return text;
}

// What Explorer offers for a dragged file: CF_HDROP, ANSI names.
std::string DropFilesBlock(const std::string& path) {
  DROPFILES header{};
  header.pFiles = sizeof header;
  std::string block(reinterpret_cast<const char*>(&header), sizeof header);
  block += path;
  block.append(2, '\0');
  return block;
}

HRESULT DragFileTo(const std::string& path, POINT at, DWORD* effect) {
  auto* data = new TestDataObject({{CF_HDROP, OfferedFormat::Bytes, DropFilesBlock(path)}});
  auto* source = new PollingDropSource(at, 5);
  ::SetCursorPos(at.x, at.y);
  const HRESULT hr = ::DoDragDrop(data, source, DROPEFFECT_COPY, effect);
  source->Release();
  data->Release();
  return hr;
}

TEST(RuleTestProcess, ADroppedMailGetsTheVerdictAndFollowsAnUntickedRule) {
  ASSERT_EQ(::FindWindowA(nullptr, kTitle), nullptr) << "Velkor is already running";
  ResetRegistry(true);
  char folder[MAX_PATH] = {};
  ::GetTempPathA(MAX_PATH, folder);
  const std::string mailPath = std::string(folder) + "velkor-ruletest-spam.eml";
  std::ofstream(mailPath, std::ios::binary) << kSpamMail;
  ASSERT_EQ(::OleInitialize(nullptr), S_OK);

  ChildProcess process;
  ASSERT_TRUE(process.Start("Velkor.exe"));
  HWND window = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (window = ::FindWindowA(nullptr, kTitle)) && ::IsWindowVisible(window); }));
  ::PostMessageA(window, WM_COMMAND, MAKEWPARAM(kTestButton, BN_CLICKED), 0);
  HWND tester = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (tester = FindProcessWindow(process.Id(), kTesterCaption)) != nullptr; }));

  RECT rect;
  ::GetWindowRect(::GetDlgItem(tester, kTesterRules), &rect);
  DWORD effect = DROPEFFECT_NONE;
  ASSERT_EQ(DragFileTo(mailPath, POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2}, &effect),
            DRAGDROP_S_DROP);
  EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_COPY));
  EXPECT_TRUE(WaitFor([&] {
    return ItemText(tester, kVerdict) == " 「[BLOCK]迷惑メールのキーワード」により「削除済みアイテム」へ移動されます";
  })) << ItemText(tester, kVerdict);
  const std::string details = ItemText(tester, kDetails);
  EXPECT_NE(details.find("含まれる言葉: 未承諾広告※, 出会い"), std::string::npos) << details;
  EXPECT_NE(details.find("含まれる言葉: 今すぐクリック"), std::string::npos) << details;

  // Untick the rule in the main window, as a click on its check box does.
  RemoteMemory memory(process.Id(), sizeof(LVITEMA));
  LVITEMA item{};
  item.stateMask = LVIS_STATEIMAGEMASK;
  item.state = INDEXTOSTATEIMAGEMASK(1);
  memory.Write(item);
  ::SendMessageA(::GetDlgItem(window, kRuleList), LVM_SETITEMSTATE, kKeywordRuleRow, memory.Address());
  EXPECT_TRUE(WaitFor([&] { return ItemText(tester, kVerdict) == " どのルールにも一致しません"; }))
      << ItemText(tester, kVerdict);

  // The change is not saved: closing asks; the answer "no" leaves the registry alone.
  ::PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
  HWND ask = nullptr;
  ASSERT_TRUE(WaitFor([&] {
    ask = FindProcessWindow(process.Id(), "メッセージルールの保存");
    return ask != nullptr;
  }));
  ::PostMessageA(ask, WM_COMMAND, IDNO, 0);
  EXPECT_TRUE(process.WaitForExit(kTimeoutMs));
  ::OleUninitialize();
  ::DeleteFileA(mailPath.c_str());
  ResetRegistry(false);
}

}  // namespace
}  // namespace velkor::test
