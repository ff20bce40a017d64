#include "editor/ActionPane_win32.h"

#include <commctrl.h>

#include <cstring>
#include <algorithm>
#include <iterator>

#include "editor/RowColours_win32.h"
#include "res/resource.h"
#include "rulestore/RuleStore.h"
#include "text/ShiftJis.h"
#include "win/Controls.h"
#include "win/Procedures.h"
#include "win/ScopedFlag.h"
#include "win/WaitCursor.h"

namespace velkor {
namespace {

constexpr const char* kSelfProperty = "VelkorActionPane";
const int kValueControls[] = {IDC_ACTION_LABEL, IDC_FOLDER_TREE, IDC_COLOR_COMBO,
                              IDC_ADDRESS_EDIT, IDC_BROWSE,      IDC_MARK_COMBO};

}  // namespace

ActionPane::ActionPane() = default;

ActionPane::~ActionPane() = default;

bool ActionPane::OwnsControl(int id) const {
  return id == IDC_ACTION_TYPE_LIST || std::find(std::begin(kValueControls), std::end(kValueControls), id) !=
                                           std::end(kValueControls);
}

void ActionPane::Unsubclass() {
  for (auto [id, procedure] : {std::pair{IDC_ADDRESS_EDIT, &editProcedure_}, std::pair{IDC_BROWSE, &buttonProcedure_}}) {
    HWND control = Item(id);
    if (*procedure && ::IsWindow(control)) {
      win::ReplaceWindowProcedure(control, *procedure);
      ::RemovePropA(control, kSelfProperty);
    }
    *procedure = nullptr;
  }
}

void ActionPane::OnDestroy() {
  Unsubclass();
  rule_ = textRow_ = shownRow_ = -1;
}

void ActionPane::OnInit() {
  SetUpSingleColumnList(Dialog(), IDC_ACTION_TYPE_LIST, LVS_EX_INFOTIP | LVS_EX_FULLROWSELECT | LVS_EX_CHECKBOXES,
                        ruletext::kActionsHeader, ScrollBarMargin());
  win::ListView list(Dialog(), IDC_ACTION_TYPE_LIST);
  {
    win::ScopedFlag guard(listGuard_);
    for (int row = 0; row < kSlotCount; ++row) list.Insert(row, ActionSlot(row).shortName, row);
  }
  list.Show(false);
  colours_.Create(Item(IDC_COLOR_COMBO));
  tree_.Attach(Item(IDC_FOLDER_TREE));
  win::Edit(Dialog(), IDC_ADDRESS_EDIT).SetLimit(0x7FFFFFFE);
  // The edit and its button commit when the focus leaves the pair; only the
  // controls themselves learn where the focus goes.
  for (auto [id, procedure] : {std::pair{IDC_ADDRESS_EDIT, &editProcedure_}, std::pair{IDC_BROWSE, &buttonProcedure_}}) {
    HWND control = Item(id);
    ::SetPropA(control, kSelfProperty, this);
    *procedure = win::ReplaceWindowProcedure(control, &ActionPane::FocusProcedure);
  }
  HideValueControls();
}

LRESULT CALLBACK ActionPane::FocusProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = static_cast<ActionPane*>(::GetPropA(hwnd, kSelfProperty));
  if (!self) return ::DefWindowProcA(hwnd, message, wParam, lParam);
  const bool edit = ::GetDlgCtrlID(hwnd) == IDC_ADDRESS_EDIT;
  WNDPROC& previous = edit ? self->editProcedure_ : self->buttonProcedure_;
  if (message == WM_DESTROY) {
    // The control is going: it forgets the pane.
    const WNDPROC original = previous;
    previous = nullptr;
    win::ReplaceWindowProcedure(hwnd, original);
    ::RemovePropA(hwnd, kSelfProperty);
    return ::CallWindowProcA(original, hwnd, message, wParam, lParam);
  }
  const LRESULT result = ::CallWindowProcA(previous, hwnd, message, wParam, lParam);
  if (message == WM_SETFOCUS) {
    self->addressEditing_ = true;
  } else if (message == WM_KILLFOCUS && !self->browsing_) {
    HWND partner = ::GetDlgItem(self->Dialog(), edit ? IDC_BROWSE : IDC_ADDRESS_EDIT);
    if (reinterpret_cast<HWND>(wParam) != partner) self->CommitText();
  }
  return result;
}

ActionEditing ActionPane::Editing(std::int64_t rule) const {
  RuleStore& store = Session().Store();
  const PathCheck& paths = store.Checks().paths ? *store.Checks().paths : FileSystemPathCheck();
  return ActionEditing(store, static_cast<std::uint32_t>(rule), paths);
}

