// The road of the two address-book safe lists: Velkor.exe creates them from a
// vCard address book through its rule menu command, saves and closes; a
// contact is added to the address book; TarnWABSync.exe /sync brings the new
// address into both rules.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "registry/RegFile.h"
#include "registry/Win32Registry.h"
#include "res/resource.h"
#include "rulestore/RuleStore.h"
#include "settings/ProfileSection.h"
#include "support/ChildProcess_win32.h"
#include "templates/RuleTemplates.h"

namespace velkor {
namespace {

const std::string kIdentity = "{5D0C6A11-7E2B-4C39-9E1A-00000000E2E1}";
const char* const kWabDllPath = "Software\\Microsoft\\WAB\\DLLPath";
const char* const kWabFile = "Software\\Microsoft\\WAB\\WAB4\\Wab File Name";
const char* const kMainTitle = "Velkor Ver 1.0";
constexpr DWORD kTimeoutMs = 20000;

bool WaitFor(const std::function<bool()>& condition, DWORD timeoutMs = kTimeoutMs) {
  for (DWORD start = ::GetTickCount(); !condition(); ::Sleep(50))
    if (::GetTickCount() - start > timeoutMs) return false;
  return true;
}

struct Search {
  DWORD processId;
  std::function<bool(HWND)> match;
  HWND found = nullptr;
};

BOOL CALLBACK Visit(HWND hwnd, LPARAM param) {
  auto* search = reinterpret_cast<Search*>(param);
  DWORD pid = 0;
  ::GetWindowThreadProcessId(hwnd, &pid);
  if (pid == search->processId && ::IsWindowVisible(hwnd) && search->match(hwnd)) search->found = hwnd;
  return search->found ? FALSE : TRUE;
}

// A visible top-level window of the process that `match` accepts.
HWND WaitForWindow(DWORD processId, std::function<bool(HWND)> match) {
  Search search{processId, std::move(match)};
  WaitFor([&] {
    ::EnumWindows(&Visit, reinterpret_cast<LPARAM>(&search));
    return search.found != nullptr;
  });
  return search.found;
}

// WM_GETTEXT: GetWindowText does not ask a control of another process.
std::string TextOf(HWND hwnd) {
  char text[4096] = {};
  ::SendMessageA(hwnd, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
  return text;
}

// The template list: its title, and the list control inside.
bool IsTemplateList(HWND hwnd) {
  return TextOf(hwnd) == templatetext::kDialogTitle && ::GetDlgItem(hwnd, IDC_TEMPLATE_LIST);
}

// A message box showing exactly this text.
std::function<bool(HWND)> MessageBoxWith(const std::string& text) {
  return [text](HWND hwnd) { return TextOf(::GetDlgItem(hwnd, 0xFFFF)) == text; };
}

void WriteContacts(const std::string& path, const std::vector<std::string>& addresses) {
  std::ofstream out(path, std::ios::binary);
  int n = 0;
  for (const std::string& address : addresses) {
    out << "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Contact " << ++n << "\r\nEMAIL;TYPE=INTERNET,PREF:" << address
        << "\r\nEND:VCARD\r\n";
  }
}

class TemplateSyncRoad : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_ = ExportRegFile(reg_, RegRoot::CurrentUser, {"Identities", kApplicationKey}, RegFileFormat::Regedit4);
    RegKey root(reg_);
    ASSERT_EQ(root.Open("", RegAccess::All), regerr::kSuccess);
    root.DeleteKeyTree("Identities");
    root.DeleteKeyTree(kApplicationKey);

    RegKey identities(reg_);
    ASSERT_EQ(identities.Create("Identities"), regerr::kSuccess);
    identities.WriteString("Default User ID", kIdentity);
    RegKey identity(reg_);
    ASSERT_EQ(identity.Create("Identities\\" + kIdentity), regerr::kSuccess);
    identity.WriteString("Username", "テンプレート");
    RegKey account(reg_);
    ASSERT_EQ(account.Create("Identities\\" + kIdentity +
                             "\\Software\\Microsoft\\Internet Account Manager\\Accounts\\00000001"),
              regerr::kSuccess);
    account.WriteString("Account Name", "mail");
    account.WriteString("SMTP Email Address", "Me@Example.jp");
    account.WriteString("SMTP Display Name", "自分");
    ProfileSection(reg_, "Wab Sync").SetInt("ShowResult", 0);

    char temp[MAX_PATH] = {};
    ::GetTempPathA(MAX_PATH, temp);
    // The sync leaves out identities without a mail store.
    RegKey oe(reg_);
    ASSERT_EQ(oe.Create("Identities\\" + kIdentity + "\\Software\\Microsoft\\Outlook Express\\5.0"), regerr::kSuccess);
    oe.WriteString("Store Root", temp);
    vcf_ = std::string(temp) + "velkor-templates-e2e.vcf";
    WriteContacts(vcf_, {"friend@example.jp", "me@example.jp", " Friend@EXAMPLE.jp "});
    RegKey lm(reg_);
    ASSERT_EQ(lm.Create(kWabDllPath, RegRoot::LocalMachine), regerr::kSuccess);
    hadDllPath_ = lm.ReadString("", &oldDllPath_);
    lm.WriteString("", test::ProgramBeside("velkor-wab.dll"));
    RegKey file(reg_);
    ASSERT_EQ(file.Create(kWabFile), regerr::kSuccess);
    hadWabFile_ = file.ReadString("", &oldWabFile_);
    file.WriteString("", vcf_);
  }

