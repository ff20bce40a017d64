// The main window's rule list: showing the selected rule, the list's item
// changes, renaming, adding, deleting and moving rules, the drawing of invalid
// rules, and the keys and mouse presses that run before the dialog sees them.
#include "editor/RuleEditorWindow_win32.h"

#include <commctrl.h>

#include <cstring>
#include <iterator>
#include <string>
#include <vector>

#include "addressbook/AddressBook_win32.h"
#include "editor/RuleOrder.h"
#include "res/resource.h"
#include "text/ShiftJis.h"
#include "win/Controls.h"
#include "win/MessageBox.h"
#include "win/Strings.h"

namespace velkor {
namespace {

using namespace mainwindow;

// Value controls of the action pane.
const int kActionPaneControls[] = {IDC_ACTION_LABEL, IDC_FOLDER_TREE, IDC_COLOR_COMBO,
                                   IDC_ADDRESS_EDIT, IDC_BROWSE,      IDC_MARK_COMBO};

// Generic editing keys and what each list makes of them (0: nothing).
struct GenericRoute {
  int generic;
  int blocked;
  int rules;
  int values;
};
const GenericRoute kGenericRoutes[] = {
    {ID_EDIT_CLEAR, ID_BLOCKED_DELETE, ID_RULE_DELETE, ID_VALUE_DELETE},
    {ID_EDIT_COPY, ID_BLOCKED_COPY, 0, ID_VALUE_COPY},
    {ID_EDIT_CUT, ID_BLOCKED_CUT, 0, ID_VALUE_CUT},
    {ID_EDIT_FIND, ID_BLOCKED_FIND, 0, ID_VALUE_FIND},
    {ID_EDIT_INSERT, ID_BLOCKED_ADD_ITEM, ID_RULE_ADD_EMPTY, ID_VALUE_ADD_ITEM},
    {ID_EDIT_PASTE, ID_BLOCKED_PASTE, 0, ID_VALUE_PASTE},
    {ID_EDIT_SELECT_ALL, ID_BLOCKED_SELECT_ALL, ID_RULE_SELECT_ALL, ID_VALUE_SELECT_ALL},
};

}  // namespace

// ---------------------------------------------------------------------------
// The rule list

std::uint32_t RuleEditorWindow::RuleIdAt(int row) const {
  return static_cast<std::uint32_t>(win::ListView(Handle(), IDC_RULE_LIST).Data(row));
}

std::int64_t RuleEditorWindow::SingleSelectedRuleId() const {
  win::ListView list(Handle(), IDC_RULE_LIST);
  if (list.SelectedCount() != 1) return -1;
  int row = list.NextSelected();
  return row < 0 ? -1 : static_cast<std::int64_t>(RuleIdAt(row));
}

void RuleEditorWindow::HideValuePanes() {
  criteria_.ShowRule(-1);
  win::ShowControls(Handle(), kActionPaneControls, static_cast<int>(std::size(kActionPaneControls)), false);
}

// The value editors of the actions are added with the action editor; until
// then a selected action row shows its check box and tip only.
void RuleEditorWindow::ShowActionPane(int row) {
  win::ShowControls(Handle(), kActionPaneControls, static_cast<int>(std::size(kActionPaneControls)), false);
  (void)row;
}

void RuleEditorWindow::RuleEdited() {
  UpdateSaveButton();
  win::ListView(Handle(), IDC_RULE_LIST).RedrawAll();
}

const AddressBook* RuleEditorWindow::Book() const {
  return addressBook_ && addressBook_->IsOpen() ? addressBook_.get() : nullptr;
}

void RuleEditorWindow::ShowSelectedRule() {
  win::ListView actions(Handle(), IDC_ACTION_TYPE_LIST);
  std::int64_t id = SingleSelectedRuleId();
  if (id < 0 || !store_.HasRule(static_cast<std::uint32_t>(id))) {
    actions.Show(false);
    HideValuePanes();
    return;
  }
  const auto number = static_cast<std::uint32_t>(id);
  criteria_.ShowRule(id);
  SlotMask actionMask = store_.ActionMask(number);
  actionGuard_ = true;
  int firstAction = -1;
  actions.UnselectAll();
  for (int slot = 0; slot < kSlotCount; ++slot) {
    bool usesAction = (actionMask & SlotBit(slot)) != 0;
    actions.SetChecked(slot, usesAction);
    if (usesAction && firstAction < 0) firstAction = slot;
  }
  actions.Show(true);
  if (firstAction >= 0) {
    actions.SetSelected(firstAction, true);
    actions.SetFocused(firstAction, true);
    ShowActionPane(firstAction);
  } else {
    win::ShowControls(Handle(), kActionPaneControls, static_cast<int>(std::size(kActionPaneControls)), false);
  }
  actionGuard_ = false;
  actions.RedrawAll();
}

namespace {
// State image 1 = unchecked, 2 = checked; 0 = none yet (a row being inserted).
int CheckState(UINT state) { return static_cast<int>((state & LVIS_STATEIMAGEMASK) >> 12); }
}  // namespace

void RuleEditorWindow::OnRuleItemChanged(const NMLISTVIEW& change) {
  if (ruleListGuard_ || !(change.uChanged & LVIF_STATE) || change.iItem < 0) return;
  win::ListView list(Handle(), IDC_RULE_LIST);
  int oldCheck = CheckState(change.uOldState), newCheck = CheckState(change.uNewState);
  if (oldCheck != 0 && newCheck != 0 && oldCheck != newCheck) {
    ruleListGuard_ = true;
    list.UnselectAll();
    list.SetSelected(change.iItem, true);
    list.SetFocused(change.iItem, true);
    ruleListGuard_ = false;
    ShowSelectedRule();
    store_.SetEnabled(RuleIdAt(change.iItem), newCheck == 2);
    UpdateSaveButton();
    list.RedrawAll();
    return;
  }
  bool wasSelected = (change.uOldState & LVIS_SELECTED) != 0;
  bool isSelected = (change.uNewState & LVIS_SELECTED) != 0;
  if (wasSelected == isSelected) return;
  ruleListGuard_ = true;
  list.SetFocused(change.iItem, isSelected);
  ruleListGuard_ = false;
  ShowSelectedRule();
}

// Until the action editor arrives, a check box of the action list puts the
// slot in or out of use; the mask is then shown again, so the combination
// rule stays visible.
void RuleEditorWindow::OnSlotItemChanged(int listId, const NMLISTVIEW& change) {
  if (actionGuard_ || !(change.uChanged & LVIF_STATE) || change.iItem < 0) return;
  int oldCheck = CheckState(change.uOldState), newCheck = CheckState(change.uNewState);
  std::int64_t id = SingleSelectedRuleId();
  if (oldCheck == 0 || newCheck == 0 || oldCheck == newCheck || id < 0) return;
  const auto number = static_cast<std::uint32_t>(id);
  SlotMask bit = SlotBit(change.iItem);
  store_.SetActionInUse(number, bit, newCheck == 2);
  win::ListView list(Handle(), listId);
  SlotMask mask = store_.ActionMask(number);
  actionGuard_ = true;
  for (int slot = 0; slot < kSlotCount; ++slot) list.SetChecked(slot, (mask & SlotBit(slot)) != 0);
  list.UnselectAll();
  list.SetSelected(change.iItem, true);
  list.SetFocused(change.iItem, true);
  actionGuard_ = false;
  UpdateSaveButton();
  RepaintRuleLists();
}

bool RuleEditorWindow::OnRuleLabelEdited(const NMLVDISPINFOA& info) {
  if (!info.item.pszText) return false;  // cancelled
  std::string name = sjis::CleanUserText(info.item.pszText);
  if (name.empty()) {
    win::ShowMessage(Handle(), kBlankName, win::LoadResString(IDS_APP_TITLE), MB_OK | MB_ICONWARNING);
    return false;
  }
  int row = info.item.iItem;
  win::ListView list(Handle(), IDC_RULE_LIST);
  ruleListGuard_ = true;
  list.SetItemText(row, name);
  ruleListGuard_ = false;
  store_.SetName(RuleIdAt(row), name);
  UpdateSaveButton();
  // The row shows the cleaned text; the list must not put the raw one back.
  return false;
}

LRESULT RuleEditorWindow::DrawRuleRow(NMLVCUSTOMDRAW* draw) {
  switch (draw->nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
      return CDRF_NOTIFYITEMDRAW;
    case CDDS_ITEMPREPAINT: {
      win::ListView list(draw->nmcd.hdr.hwndFrom);
      int row = static_cast<int>(draw->nmcd.dwItemSpec);
      bool editing = ListView_GetEditControl(list.Handle()) != nullptr &&
                     list.Focused() == row;
      if (editing) return CDRF_DODEFAULT;
      bool valid = store_.IsRuleValid(static_cast<std::uint32_t>(draw->nmcd.lItemlParam));
      bool selected = list.IsSelected(row);
      if (selected) {
        // Drawn by us: the list's own highlight would hide the colours.
        draw->nmcd.uItemState &= ~(CDIS_SELECTED | CDIS_FOCUS);
        if (list.HasFocus()) {
          draw->clrText = kSelectedFocusText;
          draw->clrTextBk = kSelectedFocusBack;
        } else {
          draw->clrText = valid ? kSelectedText : kInvalidText;
          draw->clrTextBk = kSelectedBack;
        }
      } else {
        draw->clrText = valid ? RGB(0, 0, 0) : kInvalidText;
        draw->clrTextBk = RGB(255, 255, 255);
      }
      return CDRF_NEWFONT;
    }
    default:
      return CDRF_DODEFAULT;
  }
}

void RuleEditorWindow::RuleInfoTip(NMLVGETINFOTIPA* tip) {
  if (!tip->pszText || tip->cchTextMax <= 0) return;
  std::uint32_t id = RuleIdAt(tip->iItem);
  win::ListView list(Handle(), IDC_RULE_LIST);
  bool shown = list.SelectedCount() == 1 && list.IsSelected(tip->iItem);
  std::string text = store_.ProblemText(id, shown);
  text = sjis::TruncateChars(text, static_cast<std::size_t>(tip->cchTextMax - 1));
  std::memcpy(tip->pszText, text.c_str(), text.size() + 1);
}

void RuleEditorWindow::AddEmptyRule() {
  win::ListView list(Handle(), IDC_RULE_LIST);
  int row = list.NextSelected();
  if (row < 0) row = list.Count();
  MailRule& rule = store_.Rules().AddNewRule();
  ruleListGuard_ = true;
  list.UnselectAll();
  row = list.Insert(row, rule.Name(), static_cast<LPARAM>(rule.Number()));
  list.SetChecked(row, true);
  list.SetSelected(row, true);
  list.SetFocused(row, true);
  list.EnsureVisible(row);
  ruleListGuard_ = false;
  ShowSelectedRule();
  UpdateSaveButton();
  list.EditLabel(row);
}

void RuleEditorWindow::DeleteSelectedRules() {
  win::ListView list(Handle(), IDC_RULE_LIST);
  if (list.SelectedCount() == 0) return;
  if (Ask(kDeleteQuestion, kDeleteTitle, MB_YESNO | MB_ICONQUESTION) != IDYES) return;
  ruleListGuard_ = true;
  for (int row = list.Count() - 1; row >= 0; --row) {
    if (!list.IsSelected(row)) continue;
    store_.Rules().Remove(RuleIdAt(row));
    list.Delete(row);
  }
  list.UnselectAll();
  ruleListGuard_ = false;
  ShowSelectedRule();
  UpdateSaveButton();
}

void RuleEditorWindow::MoveSelectedRules(int source, int target) {
  win::ListView list(Handle(), IDC_RULE_LIST);
  int count = list.Count();
  if (source < 0 || source >= count) return;
  std::vector<bool> selected(static_cast<std::size_t>(count));
  for (int row = 0; row < count; ++row) selected[static_cast<std::size_t>(row)] = list.IsSelected(row);
  RowMove move = MoveSelectedRows(count, selected, source, target);
  if (!move.moved) return;

  struct Row {
    std::string text;
    LPARAM id;
    bool checked;
  };
  std::vector<Row> rows;
  for (int row = 0; row < count; ++row) rows.push_back({list.ItemText(row), list.Data(row), list.IsChecked(row)});
  int focused = list.Focused();
  LPARAM focusedId = focused >= 0 ? rows[static_cast<std::size_t>(focused)].id : -1;

  ruleListGuard_ = true;
  int focusRow = -1;
  for (int row = 0; row < count; ++row) {
    const Row& from = rows[static_cast<std::size_t>(move.order[static_cast<std::size_t>(row)])];
    list.SetItemText(row, from.text);
    list.SetData(row, from.id);
    list.SetChecked(row, from.checked);
    bool isMoved = row >= move.firstInserted && row < move.firstInserted + move.insertedCount;
    list.SetSelected(row, isMoved);
    list.SetFocused(row, false);
    if (from.id == focusedId) focusRow = row;
  }
  if (focusRow >= 0) {
    list.SetFocused(focusRow, true);
    list.EnsureVisible(focusRow);
  }
  ruleListGuard_ = false;
  store_.Rules().MarkOrderChanged();
  ShowSelectedRule();
  UpdateSaveButton();
  list.RedrawAll();
}

void RuleEditorWindow::RepaintRuleLists() {
  win::ListView(Handle(), IDC_RULE_LIST).RedrawAll();
  win::ListView(Handle(), IDC_CRITERIA_TYPE_LIST).RedrawAll();
  win::ListView(Handle(), IDC_ACTION_TYPE_LIST).RedrawAll();
}

void RuleEditorWindow::ShowRuleListMenu(POINT screen) {
  HMENU menus = ::LoadMenuA(win::ProgramInstance(), MAKEINTRESOURCEA(IDR_LIST_MENUS));
  if (!menus) return;
  HMENU popup = ::GetSubMenu(menus, 2);
  win::ListView list(Handle(), IDC_RULE_LIST);
  auto enable = [popup](UINT id, bool on) { ::EnableMenuItem(popup, id, MF_BYCOMMAND | (on ? MF_ENABLED : MF_GRAYED)); };
  enable(ID_RULE_ADD_EMPTY, true);
  enable(ID_RULE_CREATE_TEMPLATE, false);  // the templates come with their own dialogs
  enable(ID_RULE_CUT, false);
  enable(ID_RULE_COPY, false);
  enable(ID_RULE_PASTE, false);
  enable(ID_RULE_DELETE, list.SelectedCount() > 0);
  enable(ID_RULE_SELECT_ALL, list.Count() > 0);
  if (screen.x == -1 && screen.y == -1) {  // from the keyboard: at the focused row
    RECT rect{};
    int row = list.Focused();
    if (row >= 0 && list.ItemRect(row, &rect, LVIR_LABEL)) {
      screen = POINT{rect.left, rect.bottom};
      ::ClientToScreen(list.Handle(), &screen);
    } else {
      ::GetCursorPos(&screen);
    }
  }
  ::TrackPopupMenu(popup, TPM_LEFTALIGN | TPM_RIGHTBUTTON, screen.x, screen.y, 0, Handle(), nullptr);
  ::DestroyMenu(menus);
}

void RuleEditorWindow::ForwardGenericCommand(int genericId) {
  HWND focus = ::GetFocus();
  for (const GenericRoute& route : kGenericRoutes) {
    if (route.generic != genericId) continue;
    int command = 0;
    if (focus == Item(IDC_BLOCKED_SENDER_VIEW)) command = route.blocked;
    else if (focus == Item(IDC_RULE_LIST)) command = route.rules;
    else if (focus == Item(IDC_VALUE_LIST)) command = route.values;
    if (command) ::SendMessageA(Handle(), WM_COMMAND, MAKEWPARAM(command, 0), 0);
    return;
  }
}

namespace {
bool IsButtonPress(UINT message) {
  return message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN || message == WM_MBUTTONDOWN;
}
}  // namespace

HWND RuleEditorWindow::ControlOf(HWND window) const {
  // The dialog's own child that holds `window` (a list for its header, a combo
  // for its edit). GA_PARENT, not GetParent: a dialog over this window is
  // owned by it, not its child.
  while (window && window != Handle()) {
    HWND parent = ::GetAncestor(window, GA_PARENT);
    if (parent == Handle()) return window;
    window = parent;
  }
  return nullptr;
}

bool RuleEditorWindow::ApplyMouseRules(const MSG& msg) {
  if (!IsButtonPress(msg.message) || !msg.hwnd) return false;
  HWND control = ControlOf(msg.hwnd);
  if (!control) return false;  // the main window itself, or a window over it
  HWND focus = ::GetFocus();
  // An edit in progress must be committed before the press does anything:
  // moving the focus ends it, and the press itself is dropped.
  HWND values = Item(IDC_VALUE_LIST);
  if (ListView_GetEditControl(values)) {
    if (control == values) return false;
    ::SetFocus(control);
    return true;
  }
  HWND sizeEdit = Item(IDC_SIZE_EDIT);
  if (focus == sizeEdit && control != sizeEdit) {
    ::SetFocus(control);
    return true;
  }
  HWND addressEdit = Item(IDC_ADDRESS_EDIT);
  if (focus == addressEdit && control != addressEdit && control != Item(IDC_BROWSE)) {
    ::SetFocus(control);
    return true;
  }
  // The first press on an unfocused word or sender list only gives it the focus.
  HWND blocked = Item(IDC_BLOCKED_SENDER_VIEW);
  if ((msg.hwnd == blocked || msg.hwnd == values) && focus != msg.hwnd &&
      !ListView_GetEditControl(msg.hwnd)) {
    ::SetFocus(msg.hwnd);
    return msg.message == WM_LBUTTONDOWN;
  }
  return false;
}

bool RuleEditorWindow::PreTranslate(MSG* msg) {
  if (!msg || ended_ || !Handle()) return false;
  if (ApplyMouseRules(*msg)) return true;
  if (!accelerators_) return false;
  if (msg->message < WM_KEYFIRST || msg->message > WM_KEYLAST) return false;
  HWND focus = ::GetFocus();
  if (focus != Item(IDC_BLOCKED_SENDER_VIEW) && focus != Item(IDC_RULE_LIST) && focus != Item(IDC_VALUE_LIST))
    return false;
  return ::TranslateAcceleratorA(Handle(), accelerators_, msg) != 0;
}

}  // namespace velkor
