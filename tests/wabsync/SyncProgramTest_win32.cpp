// TarnWABSync.exe started as a process under Wine on the demo registry and
// address book, driven from outside through its windows.

#include <gtest/gtest.h>

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <functional>
#include <string>
#include <vector>

#include "addressbook/AddressBook_win32.h"
#include "registry/RegFile.h"
#include "rulestore/RuleBackup.h"
#include "rulestore/RuleModel.h"
#include "registry/Win32Registry.h"
#include "settings/ProfileSection.h"
#include "support/ChildProcess_win32.h"
#include "text/ShiftJis.h"
#include "wabsync/AddressMerge.h"
#include "wabsync/SyncShell_win32.h"
#include "wabsync/SyncTexts.h"
#include "wabsync/wabsync_resource.h"

namespace velkor {
namespace {

const std::string kDemoIdentity = "{3F2504E0-4F89-11D3-9A0C-0305E82C3301}";
const std::string kRules = "Identities\\" + kDemoIdentity + "\\Software\\Microsoft\\Outlook Express\\5.0\\Rules\\Mail";
const std::string kSenderTarget = kRules + "\\000\\Criteria\\000";
const std::string kBodyTarget = kRules + "\\001\\Criteria\\000";
const char* kWabDllPath = "Software\\Microsoft\\WAB\\DLLPath";
const char* kWabFile = "Software\\Microsoft\\WAB\\WAB4\\Wab File Name";

std::string BinDir() {
  std::string program;
  ProgramPath(&program);
  return program.substr(0, program.rfind('\\'));
}

// The source tree as Wine sees it (drive Z: is the Unix root).
std::string SourcePath(const std::string& relative) {
  std::string path = std::string("Z:") + VELKOR_SOURCE_DIR + "/" + relative;
  for (char& c : path)
    if (c == '/') c = '\\';
  return path;
}

bool WaitFor(const std::function<bool()>& condition, DWORD timeoutMs = 15000) {
  const DWORD start = ::GetTickCount();
  while (!condition()) {
    if (::GetTickCount() - start > timeoutMs) return false;
    ::Sleep(50);
  }
  return true;
}

HWND WaitForWindow(const char* className, const char* title) {
  HWND found = nullptr;
  WaitFor([&] { return (found = ::FindWindowA(className, title)) != nullptr && ::IsWindowVisible(found); });
  return found;
}

// A program of the build, started at once.
class Process : public velkor::test::ChildProcess {
 public:
  explicit Process(const std::string& exe, const std::string& arguments = "") { Start(exe, arguments); }
  bool Exited(DWORD timeoutMs = 15000) const { return WaitForExit(timeoutMs); }
};

std::string MessageBoxText(HWND box) {
  char text[2048] = {};
  if (!::GetDlgItemTextA(box, 0xFFFF, text, sizeof text)) ::GetDlgItemTextA(box, 100, text, sizeof text);
  return text;
}

BOOL CALLBACK CountSettingsDialogs(HWND hwnd, LPARAM counter) {
  char title[256] = {};
  ::GetWindowTextA(hwnd, title, sizeof title);
  if (std::string(title) == wabsync::kDialogTitle) ++*reinterpret_cast<int*>(counter);
  return TRUE;
}

std::string WithoutLineBreaks(const std::string& s) { return sjis::RemoveLineBreaksAndTabs(s); }

// The room a window's caption has for its title, and the width the title
// needs in the caption font: the frames and the close button take the rest.
void CaptionRoom(HWND window, int* room, int* needed) {
  NONCLIENTMETRICSA metrics = {};
  metrics.cbSize = sizeof metrics;
  ::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
  RECT frame;
  ::GetWindowRect(window, &frame);
  *room = frame.right - frame.left - 2 * ::GetSystemMetrics(SM_CXDLGFRAME) - metrics.iCaptionWidth - 4;
  char title[256] = {};
  ::GetWindowTextA(window, title, sizeof title);
  HDC dc = ::GetDC(window);
  HFONT font = ::CreateFontIndirectA(&metrics.lfCaptionFont);
  HGDIOBJ old = ::SelectObject(dc, font);
  SIZE size = {};
  ::GetTextExtentPoint32A(dc, title, static_cast<int>(std::strlen(title)), &size);
  ::SelectObject(dc, old);
  ::DeleteObject(font);
  ::ReleaseDC(window, dc);
  *needed = size.cx;
}

class SyncProgramTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // Whatever the prefix held is put back afterwards.
    savedIdentities_ = ExportRegFile(reg, RegRoot::CurrentUser, {"Identities"}, RegFileFormat::Regedit4);
    savedSettings_ = ExportRegFile(reg, RegRoot::CurrentUser, {std::string(kApplicationKey) + "\\Wab Sync"},
                                   RegFileFormat::Regedit4);
    RegKey identities(reg);
    if (identities.Open("", RegAccess::All) == regerr::kSuccess) identities.DeleteKeyTree("Identities");
    identities.Close();
    ClearSettings();
    std::string demo;
    ASSERT_TRUE(ReadWholeFile(SourcePath("data/demo/demo.reg"), &demo));
    RegFileError error;
    ASSERT_TRUE(ImportRegFile(reg, demo, &error)) << error.line << " " << error.reason;

