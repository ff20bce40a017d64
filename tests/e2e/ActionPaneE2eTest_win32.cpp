// Velkor.exe as a real process on a prepared identity with a move, a forward,
// a highlight and a watch/ignore rule and a mail store of its own: selecting
// each rule shows its stored action value in the pane's controls, and merely
// showing them leaves nothing to save.
#include <windows.h>
#include <commctrl.h>
#include <shlwapi.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "DbxWriter.h"
#include "folders/MailFolderList.h"
#include "registry/RegFile.h"
#include "registry/Win32Registry.h"
#include "rulestore/RuleStore.h"
#include "support/ChildProcess_win32.h"
#include "support/RemoteMemory_win32.h"

namespace velkor::test {
namespace {

constexpr const char* kTitle = "Velkor Ver 1.0";
constexpr const char* kIdentity = "{3F2504E0-4F89-11D3-9A0C-0305E82C3301}";
constexpr const char* kSettingsKey = "Software\\Ostrel Software Development\\Velkor";
constexpr DWORD kTimeoutMs = 15000;
constexpr std::uint32_t kTargetFolder = 12;

std::string Windows(std::string path) {
  for (char& c : path)
    if (c == '/') c = '\\';
  return path;
}

std::string StoreRoot() {
  char dir[MAX_PATH] = {};
  ::GetTempPathA(MAX_PATH, dir);
  return std::string(dir) + "velkor-actions-e2e\\";
}

class ActionsE2e : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(::FindWindowA(nullptr, kTitle), nullptr) << "Velkor is already running";
    ::SHDeleteKeyA(HKEY_CURRENT_USER, "Identities");
    ::SHDeleteKeyA(HKEY_CURRENT_USER, kSettingsKey);
    std::string bytes;
    ASSERT_TRUE(ReadWholeFile(Windows("Z:" VELKOR_DEMO_REG), &bytes));
    Win32Registry registry;
    RegFileError error;
    ASSERT_TRUE(ImportRegFile(registry, bytes, &error)) << error.line << ": " << error.reason;

    // The identity's store: a folder list of its own.
    ::CreateDirectoryA(StoreRoot().c_str(), nullptr);
    ASSERT_TRUE(dbxwriter::WriteFoldersDbxFile(StoreRoot() + "Folders.dbx",
                                               {{1, 0, "ローカル フォルダ"}, {4, 1, "受信トレイ"},
                                                {kTargetFolder, 1, "迷惑メール"}}));
    MailFolderList folders;
    folders.Load(StoreRoot());
    ASSERT_EQ(folders.Count(), 3u);
    RegKey base(registry);
    ASSERT_EQ(base.Open(IdentityBasePath(kIdentity), RegAccess::All), regerr::kSuccess);
    const std::string root = StoreRoot();
    base.WriteBytes("Store Root", root.c_str(), static_cast<std::uint32_t>(root.size() + 1), regtype::kExpandSz);

    // Four rules in place of the demo's.
    struct AnyFolder : FolderRefCheck {
      bool HasFolder(const std::uint8_t*, std::size_t) const override { return true; }
    } anyFolder;
    RuleChecks checks;
    checks.folders = &anyFolder;
    RuleStore store(registry);
    store.SetChecks(checks);
    store.Load(kIdentity);
    for (std::uint32_t number : store.Rules().Numbers()) store.Rules().Remove(number);
    const FolderRefBytes ref = MakeFolderRef(folders.Stamp(), kTargetFolder);
    const std::uint32_t thirteen = 13, ignore = 2;
    struct Seed {
      const char* name;
      int slot;
      const void* value;
      std::uint32_t size;
      std::uint32_t type;
    };
    const std::string forward = "a@x.example,b@y.example";
    const Seed seeds[] = {
        {"移動", 0, ref.data(), 12, valuetype::kBytes},
        {"転送", 3, forward.c_str(), static_cast<std::uint32_t>(forward.size() + 1), valuetype::kText},
        {"強調", 4, &thirteen, 4, valuetype::kDword},
        {"無視", 7, &ignore, 4, valuetype::kDword},
    };
    for (const Seed& seed : seeds) {
      MailRule& rule = store.Rules().AddNewRule(seed.name);
      const std::vector<std::uint8_t> words = EncodeStringList({"s@example.jp"});
      store.SetCriterionValue(rule.Number(), SlotBit(0), words.data(), static_cast<std::uint32_t>(words.size()),
                              valuetype::kBytes);
      store.SetActionInUse(rule.Number(), SlotBit(9), false);
      store.SetActionValue(rule.Number(), SlotBit(seed.slot), seed.value, seed.size, seed.type);
    }
    NullProgress progress;
    ASSERT_TRUE(store.SaveAll(progress).Ok());
  }
  void TearDown() override {
    ::SHDeleteKeyA(HKEY_CURRENT_USER, "Identities");
    ::SHDeleteKeyA(HKEY_CURRENT_USER, kSettingsKey);
    ::DeleteFileA((StoreRoot() + "Folders.dbx").c_str());
    ::RemoveDirectoryA(StoreRoot().c_str());
  }

