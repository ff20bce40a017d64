// Velkor.exe as a real process on the demo identity: its reaction to another
// program changing the rules while it runs, and its settings across a restart.
#include <windows.h>
#include <commctrl.h>
#include <shlwapi.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "registry/RegFile.h"
#include "rulestore/RuleStore.h"
#include "registry/Win32Registry.h"
#include "support/ChildProcess_win32.h"

namespace {

constexpr const char* kTitle = "Velkor Ver 1.0";
constexpr const char* kDemoIdentity = "{3F2504E0-4F89-11D3-9A0C-0305E82C3301}";
constexpr const char* kSettingsKey = "Software\\Ostrel Software Development\\Velkor";
constexpr DWORD kTimeoutMs = 15000;

std::string DemoRegPath() {
  std::string path = "Z:" VELKOR_DEMO_REG;
  for (char& c : path)
    if (c == '/') c = '\\';
  return path;
}

// Every test of this program starts from the demo identity and no settings,
// and leaves neither behind.
void ResetRegistry(bool importDemo) {
  ::SHDeleteKeyA(HKEY_CURRENT_USER, "Identities");
  ::SHDeleteKeyA(HKEY_CURRENT_USER, kSettingsKey);
  if (!importDemo) return;
  std::string bytes;
  ASSERT_TRUE(velkor::ReadWholeFile(DemoRegPath(), &bytes)) << DemoRegPath();
  velkor::Win32Registry registry;
  velkor::RegFileError error;
  ASSERT_TRUE(velkor::ImportRegFile(registry, bytes, &error)) << error.line << ": " << error.reason;
}

class DemoIdentityEnvironment : public ::testing::Environment {
 public:
  void SetUp() override { ResetRegistry(true); }
  void TearDown() override { ResetRegistry(false); }
};
const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new DemoIdentityEnvironment);

class Velkor {
 public:
  bool Start() {
    if (!process_.Start("Velkor.exe")) return false;
    for (DWORD start = ::GetTickCount(); ::GetTickCount() - start < kTimeoutMs; ::Sleep(50)) {
      window_ = ::FindWindowA(nullptr, kTitle);
      if (window_ && ::IsWindowVisible(window_)) return true;
    }
    return false;
  }
  HWND Window() const { return window_; }
  DWORD Id() const { return process_.Id(); }
  int RuleCount() const {
    return static_cast<int>(::SendDlgItemMessageA(window_, 1002, LVM_GETITEMCOUNT, 0, 0));
  }
  bool Close() {
    ::PostMessageA(window_, WM_SYSCOMMAND, SC_CLOSE, 0);
    return process_.WaitForExit(kTimeoutMs);
  }

 private:
  velkor::test::ChildProcess process_;
  HWND window_ = nullptr;
};

struct BoxSearch {
  DWORD processId;
  std::string text;
  HWND found = nullptr;
};

BOOL CALLBACK FindStatic(HWND child, LPARAM param) {
  auto* search = reinterpret_cast<BoxSearch*>(param);
  char text[512] = {};
  ::GetWindowTextA(child, text, sizeof text);
  if (search->text == text) {
    search->found = ::GetParent(child);
    return FALSE;
  }
  return TRUE;
}

BOOL CALLBACK FindBox(HWND hwnd, LPARAM param) {
  auto* search = reinterpret_cast<BoxSearch*>(param);
  DWORD pid = 0;
  ::GetWindowThreadProcessId(hwnd, &pid);
  if (pid == search->processId && ::IsWindowVisible(hwnd)) ::EnumChildWindows(hwnd, &FindStatic, param);
  return search->found ? FALSE : TRUE;
}

// A visible window of the process showing exactly this text.
HWND WaitForText(DWORD processId, const std::string& text, DWORD timeoutMs = kTimeoutMs) {
  for (DWORD start = ::GetTickCount(); ::GetTickCount() - start < timeoutMs; ::Sleep(50)) {
    BoxSearch search{processId, text};
    ::EnumWindows(&FindBox, reinterpret_cast<LPARAM>(&search));
    if (search.found) return search.found;
  }
  return nullptr;
}