    RegKey lm(reg);
    ASSERT_EQ(lm.Create(kWabDllPath, RegRoot::LocalMachine), regerr::kSuccess);
    hadDllPath_ = lm.ReadString("", &oldDllPath_);
    lm.WriteString("", BinDir() + "\\velkor-wab.dll");
    RegKey file(reg);
    ASSERT_EQ(file.Create(kWabFile), regerr::kSuccess);
    hadWabFile_ = file.ReadString("", &oldWabFile_);
    file.WriteString("", SourcePath("data/demo/addressbook.vcf"));
    ProfileSection(reg, "Wab Sync").SetInt("ShowResult", 0);
    RemoveShortcut();
  }

  void TearDown() override {
    RegKey root(reg);
    if (root.Open("", RegAccess::All) == regerr::kSuccess) root.DeleteKeyTree("Identities");
    ClearSettings();
    RegKey lm(reg);
    if (lm.Open(kWabDllPath, RegAccess::All, RegRoot::LocalMachine) == regerr::kSuccess) {
      if (hadDllPath_)
        lm.WriteString("", oldDllPath_);
      else
        lm.DeleteValue("");
    }
    RegKey file(reg);
    if (file.Open(kWabFile, RegAccess::All) == regerr::kSuccess) {
      if (hadWabFile_)
        file.WriteString("", oldWabFile_);
      else
        file.DeleteValue("");
    }
    RemoveShortcut();
    RegFileError error;
    if (savedIdentities_.find("[HKEY_CURRENT_USER") != std::string::npos) ImportRegFile(reg, savedIdentities_, &error);
    if (savedSettings_.find("[HKEY_CURRENT_USER") != std::string::npos) ImportRegFile(reg, savedSettings_, &error);
  }

  void ClearSettings() {
    RegKey app(reg);
    if (app.Open(kApplicationKey, RegAccess::All) == regerr::kSuccess) app.DeleteKeyTree("Wab Sync");
  }
  static std::string Shortcut() {
    std::string path;
    StartupShortcutPath(&path);
    return path;
  }
  static void RemoveShortcut() { ::DeleteFileA(Shortcut().c_str()); }
  static bool ShortcutExists() { return ::GetFileAttributesA(Shortcut().c_str()) != INVALID_FILE_ATTRIBUTES; }