  bool Start() {
    if (!process_.Start("Velkor.exe")) return false;
    for (DWORD start = ::GetTickCount(); ::GetTickCount() - start < kTimeoutMs; ::Sleep(50)) {
      window_ = ::FindWindowA(nullptr, kTitle);
      if (window_ && ::IsWindowVisible(window_)) return true;
    }
    return false;
  }
  HWND Item(int id) const { return ::GetDlgItem(window_, id); }
  LRESULT Send(int id, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
    return ::SendMessageA(Item(id), message, wParam, lParam);
  }
  // Selects exactly one row of the rule list, as a click would.
  void SelectRule(int row) {
    RemoteMemory memory(process_.Id(), sizeof(LVITEMA));
    LVITEMA item{};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = 0;
    memory.Write(item);
    Send(1002, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), memory.Address());
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    memory.Write(item);
    Send(1002, LVM_SETITEMSTATE, static_cast<WPARAM>(row), memory.Address());
    ::Sleep(200);
  }
  LPARAM SelectedFolder() const {
    const auto selected = static_cast<LPARAM>(Send(1027, TVM_GETNEXTITEM, TVGN_CARET, 0));
    if (!selected) return -1;
    RemoteMemory memory(process_.Id(), sizeof(TVITEMA));
    TVITEMA item{};
    item.mask = TVIF_PARAM | TVIF_HANDLE;
    item.hItem = reinterpret_cast<HTREEITEM>(selected);
    memory.Write(item);
    if (!Send(1027, TVM_GETITEMA, 0, memory.Address()) || !memory.Read(&item)) return -1;
    return item.lParam;
  }
  std::string Text(int id) const {
    // GetWindowText does not ask a control of another process for its text.
    char text[512] = {};
    Send(id, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    return text;
  }
  bool Visible(int id) const { return ::IsWindowVisible(Item(id)) != FALSE; }

  ChildProcess process_;
  HWND window_ = nullptr;
};

TEST_F(ActionsE2e, EachRuleShowsItsStoredActionValue) {
  ASSERT_TRUE(Start());
  ASSERT_EQ(Send(1002, LVM_GETITEMCOUNT), 4);

  SelectRule(0);
  EXPECT_EQ(Send(1004, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED), 0);
  EXPECT_TRUE(Visible(1027));
  EXPECT_EQ(SelectedFolder(), static_cast<LPARAM>(kTargetFolder));
  EXPECT_EQ(Text(1034), "移動先に指定するフォルダ");

  SelectRule(1);
  EXPECT_EQ(Send(1004, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED), 3);
  EXPECT_TRUE(Visible(1031) && Visible(1032));
  EXPECT_FALSE(Visible(1027));
  EXPECT_EQ(Text(1031), "a@x.example,b@y.example");

  SelectRule(2);
  EXPECT_EQ(Send(1004, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED), 4);
  EXPECT_TRUE(Visible(1028));
  EXPECT_EQ(Send(1028, CB_GETCURSEL), 13);
  EXPECT_EQ(Send(1028, CB_GETCOUNT), 17);

  SelectRule(3);
  EXPECT_EQ(Send(1004, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED), 7);
  EXPECT_TRUE(Visible(1033));
  EXPECT_EQ(Send(1033, CB_GETCURSEL), 1);

  // Nothing was changed by looking, so closing asks nothing.
  EXPECT_FALSE(::IsWindowEnabled(Item(1036)));
  ::PostMessageA(window_, WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_TRUE(process_.WaitForExit(kTimeoutMs));
}

}  // namespace
}  // namespace velkor::test
