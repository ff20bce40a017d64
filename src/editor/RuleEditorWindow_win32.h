#pragma once
// RuleEditorWindow: the program's main window (dialog 102), run modally by the
// application shell. It owns the editing session of one Outlook Express
// identity: its rules and blocked senders (RuleStore), accounts, folder list
// and the open address book, the two registry watchers and the 500 ms poll
// timer. Every edit goes into the RuleStore at once; nothing reaches the
// registry before the save flow.
// Code by role: RuleEditorWindow_win32.cpp (start, identity load, watchers,
// messages), RuleEditorWindowRuleList_win32.cpp (the rule list, keys and
// mouse presses), RuleEditorWindowSave_win32.cpp (save, close, settings, sync).

#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "editor/ImprovedHeaderCtrl_win32.h"
#include "editor/WordListPane_win32.h"
#include "folders/MailFolderList.h"
#include "rulestore/Identities.h"
#include "registry/RegistryAccess.h"
#include "rulestore/RegistryWatcher.h"
#include "rulestore/RuleStore.h"
#include "settings/VelkorSettings.h"
#include "win/Dialog.h"

namespace velkor {

class AddressBook;

// Messages the window understands (besides the watcher's reload, 0x8009).
constexpr UINT kFolderRefQueryMessage = WM_APP + 7;  // wParam: 12-byte reference, lParam: its size

namespace mainwindow {
constexpr UINT_PTR kPollTimerId = 5623;
constexpr UINT kPollPeriodMs = 500;
constexpr const char* kSyncProgram = "TarnWABSync.exe";
// Messages of the editing session.
constexpr const char* kNoIdentitiesExit = "Outlook Expressのユーザ情報を取得できません。終了します。";
constexpr const char* kNoValidIdentity = "有効なOutlook Expressユーザが見つかりません。";
constexpr const char* kFatalError = "致命的なエラーが発生しました。終了します。";
constexpr const char* kIdentityGone = "Outlook Expresssのユーザ情報が削除または利用できない状態です。終了します。";
constexpr const char* kIdentityInvalid = "Outlook Expresssのユーザ情報が無効です。終了します。";
constexpr const char* kSaveQuestion = "メッセージルールは変更されています。変更を保存しますか？";
constexpr const char* kSaveQuestionTitle = "メッセージルールの保存";
constexpr const char* kBlankName = "ルールの名前を空白にできません。";
constexpr const char* kDeleteQuestion = "選択しているメールルールを削除してもよろしいですか？";
constexpr const char* kDeleteTitle = "メールルールの削除";
constexpr const char* kInvalidRules =
    "メッセージルールにエラーがあるため、保存できません。\n赤いアイテムをクリックして、問題を解決してください。";
constexpr const char* kWarningTitle = "警告";
constexpr const char* kSavingStatus = "メッセージルールを保存しています";
constexpr const char* kReloadingStatus = "メッセージルールをリロードしています";
constexpr const char* kSaveFirst = "変更を保存してから、同期設定してください。";
constexpr const char* kSyncStartFailed =
    "\"メッセージルールとアドレス帳との同期\"ユーティリティーの起動に失敗しました。";
constexpr const char* kUnsupportedMail =
    "ドラッグドロップされたメールはサポートされていない形式です。\nこのメールを解析するには、NGワード検出ツールに本文を貼り付けてください。";
// List colours.
constexpr COLORREF kInvalidText = RGB(255, 0, 0);
constexpr COLORREF kSelectedFocusText = RGB(255, 255, 255);
constexpr COLORREF kSelectedFocusBack = RGB(49, 106, 197);
constexpr COLORREF kSelectedText = RGB(0, 0, 255);
constexpr COLORREF kSelectedBack = RGB(236, 233, 216);
}  // namespace mainwindow

class RuleEditorWindow : public win::Dialog, private FolderRefCheck, private WordListHost {
 public:
  // `registry` holds the program settings and the rules; `watchers` watch the
  // same registry. Both outlive the window.
  RuleEditorWindow(RegistryAccess& registry, RegistryWatchers& watchers);
  // The process-wide watchers on the real registry.
  explicit RuleEditorWindow(RegistryAccess& registry);
  ~RuleEditorWindow() override;

  // Runs the window modally; answers the value the window ended with (-1 after
  // a fatal error).
  INT_PTR Run(HWND owner = nullptr);

  // The session, for the panes and for tests.
  RuleStore& Store() { return store_; }
  const std::string& CurrentIdentity() const { return identityKey_; }
  bool HasUnsavedChanges() const { return store_.HasChanges(); }
  bool Initialised() const { return initialised_; }
  const MailFolderList& Folders() const { return folders_; }
  const AccountList& Accounts() const { return accounts_; }
  bool IsTopMost() const { return topMost_; }
  WordListPane& BlockedSenderPane() { return blockedPane_; }

