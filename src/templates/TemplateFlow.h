#pragma once
// The "create the ready-made rules" command as a flow that asks the platform
// through a small interface: the template list, the two input dialogs, the
// messages and the rule list of the main window. It runs in a test without a
// person and without windows.

#include <cstdint>
#include <string>
#include <vector>

#include "folders/MailFolderList.h"
#include "templates/RuleTemplates.h"

namespace velkor {

class MailRule;
class RuleSet;

// How an input dialog ended.
enum class InputEnd { Ok, Back, Cancel };

class TemplatePlatform {
 public:
  virtual ~TemplatePlatform() = default;

  // Shows the template list with `preselect` selected (-1: none). False when it
  // was not ended with OK; otherwise *chosen is the selected id or -1.
  virtual bool ChooseTemplate(RuleTemplateId preselect, RuleTemplateId* chosen) = 0;
  // The personal-information and own-name dialogs; on Ok *entries holds their list.
  virtual InputEnd AskPersonalInfo(const std::vector<std::string>& ownAddresses,
                                   std::vector<std::string>* entries) = 0;
  virtual InputEnd AskOwnNames(const std::vector<std::string>& ownAddresses,
                               const std::vector<std::string>& displayNames, std::vector<std::string>* entries) = 0;
  // A modal message with an information or warning icon.
  virtual void Tell(const std::string& text, const std::string& caption, bool warning) = 0;
  // The address book's addresses in its order (none when it is not open).
  virtual std::vector<std::string> AddressBookAddresses() = 0;

  // The rule list: its row names in order, and its first selected row or -1.
  virtual std::vector<std::string> RuleRowNames() = 0;
  virtual int FirstSelectedRuleRow() = 0;
  // Unselects every row, then selects, focuses and shows this one.
  virtual void SelectRuleRow(int row) = 0;
  // Unselects every row, inserts the rule's row at `row` with its check box,
  // and selects, focuses and shows it as for a user selection.
  virtual void InsertRuleRow(int row, const MailRule& rule, bool checked) = 0;
};

// What the identity gives the templates.
struct TemplateSources {
  std::vector<std::string> ownAddresses;  // the accounts' SMTP addresses, in account order
  std::vector<std::string> displayNames;  // the accounts' SMTP display names
  StoreStamp stamp;                       // of the identity's folder list
  std::string appTitle = "Velkor";        // caption of the address messages
};

struct TemplateOutcome {
  RuleTemplateId id = -1;        // the template created, -1 when none
  std::int64_t ruleNumber = -1;  // its rule
  int row = -1;                  // its row in the rule list
};

// Runs the command once: list, checks, input, the rule created in `rules`,
// shown in the list, and the success message.
TemplateOutcome CreateRuleFromTemplate(TemplatePlatform& platform, RuleSet& rules, const TemplateSources& sources);

}  // namespace velkor
