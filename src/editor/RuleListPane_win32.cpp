#include "editor/RuleListPane_win32.h"

#include <cstring>
#include <string>
#include <vector>

#include "editor/RowColours_win32.h"
#include "editor/RuleDragDrop_win32.h"
#include "editor/RuleOrder.h"
#include "res/resource.h"
#include "templates/TemplateCommand_win32.h"
#include "text/ShiftJis.h"
#include "win/Controls.h"
#include "win/PopupMenu.h"
#include "win/RedrawHold.h"
#include "win/ScopedFlag.h"

namespace velkor {
namespace {

constexpr int kRuleMenuPopup = 2;

}  // namespace

bool RuleListPane::OwnsControl(int id) const { return id == IDC_RULE_LIST; }

HWND RuleListPane::EditingList() const { return Item(IDC_RULE_LIST); }

GenericCommands RuleListPane::Generic() const {
  // Copy, cut, paste and find do nothing on the rule list.
  return {ID_RULE_DELETE, 0, 0, 0, ID_RULE_ADD_EMPTY, 0, ID_RULE_SELECT_ALL, 0};
}

void RuleListPane::OnInit() {
  SetUpSingleColumnList(Dialog(), IDC_RULE_LIST, LVS_EX_INFOTIP | LVS_EX_CHECKBOXES, "適用するメールルール",
                        kWordListMargin);
  header_.Attach(Item(IDC_RULE_LIST));
  dropTargetRegistered_ = RegisterRuleDropTarget(Dialog(), Item(IDC_RULE_LIST));
}

void RuleListPane::OnDestroy() {
  if (dropTargetRegistered_) ::RevokeDragDrop(Item(IDC_RULE_LIST));
  dropTargetRegistered_ = false;
  header_.Detach();
}

std::uint32_t RuleListPane::RuleAt(int row) const {
  return static_cast<std::uint32_t>(win::ListView(Dialog(), IDC_RULE_LIST).Data(row));
}

std::int64_t RuleListPane::SingleSelectedRule() const {
  win::ListView list(Dialog(), IDC_RULE_LIST);
  if (list.SelectedCount() != 1) return -1;
  int row = list.NextSelected();
  return row < 0 ? -1 : static_cast<std::int64_t>(RuleAt(row));
}

void RuleListPane::RememberSelection(RememberedSelection* selection) const {
  selection->rule = SingleSelectedRule();
}

void RuleListPane::OnSessionUnloading() {
  win::ScopedFlag guard(guard_);
  win::ListView(Dialog(), IDC_RULE_LIST).Clear();
}

void RuleListPane::OnSessionLoaded() {
  Fill(Session().Remembered().rule);
  Frame().ShowSelectedRule();
}

void RuleListPane::Fill(std::int64_t selectRule) {
  win::ListView list(Dialog(), IDC_RULE_LIST);
  const RuleSet& rules = Session().Rules();
  std::vector<std::uint32_t> ids;
  ids.reserve(static_cast<std::size_t>(rules.Count()));
  win::ScopedFlag guard(guard_);
  for (int i = 0; i < rules.Count(); ++i) {
    const MailRule& rule = rules.At(i);
    int row = list.Insert(i, rule.Name(), static_cast<LPARAM>(rule.Number()));
    list.SetChecked(row, rule.Enabled());
    ids.push_back(rule.Number());
  }
  int row = RowToRestore(ids, selectRule);
  if (row >= 0) {
    list.SetSelected(row, true);
    list.SetFocused(row, true);
  }
}

void RuleListPane::OnSessionShown() {
  win::ListView list(Dialog(), IDC_RULE_LIST);
  int row = list.Focused();
  if (row >= 0) list.EnsureVisible(row);
}

bool RuleListPane::OnCommand(int id, int code, HWND) {
  switch (id) {
    case ID_RULE_ADD_EMPTY:
      AddEmptyRule();
      return true;
    case ID_RULE_CREATE_TEMPLATE:
      CreateFromTemplate();
      return true;
    case ID_RULE_DELETE:
      DeleteSelectedRules();
      return true;
    case ID_RULE_SELECT_ALL:
      win::ListView(Dialog(), IDC_RULE_LIST).SelectAll();
      return true;
    default:
      return false;
  }
}

bool RuleListPane::IsCommandEnabled(UINT command) const {
  win::ListView list(Dialog(), IDC_RULE_LIST);
  switch (command) {
    case ID_RULE_ADD_EMPTY:
    case ID_RULE_CREATE_TEMPLATE:
    case ID_RULE_RESTORE_BACKUP:  // carried out by the frame
    case ID_RULE_TEST:
      return true;
    case ID_RULE_DELETE:
      return list.SelectedCount() > 0;
    case ID_RULE_SELECT_ALL:
      return list.Count() > 0;
    default:
      return false;  // cut, copy and paste have no handler
  }
}

bool RuleListPane::OnContextMenu(HWND control, LPARAM point) {
  if (control != Item(IDC_RULE_LIST)) return false;
  win::TrackPopupMenuAt(Dialog(), IDR_LIST_MENUS, kRuleMenuPopup, win::ContextMenuPoint(control, point),
                        [this](UINT command) { return IsCommandEnabled(command); });
  return true;
}

bool RuleListPane::OnNotify(int id, NMHDR* header, LRESULT* result) {
  if (id != IDC_RULE_LIST) return false;
  switch (header->code) {
    case NM_SETFOCUS:
    case NM_KILLFOCUS:
      ::InvalidateRect(win::ListView(header->hwndFrom).Header(), nullptr, TRUE);
      win::ListView(header->hwndFrom).RedrawAll();  // selection colours follow the focus
      return false;
    case LVN_ITEMCHANGED:
      OnItemChanged(*reinterpret_cast<NMLISTVIEW*>(header));
      return true;
    case LVN_DELETEALLITEMS:
      *result = TRUE;  // no LVN_DELETEITEM for each row: the rows hold no resources
      return true;
    case LVN_BEGINLABELEDITA:
      *result = FALSE;
      return true;
    case LVN_KEYDOWN:
      if (reinterpret_cast<NMLVKEYDOWN*>(header)->wVKey == VK_F2) win::ListView(header->hwndFrom).EditFocused();
      return false;
    case LVN_ENDLABELEDITA:
      *result = OnLabelEdited(*reinterpret_cast<NMLVDISPINFOA*>(header)) ? TRUE : FALSE;
      ::InvalidateRect(win::ListView(header->hwndFrom).Header(), nullptr, TRUE);
      return true;
    case NM_CUSTOMDRAW:
      *result = DrawListRow(reinterpret_cast<NMLVCUSTOMDRAW*>(header), [this](int, LPARAM rule) {
        return Session().Store().IsRuleValid(static_cast<std::uint32_t>(rule)) ? RowLook::Valid : RowLook::Invalid;
      });
      return true;
    case LVN_GETINFOTIPA:
      InfoTip(reinterpret_cast<NMLVGETINFOTIPA*>(header));
      return true;
    case LVN_BEGINDRAG: {
      auto* drag = reinterpret_cast<NMLISTVIEW*>(header);
      if (drag->iItem >= 0) DragRuleRow(Dialog(), header->hwndFrom, drag->iItem);
      return true;
    }
    default:
      return false;
  }
}

void RuleListPane::OnItemChanged(const NMLISTVIEW& change) {
  if (guard_ || !(change.uChanged & LVIF_STATE) || change.iItem < 0) return;
  win::ListView list(Dialog(), IDC_RULE_LIST);
  bool checked = false;
  if (CheckBoxToggled(change, &checked)) {
    {
      win::ScopedFlag guard(guard_);
      list.UnselectAll();
      list.SetSelected(change.iItem, true);
      list.SetFocused(change.iItem, true);
    }
    Frame().ShowSelectedRule();
    Session().Store().SetEnabled(RuleAt(change.iItem), checked);
    Frame().Modified();
    list.RedrawAll();
    return;
  }
  bool wasSelected = (change.uOldState & LVIS_SELECTED) != 0;
  bool isSelected = (change.uNewState & LVIS_SELECTED) != 0;
  if (wasSelected == isSelected) return;
  {
    win::ScopedFlag guard(guard_);
    list.SetFocused(change.iItem, isSelected);
  }
  Frame().ShowSelectedRule();
}

bool RuleListPane::OnLabelEdited(const NMLVDISPINFOA& info) {
  if (!info.item.pszText) return false;  // cancelled
  std::string name = sjis::CleanUserText(info.item.pszText);
  if (name.empty()) {
    Frame().Tell(ruletexts::kBlankName, MB_ICONWARNING);
    return false;
  }
  int row = info.item.iItem;
  {
    win::ScopedFlag guard(guard_);
    win::ListView(Dialog(), IDC_RULE_LIST).SetItemText(row, name);
  }
  Session().Store().SetName(RuleAt(row), name);
  Frame().Modified();
  // The row shows the cleaned text; the list must not put the raw one back.
  return false;
}

void RuleListPane::InfoTip(NMLVGETINFOTIPA* tip) const {
  if (!tip->pszText || tip->cchTextMax <= 0) return;
  std::uint32_t id = RuleAt(tip->iItem);
  win::ListView list(Dialog(), IDC_RULE_LIST);
  bool shown = list.SelectedCount() == 1 && list.IsSelected(tip->iItem);
  std::string text = Session().Store().ProblemText(id, shown);
  text = sjis::TruncateChars(text, static_cast<std::size_t>(tip->cchTextMax - 1));
  std::memcpy(tip->pszText, text.c_str(), text.size() + 1);
}

void RuleListPane::AddEmptyRule() {
  win::ListView list(Dialog(), IDC_RULE_LIST);
  int row = list.NextSelected();
  if (row < 0) row = list.Count();
  MailRule& rule = Session().AddRuleAt(row);
  {
    win::ScopedFlag guard(guard_);
    list.UnselectAll();
    row = list.Insert(row, rule.Name(), static_cast<LPARAM>(rule.Number()));
    list.SetChecked(row, true);
    list.SetSelected(row, true);
    list.SetFocused(row, true);
    list.EnsureVisible(row);
  }
  Frame().ShowSelectedRule();
  Frame().Modified();
  list.EditLabel(row);
}

void RuleListPane::CreateFromTemplate() {
  TemplateCommandHost host;
  host.owner = Dialog();
  host.ruleList = Item(IDC_RULE_LIST);
  host.rules = &Session().Rules();
  host.settings = &Session().Registry();
  host.accounts = &Session().Accounts();
  host.stamp = Session().Folders().Stamp();
  host.addressEntries = &Session().AddressEntries();
  host.listGuard = &guard_;
  host.showSelection = [this] {
    Frame().ShowSelectedRule();
    Frame().Modified();
  };
  RunTemplateCommand(host);
}

void RuleListPane::DeleteSelectedRules() {
  win::ListView list(Dialog(), IDC_RULE_LIST);
  if (list.SelectedCount() == 0) return;
  if (Frame().Ask(ruletexts::kDeleteQuestion, ruletexts::kDeleteTitle, MB_YESNO | MB_ICONQUESTION) != IDYES) return;
  {
    win::RedrawHold hold({list.Handle()});
    win::ScopedFlag guard(guard_);
    for (int row = list.Count() - 1; row >= 0; --row) {
      if (!list.IsSelected(row)) continue;
      Session().RemoveRule(RuleAt(row));
      list.Delete(row);
    }
    list.UnselectAll();
  }
  Frame().ShowSelectedRule();
  Frame().Modified();
}

void RuleListPane::MoveSelectedRules(int source, int target) {
  win::ListView list(Dialog(), IDC_RULE_LIST);
  int count = list.Count();
  if (source < 0 || source >= count) return;
  std::vector<bool> selected(static_cast<std::size_t>(count));
  for (int row = 0; row < count; ++row) selected[static_cast<std::size_t>(row)] = list.IsSelected(row);
  int focused = list.Focused();
  LPARAM focusedId = focused >= 0 ? list.Data(focused) : -1;
  RowMove move = Session().MoveRules(selected, source, target);
  if (!move.moved) return;

  // The rows are rewritten from the session, which now holds the new order.
  const RuleSet& rules = Session().Rules();
  int focusRow = -1;
  {
    win::RedrawHold hold({list.Handle()});
    win::ScopedFlag guard(guard_);
    for (int row = 0; row < count; ++row) {
      const MailRule& rule = rules.At(row);
      list.SetItemText(row, rule.Name());
      list.SetData(row, static_cast<LPARAM>(rule.Number()));
      list.SetChecked(row, rule.Enabled());
      bool isMoved = row >= move.firstInserted && row < move.firstInserted + move.insertedCount;
      list.SetSelected(row, isMoved);
      list.SetFocused(row, false);
      if (static_cast<LPARAM>(rule.Number()) == focusedId) focusRow = row;
    }
    if (focusRow >= 0) list.SetFocused(focusRow, true);
  }
  if (focusRow >= 0) list.EnsureVisible(focusRow);
  Frame().ShowSelectedRule();
  Frame().Modified();
}

bool RuleListPane::SelectFirstInvalid() {
  // The rows show the session's rules in its order, so its index is the row.
  const RuleSet& rules = Session().Rules();
  win::ListView list(Dialog(), IDC_RULE_LIST);
  for (int row = 0; row < rules.Count(); ++row) {
    if (Session().Store().IsRuleValid(rules.At(row).Number())) continue;
    {
      win::ScopedFlag guard(guard_);
      list.UnselectAll();
    }
    list.EnsureVisible(row);
    list.SetSelected(row, true);
    list.SetFocused(row, true);
    return true;
  }
  return false;
}

}  // namespace velkor
