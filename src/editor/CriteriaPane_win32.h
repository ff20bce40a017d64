#pragma once
// CriteriaPane: the criteria of the one shown rule — the twelve rows of
// CriteriaTypeList (1003) with their check boxes, the value pane of the
// selected row (ValueList 1006 with its focus header, combo 1014 with label
// 1015, size edit 1016), the rule-logic radios (1017/1018 in group 1023) and
// the word option radios (1019-1022 in groups 1024/1025). Its rules live in
// CriteriaEditing; this file reads the controls and shows the results.
// ValueList is the shared word list (WordListPane); the pane is its host and
// writes every change of rows into the shown criterion.

#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "editor/CriteriaEditing.h"
#include "editor/EditorPane_win32.h"
#include "res/resource.h"
#include "editor/ImprovedHeaderCtrl_win32.h"
#include "editor/WordListPane_win32.h"

namespace velkor {

class CriteriaPane : public EditorPane, private WordListHost {
 public:
  CriteriaPane() : words_(kCriterionWordsTraits, *this) {}

  // The NG-word tool (command 32838 on the body row); unset leaves it greyed.
  void SetNgWordTool(std::function<void()> open) { ngWordTool_ = std::move(open); }

  bool OwnsControl(int id) const override;
  std::uint32_t HelpContext() const override { return HelpContextForControl(IDC_CRITERIA_TYPE_LIST); }
  void OnInit() override;
  void OnDestroy() override;
  bool OnCommand(int id, int code, HWND control) override;
  bool OnNotify(int id, NMHDR* header, LRESULT* result) override;
  bool OnContextMenu(HWND control, LPARAM point) override;
  HWND EditingList() const override;
  GenericCommands Generic() const override;
  bool OnGenericCommand(int generic) override;
  bool IsCommandEnabled(UINT command) const override;
  void OnSessionUnloading() override;
  void OnSessionLoaded() override;
  void OnRuleShown(std::int64_t rule) override;
  void RememberSelection(RememberedSelection* selection) const override;
  bool EndEditForPress(HWND control, HWND focus) override;
  bool FocusOnPress(const MSG& msg, HWND focus) override;
  void EndEdit() override;

  // Selects a row as the user would, showing its pane when it is checked.
  void SelectRow(int row);
  int SelectedRow() const;
  // The shown rule's criteria in use (0 when none is shown).
  SlotMask ShownMask() const { return HasRule() ? Editing().Mask() : 0; }
  // An item of ValueList is being label-edited.
  bool LabelEditing() const { return labelEditing_; }
  // Merges words into ValueList (equal items are selected instead) and commits.
  void MergeIntoList(const std::vector<std::string>& words);
  // Adds text to ValueList as its paste does (addressBook: the address-book paste).
  void PasteIntoList(const std::string& text, bool addressBook);

 private:
  CriteriaEditing Editing() const;
  bool HasRule() const { return rule_ >= 0; }
  bool WordsShown() const { return HasRule() && PaneOfRow(shownRow_) == CriterionPane::Words; }
  void Edited();

  void SetCheckBoxes();
  void HidePane();
  void ShowRowPane(int row, bool checking);
  void ShowView(int row, const CriterionPaneView& view);
  void RefreshOptions();
  void OnRowChanged(const NMLISTVIEW& change);
  static void CopyTip(NMLVGETINFOTIPA* tip, const std::string& text);
  void RowTip(NMLVGETINFOTIPA* tip) const;

  void OnComboChosen();
  void OnSizeChanged();
  void CommitSize(bool focusLost);
  void OnOption(int id);

  // The words of the shown word row (none when no word row shows).
  std::vector<std::string> ListItems() const;
  bool IsListCommand(int id) const;
  void AddKana();

  // WordListHost
  void CommitWords(const std::vector<std::string>& words) override;
  bool AddressBookOpen() const override;
  const AddressEntryList& AddressEntries() const override;
  std::vector<std::string> OwnAddresses() const override;
  std::vector<std::string> BlockedAddresses() const override;
  void LabelEditing(bool editing) override;

  std::function<void()> ngWordTool_;
  WordListPane words_;
  CImprovedHeaderCtrl valueHeader_;
  std::int64_t rule_ = -1;
  int shownRow_ = -1;  // the row whose value pane shows, -1 none
  // Set while the pane changes the rows' check boxes or selection itself.
  bool rowGuard_ = false;
  bool labelEditing_ = false;
  bool sizeEditing_ = false;
  bool sizeGuard_ = false;  // set while the pane writes the size edit itself
};

}  // namespace velkor
