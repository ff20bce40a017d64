#pragma once
// The rule list (1002): one row per rule of the session, in its display
// order, with the rule's name, number (item data) and enabled check box.
// Renaming by label editing, adding, deleting, selecting all, its context
// menu (popup 2 of menu 134), reordering by drag and drop, and the drawing of
// invalid rules in red with their problem as the row's tip.

#include "editor/EditorPane_win32.h"
#include "res/resource.h"
#include "editor/ImprovedHeaderCtrl_win32.h"

namespace velkor {

namespace ruletexts {
constexpr const char* kBlankName = "ルールの名前を空白にできません。";
constexpr const char* kDeleteQuestion = "選択しているメールルールを削除してもよろしいですか？";
constexpr const char* kDeleteTitle = "メールルールの削除";
}  // namespace ruletexts

class RuleListPane : public EditorPane {
 public:
  bool OwnsControl(int id) const override;
  std::uint32_t HelpContext() const override { return HelpContextForControl(IDC_RULE_LIST); }
  void OnInit() override;
  void OnDestroy() override;
  bool OnCommand(int id, int code, HWND control) override;
  bool OnNotify(int id, NMHDR* header, LRESULT* result) override;
  bool OnContextMenu(HWND control, LPARAM point) override;
  HWND EditingList() const override;
  GenericCommands Generic() const override;
  bool IsCommandEnabled(UINT command) const override;
  void OnSessionUnloading() override;
  void OnSessionLoaded() override;
  void OnSessionShown() override;
  void RememberSelection(RememberedSelection* selection) const override;

  // The number of the single selected rule, -1 when not exactly one is selected.
  std::int64_t SingleSelectedRule() const;
  // Moves the selected rules to row `target` (a drop of row `source`).
  void MoveSelectedRules(int source, int target);
  // Selects the first invalid rule alone and scrolls to it; false when every rule is valid.
  bool SelectFirstInvalid();

 private:
  std::uint32_t RuleAt(int row) const;
  void OnItemChanged(const NMLISTVIEW& change);
  bool OnLabelEdited(const NMLVDISPINFOA& info);
  void InfoTip(NMLVGETINFOTIPA* tip) const;
  void AddEmptyRule();
  // The ready-made rules (32847): the new rule selected and shown.
  void CreateFromTemplate();
  void DeleteSelectedRules();
  // One row per rule of the session; selects the row of `selectRule` (row 0 when none shows it).
  void Fill(std::int64_t selectRule);

  bool guard_ = false;  // set while the pane itself changes the list
  bool dropTargetRegistered_ = false;
  CImprovedHeaderCtrl header_;
};

}  // namespace velkor
