#include "editor/RuleTestDialog_win32.h"

#include <commctrl.h>
#include <commdlg.h>

#include <cstring>

#include "editor/EditorPane_win32.h"
#include "win/Help.h"
#include "mail/MailDropTargets_win32.h"
#include "registry/RegFile.h"
#include "res/resource.h"
#include "ruletest/RuleTestText.h"
#include "text/ShiftJis.h"
#include "win/Controls.h"
#include "win/DropTarget.h"
#include "win/MessageBox.h"
#include "win/Strings.h"
#include "win/WaitCursor.h"

namespace velkor {

namespace {

constexpr UINT_PTR kRulesChangedTimer = 1;
// Edits come one keystroke at a time: the verdict follows once they pause.
constexpr UINT kRulesChangedDelayMs = 300;

std::string JoinLines(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += (text.empty() ? "" : "\r\n") + line;
  return text;
}

// The tester's drop target: the raw message of a mail from Outlook Express,
// an .eml file from Explorer, or a mail as plain text.
class RuleTestDropTarget : public win::DropTarget {
 public:
  explicit RuleTestDropTarget(RuleTestDialog* dialog) : dialog_(dialog) {}

 protected:
  DWORD AcceptEffect(IDataObject* data) override {
    return win::DataOffers(data, MailClipboardFormat(MailFormat::RawMessage)) || win::DataOffers(data, CF_HDROP) ||
                   win::DataOffers(data, CF_TEXT)
               ? DROPEFFECT_COPY
               : DROPEFFECT_NONE;
  }

  bool TakeDrop(IDataObject* data, POINTL) override {
    DataObjectMailSource source(data);
    DroppedMail mail(source);
    if (mail.HasText(MailFormat::RawMessage)) {
      dialog_->SetMail(mail.Text(MailFormat::RawMessage), std::string());
      return true;
    }
    if (mail.TooLarge()) {
      win::ReportTooLarge(dialog_->Handle());
      return false;
    }
    // A file from Explorer is read whole, as the file dialog reads it (a
    // saved mail may well be larger than a drop block).
    std::string dropFiles;
    if (win::ReadDataBytes(data, CF_HDROP, dropFiles)) {
      const std::string file = FirstDroppedFile(dropFiles);
      if (!file.empty()) return dialog_->OpenFile(file);
    }
    if (mail.HasText(MailFormat::Text)) {
      dialog_->SetMail(mail.Text(MailFormat::Text), std::string());
      return true;
    }
    return false;
  }

