// Velkor.exe as a real process on a registry with one rule per criterion
// kind: stepping through the rules with the arrow key shows each rule's first
// criterion, and the pane's controls hold the stored values.
#include <windows.h>
#include <commctrl.h>
#include <shlwapi.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../rulestore/RuleTestSupport.h"
#include "registry/Win32Registry.h"
#include "rulestore/RuleStore.h"
#include "settings/ProfileSection.h"
#include "settings/VelkorSettings.h"
#include "support/ChildProcess_win32.h"

namespace velkor::test {
namespace {

constexpr const char* kTitle = "Velkor Ver 1.0";
constexpr const char* kIdentity = "{C1000000-0000-0000-0000-0000000000C1}";
constexpr DWORD kTimeoutMs = 15000;

void Reset() {
  ::SHDeleteKeyA(HKEY_CURRENT_USER, "Identities");
  ::SHDeleteKeyA(HKEY_CURRENT_USER, kApplicationKey);
}

void SeedOneRulePerKind(RegistryAccess& reg) {
  SeedIdentity(reg, kIdentity, "鈴木");
  const std::string rules = RulesMailPath(IdentityBasePath(kIdentity));
  WriteRulesHeader(reg, rules, "000 001 002 003 004");
  const std::vector<std::vector<SeedItem>> criteria = {
      {Words(crit::kBody, {"未承諾広告", "出会い", "儲かる"})},
      {Number(crit::kPriority, 1)},
      {Text(crit::kAccount, "00000002")},
      {Number(crit::kSize, 512)},
      {Number(crit::kSecurity, 2)},
  };
  for (std::size_t i = 0; i < criteria.size(); ++i)
    WriteSeedRule(reg, rules, FormatKeyName(static_cast<std::uint32_t>(i)), "rule", 1, 1, criteria[i],
                  {Plain(act::kStop)});
  for (const char* id : {"00000001", "00000002"})
    SeedAccount(reg, IdentityAccountsPath(kIdentity), id, std::string(id) == "00000001" ? "仕事" : "自宅",
                std::string(id) + "@example.jp", "鈴木");
  VelkorSettings settings;
  settings.initialOEUser = kIdentity;
  settings.initialRule = 0;
  ASSERT_TRUE(settings.SaveMainWindow(reg));
}

std::string TextOf(HWND control) {
  char text[512] = {};
  ::SendMessageA(control, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
  return text;
}

TEST(CriteriaPaneProcess, EachPaneKindShowsTheStoredValue) {
  ASSERT_EQ(::FindWindowA(nullptr, kTitle), nullptr) << "Velkor is already running";
  Reset();
  Win32Registry registry;
  SeedOneRulePerKind(registry);

  ChildProcess process;
  ASSERT_TRUE(process.Start("Velkor.exe"));
  HWND window = nullptr;
  for (DWORD start = ::GetTickCount(); !window && ::GetTickCount() - start < kTimeoutMs; ::Sleep(50)) {
    window = ::FindWindowA(nullptr, kTitle);
    if (window && !::IsWindowVisible(window)) window = nullptr;
  }
  ASSERT_NE(window, nullptr);
  auto control = [window](int id) { return ::GetDlgItem(window, id); };
  auto visible = [&](int id) { return ::IsWindowVisible(control(id)) != FALSE; };

  struct Case {
    int shown;          // the value control shown
    std::string label;  // label 1015
    std::string value;  // combo or edit text; for the word list its item count
  };
  const std::vector<Case> cases = {
      {1006, "", "3"},
      {1014, "重要度の条件", "重要度－\"低\""},
      {1014, "アカウントの条件", "自宅"},
      {1016, "指定サイズ：0～32767(KB）", "512"},
      {1014, "セキュリティー状態の条件", "暗号化されたメッセー"},
  };
  for (std::size_t i = 0; i < cases.size(); ++i) {
    SCOPED_TRACE(i);
    const Case& c = cases[i];
    if (i > 0) {
      ::PostMessageA(control(1002), WM_KEYDOWN, VK_DOWN, 0);
      ::PostMessageA(control(1002), WM_KEYUP, VK_DOWN, 0);
    }
    bool shown = false;
    for (DWORD start = ::GetTickCount(); !shown && ::GetTickCount() - start < kTimeoutMs; ::Sleep(50))
      shown = visible(c.shown) && (c.shown == 1006 || TextOf(control(1015)) == c.label);
    ASSERT_TRUE(shown);
    for (int id : {1006, 1014, 1016}) EXPECT_EQ(visible(id), id == c.shown) << id;
    if (c.shown == 1006)
      EXPECT_EQ(std::to_string(::SendMessageA(control(1006), LVM_GETITEMCOUNT, 0, 0)), c.value);
    else
      EXPECT_EQ(TextOf(control(c.shown)), c.value);
  }

  // Nothing was changed by showing: the window closes without a question.
  ::PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_TRUE(process.WaitForExit(kTimeoutMs));
  Reset();
}

}  // namespace
}  // namespace velkor::test
