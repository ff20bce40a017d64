#include "editor/CriteriaPane_win32.h"

#include <cstring>
#include <iterator>

#include "addressbook/AddressBook_win32.h"
#include "editor/ProgressDialog_win32.h"
#include "editor/RuleEditorWindow_win32.h"
#include "folders/MailFolderList.h"
#include "res/resource.h"
#include "rulestore/Identities.h"
#include "rulestore/RuleStore.h"
#include "templates/TemplateWords.h"
#include "text/ShiftJis.h"
#include "win/Controls.h"
#include "win/Dialog.h"
#include "win/MessageBox.h"

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

// Above this many selected items a deletion shows the progress window.
constexpr int kDeleteProgressThreshold = 15;

int CheckState(UINT state) { return static_cast<int>((state & LVIS_STATEIMAGEMASK) >> 12); }

void ShowIds(HWND dialog, const int* ids, int count, bool show) { win::ShowControls(dialog, ids, count, show); }

class WaitCursor {
 public:
  WaitCursor() : previous_(::SetCursor(::LoadCursorA(nullptr, IDC_WAIT))) {}
  ~WaitCursor() { ::SetCursor(previous_); }

 private:
  HCURSOR previous_;
};

void CopyTip(NMLVGETINFOTIPA* tip, const std::string& text) {
  if (!tip->pszText || tip->cchTextMax <= 0) return;
  const std::string cut = sjis::TruncateChars(text, static_cast<std::size_t>(tip->cchTextMax - 1));
  std::memcpy(tip->pszText, cut.c_str(), cut.size() + 1);
}

}  // namespace

CriteriaEditing CriteriaPane::Editing() const {
  return CriteriaEditing(host_->Store(), static_cast<std::uint32_t>(rule_), host_->Accounts());
}

bool CriteriaPane::OwnsControl(int id) const {
  return id == IDC_CRITERIA_TYPE_LIST || (id >= IDC_CRITERIA_COMBO && id <= IDC_OPTION2_GROUP) ||
         id == IDC_VALUE_LIST;
}

int CriteriaPane::SelectedRow() const { return win::ListView(dialog_, IDC_CRITERIA_TYPE_LIST).NextSelected(); }

void CriteriaPane::SetCheckBoxes() {
  win::ListView rows(dialog_, IDC_CRITERIA_TYPE_LIST);
  const SlotMask mask = Editing().Mask();
  rowGuard_ = true;
  for (int row = 0; row < kSlotCount; ++row) rows.SetChecked(row, (mask & SlotBit(row)) != 0);
  rowGuard_ = false;
}

void CriteriaPane::HidePane() {
  shownRow_ = -1;
  sizeEditing_ = false;
  ShowIds(dialog_, kValueControls, static_cast<int>(std::size(kValueControls)), false);
}

void CriteriaPane::ShowRule(std::int64_t rule) {
  win::ListView rows(dialog_, IDC_CRITERIA_TYPE_LIST);
  rule_ = rule >= 0 && host_->Store().HasRule(static_cast<std::uint32_t>(rule)) ? rule : -1;
  HidePane();
  if (!HasRule()) {
    rows.Show(false);
    ShowIds(dialog_, kLogicControls, static_cast<int>(std::size(kLogicControls)), false);
    return;
  }
  rowGuard_ = true;
  rows.UnselectAll();
  rowGuard_ = false;
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
  win::ListView rows(dialog_, IDC_CRITERIA_TYPE_LIST);
  rowGuard_ = true;
  rows.UnselectAll();
  rows.SetSelected(row, true);
  rows.SetFocused(row, true);
  rowGuard_ = false;
  if (Editing().Holds(row))
    ShowRowPane(row, false);
  else
    HidePane();
  RefreshOptions();
}