  // OK in the settings window, then はい to "sync now?"; the settings window,
  // or null when a window did not come.
  static HWND PressOkAndSyncNow() {
    HWND dialog = WaitForWindow(nullptr, wabsync::kDialogTitle);
    if (!dialog) return nullptr;
    ::PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_SYNC_OK, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(dialog, IDC_SYNC_OK)));
    HWND question = WaitForWindow("#32770", wabsync::kSyncNowCaption);
    if (!question) return nullptr;
    ::PostMessageA(question, WM_COMMAND, IDYES, 0);
    return dialog;
  }

  std::string RulesDump() { return ExportRegFile(reg, RegRoot::CurrentUser, {"Identities"}, RegFileFormat::Regedit4); }
  std::vector<std::string> List(const std::string& path) {
    RegKey key(reg);
    std::vector<std::uint8_t> bytes;
    if (key.Open(path, RegAccess::Read) != regerr::kSuccess || !key.ReadBytes("Value", &bytes)) return {"<none>"};
    return DecodeStringList(bytes.data(), bytes.size());
  }
  // The dump without the "Value" lines of the two safe-list criteria.
  std::string DumpWithoutTargets() {
    std::string out;
    bool inTarget = false;
    for (const std::string& line : sjis::SplitLines(RulesDump())) {
      if (!line.empty() && line[0] == '[')
        inTarget = line == "[HKEY_CURRENT_USER\\" + kSenderTarget + "]" || line == "[HKEY_CURRENT_USER\\" + kBodyTarget + "]";
      if (inTarget && line.rfind("\"Value\"=", 0) == 0) {
        skippedValues++;
        continue;
      }
      // Continuation lines of a long hex value start with blanks.
      if (inTarget && !line.empty() && line[0] == ' ') continue;
      out += line + "\n";
    }
    return out;
  }

  // The demo identity's backups, newest first.
  std::vector<std::string> BackupPaths() {
    const std::unique_ptr<BackupFileSystem> files = MakeLocalFileSystem();
    RuleBackup backup(reg, *files, DefaultBackupRoot());
    std::vector<std::string> paths;
    for (const BackupInfo& info : backup.List(kDemoIdentity)) paths.push_back(info.path);
    return paths;
  }

  Win32Registry reg;
  int skippedValues = 0;

 private:
  bool hadDllPath_ = false;
  bool hadWabFile_ = false;
  std::string oldDllPath_;
  std::string oldWabFile_;
  std::string savedIdentities_;
  std::string savedSettings_;
};

TEST_F(SyncProgramTest, SilentSyncRewritesExactlyTheTwoCriteria) {
  const std::string before = DumpWithoutTargets();
  const std::vector<std::string> senderBefore = List(kSenderTarget);
  const std::string storedBefore = ExportRulesText(reg, kDemoIdentity);
  const std::vector<std::string> backupsBefore = BackupPaths();

  Process sync("TarnWABSync.exe", "/SYNC");
  ASSERT_TRUE(sync.Started());
  ASSERT_TRUE(sync.Exited());
  EXPECT_EQ(DumpWithoutTargets(), before);

  // What the address book holds, read the same way in this process.
  AddressBook book(reg);
  ASSERT_TRUE(book.Open());
  ASSERT_EQ(book.Load(), 0);
  std::vector<std::string> raw;
  for (std::size_t i = 0; i < book.Count(); ++i) raw.push_back(book.AddressAt(i));
  const std::vector<std::string> usable = UsableAddresses(raw);
  ASSERT_GE(usable.size(), 10u);
  const std::vector<std::string> own = {"hanako@example.ne.jp", "hanako.k@example.jp"};

  const std::vector<std::string> sender = List(kSenderTarget);
  const std::vector<std::string> body = List(kBodyTarget);
  // Add only: the hand-added entries stay in front, in their order.
  ASSERT_GE(sender.size(), senderBefore.size());
  EXPECT_TRUE(std::equal(senderBefore.begin(), senderBefore.end(), sender.begin()));
  for (const std::vector<std::string>* list : {&sender, &body}) {
    for (const std::string& a : usable) {
      const bool isOwn = sjis::EqualsIgnoreCase(a, own[0]) || sjis::EqualsIgnoreCase(a, own[1]);
      const int count = static_cast<int>(std::count_if(list->begin(), list->end(),
                                                       [&](const std::string& e) { return sjis::EqualsIgnoreCase(e, a); }));
      EXPECT_EQ(count, isOwn ? 0 : 1) << a;
    }
    for (const std::string& e : *list) EXPECT_NE(e, wabsync::kDummyAddress);
  }
  // The body list held only the own addresses: now exactly the book's other addresses.
  EXPECT_EQ(body.front(), "taro.yamada@example.jp");

  // The editor's backup of what was stored, in the folder its restore list reads.
  const std::vector<std::string> backupsAfter = BackupPaths();
  ASSERT_EQ(backupsAfter.size(), std::min<std::size_t>(backupsBefore.size() + 1, RuleBackup::kKeep));
  EXPECT_EQ(std::count(backupsBefore.begin(), backupsBefore.end(), backupsAfter.front()), 0);
  std::string backupText;
  ASSERT_TRUE(ReadWholeFile(backupsAfter.front(), &backupText));
  EXPECT_EQ(backupText, storedBefore);

  // A second run with the same book changes nothing and backs up nothing.
  const std::string afterFirst = RulesDump();
  Process again("TarnWABSync.exe", "/sync");
  ASSERT_TRUE(again.Exited());
  EXPECT_EQ(RulesDump(), afterFirst);
  EXPECT_EQ(BackupPaths(), backupsAfter);
}

