// The settings dialog created in-process on a MemoryRegistry, driven by window
// messages, with message boxes answered by the seam.

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "win/Help.h"
#include "registry/MemoryRegistry.h"
#include "settings/ProfileSection.h"
#include "wabsync/OeRegistryBuilder.h"
#include "wabsync/SyncSettingsDialog_win32.h"
#include "wabsync/SyncTexts.h"
#include "wabsync/wabsync_resource.h"
#include "win/MessageBox.h"

namespace velkor {
namespace {

using testing::CriterionPath;
using testing::OeRegistryBuilder;

const std::string kId = "{11111111-2222-3333-4444-555555555555}";

class TestPlatform : public Win32SyncPlatform {
 public:
  explicit TestPlatform(RegistryAccess& reg) : Win32SyncPlatform(reg) {}
  bool running = false;
  std::vector<std::string> book = {"friend@example.com"};
  int reads = 0;
  std::vector<std::string> backups;
  bool OutlookExpressRunning() override { return running; }
  // The real backup is the program's (see the end-to-end test); here it is only counted.
  bool WriteBackup(const std::string& identityKey, std::string*) override {
    backups.push_back(identityKey);
    return true;
  }
  AddressBookRead ReadAddressBook(std::vector<std::string>* addresses) override {
    ++reads;
    *addresses = book;
    return AddressBookRead::Ok;
  }
};

// Holds the editor's mutex as the running editor would.
class EditorMutex {
 public:
  EditorMutex() : handle_(::CreateMutexA(nullptr, FALSE, wabsync::kEditorMutex)) {}
  ~EditorMutex() { ::CloseHandle(handle_); }

 private:
  HANDLE handle_;
};

class SyncDialogTest : public ::testing::Test {
 protected:
  SyncDialogTest() : build(reg), identities(MakeRegistrySyncIdentities(reg)), platform(reg) {}

  void TwoTargets() {
    build.Identity(kId, "山田", "C:\\Mail\\");
    build.Account(kId, "00000001", "me@example.com");
    build.RuleOrder(kId, "000 001");
    build.Rule(kId, "000", wabsync::kSenderRuleName, {{"000", 12, 65, {wabsync::kDummyAddress}}});
    build.Rule(kId, "001", wabsync::kBodyRuleName, {{"000", 9, 65, {"hand@example.com"}}});
  }

  void Open() {
    dialog = std::make_unique<SyncSettingsDialog>(reg, *identities, platform);
    dialog->updateShortcut = [this](bool keep) {
      shortcutCalls.push_back(keep);
      return shortcutResult;
    };
    dialog->Prepare();
    ASSERT_TRUE(dialog->CreateModeless(nullptr, IDD_SYNC_SETTINGS));
    hwnd = dialog->Handle();
  }

  void Click(int id) {
    ::SendMessageA(hwnd, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(hwnd, id)));
  }
  bool Enabled(int id) { return ::IsWindowEnabled(::GetDlgItem(hwnd, id)) != FALSE; }
  bool Checked(int id) { return ::IsDlgButtonChecked(hwnd, id) == BST_CHECKED; }
  void Check(int id, bool on) { ::CheckDlgButton(hwnd, id, on ? BST_CHECKED : BST_UNCHECKED); }
  std::string Text(int id) {
    char buffer[4096] = {};
    ::GetDlgItemTextA(hwnd, id, buffer, sizeof buffer);
    return buffer;
  }
  std::int32_t Setting(const char* name) { return ProfileSection(reg, "Wab Sync").GetInt(name, -99); }
  std::vector<std::string> Value(const std::string& path) {
    std::uint32_t type;
    std::vector<std::uint8_t> data;
    reg.GetRaw(RegRoot::CurrentUser, path, "Value", &type, &data);
    return DecodeStringList(data.data(), data.size());
  }