void CriteriaPane::ShowRowPane(int row, bool checking) {
  WaitCursor wait;
  CriteriaEditing editing = Editing();
  const CriterionPaneView view = checking ? editing.CheckRow(row) : editing.ShowRow(row);
  ShowView(row, view);
  SetCheckBoxes();
  RefreshOptions();
  host_->RuleEdited();
  win::ListView(dialog_, IDC_CRITERIA_TYPE_LIST).RedrawAll();
}

void CriteriaPane::ShowView(int row, const CriterionPaneView& view) {
  win::ListView values(dialog_, IDC_VALUE_LIST);
  win::ComboBox combo(dialog_, IDC_CRITERIA_COMBO);
  values.Clear();
  combo.Clear();
  win::Window(dialog_, IDC_CRITERIA_LABEL).SetText("");
  HidePane();
  shownRow_ = row;
  const bool words = view.kind == CriterionPane::Words;
  const bool choices = view.kind == CriterionPane::Priority || view.kind == CriterionPane::Account ||
                       view.kind == CriterionPane::Security;
  const bool size = view.kind == CriterionPane::Size;
  if (words) {
    values.SetColumnTitle(0, view.title);
      for (std::size_t i = 0; i < view.words.size(); ++i) values.Insert(static_cast<int>(i), view.words[i]);
      values.SetColumnWidth(0, LVSCW_AUTOSIZE_USEHEADER);
    values.Show(true);
  } else if (choices || size) {
    win::Window(dialog_, IDC_CRITERIA_LABEL).SetText(view.title);
    win::Window(dialog_, IDC_CRITERIA_LABEL).Show(true);
  }
  if (choices) {
    for (const std::string& choice : view.choices) combo.Add(choice);
    combo.Select(view.choice);
    combo.Show(true);
  }
  if (size) {
    win::Edit edit(dialog_, IDC_SIZE_EDIT);
    sizeGuard_ = true;
    edit.SetText(view.sizeText);
    sizeGuard_ = false;
    edit.Show(true);
    if (view.focusSize) edit.Focus();
  }
  if (words && view.addEmptyItem) {
    values.Focus();
    AddEmptyItem();
  }
}

void CriteriaPane::RefreshOptions() {
  if (!HasRule()) return;
  int words = 0;
  if (shownRow_ >= 0)
    for (const std::string& item : ListItems()) words += item.empty() ? 0 : 1;
  const OptionView view = Editing().Options(shownRow_, words);
  ShowIds(dialog_, kLogicControls, static_cast<int>(std::size(kLogicControls)), view.logicVisible);
  win::Button(dialog_, IDC_LOGIC_ALL).SetChecked(view.logicVisible && view.logicAll);
  win::Button(dialog_, IDC_LOGIC_ANY).SetChecked(view.logicVisible && !view.logicAll);
  ShowIds(dialog_, kWordOptionControls, static_cast<int>(std::size(kWordOptionControls)), view.wordOptionsVisible);
  const bool on = view.wordOptionsVisible;
  win::Button(dialog_, IDC_WORDS_CONTAINED).SetChecked(on && !view.notContained);
  win::Button(dialog_, IDC_WORDS_NOT_CONTAINED).SetChecked(on && view.notContained);
  win::Button(dialog_, IDC_WORDS_ALL).SetChecked(on && view.allWords);
  win::Button(dialog_, IDC_WORDS_ANY).SetChecked(on && !view.allWords);
}

