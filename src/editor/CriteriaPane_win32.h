#pragma once
// CriteriaPane: the criteria of the one shown rule in the main window — the
// twelve rows of CriteriaTypeList (1003) with their check boxes, the value
// pane of the selected row (ValueList 1006, combo 1014 with label 1015, size
// edit 1016), the rule-logic radios (1017/1018 in group 1023) and the word
// option radios (1019-1022 in groups 1024/1025). Its rules live in
// CriteriaEditing; this file reads the controls and shows the results.
//
// The window routes to it: every notification and command of the controls
// above and the ValueList commands (OnNotify, OnCommand, OnContextMenu),
// which rule is shown (ShowRule, after every change of the rule selection),
// and the remembered row after a reload (SelectRow).

#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "editor/CriteriaEditing.h"

namespace velkor {

class AccountList;
class AddressBook;
class MailFolderList;
class RuleStore;

class CriteriaPane {
 public:
  // What the pane needs from the window it lives in.
  class Host {
   public:
    virtual ~Host() = default;
    virtual RuleStore& Store() = 0;
    virtual const AccountList& Accounts() const = 0;
    virtual const MailFolderList& Folders() const = 0;
    virtual const AddressBook* Book() const = 0;  // null when none is open
    // A rule was edited: repaint the rule list, update the save button.
    virtual void RuleEdited() = 0;
  };

  void Attach(HWND dialog, Host* host) {
    dialog_ = dialog;
    host_ = host;
  }
  // The NG-word tool (command 32838 on the body row); unset leaves it greyed.
  void SetNgWordTool(std::function<void()> open) { ngWordTool_ = std::move(open); }

  bool OwnsControl(int id) const;
  // Shows a rule's rows and the pane of its first checked row; -1 hides all.
  void ShowRule(std::int64_t rule);
  // Selects a row as the user would (the remembered row after a reload).
  void SelectRow(int row);
  int SelectedRow() const;
  // An item of ValueList is being label-edited.
  bool LabelEditing() const { return labelEditing_; }

  bool OnCommand(int id, int code);
  bool OnNotify(int id, NMHDR* header, LRESULT* result);
  bool OnContextMenu(HWND window, POINT screen);

  // Merges words into ValueList (equal items are selected instead) and commits.
  void MergeIntoList(const std::vector<std::string>& words);

 private:
  CriteriaEditing Editing() const;
  HWND Item(int id) const { return ::GetDlgItem(dialog_, id); }
  bool HasRule() const { return rule_ >= 0; }
  bool WordsShown() const { return HasRule() && PaneOfRow(shownRow_) == CriterionPane::Words; }

  void SetCheckBoxes();
  void HidePane();
  void ShowRowPane(int row, bool checking);
  void ShowView(int row, const CriterionPaneView& view);
  void RefreshOptions();
  void OnRowChanged(const NMLISTVIEW& change);
  LRESULT DrawRow(NMLVCUSTOMDRAW* draw) const;
  void RowTip(NMLVGETINFOTIPA* tip) const;
  void ValueTip(NMLVGETINFOTIPA* tip) const;

  void OnComboChosen();
  void OnSizeChanged();
  void CommitSize();
  void OnOption(int id);

  std::vector<std::string> ListItems() const;
  void CommitList();
  void AddEmptyItem();
  bool OnLabelEdited(const NMLVDISPINFOA& info);
  void DeleteSelected();
  void AddKana();

  HWND dialog_ = nullptr;
  Host* host_ = nullptr;
  std::function<void()> ngWordTool_;
  std::int64_t rule_ = -1;
  int shownRow_ = -1;  // the row whose value pane shows, -1 none
  // Set while the pane changes the rows' check boxes or selection itself.
  bool rowGuard_ = false;
  bool labelEditing_ = false;
  bool sizeEditing_ = false;
  bool sizeGuard_ = false;
};

}  // namespace velkor