  void TearDown() override {
    RegKey root(reg_);
    if (root.Open("", RegAccess::All) == regerr::kSuccess) {
      root.DeleteKeyTree("Identities");
      root.DeleteKeyTree(kApplicationKey);
    }
    RegKey lm(reg_);
    if (lm.Open(kWabDllPath, RegAccess::All, RegRoot::LocalMachine) == regerr::kSuccess)
      hadDllPath_ ? lm.WriteString("", oldDllPath_) : lm.DeleteValue("");
    RegKey file(reg_);
    if (file.Open(kWabFile, RegAccess::All) == regerr::kSuccess)
      hadWabFile_ ? file.WriteString("", oldWabFile_) : file.DeleteValue("");
    ::DeleteFileA(vcf_.c_str());
    RegFileError error;
    if (saved_.find("[HKEY_CURRENT_USER") != std::string::npos) ImportRegFile(reg_, saved_, &error);
  }

  // The word list of the rule named `name`, criterion slot `slot`, as stored.
  std::vector<std::string> StoredWords(const std::string& name, int slot) {
    RuleStore store(reg_);
    store.Load(kIdentity);
    for (int i = 0; i < store.Rules().Count(); ++i) {
      const MailRule& rule = store.Rules().At(i);
      if (rule.Name() != name) continue;
      const RuleCriterion* c = rule.Criteria()->ForSlotBit(SlotBit(slot));
      return DecodeStringList(c->ValueData(), c->ValueSize());
    }
    return {"<no rule>"};
  }

  // Creates template `id` in the running editor as a user would: the rule
  // menu command, the row chosen with the keyboard, OK, the success message.
  void CreateFromTemplate(const test::ChildProcess& velkor, HWND main, int id) {
    ::PostMessageA(main, WM_COMMAND, MAKEWPARAM(ID_RULE_CREATE_TEMPLATE, 0), 0);
    HWND list = WaitForWindow(velkor.Id(), IsTemplateList);
    ASSERT_NE(list, nullptr) << "the template list did not open";
    HWND rows = ::GetDlgItem(list, IDC_TEMPLATE_LIST);
    const std::vector<RuleTemplateId>& order = TemplateRowOrder();
    int row = static_cast<int>(std::find(order.begin(), order.end(), id) - order.begin());
    ::PostMessageA(rows, WM_KEYDOWN, VK_HOME, 0);
    for (int i = 0; i < row; ++i) ::PostMessageA(rows, WM_KEYDOWN, VK_DOWN, 0);
    ASSERT_TRUE(WaitFor([&] { return TextOf(::GetDlgItem(list, IDC_TEMPLATE_DESCRIPTION)) == TemplateAt(id).description; }));
    ::PostMessageA(list, WM_COMMAND, MAKEWPARAM(IDC_TEMPLATE_OK, BN_CLICKED), 0);
    HWND box = WaitForWindow(velkor.Id(), MessageBoxWith(TemplateSuccessMessage(id, TemplateAt(id).ruleName)));
    ASSERT_NE(box, nullptr) << "no success message for template " << id;
    ::PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    ASSERT_TRUE(WaitFor([&] { return !::IsWindow(box); }));
  }

  Win32Registry reg_;
  std::string saved_;
  std::string vcf_;
  bool hadDllPath_ = false, hadWabFile_ = false;
  std::string oldDllPath_, oldWabFile_;
};

TEST_F(TemplateSyncRoad, BothAddressBookSafeListsAreCreatedSavedAndThenSynchronised) {
  const char* sender = TemplateAt(kTrustedSenderTemplate).ruleName;
  const char* body = TemplateAt(kTrustedBodyTemplate).ruleName;
  {
    test::ChildProcess velkor;
    ASSERT_TRUE(velkor.Start("Velkor.exe"));
    HWND main = WaitForWindow(velkor.Id(), [](HWND hwnd) { return TextOf(hwnd) == kMainTitle; });
    ASSERT_NE(main, nullptr);
    CreateFromTemplate(velkor, main, kTrustedSenderTemplate);
    CreateFromTemplate(velkor, main, kTrustedBodyTemplate);
    HWND rules = ::GetDlgItem(main, IDC_RULE_LIST);
    EXPECT_EQ(2, ::SendMessageA(rules, LVM_GETITEMCOUNT, 0, 0));
    HWND save = ::GetDlgItem(main, IDC_SAVE);
    ASSERT_TRUE(WaitFor([&] { return ::IsWindowEnabled(save) != FALSE; }));
    ::PostMessageA(main, WM_COMMAND, MAKEWPARAM(IDC_SAVE, BN_CLICKED), reinterpret_cast<LPARAM>(save));
    ASSERT_TRUE(WaitFor([&] { return ::IsWindowEnabled(save) == FALSE; })) << "the save did not finish";
    ::PostMessageA(main, WM_SYSCOMMAND, SC_CLOSE, 0);
    ASSERT_TRUE(velkor.WaitForExit(kTimeoutMs));
  }
  // The address book's one other address, in its first spelling; never the own one.
  const std::vector<std::string> first{"friend@example.jp"};
  EXPECT_EQ(first, StoredWords(sender, 0));
  EXPECT_EQ(first, StoredWords(body, 2));

  WriteContacts(vcf_, {"friend@example.jp", "me@example.jp", " Friend@EXAMPLE.jp ", "new.contact@example.org"});
  test::ChildProcess sync;
  ASSERT_TRUE(sync.Start("TarnWABSync.exe", "/sync"));
  ASSERT_TRUE(sync.WaitForExit(kTimeoutMs));
  for (const auto& list : {StoredWords(sender, 0), StoredWords(body, 2)}) {
    EXPECT_NE(list.end(), std::find(list.begin(), list.end(), "new.contact@example.org"));
    EXPECT_NE(list.end(), std::find(list.begin(), list.end(), "friend@example.jp"));
  }
}

}  // namespace
}  // namespace velkor