void ActionPane::HideValueControls() {
  textRow_ = -1;
  shownRow_ = -1;
  win::ShowControls(Dialog(), kValueControls, static_cast<int>(std::size(kValueControls)), false);
}

void ActionPane::SetChecks() {
  win::ListView list(Dialog(), IDC_ACTION_TYPE_LIST);
  const SlotMask mask = rule_ >= 0 ? Editing(rule_).Mask() : 0;
  listGuard_ = true;
  for (int row = 0; row < kSlotCount; ++row) list.SetChecked(row, (mask & SlotBit(row)) != 0);
  listGuard_ = false;
}

void ActionPane::OnRuleShown(std::int64_t rule) {
  win::ListView list(Dialog(), IDC_ACTION_TYPE_LIST);
  EndEdit();
  rule_ = rule >= 0 && Session().Store().HasRule(static_cast<std::uint32_t>(rule)) ? rule : -1;
  HideValueControls();
  if (rule_ < 0) {
    list.Show(false);
    return;
  }
  listGuard_ = true;
  list.UnselectAll();
  listGuard_ = false;
  SetChecks();
  list.Show(true);
  const int first = Editing(rule_).FirstChecked();
  if (first >= 0) SelectRow(first);
  list.RedrawAll();
}

void ActionPane::SelectRow(int row) {
  if (rule_ < 0 || row < 0 || row >= kSlotCount) return;
  win::ListView list(Dialog(), IDC_ACTION_TYPE_LIST);
  listGuard_ = true;
  list.UnselectAll();
  list.SetSelected(row, true);
  list.SetFocused(row, true);
  list.EnsureVisible(row);
  listGuard_ = false;
  if (Editing(rule_).Holds(row))
    ShowRow(row);
  else
    HideValueControls();
}

void ActionPane::OnSessionUnloading() {
  EndEdit();
  rule_ = textRow_ = shownRow_ = -1;
}

// The identity's folder list is in place only now; the rule list has already
// shown its rule, so a visible pane is shown again on the new tree.
void ActionPane::OnSessionLoaded() {
  {
    win::ScopedFlag guard(treeGuard_);
    tree_.Build(Session().Folders());
  }
  const RememberedSelection& remembered = Session().Remembered();
  if (rule_ >= 0 && remembered.rule == rule_ && remembered.action >= 0 && remembered.action < kSlotCount)
    SelectRow(remembered.action);
  else if (shownRow_ >= 0)
    ShowRow(shownRow_);
}

void ActionPane::RememberSelection(RememberedSelection* selection) const {
  selection->action = selection->rule < 0 ? -1 : SelectedRow();
}

bool ActionPane::EndEditForPress(HWND control, HWND focus) {
  if (!addressEditing_ || control == Item(IDC_ADDRESS_EDIT) || control == Item(IDC_BROWSE)) return false;
  ::SetFocus(control);
  // A focus that did not move (a control that takes none) still commits.
  if (addressEditing_) EndEdit();
  return true;
}

int ActionPane::SelectedRow() const { return win::ListView(Dialog(), IDC_ACTION_TYPE_LIST).NextSelected(); }

void ActionPane::ShowRow(int row) {
  if (rule_ < 0) return;
  // An edit in progress belongs to the row shown so far.
  EndEdit();
  ApplyView(row, Editing(rule_).ShowRow(row, Stamp()));
}

