#pragma once
// The action pane of the main window: ActionTypeList (1004) with one checked
// row per action of the shown rule, and beside it the value editor of the
// selected row — the folder tree (1027), the colour combo (1028), the address
// or file edit (1031) with its browse button (1032), the mark-or-ignore combo
// (1033) — under label 1034. The rules live in ActionEditing; this file reads
// and fills the controls. Values go into the session at once.

#include <windows.h>
#include <commdlg.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "editor/ActionEditing.h"
#include "editor/ColorComboBox_win32.h"
#include "editor/EditorPane_win32.h"
#include "res/resource.h"
#include "folders/MailFolderTreeCtrl_win32.h"

namespace velkor {

// The file-open dialog of the reply file (GetOpenFileNameA).
using OpenFileDialog = std::function<bool(OPENFILENAMEA* dialog)>;
// Tests replace the system's dialog; an empty function restores it. Answers
// the previous one.
OpenFileDialog SetOpenFileDialog(OpenFileDialog dialog);

class ActionPane : public EditorPane {
 public:
  ActionPane();
  ~ActionPane() override;

  bool OwnsControl(int id) const override;
  std::uint32_t HelpContext() const override { return HelpContextForControl(IDC_ACTION_TYPE_LIST); }
  void OnInit() override;
  void OnDestroy() override;
  bool OnCommand(int id, int code, HWND control) override;
  bool OnNotify(int id, NMHDR* header, LRESULT* result) override;
  void OnSessionUnloading() override;
  void OnSessionLoaded() override;
  void OnRuleShown(std::int64_t rule) override;
  void OnFoldersChanged() override;
  void RememberSelection(RememberedSelection* selection) const override;
  // While the address edit or its button has the focus, a press elsewhere
  // first moves the focus there, which commits the edit.
  bool EndEditForPress(HWND control, HWND focus) override;
  void EndEdit() override;

  int SelectedRow() const;
  // The shown rule's actions in use.
  SlotMask ShownMask() const { return rule_ < 0 ? 0 : Editing(rule_).Mask(); }
  bool AddressEditing() const { return addressEditing_; }


 private:
  static LRESULT CALLBACK FocusProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  void Unsubclass();
  ActionEditing Editing(std::int64_t rule) const;
  const StoreStamp& Stamp() const { return Session().Folders().Stamp(); }
  void SelectRow(int row);
  void ShowRow(int row);
  void ApplyView(int row, const ActionPaneView& view);
  void HideValueControls();
  void SetChecks();
  void OnRowChanged(const NMLISTVIEW& change);
  void OnFolderChosen();
  void OnEntryChosen(int id);
  void CommitText();
  void Browse();
  void BrowseReplyFile();
  LRESULT DrawFolder(NMTVCUSTOMDRAW* draw) const;
  void RowTip(NMLVGETINFOTIPA* tip) const;
  void Changed();

  CMailFolderTreeCtrl tree_;
  CColorComboBox colours_;
  WNDPROC editProcedure_ = nullptr;
  WNDPROC buttonProcedure_ = nullptr;

  std::int64_t rule_ = -1;      // the rule shown
  int shownRow_ = -1;           // the row whose value editor is shown
  std::int64_t textRule_ = -1;  // the rule and row the address edit was filled for
  int textRow_ = -1;
  bool listGuard_ = false;  // set while the pane changes ActionTypeList itself
  bool treeGuard_ = false;  // set while the pane selects a folder itself
  bool committing_ = false;
  bool browsing_ = false;  // a dialog of the browse button is open
  bool addressEditing_ = false;
};

}  // namespace velkor