  MemoryRegistry reg;
  OeRegistryBuilder build;
  std::unique_ptr<SyncIdentitySource> identities;
  TestPlatform platform;
  std::unique_ptr<SyncSettingsDialog> dialog;
  HWND hwnd = nullptr;
  std::vector<bool> shortcutCalls;
  ShortcutResult shortcutResult = ShortcutResult::Ok;
};

TEST_F(SyncDialogTest, ShowsTheReportAndTheStoredSettings) {
  TwoTargets();
  ProfileSection(reg, "Wab Sync").SetInt("Type", 0);
  ProfileSection(reg, "Wab Sync").SetInt("StartUp", 1);
  ProfileSection(reg, "Wab Sync").SetInt("ShowResult", 0);
  Open();

  char title[256] = {};
  ::GetWindowTextA(hwnd, title, sizeof title);
  EXPECT_STREQ(title, wabsync::kDialogTitle);
  EXPECT_EQ(Text(IDC_SYNC_REPORT), dialog->Report().Text());
  EXPECT_EQ(Text(IDC_SYNC_REPORT).rfind("-- 1 --\r\n　USER ： 山田\r\n　RULE： ", 0), 0u);
  EXPECT_NE(Text(IDC_SYNC_REPORT).find("-- 2 --\r\n"), std::string::npos);
  EXPECT_TRUE(Checked(IDC_SYNC_FULL));
  EXPECT_FALSE(Checked(IDC_SYNC_ADD_ONLY));
  EXPECT_TRUE(Checked(IDC_SYNC_STARTUP));
  EXPECT_FALSE(Checked(IDC_SYNC_SHOW_RESULT));
  for (int id : {IDC_SYNC_FULL, IDC_SYNC_ADD_ONLY, IDC_SYNC_STARTUP, IDC_SYNC_SHOW_RESULT, IDC_SYNC_OK, IDCANCEL})
    EXPECT_TRUE(Enabled(id)) << id;
  const LONG_PTR report = ::GetWindowLongPtrA(::GetDlgItem(hwnd, IDC_SYNC_REPORT), GWL_STYLE);
  EXPECT_TRUE(report & ES_READONLY);
  EXPECT_TRUE(report & ES_MULTILINE);
  EXPECT_TRUE(report & WS_VSCROLL);
  EXPECT_TRUE(::GetWindowLongPtrA(hwnd, GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_NE(::SendMessageA(hwnd, WM_GETICON, ICON_BIG, 0), 0);
  EXPECT_NE(::SendMessageA(hwnd, WM_GETICON, ICON_SMALL, 0), 0);
}

// F1 goes to the shared help file; where it is missing, the user is told
// which file, under the utility's own caption.
TEST_F(SyncDialogTest, F1ShowsTheSharedHelpFile) {
  TwoTargets();
  const std::string missing = "Z:\\no-such-folder\\Velkor.chm";
  SetHelpFile(missing, wabsync::kTitle);
  Open();
  win::ScriptedMessageBoxes boxes;
  HELPINFO info = {sizeof info, HELPINFO_WINDOW, IDC_SYNC_FULL, ::GetDlgItem(hwnd, IDC_SYNC_FULL), 0, {0, 0}};
  ::SendMessageA(hwnd, WM_HELP, 0, reinterpret_cast<LPARAM>(&info));
  ASSERT_EQ(boxes.shown().size(), 1u);
  EXPECT_NE(boxes.shown()[0].text.find("\"" + missing + "\""), std::string::npos) << boxes.shown()[0].text;
  EXPECT_EQ(boxes.shown()[0].caption, wabsync::kTitle);
  SetHelpFile("", "Velkor");
}

TEST_F(SyncDialogTest, WithoutTargetsOnlyCancelIsUsable) {
  build.Identity(kId, "山田", "C:\\Mail\\");
  Open();
  EXPECT_EQ(Text(IDC_SYNC_REPORT), wabsync::kNoTargetReport);
  for (int id : {IDC_SYNC_FULL, IDC_SYNC_ADD_ONLY, IDC_SYNC_STARTUP, IDC_SYNC_SHOW_RESULT, IDC_SYNC_OK})
    EXPECT_FALSE(Enabled(id)) << id;
  EXPECT_TRUE(Enabled(IDCANCEL));
  // Defaults: add only, no shortcut, show the result.
  EXPECT_TRUE(Checked(IDC_SYNC_ADD_ONLY));
  EXPECT_FALSE(Checked(IDC_SYNC_STARTUP));
  EXPECT_TRUE(Checked(IDC_SYNC_SHOW_RESULT));
  // Enter reaches IDOK, which must not save through a disabled OK.
  win::ScriptedMessageBoxes boxes;
  ::SendMessageA(hwnd, WM_COMMAND, IDOK, 0);
  EXPECT_EQ(Setting("Type"), -99);
  EXPECT_TRUE(boxes.shown().empty());
}

TEST_F(SyncDialogTest, OkSavesUpdatesTheShortcutAndSynchronisesOnYes) {
  TwoTargets();
  Open();
  Check(IDC_SYNC_FULL, true);
  Check(IDC_SYNC_ADD_ONLY, false);
  Check(IDC_SYNC_STARTUP, true);
  win::ScriptedMessageBoxes boxes({IDYES, IDYES});
  Click(IDC_SYNC_OK);

  EXPECT_EQ(Setting("Type"), 0);
  EXPECT_EQ(Setting("StartUp"), 1);
  EXPECT_EQ(Setting("ShowResult"), 1);
  EXPECT_EQ(shortcutCalls, std::vector<bool>{true});
  ASSERT_EQ(boxes.shown().size(), 3u);
  EXPECT_EQ(boxes.shown()[0].text, wabsync::kSyncNowQuestion);
  EXPECT_EQ(boxes.shown()[0].caption, wabsync::kSyncNowCaption);
  EXPECT_EQ(boxes.shown()[0].flags & MB_TYPEMASK, static_cast<UINT>(MB_YESNO));
  // The hand-entered address of the body list goes: the run asks first, No being the default.
  EXPECT_NE(boxes.shown()[1].text.find("合わせて 1 件"), std::string::npos);
  EXPECT_NE(boxes.shown()[1].text.find("　　hand@example.com\r\n"), std::string::npos);
  EXPECT_EQ(boxes.shown()[1].caption, wabsync::kTitle);
  EXPECT_EQ(boxes.shown()[1].flags & (MB_TYPEMASK | MB_DEFMASK), static_cast<UINT>(MB_YESNO | MB_DEFBUTTON2));
  EXPECT_EQ(boxes.shown()[2].text, std::string(wabsync::kFinished) +
                                       "\r\n\r\n追加したアドレス： 2 件\r\n削除したアドレス： 1 件");
  EXPECT_EQ(boxes.shown()[2].caption, wabsync::kTitle);
  EXPECT_EQ(platform.backups, std::vector<std::string>{kId});
  // Full with the settings just saved.
  EXPECT_EQ(Value(CriterionPath(kId, "001", "000")), std::vector<std::string>{"friend@example.com"});
  EXPECT_FALSE(::IsWindow(hwnd));
}

TEST_F(SyncDialogTest, NoToTheRemovalQuestionChangesNothingAndKeepsTheDialogOpen) {
  TwoTargets();
  Open();
  Check(IDC_SYNC_FULL, true);
  Check(IDC_SYNC_ADD_ONLY, false);
  win::ScriptedMessageBoxes boxes({IDYES});  // the removal question then takes its default, No
  Click(IDC_SYNC_OK);
  ASSERT_EQ(boxes.shown().size(), 2u);
  EXPECT_EQ(Value(CriterionPath(kId, "001", "000")), std::vector<std::string>{"hand@example.com"});
  EXPECT_TRUE(platform.backups.empty());
  EXPECT_TRUE(::IsWindow(hwnd));
}

TEST_F(SyncDialogTest, AnswersThatEndWithoutSynchronising) {
  struct Case {
    const char* what;
    bool editor;
    std::vector<int> answers;
    std::vector<std::string> texts;
  } cases[] = {
      {"No to the question", false, {IDNO}, {wabsync::kSyncNowQuestion}},
      {"editor runs", true, {}, {wabsync::kSavedEditorRunning}},
  };
  for (const Case& c : cases) {
    TwoTargets();
    Open();
    Check(IDC_SYNC_SHOW_RESULT, false);
    std::unique_ptr<EditorMutex> editor;
    if (c.editor) editor = std::make_unique<EditorMutex>();
    win::ScriptedMessageBoxes boxes(c.answers);
    Click(IDC_SYNC_OK);
    std::vector<std::string> texts;
    for (const auto& shown : boxes.shown()) texts.push_back(shown.text);
    EXPECT_EQ(texts, c.texts) << c.what;
    if (c.editor) {
      EXPECT_EQ(boxes.shown()[0].caption, wabsync::kSavedCaption);
    }
    EXPECT_EQ(Setting("ShowResult"), 0) << c.what;
    EXPECT_EQ(platform.reads, 0) << c.what;
    EXPECT_EQ(Value(CriterionPath(kId, "001", "000")), std::vector<std::string>{"hand@example.com"}) << c.what;
    EXPECT_FALSE(::IsWindow(hwnd)) << c.what;
  }
}

TEST_F(SyncDialogTest, AFailedSyncKeepsTheDialogOpen) {
  TwoTargets();
  Open();
  platform.running = true;
  win::ScriptedMessageBoxes boxes({IDYES});
  Click(IDC_SYNC_OK);
  ASSERT_EQ(boxes.shown().size(), 2u);
  EXPECT_EQ(boxes.shown()[1].text, wabsync::kOutlookExpressRunning);
  EXPECT_EQ(boxes.shown()[1].caption, wabsync::kTitle);
  EXPECT_TRUE(::IsWindow(hwnd));

  // The editor started between the question and the run.
  platform.running = false;
  win::ScriptedMessageBoxes again({IDYES});
  std::unique_ptr<EditorMutex> editor;
  dialog->editorRunning = [&]() {
    const bool second = static_cast<bool>(editor);
    editor = std::make_unique<EditorMutex>();
    return second;
  };
  Click(IDC_SYNC_OK);
  ASSERT_EQ(again.shown().size(), 2u);
  EXPECT_EQ(again.shown()[1].text, wabsync::kEditorRunning);
  EXPECT_TRUE(::IsWindow(hwnd));
  EXPECT_EQ(platform.reads, 0);
}

TEST_F(SyncDialogTest, AFailedSaveSaysSoAndKeepsTheDialogOpen) {
  TwoTargets();
  Open();
  reg.FailOperation(RegOp::Set, "StartUp");
  win::ScriptedMessageBoxes boxes;
  Click(IDC_SYNC_OK);
  ASSERT_EQ(boxes.shown().size(), 1u);
  EXPECT_EQ(boxes.shown()[0].text, wabsync::kSaveFailed);
  EXPECT_TRUE(shortcutCalls.empty());
  EXPECT_TRUE(::IsWindow(hwnd));
}

TEST_F(SyncDialogTest, ShortcutErrorsAreShownAndTheSettingsStaySaved) {
  TwoTargets();
  Open();
  shortcutResult = ShortcutResult::NoStartupFolder;
  Check(IDC_SYNC_STARTUP, true);
  win::ScriptedMessageBoxes boxes({IDOK, IDNO});
  Click(IDC_SYNC_OK);
  ASSERT_EQ(boxes.shown().size(), 2u);
  EXPECT_EQ(boxes.shown()[0].text, wabsync::kStartupFolderFailed);
  EXPECT_EQ(boxes.shown()[1].text, wabsync::kSyncNowQuestion);
  EXPECT_EQ(Setting("StartUp"), 1);
}

TEST_F(SyncDialogTest, CancelWritesNothing) {
  TwoTargets();
  Open();
  Check(IDC_SYNC_FULL, true);
  reg.StartLog();
  win::ScriptedMessageBoxes boxes;
  ::SendMessageA(hwnd, WM_COMMAND, IDCANCEL, 0);
  EXPECT_EQ(reg.CountWrites(), 0);
  EXPECT_TRUE(boxes.shown().empty());
  EXPECT_FALSE(::IsWindow(hwnd));
}

}  // namespace
}  // namespace velkor
