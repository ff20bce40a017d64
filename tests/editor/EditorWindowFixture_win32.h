#pragma once
// A main window on a prepared registry for in-process window tests: identities
// and rules seeded through the rule store, watchers on the same registry, and
// message boxes answered by a script.

#include <windows.h>
#include <commctrl.h>
#include <ole2.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "../rulestore/RuleTestSupport.h"
#include "editor/RuleEditorWindow_win32.h"
#include "mail/TestDataObject_win32.h"
#include "res/resource.h"
#include "registry/MemoryRegistry.h"
#include "rulestore/RegistryWatcher_win32.h"
#include "rulestore/RuleStore.h"
#include "win/Controls.h"
#include "win/MessageBox.h"

namespace velkor::test {

constexpr const char* kIdentityA = "{0A000000-0000-0000-0000-00000000000A}";
constexpr const char* kIdentityB = "{0B000000-0000-0000-0000-00000000000B}";

inline void InitUi() {
  static bool done = false;
  if (done) return;
  INITCOMMONCONTROLSEX init{sizeof(init), ICC_LISTVIEW_CLASSES | ICC_TREEVIEW_CLASSES | ICC_USEREX_CLASSES |
                                              ICC_PROGRESS_CLASS};
  ::InitCommonControlsEx(&init);
  ::OleInitialize(nullptr);
  done = true;
}

inline void Pump() {
  MSG msg;
  while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    ::TranslateMessage(&msg);
    ::DispatchMessageA(&msg);
  }
}

// Pumps until `done` answers true or `ms` passed; answers the last `done`.
template <class Done>
bool PumpUntil(Done done, DWORD ms = 5000) {
  DWORD start = ::GetTickCount();
  while (!done()) {
    if (::GetTickCount() - start > ms) return done();
    Pump();
    ::Sleep(10);
  }
  return true;
}

inline void PumpFor(DWORD ms) {
  PumpUntil([] { return false; }, ms);
}

struct SeedRule {
  std::string name;
  bool enabled = true;
  std::vector<std::string> senders;  // criterion slot 0
  bool deletes = false;              // action slot 2 besides stop
};

inline void SeedRules(RegistryAccess& reg, const std::string& identity, const std::vector<SeedRule>& rules,
                      const std::vector<std::string>& blocked) {
  RuleStore store(reg);
  store.Load(identity);
  for (const SeedRule& seed : rules) {
    MailRule& rule = store.Rules().AddNewRule(seed.name);
    std::vector<std::uint8_t> words = EncodeStringList(seed.senders);
    store.SetCriterionValue(rule.Number(), SlotBit(0), words.data(), static_cast<std::uint32_t>(words.size()),
                            valuetype::kBytes);
    if (seed.deletes) store.SetActionInUse(rule.Number(), SlotBit(2), true);
    store.SetEnabled(rule.Number(), seed.enabled);
  }
  store.BlockedSenders().SetAddresses(blocked);
  NullProgress progress;
  ASSERT_TRUE(store.SaveAll(progress).Ok());
}

// The five rules of identity A.
inline std::vector<SeedRule> FiveRules() {
  return {
      {"[SAFE]家族のアドレス", true, {"kazoku@example.jp"}, false},
      {"[BLOCK]迷惑な送信者", true, {"spam@example.com"}, true},
      {"停止中のルール", false, {"old@example.org"}, false},
      {"メールマガジン", true, {"news@shop.example"}, false},
      {"友人", true, {"tomo@example.ne.jp"}, false},
  };
}

// What the registry holds for one identity, read afresh.
struct StoredRules {
  std::vector<std::string> names;
  std::vector<bool> enabled;
  std::string order;
};

inline StoredRules ReadStored(RegistryAccess& reg, const std::string& identity) {
  RuleStore store(reg);
  store.Load(identity);
  StoredRules out;
  for (int i = 0; i < store.Rules().Count(); ++i) {
    out.names.push_back(store.Rules().At(i).Name());
    out.enabled.push_back(store.Rules().At(i).Enabled());
  }
  RegKey mail(reg);
  if (mail.Open(RulesMailPath(IdentityBasePath(identity)), RegAccess::QueryValue) == regerr::kSuccess)
    mail.ReadString("Order", &out.order);
  return out;
}

class EditorWindowFixture : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { InitUi(); }

  // Identity A with five rules and two blocked senders; B, when asked, with one rule.
  void Seed(bool twoIdentities = false) {
    SeedIdentity(registry_, kIdentityA, "Bob 鈴木", true);
    SeedRules(registry_, kIdentityA, FiveRules(), {"spam1@example.com", "迷惑 <spam2@example.net>"});
    if (twoIdentities) {
      SeedIdentity(registry_, kIdentityB, "Alice 青木", false);
      SeedRules(registry_, kIdentityB, {{"青木さんのルール", true, {"a@example.jp"}, false}}, {});
    }
  }

  void Open() {
    window_ = std::make_unique<RuleEditorWindow>(registry_, watchers_);
    ASSERT_TRUE(window_->CreateModeless(nullptr, IDD_VELKOR_DIALOG));
    dialog_ = window_->Handle();
    ::ShowWindow(dialog_, SW_SHOWNA);
    Pump();
  }
  void TearDown() override {
    window_.reset();
    Pump();
  }

  win::ListView Rules() const { return win::ListView(dialog_, IDC_RULE_LIST); }
  win::ListView Criteria() const { return win::ListView(dialog_, IDC_CRITERIA_TYPE_LIST); }
  win::ListView Actions() const { return win::ListView(dialog_, IDC_ACTION_TYPE_LIST); }
  std::vector<std::string> RowTexts(const win::ListView& list) const {
    std::vector<std::string> out;
    for (int i = 0; i < list.Count(); ++i) out.push_back(list.ItemText(i));
    return out;
  }
  std::vector<int> SelectedRows(const win::ListView& list) const {
    std::vector<int> out;
    for (int row = list.NextSelected(); row >= 0; row = list.NextSelected(row)) out.push_back(row);
    return out;
  }
  void Command(int id) { ::SendMessageA(dialog_, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); }
  // A real OLE drag of data offering `formats`, dropped on the middle of
  // control `id`; answers the effect the drop reported.
  DWORD DragOnto(int id, std::vector<OfferedFormat> formats) {
    RECT r{};
    ::GetWindowRect(::GetDlgItem(dialog_, id), &r);
    const POINT at{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    ::SetCursorPos(at.x, at.y);
    auto* data = new TestDataObject(std::move(formats));
    auto* source = new PollingDropSource(at, 4);
    DWORD effect = DROPEFFECT_NONE;
    ::DoDragDrop(data, source, DROPEFFECT_COPY | DROPEFFECT_MOVE, &effect);
    source->Release();
    data->Release();
    Pump();
    return effect;
  }
  // Selects exactly these rows, as a user would.
  void SelectRules(std::initializer_list<int> rows) {
    Rules().UnselectAll();
    for (int row : rows) Rules().SetSelected(row, true);
  }
  std::vector<std::string> Texts() const {
    std::vector<std::string> out;
    for (const auto& shown : boxes_.shown()) out.push_back(shown.text);
    return out;
  }

  MemoryRegistry registry_;
  Win32ThreadStarter threads_;
  RegistryWatchers watchers_{registry_, threads_};
  win::ScriptedMessageBoxes boxes_;
  std::unique_ptr<RuleEditorWindow> window_;
  HWND dialog_ = nullptr;
};

}  // namespace velkor::test
