#include "templates/TemplateCommand_win32.h"

#include "addressbook/AddressEntries.h"
#include "res/resource.h"
#include "rulestore/Identities.h"
#include "rulestore/RuleStore.h"
#include "templates/PersonalInfoDialogs_win32.h"
#include "templates/RuleTemplateDialog_win32.h"
#include "win/Controls.h"
#include "win/MessageBox.h"
#include "win/ScopedFlag.h"
#include "win/Strings.h"

namespace velkor {

namespace {

class Win32TemplatePlatform : public TemplatePlatform {
 public:
  explicit Win32TemplatePlatform(const TemplateCommandHost& host) : host_(host), list_(host.ruleList) {}

  bool ChooseTemplate(RuleTemplateId preselect, RuleTemplateId* chosen) override {
    RuleTemplateDialog dialog(preselect);
    bool ok = dialog.Run(host_.owner) == IDC_TEMPLATE_OK;
    *chosen = dialog.Chosen();
    return ok;
  }

  InputEnd AskPersonalInfo(const std::vector<std::string>& own, std::vector<std::string>* entries) override {
    PersonalInfoDialog dialog(*host_.settings, own);
    return Ended(dialog.Run(host_.owner), dialog.Entries(), entries);
  }

  InputEnd AskOwnNames(const std::vector<std::string>& own, const std::vector<std::string>& names,
                       std::vector<std::string>* entries) override {
    OwnNameDialog dialog(*host_.settings, own, names);
    return Ended(dialog.Run(host_.owner), dialog.Entries(), entries);
  }

  void Tell(const std::string& text, const std::string& caption, bool warning) override {
    win::ShowMessage(host_.owner, text, caption, MB_OK | (warning ? MB_ICONWARNING : MB_ICONINFORMATION));
  }

  std::vector<std::string> AddressBookAddresses() override {
    std::vector<std::string> addresses;
    const AddressEntryList* book = host_.addressEntries;
    if (!book) return addresses;
    addresses.reserve(book->Count());
    for (std::size_t i = 0; i < book->Count(); ++i) addresses.push_back(book->AddressAt(i));
    return addresses;
  }

  std::vector<std::string> RuleRowNames() override {
    std::vector<std::string> names;
    for (int row = 0; row < list_.Count(); ++row) names.push_back(list_.ItemText(row));
    return names;
  }

  int FirstSelectedRuleRow() override { return list_.NextSelected(); }

  void SelectRuleRow(int row) override {
    Changing([&] {
      list_.UnselectAll();
      list_.SetSelected(row, true);
      list_.SetFocused(row, true);
      list_.EnsureVisible(row);
    });
    list_.Focus();
  }

  void InsertRuleRow(int row, const MailRule& rule, bool checked) override {
    Changing([&] {
      list_.UnselectAll();
      row = list_.Insert(row, rule.Name(), static_cast<LPARAM>(rule.Number()));
      list_.SetChecked(row, checked);
      list_.SetSelected(row, true);
      list_.SetFocused(row, true);
      list_.EnsureVisible(row);
    });
    list_.Focus();
  }

 private:
  static InputEnd Ended(INT_PTR result, const std::vector<std::string>& got, std::vector<std::string>* entries) {
    if (result == IDC_BACK) return InputEnd::Back;
    if (result != IDC_TEMPLATE_OK) return InputEnd::Cancel;
    *entries = got;
    return InputEnd::Ok;
  }

  // Row changes made here are not the user's: the window's handlers ignore
  // them while the guard is set, and the editor is told once afterwards.
  template <class Change>
  void Changing(Change change) {
    bool unguarded = false;
    {
      win::ScopedFlag guard(host_.listGuard ? *host_.listGuard : unguarded);
      change();
    }
    if (host_.showSelection) host_.showSelection();
  }

  const TemplateCommandHost& host_;
  win::ListView list_;
};

}  // namespace

TemplateOutcome RunTemplateCommand(const TemplateCommandHost& host) {
  TemplateSources sources;
  if (host.accounts) {
    sources.ownAddresses = host.accounts->OwnAddresses();
    for (const MailAccount& account : host.accounts->Accounts()) sources.displayNames.push_back(account.smtpDisplayName);
  }
  sources.stamp = host.stamp;
  std::string title = win::LoadResString(IDS_APP_TITLE);
  if (!title.empty()) sources.appTitle = title;
  Win32TemplatePlatform platform(host);
  return CreateRuleFromTemplate(platform, *host.rules, sources);
}

}  // namespace velkor
