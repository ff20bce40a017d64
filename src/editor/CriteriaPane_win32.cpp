#include "editor/CriteriaPane_win32.h"

#include <cstring>
#include <iterator>

#include "editor/RowColours_win32.h"
#include "res/resource.h"
#include "templates/TemplateWords.h"
#include "text/ShiftJis.h"
#include "win/Controls.h"
#include "win/Dialog.h"
#include "win/PopupMenu.h"
#include "win/ScopedFlag.h"
#include "win/WaitCursor.h"

namespace velkor {
namespace {

const int kValueControls[] = {IDC_VALUE_LIST,          IDC_OPTION1_GROUP, IDC_OPTION2_GROUP, IDC_WORDS_CONTAINED,
                              IDC_WORDS_NOT_CONTAINED, IDC_WORDS_ALL,     IDC_WORDS_ANY,     IDC_CRITERIA_LABEL,
                              IDC_CRITERIA_COMBO,      IDC_SIZE_EDIT};
const int kLogicControls[] = {IDC_LOGIC_GROUP, IDC_LOGIC_ALL, IDC_LOGIC_ANY};
const int kWordOptionControls[] = {IDC_OPTION1_GROUP,       IDC_OPTION2_GROUP, IDC_WORDS_CONTAINED,
                                   IDC_WORDS_NOT_CONTAINED, IDC_WORDS_ALL,     IDC_WORDS_ANY};

struct RadioOf {
  int id;
  OptionRadio radio;
};
const RadioOf kRadios[] = {{IDC_LOGIC_ALL, OptionRadio::LogicAll},
                           {IDC_LOGIC_ANY, OptionRadio::LogicAny},
                           {IDC_WORDS_CONTAINED, OptionRadio::WordsContained},
                           {IDC_WORDS_NOT_CONTAINED, OptionRadio::WordsNotContained},
                           {IDC_WORDS_ALL, OptionRadio::AllWords},
                           {IDC_WORDS_ANY, OptionRadio::AnyWord}};

void ShowIds(HWND dialog, const int* ids, int count, bool show) { win::ShowControls(dialog, ids, count, show); }


}  // namespace

void CriteriaPane::CopyTip(NMLVGETINFOTIPA* tip, const std::string& text) {
  if (!tip->pszText || tip->cchTextMax <= 0) return;
  const std::string cut = sjis::TruncateChars(text, static_cast<std::size_t>(tip->cchTextMax - 1));
  std::memcpy(tip->pszText, cut.c_str(), cut.size() + 1);
}

CriteriaEditing CriteriaPane::Editing() const {
  return CriteriaEditing(Session().Store(), static_cast<std::uint32_t>(rule_), Session().Accounts());
}

void CriteriaPane::Edited() {
  Frame().Modified();
  Frame().RepaintRuleLists();
}

int CriteriaPane::SelectedRow() const { return win::ListView(Dialog(), IDC_CRITERIA_TYPE_LIST).NextSelected(); }

void CriteriaPane::SetCheckBoxes() {
  win::ListView rows(Dialog(), IDC_CRITERIA_TYPE_LIST);
  const SlotMask mask = Editing().Mask();
  win::ScopedFlag guard(rowGuard_);
  for (int row = 0; row < kSlotCount; ++row) rows.SetChecked(row, (mask & SlotBit(row)) != 0);
}

void CriteriaPane::HidePane() {
  shownRow_ = -1;
  sizeEditing_ = false;
  ShowIds(Dialog(), kValueControls, static_cast<int>(std::size(kValueControls)), false);
}

void CriteriaPane::OnRuleShown(std::int64_t rule) {
  win::ListView rows(Dialog(), IDC_CRITERIA_TYPE_LIST);
  rule_ = rule >= 0 && Session().Store().HasRule(static_cast<std::uint32_t>(rule)) ? rule : -1;
  HidePane();
  if (!HasRule()) {
    rows.Show(false);
    ShowIds(Dialog(), kLogicControls, static_cast<int>(std::size(kLogicControls)), false);
    return;
  }
  {
    win::ScopedFlag guard(rowGuard_);
    rows.UnselectAll();
  }
  SetCheckBoxes();
  rows.Show(true);
  const int first = Editing().FirstChecked();
  if (first >= 0) {
    SelectRow(first);
  } else {
    RefreshOptions();
  }
  rows.RedrawAll();
}

void CriteriaPane::SelectRow(int row) {
  if (!HasRule() || row < 0 || row >= kSlotCount) return;
  win::ListView rows(Dialog(), IDC_CRITERIA_TYPE_LIST);
  {
    win::ScopedFlag guard(rowGuard_);
    rows.UnselectAll();
    rows.SetSelected(row, true);
    rows.SetFocused(row, true);
  }
  if (Editing().Holds(row))
    ShowRowPane(row, false);
  else
    HidePane();
  RefreshOptions();
}

void CriteriaPane::ShowRowPane(int row, bool checking) {
  win::WaitCursor wait;
  CriteriaEditing editing = Editing();
  const CriterionPaneView view = checking ? editing.CheckRow(row) : editing.ShowRow(row);
  ShowView(row, view);
  SetCheckBoxes();
  RefreshOptions();
  Edited();
}

void CriteriaPane::ShowView(int row, const CriterionPaneView& view) {
  win::ListView values = words_.List();
  win::ComboBox combo(Dialog(), IDC_CRITERIA_COMBO);
  const bool words = view.kind == CriterionPane::Words;
  words_.Fill(words ? view.words : std::vector<std::string>(), false);
  combo.Clear();
  win::Window(Dialog(), IDC_CRITERIA_LABEL).SetText("");
  HidePane();
  shownRow_ = row;
  const bool choices = view.kind == CriterionPane::Priority || view.kind == CriterionPane::Account ||
                       view.kind == CriterionPane::Security;
  const bool size = view.kind == CriterionPane::Size;
  if (words) {
    values.SetColumnTitle(0, view.title);
    values.SetColumnWidth(0, LVSCW_AUTOSIZE_USEHEADER);
    values.Show(true);
  } else if (choices || size) {
    win::Window(Dialog(), IDC_CRITERIA_LABEL).SetText(view.title);
    win::Window(Dialog(), IDC_CRITERIA_LABEL).Show(true);
  }
  if (choices) {
    for (const std::string& choice : view.choices) combo.Add(choice);
    combo.Select(view.choice);
    combo.Show(true);
  }
  if (size) {
    win::Edit edit(Dialog(), IDC_SIZE_EDIT);
    {
      win::ScopedFlag guard(sizeGuard_);
      edit.SetText(view.sizeText);
    }
    edit.Show(true);
    if (view.focusSize) edit.Focus();
  }
  if (words && view.addEmptyItem) {
    values.Focus();
    words_.AddEmptyRow();
  }
}

void CriteriaPane::RefreshOptions() {
  if (!HasRule()) return;
  int words = 0;
  if (shownRow_ >= 0)
    for (const std::string& item : ListItems()) words += item.empty() ? 0 : 1;
  const OptionView view = Editing().Options(shownRow_, words);
  ShowIds(Dialog(), kLogicControls, static_cast<int>(std::size(kLogicControls)), view.logicVisible);
  win::Button(Dialog(), IDC_LOGIC_ALL).SetChecked(view.logicVisible && view.logicAll);
  win::Button(Dialog(), IDC_LOGIC_ANY).SetChecked(view.logicVisible && !view.logicAll);
  ShowIds(Dialog(), kWordOptionControls, static_cast<int>(std::size(kWordOptionControls)), view.wordOptionsVisible);
  const bool on = view.wordOptionsVisible;
  win::Button(Dialog(), IDC_WORDS_CONTAINED).SetChecked(on && !view.notContained);
  win::Button(Dialog(), IDC_WORDS_NOT_CONTAINED).SetChecked(on && view.notContained);
  win::Button(Dialog(), IDC_WORDS_ALL).SetChecked(on && view.allWords);
  win::Button(Dialog(), IDC_WORDS_ANY).SetChecked(on && !view.allWords);
}

// Only the user's own clicks and keys count (a key on the focused list, a
// click even on an unfocused one), and none while a word is being edited.
void CriteriaPane::OnRowChanged(const NMLISTVIEW& change) {
  if (rowGuard_ || !HasRule() || !(change.uChanged & LVIF_STATE) || change.iItem < 0 || change.iItem >= kSlotCount)
    return;
  win::ListView rows(Dialog(), IDC_CRITERIA_TYPE_LIST);
  const int row = change.iItem;
  bool checked = false;
  if (CheckBoxToggled(change, &checked)) {
    if (labelEditing_ || !TakeUserToggle(rows.Handle())) {
      SetCheckBoxes();
      return;
    }
    RefreshOptions();
    {
      win::ScopedFlag guard(rowGuard_);
      rows.UnselectAll();
      rows.SetSelected(row, true);
      rows.SetFocused(row, true);
    }
    if (checked) {
      ShowRowPane(row, true);
    } else {
      HidePane();
      Editing().UncheckRow(row);
      SetCheckBoxes();
      RefreshOptions();
      Edited();
    }
    return;
  }
  const bool was = (change.uOldState & LVIS_SELECTED) != 0, is = (change.uNewState & LVIS_SELECTED) != 0;
  if (was == is) return;
  if (is && Editing().Holds(row))
    ShowRowPane(row, false);
  else if (rows.NextSelected() < 0 || is)
    HidePane();
  RefreshOptions();
}

void CriteriaPane::RowTip(NMLVGETINFOTIPA* tip) const {
  if (!HasRule() || tip->iItem < 0 || tip->iItem >= kSlotCount || tip->cchTextMax <= 0) return;
  CopyTip(tip, Editing().RowTip(tip->iItem, static_cast<std::size_t>(tip->cchTextMax)));
}

void CriteriaPane::OnComboChosen() {
  if (!HasRule() || shownRow_ < 0) return;
  const bool held = Editing().ChooseEntry(shownRow_, win::ComboBox(Dialog(), IDC_CRITERIA_COMBO).Selection());
  {
    win::ScopedFlag guard(rowGuard_);
    win::ListView(Dialog(), IDC_CRITERIA_TYPE_LIST).SetChecked(shownRow_, held);
  }
  RefreshOptions();
  Edited();
}

void CriteriaPane::OnSizeChanged() {
  if (sizeGuard_) return;
  win::Edit edit(Dialog(), IDC_SIZE_EDIT);
  const std::string text = edit.Text();
  if (FilterSizeText(text) != text) {
    win::ScopedFlag guard(sizeGuard_);
    edit.SetText("");
  }
}

void CriteriaPane::CommitSize(bool focusLost) {
  if (!sizeEditing_) return;
  // A commit before a save leaves the edit active: typing may go on after it.
  if (focusLost) sizeEditing_ = false;
  if (!HasRule() || shownRow_ != kSizeRow) return;
  win::Edit edit(Dialog(), IDC_SIZE_EDIT);
  CriteriaEditing editing = Editing();
  const std::string text = editing.CommitSize(edit.Text());
  {
    win::ScopedFlag guard(sizeGuard_);
    edit.SetText(text);
  }
  if (!editing.Holds(kSizeRow)) {
    {
      win::ScopedFlag guard(rowGuard_);
      win::ListView(Dialog(), IDC_CRITERIA_TYPE_LIST).SetChecked(kSizeRow, false);
    }
    edit.Show(false);
    win::Window(Dialog(), IDC_CRITERIA_LABEL).Show(false);
    RefreshOptions();
  }
  Edited();
}

void CriteriaPane::OnOption(int id) {
  if (!HasRule()) return;
  for (const RadioOf& radio : kRadios)
    if (radio.id == id && Editing().ClickOption(shownRow_, radio.radio)) Edited();
  RefreshOptions();
}

// ---------------------------------------------------------------------------
// Routing

bool CriteriaPane::OnCommand(int id, int code, HWND) {
  const bool words = WordsShown();
  switch (id) {
    case IDC_CRITERIA_COMBO:
      if (code == CBN_SELCHANGE) OnComboChosen();
      return true;
    case IDC_SIZE_EDIT:
      if (code == EN_CHANGE) OnSizeChanged();
      if (code == EN_SETFOCUS) sizeEditing_ = true;
      if (code == EN_KILLFOCUS) CommitSize(true);
      return true;
    case IDC_LOGIC_ALL:
    case IDC_LOGIC_ANY:
    case IDC_WORDS_CONTAINED:
    case IDC_WORDS_NOT_CONTAINED:
    case IDC_WORDS_ALL:
    case IDC_WORDS_ANY:
      if (code == BN_CLICKED) OnOption(id);
      return true;
    case ID_VALUE_ADD_KANA:
      if (words) AddKana();
      return true;
    case ID_VALUE_ADD_OWN_ADDRESSES:
      if (words) MergeIntoList(Session().Accounts().OwnAddresses());
      return true;
    case ID_NGWORD_TOOL:
      if (words && shownRow_ == kBodyRow && ngWordTool_) ngWordTool_();
      return true;
    default:
      break;
  }
  if (!IsListCommand(id)) return false;
  // No second row while one is edited; nothing for a pane without words.
  if (!words || (id == ID_VALUE_ADD_ITEM && labelEditing_)) return id != ID_FIND_NEXT;
  return words_.OnCommand(id);
}

bool CriteriaPane::IsListCommand(int id) const {
  const WordListTraits& t = words_.Traits();
  for (int command : {t.addItem, t.addFromBook, t.remove, t.selectAll, t.copy, t.cut, t.paste, t.find, ID_FIND_NEXT})
    if (id == command) return true;
  return false;
}

bool CriteriaPane::OnNotify(int id, NMHDR* header, LRESULT* result) {
  if (id == IDC_CRITERIA_TYPE_LIST) {
    switch (header->code) {
      case LVN_ITEMCHANGED:
        OnRowChanged(*reinterpret_cast<NMLISTVIEW*>(header));
        return true;
      case NM_CUSTOMDRAW:
        *result = DrawListRow(reinterpret_cast<NMLVCUSTOMDRAW*>(header), [this](int row, LPARAM) {
          if (!HasRule()) return RowLook::ListDrawn;
          return Editing().RowInvalid(row) ? RowLook::Invalid : RowLook::Valid;
        });
        return true;
      case LVN_GETINFOTIPA:
        RowTip(reinterpret_cast<NMLVGETINFOTIPA*>(header));
        return true;
      default:
        return false;
    }
  }
  if (id != IDC_VALUE_LIST) return false;
  return words_.OnNotify(header, result);
}

bool CriteriaPane::IsCommandEnabled(UINT command) const {
  const bool words = WordsShown();
  switch (command) {
    case ID_VALUE_ADD_KANA:
      return words;
    case ID_NGWORD_TOOL:
      return words && shownRow_ == kBodyRow && static_cast<bool>(ngWordTool_);
    case ID_VALUE_ADD_OWN_ADDRESSES:
      return words && Session().Accounts().Count() > 0;
    default:
      return words && words_.IsEnabled(static_cast<int>(command));
  }
}

bool CriteriaPane::OnContextMenu(HWND control, LPARAM point) {
  if (control != Item(IDC_VALUE_LIST)) return false;
  HMENU menus = ::LoadMenuA(win::ProgramInstance(), MAKEINTRESOURCEA(IDR_LIST_MENUS));
  if (!menus) return true;
  HMENU popup = ::GetSubMenu(menus, 0);
  // The NG-word tool belongs to the body row only; the two list fillers no
  // key reaches live in a submenu of their own.
  if (WordsShown() && shownRow_ == kBodyRow)
    ::InsertMenuA(popup, 2, MF_BYPOSITION | MF_STRING, ID_NGWORD_TOOL, criteriatext::kNgWordItem);
  HMENU more = ::CreatePopupMenu();
  ::AppendMenuA(more, MF_STRING, ID_VALUE_ADD_KANA, criteriatext::kKanaItem);
  ::AppendMenuA(more, MF_STRING, ID_VALUE_ADD_OWN_ADDRESSES, criteriatext::kOwnAddressesItem);
  ::AppendMenuA(popup, MF_SEPARATOR, 0, nullptr);
  ::AppendMenuA(popup, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(more), criteriatext::kMoreMenu);
  for (HMENU menu : {popup, more}) {
    for (int i = 0, count = ::GetMenuItemCount(menu); i < count; ++i) {
      const UINT id = ::GetMenuItemID(menu, i);
      if (id == 0 || id == static_cast<UINT>(-1)) continue;  // separator or submenu
      ::EnableMenuItem(menu, id, MF_BYCOMMAND | (IsCommandEnabled(id) ? MF_ENABLED : MF_GRAYED));
    }
  }
  const POINT screen = win::ContextMenuPoint(control, point);
  ::TrackPopupMenu(popup, TPM_LEFTALIGN | TPM_RIGHTBUTTON, screen.x, screen.y, 0, Dialog(), nullptr);
  ::DestroyMenu(menus);
  return true;
}

// ---------------------------------------------------------------------------
// Frame

bool CriteriaPane::OwnsControl(int id) const {
  return id == IDC_CRITERIA_TYPE_LIST || id == IDC_VALUE_LIST || (id >= IDC_CRITERIA_COMBO && id <= IDC_OPTION2_GROUP);
}

void CriteriaPane::OnInit() {
  SetUpSingleColumnList(Dialog(), IDC_VALUE_LIST, LVS_EX_INFOTIP | LVS_EX_FULLROWSELECT, "条件", kWordListMargin);
  SetUpSingleColumnList(Dialog(), IDC_CRITERIA_TYPE_LIST, LVS_EX_INFOTIP | LVS_EX_FULLROWSELECT | LVS_EX_CHECKBOXES,
                        ruletext::kCriteriaHeader, ScrollBarMargin());
  win::ListView rows(Dialog(), IDC_CRITERIA_TYPE_LIST);
  {
    win::ScopedFlag guard(rowGuard_);
    for (int row = 0; row < kSlotCount; ++row) rows.Insert(row, CriterionSlot(row).shortName, row);
  }
  valueHeader_.Attach(Item(IDC_VALUE_LIST));
  words_.Attach(Dialog());
  OnRuleShown(-1);
}

void CriteriaPane::OnDestroy() { valueHeader_.Detach(); }

HWND CriteriaPane::EditingList() const { return Item(IDC_VALUE_LIST); }

GenericCommands CriteriaPane::Generic() const { return words_.Generic(); }

bool CriteriaPane::OnGenericCommand(int generic) {
  if (generic != ID_FIND_NEXT) return EditorPane::OnGenericCommand(generic);
  if (WordsShown()) words_.FindNext();
  return WordsShown();
}

void CriteriaPane::OnSessionUnloading() {
  rule_ = -1;
  labelEditing_ = false;
  HidePane();
}

void CriteriaPane::OnSessionLoaded() {
  // Only the rule that was remembered gets its row back.
  const RememberedSelection& remembered = Session().Remembered();
  if (remembered.rule >= 0 && remembered.rule == rule_ && remembered.criterion >= 0 &&
      remembered.criterion < kSlotCount)
    SelectRow(remembered.criterion);
}

void CriteriaPane::RememberSelection(RememberedSelection* selection) const {
  selection->criterion = selection->rule < 0 ? -1 : SelectedRow();
}

bool CriteriaPane::EndEditForPress(HWND control, HWND focus) {
  // A word being edited, or a size being typed, is committed before the
  // press does anything: moving the focus ends the edit; the press is dropped.
  HWND values = Item(IDC_VALUE_LIST);
  if (words_.IsEditing()) {
    if (control == values) return false;
    ::SetFocus(control);
    return true;
  }
  HWND sizeEdit = Item(IDC_SIZE_EDIT);
  if (focus == sizeEdit && control != sizeEdit) {
    ::SetFocus(control);
    return true;
  }
  return false;
}

bool CriteriaPane::FocusOnPress(const MSG& msg, HWND focus) {
  HWND values = Item(IDC_VALUE_LIST);
  if (msg.hwnd != values || focus == values || words_.IsEditing()) return false;
  ::SetFocus(values);
  return msg.message == WM_LBUTTONDOWN;  // the first press only focuses
}

void CriteriaPane::EndEdit() {
  // Moving the focus to the list ends a label edit with its text.
  if (words_.IsEditing()) ::SetFocus(Item(IDC_VALUE_LIST));
  CommitSize(false);
}

}  // namespace velkor
