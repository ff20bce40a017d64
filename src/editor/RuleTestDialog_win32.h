#pragma once
// RuleTestDialog: the rule tester, a modeless window over the main window.
// A mail comes in by a drop (a mail dragged from Outlook Express, its raw
// message when offered; an .eml file from Explorer) or through the file
// dialog; the window shows its header summary, the verdict of the blocked
// senders and rules as they stand in the editor (unsaved edits included), the
// rules in order with their marks, and for the selected rule its criteria
// with the words found. The evaluation itself is RuleEvaluator's.

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "message/MailMessage.h"
#include "ruletest/RuleEvaluator.h"
#include "win/Dialog.h"

namespace velkor {

class EditorFrame;

namespace ruletesttext {
constexpr const char* kOpenTitle = "テストするメールを開く";
constexpr const char* kOpenFilter = "メール (*.eml)|*.eml|すべてのファイル (*.*)|*.*|";
constexpr const char* kCannotRead = "メールのファイルを読み込めませんでした。\n%s";
constexpr const char* kNoAccount = "（アカウントなし）";
constexpr const char* kColumnResult = "結果";
constexpr const char* kColumnRule = "ルール";
}  // namespace ruletesttext

class RuleTestDialog : public win::Dialog {
 public:
  explicit RuleTestDialog(EditorFrame& frame);
  ~RuleTestDialog() override;

  // Creates the window, or brings it to the front when it is open.
  void Open();
  // The rules or blocked senders changed in the editor (or were reloaded):
  // the verdict is worked out again shortly.
  void RulesChanged();
  // Takes a mail as its raw message; `origin` names it in the title.
  void SetMail(const std::string& raw, const std::string& origin);
  // Reads a mail file; false (with a message) when it cannot be read.
  bool OpenFile(const std::string& path);

 protected:
  bool OnInit() override;
  bool OnCommand(int id, int code, HWND control) override;
  bool OnNotify(int id, NMHDR* header, LRESULT* result) override;
  void OnCancel() override { Destroy(); }
  void OnOK() override {}
  void OnTimer(UINT_PTR timerId) override;
  void OnDestroy() override;

 private:
  void FillAccounts();
  std::string ChosenAccount() const;
  // Builds the evaluator from the session when the rules changed, then shows the verdict.
  void Evaluate();
  void ShowVerdict();
  void ShowRuleDetails();
  void BrowseMail();
  // Selects the rule of a row of the tester's list in the main window.
  void SelectInMainWindow(int row);
  std::string FolderName(std::uint32_t number) const;

  EditorFrame& frame_;
  bool dropRegistered_ = false;
  bool hasMail_ = false;
  bool rulesChanged_ = true;
  MailMessage mail_;
  std::unique_ptr<RuleEvaluator> evaluator_;
  RuleVerdict verdict_;
  std::vector<std::string> accountIds_;  // by combo row
};

}  // namespace velkor