  // Runs before the dialog handles a message of its loop: the mouse rules
  // (a press first ends an edit in progress, or focuses an unfocused word or
  // sender list), then the generic keys, which translate the accelerator
  // table when the focus is on one of the three editing lists. True when the
  // message was used up.
  bool PreTranslate(MSG* msg);
  // The save flow; false when changes are still unsaved afterwards.
  bool SaveChanges(bool closing = false);

 protected:
  bool OnInit() override;
  bool OnCommand(int id, int code, HWND control) override;
  bool OnNotify(int id, NMHDR* header, LRESULT* result) override;
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR* result) override;
  void OnTimer(UINT_PTR timerId) override;
  void OnDestroy() override;
  // Enter and Esc never close the main window; only the system close does.
  void OnOK() override {}
  void OnCancel() override {}

  // The close flow (system close, title-bar close, Alt+F4).
  virtual void OnClose();

  RegistryAccess& registry() { return registry_; }

 private:
  // FolderRefCheck: asks the window (WM_APP+7), which answers from the folder list.
  bool HasFolder(const std::uint8_t* ref, std::size_t size) const override;
  // WordListHost of the blocked-sender list: a commit replaces the identity's
  // BlockedSenderList (an unsaved change).
  void CommitWords(const std::vector<std::string>& words) override;
  const AddressBook* Book() const override { return addressBook_.get(); }
  std::vector<std::string> OwnAddresses() const override { return accounts_.OwnAddresses(); }

  // Initialisation steps.
  void ExtendSystemMenu();
  void SetIcons();
  void RestorePosition();
  void OpenAddressBook();
  void SetUpLists();
  bool FillIdentityCombo();

  // Identity load; `discard` drops unsaved changes without asking (outside change).
  void LoadIdentity(bool discard);
  void FillBlockedSenders();
  void FillRuleList(std::int64_t selectRuleId);
  void LoadFolderList(MailFolderList* list) const;
  bool SelectComboIdentity(const std::string& key);
  void RememberSelection();

  // Watchers and the poll timer.
  bool StartWatching();
  void StopWatching();
  void EnsureWatching();
  void PollTick();

  // The rule list.
  std::uint32_t RuleIdAt(int row) const;
  std::int64_t SingleSelectedRuleId() const;
  void ShowSelectedRule();
  void ShowCriterionPane(int row);
  void ShowActionPane(int row);
  void HideValuePanes();
  void OnRuleItemChanged(const NMLISTVIEW& change);
  void OnSlotItemChanged(int listId, const NMLISTVIEW& change);
  bool OnRuleLabelEdited(const NMLVDISPINFOA& info);
  LRESULT DrawRuleRow(NMLVCUSTOMDRAW* draw);
  void RuleInfoTip(NMLVGETINFOTIPA* tip);
  void AddEmptyRule();
  void DeleteSelectedRules();
  void MoveSelectedRules(int source, int target);
  void RepaintRuleLists();
  void ShowRuleListMenu(POINT screen);
  void ForwardGenericCommand(int genericId);
  HWND ControlOf(HWND window) const;
  bool ApplyMouseRules(const MSG& msg);

  // Save helpers.
  bool ValidateRows();
  bool ConfirmOutlookExpressClosed();

  void StoreWindowSettings();
  void ToggleTopMost();
  void StartSyncUtility();
  void UpdateSaveButton();
  // Shows a fatal message and ends the window with -1.
  void Fatal(const std::string& text);
  int Ask(const std::string& text, const std::string& caption, UINT flags);

  RegistryAccess& registry_;
  RegistryWatchers& watchers_;
  RuleStore store_;
  AccountList accounts_;
  MailFolderList folders_;
  std::unique_ptr<AddressBook> addressBook_;
  std::uint64_t addressBookStamp_ = 0;
  VelkorSettings settings_;

  std::vector<OeIdentity> comboIdentities_;  // what the combo's item data index
  std::string identityKey_;
  std::int64_t rememberedRule_ = -1;
  int rememberedCriterion_ = -1;
  int rememberedAction_ = -1;

  bool initialised_ = false;
  bool ended_ = false;
  bool timerRunning_ = false;
  bool ntFamily_ = true;
  bool topMost_ = false;
  // Set while the window itself changes a list's items.
  bool ruleListGuard_ = false;
  bool criteriaGuard_ = false;
  bool actionGuard_ = false;
  bool valueGuard_ = false;

  HICON bigIcon_ = nullptr;
  HICON smallIcon_ = nullptr;
  HACCEL accelerators_ = nullptr;
  HHOOK messageHook_ = nullptr;
  bool dropTargetRegistered_ = false;
  CImprovedHeaderCtrl headers_[3];
  WordListPane blockedPane_{kBlockedSendersTraits, *this};
};

}  // namespace velkor