// Only the user's own clicks and keys count: the list has the focus, and no
// word is being edited.
void CriteriaPane::OnRowChanged(const NMLISTVIEW& change) {
  if (rowGuard_ || !HasRule() || !(change.uChanged & LVIF_STATE) || change.iItem < 0 || change.iItem >= kSlotCount)
    return;
  win::ListView rows(dialog_, IDC_CRITERIA_TYPE_LIST);
  const int row = change.iItem;
  const int oldCheck = CheckState(change.uOldState), newCheck = CheckState(change.uNewState);
  if (oldCheck != 0 && newCheck != 0 && oldCheck != newCheck) {
    if (labelEditing_ || !rows.HasFocus()) {
      SetCheckBoxes();
      return;
    }
    RefreshOptions();
    rowGuard_ = true;
    rows.UnselectAll();
    rows.SetSelected(row, true);
    rows.SetFocused(row, true);
    rowGuard_ = false;
    if (newCheck == 2) {
      ShowRowPane(row, true);
    } else {
      HidePane();
      Editing().UncheckRow(row);
      SetCheckBoxes();
      RefreshOptions();
      host_->RuleEdited();
      rows.RedrawAll();
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

LRESULT CriteriaPane::DrawRow(NMLVCUSTOMDRAW* draw) const {
  if (draw->nmcd.dwDrawStage == CDDS_PREPAINT) return CDRF_NOTIFYITEMDRAW;
  if (draw->nmcd.dwDrawStage != CDDS_ITEMPREPAINT || !HasRule()) return CDRF_DODEFAULT;
  using namespace mainwindow;
  win::ListView rows(draw->nmcd.hdr.hwndFrom);
  const int row = static_cast<int>(draw->nmcd.dwItemSpec);
  const bool invalid = Editing().RowInvalid(row);
  if (rows.IsSelected(row)) {
    draw->nmcd.uItemState &= ~(CDIS_SELECTED | CDIS_FOCUS);
    const bool focus = rows.HasFocus();
    draw->clrText = focus ? kSelectedFocusText : invalid ? kInvalidText : kSelectedText;
    draw->clrTextBk = focus ? kSelectedFocusBack : kSelectedBack;
  } else {
    draw->clrText = invalid ? kInvalidText : RGB(0, 0, 0);
    draw->clrTextBk = RGB(255, 255, 255);
  }
  return CDRF_NEWFONT;
}

void CriteriaPane::RowTip(NMLVGETINFOTIPA* tip) const {
  if (!HasRule() || tip->iItem < 0 || tip->iItem >= kSlotCount || tip->cchTextMax <= 0) return;
  CopyTip(tip, Editing().RowTip(tip->iItem, static_cast<std::size_t>(tip->cchTextMax)));
}

void CriteriaPane::ValueTip(NMLVGETINFOTIPA* tip) const {
  const std::string text = win::ListView(dialog_, IDC_VALUE_LIST).ItemText(tip->iItem);
  std::string shown = text;
  const AddressBook* book = host_->Book();
  if (book && sjis::FindChar(text, '@') != sjis::npos) {
    for (std::size_t i = 0; i < book->Count(); ++i) {
      if (!sjis::EqualsIgnoreCase(book->AddressAt(i), text)) continue;
      const std::string name = book->NameAt(i);
      if (name != text) shown = name + " :" + text;
      break;
    }
  }
  CopyTip(tip, shown);
}

void CriteriaPane::OnComboChosen() {
  if (!HasRule() || shownRow_ < 0) return;
  const bool held = Editing().ChooseEntry(shownRow_, win::ComboBox(dialog_, IDC_CRITERIA_COMBO).Selection());
  rowGuard_ = true;
  win::ListView(dialog_, IDC_CRITERIA_TYPE_LIST).SetChecked(shownRow_, held);
  rowGuard_ = false;
  RefreshOptions();
  host_->RuleEdited();
  win::ListView(dialog_, IDC_CRITERIA_TYPE_LIST).RedrawAll();
}

void CriteriaPane::OnSizeChanged() {
  if (sizeGuard_) return;
  win::Edit edit(dialog_, IDC_SIZE_EDIT);
  const std::string text = edit.Text();
  if (FilterSizeText(text) != text) {
    sizeGuard_ = true;
    edit.SetText("");
    sizeGuard_ = false;
  }
}

void CriteriaPane::CommitSize() {
  if (!sizeEditing_) return;
  sizeEditing_ = false;
  if (!HasRule() || shownRow_ != kSizeRow) return;
  win::Edit edit(dialog_, IDC_SIZE_EDIT);
  CriteriaEditing editing = Editing();
  const std::string text = editing.CommitSize(edit.Text());
  sizeGuard_ = true;
  edit.SetText(text);
  sizeGuard_ = false;
  if (!editing.Holds(kSizeRow)) {
    rowGuard_ = true;
    win::ListView(dialog_, IDC_CRITERIA_TYPE_LIST).SetChecked(kSizeRow, false);
    rowGuard_ = false;
    edit.Show(false);
    win::Window(dialog_, IDC_CRITERIA_LABEL).Show(false);
    RefreshOptions();
  }
  host_->RuleEdited();
  win::ListView(dialog_, IDC_CRITERIA_TYPE_LIST).RedrawAll();
}

void CriteriaPane::OnOption(int id) {
  if (!HasRule()) return;
  for (const RadioOf& radio : kRadios)
    if (radio.id == id && Editing().ClickOption(shownRow_, radio.radio)) host_->RuleEdited();
  RefreshOptions();
}

// ---------------------------------------------------------------------------
// ValueList

std::vector<std::string> CriteriaPane::ListItems() const {
  win::ListView values(dialog_, IDC_VALUE_LIST);
  std::vector<std::string> items;
  // Not IsVisible: the window itself is hidden while it starts.
  if (!WordsShown()) return items;
  const int count = values.Count();
  items.reserve(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) items.push_back(values.ItemText(i));
  return items;
}

void CriteriaPane::CommitList() {
  if (!WordsShown()) return;
  win::ListView values(dialog_, IDC_VALUE_LIST);
  const WordCommit commit =
      Editing().CommitWords(shownRow_, ListItems(), DragPlaceholder(host_->Folders().Stamp()));
  for (int index : commit.removed) values.Delete(index);
  rowGuard_ = true;
  win::ListView(dialog_, IDC_CRITERIA_TYPE_LIST).SetChecked(shownRow_, commit.held);
  rowGuard_ = false;
  RefreshOptions();
  host_->RuleEdited();
  win::ListView(dialog_, IDC_CRITERIA_TYPE_LIST).RedrawAll();
}

void CriteriaPane::AddEmptyItem() {
  win::ListView values(dialog_, IDC_VALUE_LIST);
  if (!WordsShown() || labelEditing_) return;
  const int selected = values.NextSelected();
  values.UnselectAll();
  const int row = values.Insert(selected >= 0 ? selected : values.Count(), "");
  if (row < 0) return;
  values.SetSelected(row, true);
  values.SetFocused(row, true);
  values.EnsureVisible(row);
  values.EditLabel(row);
}

bool CriteriaPane::OnLabelEdited(const NMLVDISPINFOA& info) {
  labelEditing_ = false;
  win::ListView values(dialog_, IDC_VALUE_LIST);
  const int row = info.item.iItem;
  const std::string old = values.ItemText(row);
  if (!info.item.pszText) {
    if (old.empty()) {
      values.Delete(row);
      CommitList();
    }
    return false;
  }
  const std::string text = sjis::CleanUserText(info.item.pszText);
  if (text.empty()) {
    if (!old.empty() && win::ShowMessage(dialog_, criteriatext::kDeleteEditedQuestion, criteriatext::kDeleteTitle,
                                         MB_YESNO | MB_ICONQUESTION) == IDNO)
      return false;
    values.Delete(row);
    CommitList();
    return false;
  }
  for (int i = 0; i < values.Count(); ++i) {
    if (i == row || !sjis::EqualsIgnoreCase(values.ItemText(i), text)) continue;
    values.EnsureVisible(i);
    values.Delete(row);
    const int other = i > row ? i - 1 : i;
    values.UnselectAll();
    values.SetSelected(other, true);
    values.SetFocused(other, true);
    CommitList();
    return false;
  }
  values.SetItemText(row, text);
  CommitList();
  return false;
}

void CriteriaPane::DeleteSelected() {
  win::ListView values(dialog_, IDC_VALUE_LIST);
  const int selected = values.SelectedCount();
  if (selected <= 0 || labelEditing_) return;
  if (win::ShowMessage(dialog_, criteriatext::kDeleteSelectedQuestion, criteriatext::kDeleteTitle,
                       MB_YESNO | MB_ICONQUESTION) != IDYES)
    return;
  ProgressDialog progress;
  const int count = values.Count();
  if (selected > kDeleteProgressThreshold && progress.Create(dialog_)) {
    progress.SetStatus(criteriatext::kDeletingStatus);
    values.EnsureVisible(count - 1);
    values.EnsureVisible(values.NextSelected());
  }
  bool deleted = false;
  ::SendMessageA(values.Handle(), WM_SETREDRAW, FALSE, 0);
  for (int i = count - 1; i >= 0; --i) {
    if (progress.Handle()) {
      progress.SetPosition(100 - (100 * i) / count);
      if (progress.TakeSignal()) {
        if (progress.WasCancelled()) {  // an outside change: the identity is reloaded
          ::SendMessageA(values.Handle(), WM_SETREDRAW, TRUE, 0);
          return;
        }
        break;
      }
    }
    if (values.IsSelected(i)) deleted |= values.Delete(i);
  }
  ::SendMessageA(values.Handle(), WM_SETREDRAW, TRUE, 0);
  values.Invalidate();
  progress.Close();
  if (deleted) CommitList();
}

void CriteriaPane::MergeIntoList(const std::vector<std::string>& words) {
  win::ListView values(dialog_, IDC_VALUE_LIST);
  if (!WordsShown()) return;
  const WordMerge merge = MergeWords(ListItems(), words);
  values.UnselectAll();
  for (int index : merge.selected) values.SetSelected(index, true);
  const int first = values.Count();
  for (const std::string& word : merge.appended) values.SetSelected(values.Insert(values.Count(), word), true);
  if (merge.appended.empty()) return;
  values.SetFocused(first, true);
  values.EnsureVisible(first);
  CommitList();
}

void CriteriaPane::AddKana() {
  if (win::ShowMessage(dialog_, criteriatext::kKanaQuestion, criteriatext::kKanaTitle,
                       MB_OKCANCEL | MB_ICONQUESTION) == IDOK)
    MergeIntoList(KanaWords());
}

// ---------------------------------------------------------------------------
// Routing

bool CriteriaPane::OnCommand(int id, int code) {
  const bool words = WordsShown();
  switch (id) {
    case IDC_CRITERIA_COMBO:
      if (code == CBN_SELCHANGE) OnComboChosen();
      return true;
    case IDC_SIZE_EDIT:
      if (code == EN_CHANGE) OnSizeChanged();
      if (code == EN_SETFOCUS) sizeEditing_ = true;
      if (code == EN_KILLFOCUS) CommitSize();
      return true;
    case IDC_LOGIC_ALL:
    case IDC_LOGIC_ANY:
    case IDC_WORDS_CONTAINED:
    case IDC_WORDS_NOT_CONTAINED:
    case IDC_WORDS_ALL:
    case IDC_WORDS_ANY:
      if (code == BN_CLICKED) OnOption(id);
      return true;
    case ID_VALUE_ADD_ITEM:
      if (words) AddEmptyItem();
      return true;
    case ID_VALUE_DELETE:
      if (words) DeleteSelected();
      return true;
    case ID_VALUE_SELECT_ALL:
      if (words) win::ListView(dialog_, IDC_VALUE_LIST).SelectAll();
      return true;
    case ID_VALUE_ADD_KANA:
      if (words) AddKana();
      return true;
    case ID_VALUE_ADD_OWN_ADDRESSES:
      if (words) MergeIntoList(host_->Accounts().OwnAddresses());
      return true;
    case ID_NGWORD_TOOL:
      if (words && shownRow_ == kBodyRow && ngWordTool_) ngWordTool_();
      return true;
    default:
      return false;
  }
}

bool CriteriaPane::OnNotify(int id, NMHDR* header, LRESULT* result) {
  if (id == IDC_CRITERIA_TYPE_LIST) {
    switch (header->code) {
      case LVN_ITEMCHANGED:
        OnRowChanged(*reinterpret_cast<NMLISTVIEW*>(header));
        return true;
      case NM_CUSTOMDRAW:
        *result = DrawRow(reinterpret_cast<NMLVCUSTOMDRAW*>(header));
        return true;
      case LVN_GETINFOTIPA:
        RowTip(reinterpret_cast<NMLVGETINFOTIPA*>(header));
        return true;
      default:
        return false;
    }
  }
  if (id != IDC_VALUE_LIST) return false;
  switch (header->code) {
    case LVN_BEGINLABELEDITA:
      labelEditing_ = true;
      *result = FALSE;
      return true;
    case LVN_ENDLABELEDITA:
      *result = OnLabelEdited(*reinterpret_cast<NMLVDISPINFOA*>(header)) ? TRUE : FALSE;
      return true;
    case LVN_GETINFOTIPA:
      ValueTip(reinterpret_cast<NMLVGETINFOTIPA*>(header));
      return true;
    default:
      return false;
  }
}

bool CriteriaPane::OnContextMenu(HWND window, POINT screen) {
  if (window != Item(IDC_VALUE_LIST)) return false;
  HMENU menus = ::LoadMenuA(win::ProgramInstance(), MAKEINTRESOURCEA(IDR_LIST_MENUS));
  if (!menus) return true;
  HMENU popup = ::GetSubMenu(menus, 0);
  win::ListView values(dialog_, IDC_VALUE_LIST);
  const bool words = WordsShown();
  if (words && shownRow_ == kBodyRow)
    ::InsertMenuA(popup, 2, MF_BYPOSITION | MF_STRING, ID_NGWORD_TOOL, criteriatext::kNgWordItem);
  HMENU more = ::CreatePopupMenu();
  ::AppendMenuA(more, MF_STRING, ID_VALUE_ADD_KANA, criteriatext::kKanaItem);
  ::AppendMenuA(more, MF_STRING, ID_VALUE_ADD_OWN_ADDRESSES, criteriatext::kOwnAddressesItem);
  ::AppendMenuA(popup, MF_SEPARATOR, 0, nullptr);
  ::AppendMenuA(popup, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(more), criteriatext::kMoreMenu);
  struct State {
    UINT id;
    bool on;
  };
  const State states[] = {
      {ID_VALUE_ADD_ITEM, words},
      {ID_VALUE_DELETE, words && values.SelectedCount() > 0},
      {ID_VALUE_SELECT_ALL, words && values.Count() > 0},
      {ID_NGWORD_TOOL, words && shownRow_ == kBodyRow && static_cast<bool>(ngWordTool_)},
      {ID_VALUE_ADD_KANA, words},
      {ID_VALUE_ADD_OWN_ADDRESSES, words && host_->Accounts().Count() > 0},
      // Address book, clipboard and find arrive with the shared word-list pane.
      {ID_VALUE_ADD_FROM_WAB, false},
      {ID_VALUE_CUT, false},
      {ID_VALUE_COPY, false},
      {ID_VALUE_PASTE, false},
      {ID_VALUE_FIND, false},
      {ID_FIND_NEXT, false},
  };
  for (const State& state : states)
    ::EnableMenuItem(popup, state.id, MF_BYCOMMAND | (state.on ? MF_ENABLED : MF_GRAYED));
  if (screen.x == -1 && screen.y == -1) ::GetCursorPos(&screen);
  ::TrackPopupMenu(popup, TPM_LEFTALIGN | TPM_RIGHTBUTTON, screen.x, screen.y, 0, dialog_, nullptr);
  ::DestroyMenu(menus);
  return true;
}

}  // namespace velkor