 private:
  RuleTestDialog* dialog_;
};

}  // namespace

RuleTestDialog::RuleTestDialog(EditorFrame& frame) : frame_(frame) {}

RuleTestDialog::~RuleTestDialog() {
  if (Handle()) Destroy();
}

void RuleTestDialog::Open() {
  if (Handle()) {
    if (::IsIconic(Handle())) ::ShowWindow(Handle(), SW_RESTORE);
    ::SetForegroundWindow(Handle());
    return;
  }
  if (CreateModeless(frame_.Handle(), IDD_RULE_TEST)) ::ShowWindow(Handle(), SW_SHOW);
}

bool RuleTestDialog::OnInit() {
  SetItemText(IDC_RT_HINT, ruletesttext::kNoMail);
  win::ListView rules(Handle(), IDC_RT_RULES);
  rules.SetExtendedStyle(LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
  RECT client = rules.ClientRect();
  const int markWidth = 110;
  rules.InsertColumn(0, ruletesttext::kColumnResult, markWidth);
  rules.InsertColumn(1, ruletesttext::kColumnRule, client.right - markWidth - ::GetSystemMetrics(SM_CXVSCROLL));
  FillAccounts();
  dropRegistered_ = win::DropTarget::Register(Handle(), new RuleTestDropTarget(this));
  rulesChanged_ = true;
  Evaluate();
  return true;
}

void RuleTestDialog::OnDestroy() {
  ::KillTimer(Handle(), kRulesChangedTimer);
  if (dropRegistered_) ::RevokeDragDrop(Handle());
  dropRegistered_ = false;
}

void RuleTestDialog::FillAccounts() {
  win::ComboBox combo(Handle(), IDC_RT_ACCOUNT);
  const std::string previous = ChosenAccount();
  combo.Clear();
  accountIds_.clear();
  const AccountList& accounts = frame_.Session().Accounts();
  int select = accounts.DefaultIndex() >= 0 ? accounts.DefaultIndex() : 0;
  for (int i = 0; i < accounts.Count(); ++i) {
    combo.Add(accounts.AccountName(i).empty() ? accounts.Identifier(i) : accounts.AccountName(i));
    accountIds_.push_back(accounts.Identifier(i));
    if (!previous.empty() && sjis::EqualsIgnoreCase(previous, accounts.Identifier(i))) select = i;
  }
  if (accountIds_.empty()) {
    combo.Add(ruletesttext::kNoAccount);
    accountIds_.push_back(std::string());
  }
  combo.Select(select);
}

std::string RuleTestDialog::ChosenAccount() const {
  const int row = win::ComboBox(Handle(), IDC_RT_ACCOUNT).Selection();
  return row >= 0 && static_cast<std::size_t>(row) < accountIds_.size() ? accountIds_[static_cast<std::size_t>(row)]
                                                                         : std::string();
}

void RuleTestDialog::RulesChanged() {
  rulesChanged_ = true;
  if (Handle()) ::SetTimer(Handle(), kRulesChangedTimer, kRulesChangedDelayMs, nullptr);
}

void RuleTestDialog::OnTimer(UINT_PTR timerId) {
  if (timerId != kRulesChangedTimer) return;
  ::KillTimer(Handle(), kRulesChangedTimer);
  // A reload may have brought other accounts.
  FillAccounts();
  Evaluate();
}

void RuleTestDialog::SetMail(const std::string& raw, const std::string& origin) {
  {
    win::WaitCursor wait;
    mail_ = ReadMailMessage(raw);
  }
  hasMail_ = true;
  SetItemText(IDC_RT_HINT, origin);
  SetItemText(IDC_RT_MAIL, JoinLines(MailSummaryLines(mail_)));
  Evaluate();
}

bool RuleTestDialog::OpenFile(const std::string& path) {
  std::string raw;
  if (!ReadWholeFile(path, &raw)) {
    win::ShowMessage(Handle(), win::FillArguments(ruletesttext::kCannotRead, {path}),
                     win::LoadResString(IDS_APP_TITLE), MB_OK | MB_ICONWARNING);
    return false;
  }
  SetMail(raw, path);
  return true;
}

void RuleTestDialog::Evaluate() {
  if (!Handle()) return;
  win::WaitCursor wait;
  if (rulesChanged_ || !evaluator_) {
    EditorSession& session = frame_.Session();
    std::vector<const MailRule*> rules;
    for (int i = 0; i < session.Rules().Count(); ++i) rules.push_back(&session.Rules().At(i));
    evaluator_ = std::make_unique<RuleEvaluator>(session.BlockedSenders().Addresses(), rules, session.Store().Checks());
    rulesChanged_ = false;
  }
  verdict_ = hasMail_ ? evaluator_->Evaluate(mail_, ChosenAccount()) : RuleVerdict();
  ShowVerdict();
}

std::string RuleTestDialog::FolderName(std::uint32_t number) const {
  const MailFolderList& folders = frame_.Session().Folders();
  for (std::size_t i = 0; i < folders.Count(); ++i)
    if (folders.Id(i) == number) return folders.Name(i);
  return std::string();
}

void RuleTestDialog::ShowVerdict() {
  const FolderNameLookup folderName = [this](std::uint32_t n) { return FolderName(n); };
  SetItemText(IDC_RT_VERDICT, hasMail_ ? " " + VerdictText(verdict_, folderName) : std::string());
  win::ListView list(Handle(), IDC_RT_RULES);
  const std::int64_t selected = list.SelectedCount() == 1 ? static_cast<std::int64_t>(list.Data(list.Focused())) : -1;
  ::SendMessageA(list.Handle(), WM_SETREDRAW, FALSE, 0);
  list.Clear();
  if (hasMail_) {
    for (std::size_t i = 0; i < verdict_.rules.size(); ++i) {
      const RuleResult& rule = verdict_.rules[i];
      const int row = list.Insert(static_cast<int>(i), RuleStateMark(rule.state), static_cast<LPARAM>(rule.number));
      list.SetSubItemText(row, 1, rule.name);
    }
    // Keep the rule the user looked at; else show the one that decided.
    int row = selected >= 0 ? list.FindData(static_cast<LPARAM>(selected)) : -1;
    if (row < 0 && verdict_.decidingRule >= 0) row = verdict_.decidingRule;
    if (row < 0 && !verdict_.appliedRules.empty()) row = verdict_.appliedRules.front();
    if (row >= 0) {
      list.SetSelected(row, true);
      list.SetFocused(row, true);
      list.EnsureVisible(row);
    }
  }
  ::SendMessageA(list.Handle(), WM_SETREDRAW, TRUE, 0);
  list.Invalidate();
  ShowRuleDetails();
}

void RuleTestDialog::ShowRuleDetails() {
  win::ListView list(Handle(), IDC_RT_RULES);
  const int row = list.SelectedCount() == 1 ? list.Focused() : -1;
  const FolderNameLookup folderName = [this](std::uint32_t n) { return FolderName(n); };
  SetItemText(IDC_RT_DETAILS, row >= 0 ? JoinLines(RuleDetailLines(verdict_, row, folderName)) : std::string());
}

void RuleTestDialog::BrowseMail() {
  std::string filter;
  for (const std::string& part : sjis::Split(ruletesttext::kOpenFilter, '|')) {
    filter += part;
    filter += '\0';
  }
  char path[MAX_PATH] = {};
  OPENFILENAMEA dialog{};
  dialog.lStructSize = sizeof(dialog);
  dialog.hwndOwner = Handle();
  dialog.lpstrFilter = filter.c_str();
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = path;
  dialog.nMaxFile = MAX_PATH;
  dialog.lpstrTitle = ruletesttext::kOpenTitle;
  dialog.Flags = OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST | OFN_DONTADDTORECENT | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
  if (::GetOpenFileNameA(&dialog)) OpenFile(path);
}

void RuleTestDialog::SelectInMainWindow(int row) {
  if (row < 0 || static_cast<std::size_t>(row) >= verdict_.rules.size()) return;
  win::ListView rules(frame_.Handle(), IDC_RULE_LIST);
  const int target = rules.FindData(static_cast<LPARAM>(verdict_.rules[static_cast<std::size_t>(row)].number));
  if (target < 0) return;
  rules.UnselectAll();
  rules.SetSelected(target, true);
  rules.SetFocused(target, true);
  rules.EnsureVisible(target);
  ::SetForegroundWindow(frame_.Handle());
  rules.Focus();
}

bool RuleTestDialog::OnCommand(int id, int code, HWND) {
  switch (id) {
    case IDC_RT_OPEN:
      if (code == BN_CLICKED) BrowseMail();
      return true;
    case IDC_RT_HELP:
      if (code == BN_CLICKED) ShowContextHelp(Handle(), HelpContext(nullptr));
      return true;
    case IDC_RT_ACCOUNT:
      if (code == CBN_SELCHANGE) Evaluate();
      return true;
    default:
      return false;
  }
}

bool RuleTestDialog::OnNotify(int id, NMHDR* header, LRESULT*) {
  if (id != IDC_RT_RULES) return false;
  if (header->code == LVN_ITEMCHANGED) {
    const auto* change = reinterpret_cast<const NMLISTVIEW*>(header);
    if (change->uChanged & LVIF_STATE) ShowRuleDetails();
    return true;
  }
  if (header->code == NM_DBLCLK) {
    SelectInMainWindow(reinterpret_cast<const NMITEMACTIVATE*>(header)->iItem);
    return true;
  }
  return false;
}

}  // namespace velkor
