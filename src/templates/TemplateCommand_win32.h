#pragma once
// The Win32 side of the "create the ready-made rules" command (32847): the
// template list and the two input dialogs, message boxes through the seam,
// and the main window's rule list. The flow itself is CreateRuleFromTemplate.

#include <windows.h>

#include <functional>

#include "folders/MailFolderList.h"
#include "templates/TemplateFlow.h"

namespace velkor {

class AccountList;
class AddressEntryList;
class RegistryAccess;
class RuleSet;

// What the command needs from the main window. Pointers are borrowed for the
// command's run.
struct TemplateCommandHost {
  HWND owner = nullptr;     // the main window: owner of every dialog and message
  HWND ruleList = nullptr;  // RuleList: report list view with check boxes, item data = rule number
  RuleSet* rules = nullptr;
  RegistryAccess* settings = nullptr;  // where "PrivateInfo" lives
  const AccountList* accounts = nullptr;
  StoreStamp stamp;                       // of the identity's folder list
  const AddressEntryList* addressEntries = nullptr;  // the address book as read; null: none
  bool* listGuard = nullptr;              // set while the command changes rows itself
  std::function<void()> showSelection;   // the editor shows the selected rule
};

TemplateOutcome RunTemplateCommand(const TemplateCommandHost& host);

}  // namespace velkor