TEST_F(SyncProgramTest, FullSyncFromTheDialogAsksBeforeRemovingHandEnteredAddresses) {
  ProfileSection(reg, "Wab Sync").SetInt("Type", 0);
  const std::string before = RulesDump();
  const std::vector<std::string> hand = List(kSenderTarget);
  Process settings("TarnWABSync.exe");
  HWND dialog = PressOkAndSyncNow();
  ASSERT_TRUE(dialog);
  HWND removal = WaitForWindow("#32770", wabsync::kTitle);
  ASSERT_TRUE(removal);
  const std::string text = MessageBoxText(removal);
  EXPECT_EQ(text.rfind("完全同期を実行すると、", 0), 0u) << text;
  EXPECT_NE(text.find(wabsync::kSenderRuleName), std::string::npos) << text;
  EXPECT_NE(text.find("　　" + hand.front() + "\r\n"), std::string::npos) << text;
  ::PostMessageA(removal, WM_COMMAND, IDNO, 0);
  // No: nothing is written and the dialog stays for another choice.
  ASSERT_TRUE(WaitFor([&] { return !::IsWindow(removal); }));
  EXPECT_FALSE(settings.Exited(500));
  EXPECT_EQ(RulesDump(), before);
  ::PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
  EXPECT_TRUE(settings.Exited());
}

TEST_F(SyncProgramTest, RefusesWhileOutlookExpressRuns) {
  // The process alone counts, with no window of it open.
  HANDLE ready = ::CreateEventA(nullptr, TRUE, FALSE, "TarnWABSyncTest.OutlookReady");
  Process outlook("msimn.exe", "/ready:TarnWABSyncTest.OutlookReady /timeout:60000");
  ASSERT_TRUE(outlook.Started());
  ASSERT_EQ(::WaitForSingleObject(ready, 15000), WAIT_OBJECT_0);
  ::CloseHandle(ready);
  const std::string before = RulesDump();

  Process sync("TarnWABSync.exe", "/sync");
  HWND box = WaitForWindow("#32770", wabsync::kTitle);
  ASSERT_TRUE(box);
  EXPECT_EQ(WithoutLineBreaks(MessageBoxText(box)), WithoutLineBreaks(wabsync::kOutlookExpressRunning));
  EXPECT_FALSE(::FindWindowA(nullptr, wabsync::kDialogTitle));
  ::PostMessageA(box, WM_COMMAND, IDOK, 0);
  EXPECT_TRUE(sync.Exited());
  EXPECT_EQ(RulesDump(), before);
}

TEST_F(SyncProgramTest, WhileTheEditorRunsSyncShowsTheDialogInstead) {
  HANDLE editor = ::CreateMutexA(nullptr, FALSE, wabsync::kEditorMutex);
  const std::string before = RulesDump();
  Process sync("TarnWABSync.exe", "/sync");
  HWND dialog = WaitForWindow(nullptr, wabsync::kDialogTitle);
  ASSERT_TRUE(dialog);
  EXPECT_TRUE(::GetWindowLongA(dialog, GWL_EXSTYLE) & WS_EX_TOPMOST);
  ::PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
  EXPECT_TRUE(sync.Exited());
  EXPECT_EQ(RulesDump(), before);
  ::CloseHandle(editor);
}