const char* const kChangedOutside =
    "他のプログラムにより、Outlook Expressのメッセージルールが変更されました。\nメッセージルールを再読み込みします。";

class VelkorProcess : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(::FindWindowA(nullptr, kTitle), nullptr) << "Velkor is already running";
    ResetRegistry(true);
  }
};

TEST_F(VelkorProcess, AnotherProgramAddingARuleIsToldClosesTheOpenDialogAndReloads) {
  Velkor velkor;
  ASSERT_TRUE(velkor.Start());
  const int before = velkor.RuleCount();
  ASSERT_GT(before, 0);
  ::PostMessageA(velkor.Window(), WM_SYSCOMMAND, 0x10, 0);  // the about box, modal over the main window
  HWND about = nullptr;
  for (DWORD start = ::GetTickCount(); !about && ::GetTickCount() - start < kTimeoutMs; ::Sleep(50))
    about = ::FindWindowA(nullptr, "バージョン情報 Velkor");
  ASSERT_NE(about, nullptr);

  {
    velkor::Win32Registry registry;
    // This program does not know the demo's folders: it takes every folder as existing.
    struct AnyFolder : velkor::FolderRefCheck {
      bool HasFolder(const std::uint8_t*, std::size_t) const override { return true; }
    } anyFolder;
    velkor::RuleChecks checks;
    checks.folders = &anyFolder;
    velkor::RuleStore store(registry);
    store.SetChecks(checks);
    store.Load(kDemoIdentity);
    velkor::MailRule& rule = store.Rules().AddNewRule("別のプログラムが追加");
    std::vector<std::uint8_t> words = velkor::EncodeStringList({"other@example.jp"});
    store.SetCriterionValue(rule.Number(), velkor::SlotBit(0), words.data(), static_cast<std::uint32_t>(words.size()),
                            velkor::valuetype::kBytes);
    velkor::NullProgress progress;
    ASSERT_TRUE(store.SaveAll(progress).Ok());
  }

  HWND box = WaitForText(velkor.Id(), kChangedOutside);
  ASSERT_NE(box, nullptr) << "message 106 did not appear";
  ::PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  for (DWORD start = ::GetTickCount(); ::GetTickCount() - start < kTimeoutMs && velkor.RuleCount() != before + 1;)
    ::Sleep(50);
  EXPECT_EQ(velkor.RuleCount(), before + 1);
  EXPECT_FALSE(::IsWindow(about) && ::IsWindowVisible(about)) << "the about box is still open";
  // Once is enough: the reload itself is not reported again.
  EXPECT_EQ(WaitForText(velkor.Id(), kChangedOutside, 1500), nullptr);
  EXPECT_TRUE(velkor.Close());
}

TEST_F(VelkorProcess, WindowPlaceAndIdentitySurviveARestart) {
  {
    Velkor velkor;
    ASSERT_TRUE(velkor.Start());
    ::SetWindowPos(velkor.Window(), nullptr, 23, 29, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    ::Sleep(300);
    ASSERT_TRUE(velkor.Close());
  }
  velkor::Win32Registry registry;
  velkor::RegKey settings(registry);
  ASSERT_EQ(settings.Open(std::string(kSettingsKey) + "\\Settings", velkor::RegAccess::QueryValue),
            velkor::regerr::kSuccess);
  std::string identity;
  EXPECT_TRUE(settings.ReadString("InitialOEUser", &identity));
  EXPECT_EQ(identity, kDemoIdentity);

  Velkor again;
  ASSERT_TRUE(again.Start());
  RECT rect;
  ::GetWindowRect(again.Window(), &rect);
  EXPECT_EQ(rect.left, 23);
  EXPECT_EQ(rect.top, 29);
  EXPECT_TRUE(again.Close());
}

}  // namespace
