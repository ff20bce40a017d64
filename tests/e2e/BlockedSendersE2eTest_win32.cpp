// Velkor.exe as a real process: the blocked senders edited through the
// keyboard (Ins, typing, Enter; Ctrl+A, Del), saved, and read back.
#include <windows.h>
#include <commctrl.h>
#include <shlwapi.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "registry/RegFile.h"
#include "settings/ProfileSection.h"
#include "registry/Win32Registry.h"
#include "rulestore/BlockedSenderList.h"
#include "rulestore/RuleStore.h"
#include "support/ChildProcess_win32.h"
#include "support/UserInput_win32.h"

namespace {

using namespace velkor::test;

constexpr const char* kTitle = "Velkor Ver 1.0";
constexpr const char* kIdentity = "{3F2504E0-4F89-11D3-9A0C-0305E82C3301}";
constexpr int kBlockedList = 1001;
constexpr int kSaveButton = 1036;
constexpr DWORD kTimeoutMs = 15000;

void ImportDemo() {
  ::SHDeleteKeyA(HKEY_CURRENT_USER, "Identities");
  // Window place and identity left by the tests before: the clicks below need
  // the window where a first start puts it.
  ::SHDeleteKeyA(HKEY_CURRENT_USER, velkor::kApplicationKey);
  std::string path = "Z:" VELKOR_DEMO_REG;
  for (char& c : path)
    if (c == '/') c = '\\';
  std::string bytes;
  ASSERT_TRUE(velkor::ReadWholeFile(path, &bytes)) << path;
  velkor::Win32Registry registry;
  velkor::RegFileError error;
  ASSERT_TRUE(velkor::ImportRegFile(registry, bytes, &error)) << error.line << ": " << error.reason;
  // Without the demo's mail store its move actions would not pass the save's
  // check; the blocked senders are what this test saves.
  ::SHDeleteKeyA(HKEY_CURRENT_USER, velkor::RulesMailPath(velkor::IdentityBasePath(kIdentity)).c_str());
}

std::vector<std::string> StoredBlocked() {
  velkor::Win32Registry registry;
  velkor::BlockedSenderList list(velkor::IdentityBasePath(kIdentity));
  list.Load(registry);
  return list.Addresses();
}

int RowCount(HWND list) { return static_cast<int>(::SendMessageA(list, LVM_GETITEMCOUNT, 0, 0)); }

template <class Done>
bool WaitFor(Done done) {
  for (DWORD start = ::GetTickCount(); ::GetTickCount() - start < kTimeoutMs; ::Sleep(50))
    if (done()) return true;
  return false;
}

// The visible message box of the process whose title is `caption`.
HWND FindBox(const char* caption) {
  HWND box = ::FindWindowA("#32770", caption);
  return box && ::IsWindowVisible(box) ? box : nullptr;
}

TEST(BlockedSendersThroughTheKeyboard, InsertTypeEnterThenSelectAllDeleteAndSave) {
  ASSERT_EQ(::FindWindowA(nullptr, kTitle), nullptr) << "Velkor is already running";
  ImportDemo();
  const std::vector<std::string> before = StoredBlocked();
  velkor::test::ChildProcess velkor;
  ASSERT_TRUE(velkor.Start("Velkor.exe"));
  HWND window = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (window = ::FindWindowA(nullptr, kTitle)) && ::IsWindowVisible(window); }));
  HWND list = ::GetDlgItem(window, kBlockedList);
  ASSERT_EQ(RowCount(list), static_cast<int>(before.size()));

  // A click on the empty part of the list gives it the focus.
  RECT rect;
  ::GetWindowRect(list, &rect);
  const POINT empty{(rect.left + rect.right) / 2, rect.bottom - 8};
  ASSERT_TRUE(FocusByClick(list, empty));
  Press(VK_INSERT);
  ASSERT_TRUE(WaitFor([&] { return ::SendMessageA(list, LVM_GETEDITCONTROL, 0, 0) != 0; }));
  TypeText(L"typed@e2e.example");
  Press(VK_RETURN);
  ASSERT_TRUE(WaitFor([&] { return ::IsWindowEnabled(::GetDlgItem(window, kSaveButton)) != FALSE; }));
  EXPECT_EQ(RowCount(list), static_cast<int>(before.size()) + 1);
  ::PostMessageA(window, WM_COMMAND, MAKEWPARAM(kSaveButton, BN_CLICKED), 0);
  ASSERT_TRUE(WaitFor([&] { return StoredBlocked().size() == before.size() + 1; }));
  std::vector<std::string> saved = StoredBlocked();
  EXPECT_NE(std::find(saved.begin(), saved.end(), "typed@e2e.example"), saved.end());

  // Ctrl+A, Del and Yes empty the list; the save writes that.
  ASSERT_TRUE(WaitFor([&] { return !::IsWindowEnabled(::GetDlgItem(window, kSaveButton)); }));
  ASSERT_TRUE(FocusByClick(list, empty));
  Press('A', VK_CONTROL);
  Press(VK_DELETE);
  HWND box = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (box = FindBox("選択項目の削除（禁止された送信者）")) != nullptr; }));
  ::PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDYES, BN_CLICKED), 0);
  ASSERT_TRUE(WaitFor([&] { return RowCount(list) == 0; }));
  ::PostMessageA(window, WM_COMMAND, MAKEWPARAM(kSaveButton, BN_CLICKED), 0);
  EXPECT_TRUE(WaitFor([&] { return StoredBlocked().empty(); }));

  ::PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_TRUE(velkor.WaitForExit(kTimeoutMs));
  ImportDemo();
}

}  // namespace