// The address edit, and the tree when it has just chosen a folder, take the
// focus whenever they are shown, also for a rule selected in the rule list:
// the value is what the user is to fill in next.
void ActionPane::ApplyView(int row, const ActionPaneView& view) {
  win::WaitCursor wait;
  HideValueControls();
  win::Window label(Dialog(), IDC_ACTION_LABEL);
  win::Edit edit(Dialog(), IDC_ADDRESS_EDIT);
  label.SetText(view.label);
  edit.SetText("");
  shownRow_ = row;
  switch (view.kind) {
    case ActionValueKind::Folder: {
      treeGuard_ = true;
      if (view.folder) {
        if (!tree_.SelectFolder(*view.folder)) tree_.Select(nullptr);
      } else if (view.storeSelectedFolder) {
        tree_.SelectFolder(0);
      } else {
        tree_.Select(nullptr);
      }
      treeGuard_ = false;
      if (view.storeSelectedFolder) {
        const HTREEITEM selected = tree_.Selection();
        std::optional<std::uint32_t> folder;
        if (selected) folder = static_cast<std::uint32_t>(tree_.Data(selected));
        Editing(rule_).StoreFolder(row, Stamp(), folder);
      }
      label.Show(true);
      tree_.Show(true);
      // Chosen while hidden: scrolled into view only now that it shows.
      if (const HTREEITEM chosen = tree_.Selection()) tree_.EnsureVisible(chosen);
      tree_.Invalidate();
      if (view.storeSelectedFolder) tree_.Focus();
      break;
    }
    case ActionValueKind::Text:
      edit.SetText(view.text);
      edit.SetModified(false);
      label.Show(true);
      edit.Show(true);
      win::Window(Dialog(), IDC_BROWSE).Show(true);
      textRule_ = rule_;
      textRow_ = row;
      edit.Focus();
      break;
    case ActionValueKind::Colour:
      colours_.Select(view.choice);
      label.Show(true);
      colours_.Show(true);
      break;
    case ActionValueKind::Mark: {
      win::ComboBox marks(Dialog(), IDC_MARK_COMBO);
      marks.Clear();
      marks.Add(ruletext::kWatchMark);
      marks.Add(ruletext::kWatchIgnore);
      marks.Select(view.choice);
      label.Show(true);
      marks.Show(true);
      break;
    }
    case ActionValueKind::None:
      break;
  }
  // Showing a row may have taken other actions out of use (the two server
  // actions exclude every other) or stored a default.
  SetChecks();
  if (row == actionrow::kDontDownload || row == actionrow::kDeleteFromServer) {
    win::ListView list(Dialog(), IDC_ACTION_TYPE_LIST);
    listGuard_ = true;
    list.SetSelected(row, true);
    list.SetFocused(row, true);
    listGuard_ = false;
  }
  Changed();
}

void ActionPane::Changed() {
  Frame().Modified();
  Frame().RepaintRuleLists();
}

void ActionPane::OnRowChanged(const NMLISTVIEW& change) {
  if (listGuard_ || rule_ < 0 || !(change.uChanged & LVIF_STATE) || change.iItem < 0 || change.iItem >= kSlotCount)
    return;
  win::ListView list(Dialog(), IDC_ACTION_TYPE_LIST);
  const int row = change.iItem;
  const int oldCheck = CheckStateOf(change.uOldState), newCheck = CheckStateOf(change.uNewState);
  if (oldCheck != 0 && newCheck != 0 && oldCheck != newCheck) {
    // Only the user's own clicks and keys count; anything else is undone.
    if (!TakeUserToggle(list.Handle())) {
      SetChecks();
      return;
    }
    listGuard_ = true;
    list.UnselectAll();
    list.SetSelected(row, true);
    list.SetFocused(row, true);
    listGuard_ = false;
    if (newCheck == 2) {
      EndEdit();
      ApplyView(row, Editing(rule_).CheckRow(row, Stamp()));
    } else {
      HideValueControls();
      Editing(rule_).UncheckRow(row);
      SetChecks();
      Changed();
    }
    return;
  }
  const bool wasSelected = (change.uOldState & LVIS_SELECTED) != 0;
  const bool isSelected = (change.uNewState & LVIS_SELECTED) != 0;
  if (wasSelected == isSelected) return;
  if (isSelected && Editing(rule_).Holds(row))
    ShowRow(row);
  else if (isSelected || list.SelectedCount() == 0)
    HideValueControls();
}

void ActionPane::OnFolderChosen() {
  if (treeGuard_ || rule_ < 0 || PaneOfActionRow(shownRow_) != ActionValueKind::Folder) return;
  const HTREEITEM selected = tree_.Selection();
  std::optional<std::uint32_t> folder;
  if (selected) folder = static_cast<std::uint32_t>(tree_.Data(selected));
  if (!Editing(rule_).StoreFolder(shownRow_, Stamp(), folder)) {
    SetChecks();
    tree_.Show(false);
    win::Window(Dialog(), IDC_ACTION_LABEL).Show(false);
    shownRow_ = -1;
  }
  tree_.Invalidate();
  Changed();
}

void ActionPane::OnEntryChosen(int id) {
  const int row = id == IDC_COLOR_COMBO ? actionrow::kHighlight : actionrow::kWatchIgnore;
  if (rule_ < 0 || shownRow_ != row) return;
  const int index = id == IDC_COLOR_COMBO ? colours_.Selection() : win::ComboBox(Dialog(), id).Selection();
  Editing(rule_).ChooseEntry(row, index);
  SetChecks();
  Changed();
}

void ActionPane::EndEdit() {
  if (textRow_ >= 0 && addressEditing_) CommitText();
}

