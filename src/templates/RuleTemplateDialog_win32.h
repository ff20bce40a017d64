#pragma once
// RuleTemplateDialog (dialog 151): the list of ready-made rules with their
// images and a description of the selected one. In: the id to preselect (-1
// for none). Out: the chosen id, -1 when no row was selected. The dialog ends
// with 1077 when OK is pressed, whether or not a row is selected, else with
// IDCANCEL.

#include <windows.h>

#include "templates/RuleTemplates.h"
#include "win/Dialog.h"

namespace velkor {

class RuleTemplateDialog : public win::Dialog {
 public:
  explicit RuleTemplateDialog(RuleTemplateId preselect = -1) : preselect_(preselect) {}

  INT_PTR Run(HWND owner);
  RuleTemplateId Chosen() const { return chosen_; }

 protected:
  bool OnInit() override;
  bool OnCommand(int id, int code, HWND control) override;
  bool OnNotify(int id, NMHDR* header, LRESULT* result) override;

 private:
  // Shows the selected row's description and remembers its id.
  void ShowSelection();

  RuleTemplateId preselect_;
  RuleTemplateId chosen_ = -1;
};

}  // namespace velkor