TEST_F(SyncProgramTest, OkKeepsTheStartupShortcutAsChecked) {
  // With the editor running OK saves and closes after a note, without syncing.
  HANDLE editor = ::CreateMutexA(nullptr, FALSE, wabsync::kEditorMutex);
  std::string program = BinDir() + "\\TarnWABSync.exe";
  for (bool keep : {true, false}) {
    Process settings("TarnWABSync.exe");
    HWND dialog = WaitForWindow(nullptr, wabsync::kDialogTitle);
    ASSERT_TRUE(dialog);
    HWND check = ::GetDlgItem(dialog, IDC_SYNC_STARTUP);
    // The box shows the stored setting: off at first, on after the first round.
    EXPECT_EQ(::SendMessageA(check, BM_GETCHECK, 0, 0), keep ? BST_UNCHECKED : BST_CHECKED);
    ::SendMessageA(check, BM_SETCHECK, keep ? BST_CHECKED : BST_UNCHECKED, 0);
    ::PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_SYNC_OK, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(dialog, IDC_SYNC_OK)));
    HWND note = WaitForWindow("#32770", wabsync::kSavedCaption);
    ASSERT_TRUE(note);
    EXPECT_EQ(WithoutLineBreaks(MessageBoxText(note)), WithoutLineBreaks(wabsync::kSavedEditorRunning));
    ::PostMessageA(note, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(settings.Exited());
    EXPECT_EQ(ProfileSection(reg, "Wab Sync").GetInt("StartUp", -1), keep ? 1 : 0);
    EXPECT_EQ(ShortcutExists(), keep);
    if (!keep) continue;

    // A real shell link to this program with "/sync".
    ASSERT_TRUE(SUCCEEDED(::CoInitialize(nullptr)));
    IShellLinkA* link = nullptr;
    ASSERT_TRUE(SUCCEEDED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                             reinterpret_cast<void**>(&link))));
    IPersistFile* file = nullptr;
    ASSERT_TRUE(SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))));
    WCHAR wide[MAX_PATH];
    ::MultiByteToWideChar(CP_ACP, 0, Shortcut().c_str(), -1, wide, MAX_PATH);
    ASSERT_TRUE(SUCCEEDED(file->Load(wide, STGM_READ)));
    char text[MAX_PATH] = {};
    link->GetPath(text, MAX_PATH, nullptr, 0);
    EXPECT_TRUE(sjis::EqualsIgnoreCase(text, program)) << text;
    link->GetArguments(text, MAX_PATH);
    EXPECT_STREQ(text, "/sync");
    link->GetDescription(text, MAX_PATH);
    EXPECT_STREQ(text, wabsync::kShortcutDescription);
    file->Release();
    link->Release();
    ::CoUninitialize();
  }
  ::CloseHandle(editor);
}

TEST_F(SyncProgramTest, OkThenYesSynchronisesAndCloses) {
  ProfileSection(reg, "Wab Sync").SetInt("ShowResult", 1);
  Process settings("TarnWABSync.exe");
  HWND dialog = PressOkAndSyncNow();
  ASSERT_TRUE(dialog);
  HWND done = WaitForWindow("#32770", wabsync::kTitle);
  ASSERT_TRUE(done);
  // The whole title shows: a message box is as wide as its text needs, not its title.
  int room = 0, needed = 0;
  CaptionRoom(done, &room, &needed);
  EXPECT_GE(room, needed);
  // Finished, with the counts of the run.
  EXPECT_EQ(MessageBoxText(done).rfind(std::string(wabsync::kFinished) + "\r\n\r\n追加したアドレス： ", 0), 0u)
      << MessageBoxText(done);
  ::PostMessageA(done, WM_COMMAND, IDOK, 0);
  ASSERT_TRUE(settings.Exited());
  EXPECT_EQ(List(kBodyTarget).front(), "taro.yamada@example.jp");
}

TEST_F(SyncProgramTest, ASecondStartBringsTheOpenDialogBack) {
  Process first("TarnWABSync.exe");
  HWND dialog = WaitForWindow(nullptr, wabsync::kDialogTitle);
  ASSERT_TRUE(dialog);
  ::ShowWindow(dialog, SW_MINIMIZE);
  ASSERT_TRUE(WaitFor([&] { return ::IsIconic(dialog) != FALSE; }));

  Process second("TarnWABSync.exe");
  ASSERT_TRUE(second.Exited());
  EXPECT_TRUE(WaitFor([&] { return ::IsIconic(dialog) == FALSE; }, 5000));
  // Still the one dialog of the first instance.
  int dialogs = 0;
  ::EnumWindows(&CountSettingsDialogs, reinterpret_cast<LPARAM>(&dialogs));
  EXPECT_EQ(dialogs, 1);
  EXPECT_FALSE(first.Exited(0));
  ::PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
  EXPECT_TRUE(first.Exited());
}

}  // namespace
}  // namespace velkor