void ActionPane::CommitText() {
  if (committing_ || textRow_ < 0) return;
  committing_ = true;
  win::Edit edit(Dialog(), IDC_ADDRESS_EDIT);
  const TextCommit commit = Editing(textRule_).CommitText(textRow_, edit.Text(), !edit.IsModified());
  if (commit.stored) {
    edit.SetText(commit.text);
    edit.SetModified(false);
  }
  if (!commit.held && textRule_ == rule_) {
    SetChecks();
    edit.Show(false);
    win::Window(Dialog(), IDC_BROWSE).Show(false);
    win::Window(Dialog(), IDC_ACTION_LABEL).Show(false);
    textRow_ = shownRow_ = -1;
  }
  addressEditing_ = false;
  committing_ = false;
  Changed();
}

void ActionPane::OnFoldersChanged() {
  treeGuard_ = true;
  tree_.Build(Session().Folders());
  treeGuard_ = false;
  if (tree_.IsVisible() && shownRow_ >= 0) ShowRow(shownRow_);
  Changed();
}

// The folder a move or copy names is drawn red while that action is invalid
// (folder 0, the top item, is never a valid target). The chosen folder stays
// marked while the tree lacks the focus, as a selected row of the lists is:
// the tree's own mark for that case is hardly told from the background.
LRESULT ActionPane::DrawFolder(NMTVCUSTOMDRAW* draw) const {
  if (draw->nmcd.dwDrawStage == CDDS_PREPAINT) return CDRF_NOTIFYITEMDRAW;
  if (draw->nmcd.dwDrawStage != CDDS_ITEMPREPAINT) return CDRF_DODEFAULT;
  const bool selected = (draw->nmcd.uItemState & CDIS_SELECTED) != 0;
  const bool focused = tree_.HasFocus();
  bool invalid = false;
  if (rule_ >= 0 && PaneOfActionRow(shownRow_) == ActionValueKind::Folder) {
    const ActionEditing editing = Editing(rule_);
    const auto folder = editing.StoredFolder(shownRow_, Stamp());
    invalid = folder && *folder == static_cast<std::uint32_t>(draw->nmcd.lItemlParam) && editing.RowInvalid(shownRow_);
  }
  if (!invalid && (!selected || focused)) return CDRF_DODEFAULT;
  if (selected && (invalid || !focused)) {
    draw->nmcd.uItemState &= ~(CDIS_SELECTED | CDIS_FOCUS);
    draw->clrTextBk = kUnfocusedSelectionBack;
    draw->clrText = kUnfocusedSelectionText;
  }
  if (invalid) draw->clrText = kInvalidRowText;
  return CDRF_NEWFONT;
}

void ActionPane::RowTip(NMLVGETINFOTIPA* tip) const {
  if (!tip->pszText || tip->cchTextMax <= 0 || tip->iItem < 0 || tip->iItem >= kSlotCount) return;
  const std::string text =
      sjis::TruncateChars(ActionSlot(tip->iItem).description, static_cast<std::size_t>(tip->cchTextMax - 1));
  std::memcpy(tip->pszText, text.c_str(), text.size() + 1);
}

bool ActionPane::OnCommand(int id, int code, HWND control) {
  switch (id) {
    case IDC_COLOR_COMBO:
    case IDC_MARK_COMBO:
      if (code == CBN_SELCHANGE) OnEntryChosen(id);
      return true;
    case IDC_BROWSE:
      if (code == BN_CLICKED) Browse();
      return true;
    case IDC_ADDRESS_EDIT:
      return true;
    default:
      return false;
  }
}

bool ActionPane::OnNotify(int id, NMHDR* header, LRESULT* result) {
  if (id == IDC_ACTION_TYPE_LIST) {
    switch (header->code) {
      case LVN_ITEMCHANGED:
        OnRowChanged(*reinterpret_cast<NMLISTVIEW*>(header));
        return true;
      case NM_CUSTOMDRAW:
        *result = DrawListRow(reinterpret_cast<NMLVCUSTOMDRAW*>(header), [this](int row, LPARAM) {
          return rule_ >= 0 && Editing(rule_).RowInvalid(row) ? RowLook::Invalid : RowLook::Valid;
        });
        return true;
      case LVN_GETINFOTIPA:
        RowTip(reinterpret_cast<NMLVGETINFOTIPA*>(header));
        return true;
      case NM_SETFOCUS:
      case NM_KILLFOCUS:
        win::ListView(header->hwndFrom).RedrawAll();  // selection colours follow the focus
        return false;
      default:
        return false;
    }
  }
  if (id == IDC_FOLDER_TREE) {
    switch (header->code) {
      case TVN_SELCHANGEDA:
      case TVN_SELCHANGEDW:
        OnFolderChosen();
        return true;
      case NM_CUSTOMDRAW:
        *result = DrawFolder(reinterpret_cast<NMTVCUSTOMDRAW*>(header));
        return true;
      default:
        return false;
    }
  }
  return false;
}

}  // namespace velkor
