#pragma once
// RuleEditorWindow: the program's main window (dialog 102), run modally by the
// application shell. A frame: it owns the EditorSession of the shown identity,
// the identity combo, the two registry watchers with the 500 ms poll timer,
// saving, closing and the window settings, and routes every other message by
// control id to its panes (EditorPane_win32.h tells how a pane is added).
// Every edit goes into the session at once; nothing reaches the registry
// before the save flow.
// Code by role: RuleEditorWindow_win32.cpp (start, identity load, watchers,
// routing), RuleEditorWindowSave_win32.cpp (save, close, settings, sync),
// RuleEditorWindowLayout_win32.cpp (the sizing frame and the panes' layout).

#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "editor/ActionPane_win32.h"
#include "editor/BlockedSenderPane_win32.h"
#include "editor/CriteriaPane_win32.h"
#include "editor/EditorPane_win32.h"
#include "editor/EditorSession.h"
#include "editor/RuleListPane_win32.h"
#include "editor/WindowState.h"
#include "mail/MailDropHost_win32.h"
#include "registry/RegistryAccess.h"
#include "rulestore/RegistryWatcher.h"
#include "settings/VelkorSettings.h"
#include "win/Dialog.h"

namespace velkor {

class AddressBook;
class RuleTestDialog;

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
}  // namespace mainwindow

class RuleEditorWindow : public win::Dialog, public EditorFrame, private FolderRefCheck {
 public:
  // F1: the page of the pane that holds `control` (or the focus).
  std::uint32_t HelpContext(HWND control) const override;
  // `registry` holds the program settings and the rules; `watchers` watch the
  // same registry. Both outlive the window.
  RuleEditorWindow(RegistryAccess& registry, RegistryWatchers& watchers);
  // The process-wide watchers on the real registry.
  explicit RuleEditorWindow(RegistryAccess& registry);
  ~RuleEditorWindow() override;

  // Runs the window modally; answers the value the window ended with (-1 after
  // a fatal error).
  INT_PTR Run(HWND owner = nullptr);

  // The session, for tests.
  RuleStore& Store() { return session_.Store(); }
  const std::string& CurrentIdentity() const { return session_.IdentityKey(); }
  bool HasUnsavedChanges() const { return session_.HasUnsavedChanges(); }
  bool Initialised() const { return initialised_; }
  const MailFolderList& Folders() const { return session_.Folders(); }
  const AccountList& Accounts() const { return session_.Accounts(); }
  bool IsTopMost() const { return topMost_; }

  // Runs before the dialog handles a message of its loop: the mouse rules
  // (a press first ends an edit in progress, or focuses an unfocused word or
  // sender list), then the generic keys, which translate the accelerator
  // table when the focus is on one of the panes' editing lists. True when the
  // message was used up.
  bool PreTranslate(MSG* msg);
  // The save flow; false when changes are still unsaved afterwards.
  bool SaveChanges(bool closing = false);

  // EditorFrame
  HWND Handle() const override { return win::Dialog::Handle(); }
  EditorSession& Session() override { return session_; }
  std::int64_t ShownRule() const override { return ruleList_.SingleSelectedRule(); }
  void ShowSelectedRule() override;
  void RepaintRuleLists() override;
  void Modified() override;
  bool AddressBookOpen() const override;
  int Ask(const std::string& text, const std::string& caption, UINT flags) override;
  void Tell(const std::string& text, UINT icon) override;
  std::unique_ptr<ProgressDialog> OpenProgress(const std::string& status, bool allowCancel) override;

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

  // WM_APP+1 and command 32838: the NG-word tool on the dropped mail; its words
  // go into the value list.
  void OpenNgWordTool();

  // Initialisation steps.
  void ExtendSystemMenu();
  void SetIcons();
  void RestorePosition();
  void OpenAddressBook();
  bool FillIdentityCombo();

  // Identity load; `discard` drops unsaved changes without asking (outside change).
  void LoadIdentity(bool discard);
  bool SelectComboIdentity(const std::string& key);
  void RememberSelection();

  // Watchers and the poll timer.
  bool StartWatching();
  void StopWatching();
  void EnsureWatching();
  void StartTimer();
  void StopTimer();
  void PollTick();

  // Routing.
  EditorPane* PaneOwning(int id) const;
  EditorPane* PaneEditing(HWND focus) const;
  void ForwardGenericCommand(int genericId);
  HWND ControlOf(HWND window) const;
  bool ApplyMouseRules(const MSG& msg);

  // Save helpers.
  bool ConfirmOutlookExpressClosed();
  // RuleEditorWindowBackup_win32.cpp: the backup before every save (false,
  // with the message, when it could not be written) and the restore command.
  bool BackUpBeforeSave(std::string* error);
  void RestoreFromBackup();

  void StoreWindowSettings();
  void ToggleTopMost();
  void StartSyncUtility();
  // Shows a fatal message and ends the window with -1.
  void Fatal(const std::string& text);

  // RuleEditorWindowLayout_win32.cpp: the controls as the template places
  // them, the size limits, and their places for the current client size.
  void CaptureLayout();
  void LayOut();
  void LimitTracking(MINMAXINFO* info) const;
  // The stored size (or, without one, a default too big for the work area)
  // brought within the limits and the work area.
  void RestoreSize();

  struct PlacedControl {
    HWND window;
    int band;  // 0 the top row, 1 the rule lists, 2 the panes below them
    ControlLayout rect;
    int columnWidth;  // a list's first column, -1 for none
  };
  std::vector<PlacedControl> placed_;
  std::vector<LayoutPart> across_[3];
  std::vector<LayoutPart> down_;
  SIZE frame_{};    // window size less client size
  SIZE minimum_{};  // the least client size

  RegistryAccess& registry_;
  RegistryWatchers& watchers_;
  EditorSession session_;
  std::unique_ptr<AddressBook> addressBook_;
  std::unique_ptr<RuleTestDialog> ruleTest_;  // the rule tester, once opened
  VelkorSettings settings_;

  // The panes, in the order they hear of loads and shown rules.
  RuleListPane ruleList_;
  BlockedSenderPane blockedSenders_;
  CriteriaPane criteria_;
  ActionPane actions_;
  EditorPane* const panes_[4] = {&ruleList_, &blockedSenders_, &criteria_, &actions_};
  // Mails dropped on the criterion value list, and the NG-word tool they open.
  MailDropHost mailDrops_;
  FindState findState_;

  std::vector<OeIdentity> comboIdentities_;  // what the combo's item data index

  bool initialised_ = false;
  bool ended_ = false;
  bool timerRunning_ = false;
  bool topMost_ = false;

  HICON bigIcon_ = nullptr;
  HICON smallIcon_ = nullptr;
  HACCEL accelerators_ = nullptr;
  HHOOK messageHook_ = nullptr;
};

}  // namespace velkor
