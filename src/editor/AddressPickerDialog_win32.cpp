#include "editor/AddressPickerDialog_win32.h"

#include <commctrl.h>

#include "addressbook/AddressEntries.h"
#include "editor/FindTextDialog_win32.h"
#include "res/resource.h"
#include "rulestore/RegistryWatcher.h"
#include "win/Controls.h"
#include "win/PopupMenu.h"

namespace velkor {

namespace {

constexpr int kColumnWidth = 200;
constexpr const char* kNameColumn = "表示名";
constexpr const char* kAddressColumn = "アドレス";

// The picker whose keys the thread's message filter translates.
AddressPickerDialog* g_activePicker = nullptr;

int CALLBACK CompareRows(LPARAM a, LPARAM b, LPARAM sortInfo) {
  auto* args = reinterpret_cast<std::pair<const picker::ColumnSort*, const std::vector<picker::Entry>*>*>(sortInfo);
  const picker::Entry& x = (*args->second)[static_cast<std::size_t>(a)];
  const picker::Entry& y = (*args->second)[static_cast<std::size_t>(b)];
  if (args->first->Before(x, y)) return -1;
  if (args->first->Before(y, x)) return 1;
  return 0;
}

}  // namespace

std::vector<picker::Entry> PickerEntries(const AddressEntryList& book) {
  std::vector<picker::Entry> entries;
  entries.reserve(book.Count());
  for (std::size_t i = 0; i < book.Count(); ++i) entries.push_back({book.NameAt(i), book.AddressAt(i)});
  return entries;
}

INT_PTR AddressPickerDialog::Run(HWND owner) {
  request_.chosen.clear();
  return RunModal(owner, IDD_ADDRESS_PICKER);
}

bool AddressPickerDialog::OnInit() {
  accelerators_ = ::LoadAcceleratorsA(win::ProgramInstance(), MAKEINTRESOURCEA(IDR_ACCELERATORS));
  // The keys work anywhere in the dialog, so they are translated before the
  // dialog's own loop sees them.
  previousDialog_ = g_activePicker;
  g_activePicker = this;
  hook_ = ::SetWindowsHookExA(WH_MSGFILTER, &AddressPickerDialog::KeyFilter, nullptr, ::GetCurrentThreadId());

  filter_ = request_.filter;
  static const int kFilterIds[] = {IDC_PICKER_FILTER_OWN, IDC_PICKER_FILTER_BLOCKED, IDC_PICKER_FILTER_ALL};
  if (request_.showFilter) {
    for (int i = 0; i < 3; ++i) SetChecked(kFilterIds[i], i == filter_);
  } else {
    ShowItem(IDC_PICKER_FILTER_GROUP, false);
    for (int id : kFilterIds) ShowItem(id, false);
  }
  SetItemText(IDC_PICKER_PROMPT, request_.prompt);

  win::ListView list(Handle(), IDC_PICKER_LIST);
  LONG_PTR style = list.Style();
  style = request_.multiple ? (style & ~LVS_SINGLESEL) : (style | LVS_SINGLESEL);
  ::SetWindowLongPtrA(list.Handle(), GWL_STYLE, style);
  list.SetExtendedStyle(LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
  list.InsertColumn(0, kNameColumn, kColumnWidth);
  list.InsertColumn(1, kAddressColumn, kColumnWidth);

  if (!request_.bookOpen) {
    End(-1);
    return false;
  }
  Fill(true);
  list.Focus();
  return false;
}

LRESULT CALLBACK AddressPickerDialog::KeyFilter(int code, WPARAM wParam, LPARAM lParam) {
  AddressPickerDialog* self = g_activePicker;
  MSG* msg = reinterpret_cast<MSG*>(lParam);
  if (code == MSGF_DIALOGBOX && self && self->accelerators_ && msg && msg->message >= WM_KEYFIRST &&
      msg->message <= WM_KEYLAST && (msg->hwnd == self->Handle() || ::IsChild(self->Handle(), msg->hwnd))) {
    if (::TranslateAcceleratorA(self->Handle(), self->accelerators_, msg)) return TRUE;
  }
  return ::CallNextHookEx(self ? self->hook_ : nullptr, code, wParam, lParam);
}

void AddressPickerDialog::OnDestroy() {
  if (hook_) ::UnhookWindowsHookEx(hook_);
  hook_ = nullptr;
  if (g_activePicker == this) g_activePicker = previousDialog_;
  if (accelerators_) ::DestroyAcceleratorTable(accelerators_);
  accelerators_ = nullptr;
}

void AddressPickerDialog::Fill(bool preselect) {
  win::ListView list(Handle(), IDC_PICKER_LIST);
  ::SendMessageA(list.Handle(), WM_SETREDRAW, FALSE, 0);
  list.Clear();
  rows_.clear();
  for (int index : picker::VisibleEntries(request_.book, filter_, request_.lists))
    rows_.push_back(request_.book[static_cast<std::size_t>(index)]);
  for (std::size_t i = 0; i < rows_.size(); ++i) {
    int row = list.Insert(static_cast<int>(i), rows_[i].name, static_cast<LPARAM>(i));
    list.SetSubItemText(row, 1, rows_[i].address);
  }
  if (preselect) {
    std::vector<int> selected = picker::PreselectedRows(rows_, request_.preselect, request_.multiple);
    for (int row : selected) {
      list.SetSelected(row, true);
      list.SetFocused(row, true);
    }
    if (!selected.empty()) list.EnsureVisible(selected.front());
  }
  ::SendMessageA(list.Handle(), WM_SETREDRAW, TRUE, 0);
  list.Invalidate();
  UpdateAdd();
}

void AddressPickerDialog::SetFilter(int filter) {
  if (filter == filter_) return;
  filter_ = filter;
  Fill(false);
}

void AddressPickerDialog::SortBy(int column) {
  sort_.Click(column);
  std::pair<const picker::ColumnSort*, const std::vector<picker::Entry>*> args(&sort_, &rows_);
  win::ListView(Handle(), IDC_PICKER_LIST).SortItems(&CompareRows, &args);
}

void AddressPickerDialog::UpdateAdd() {
  EnableItem(IDC_PICKER_ADD, win::ListView(Handle(), IDC_PICKER_LIST).SelectedCount() > 0);
}

void AddressPickerDialog::ShowMenu(LPARAM point) {
  win::ListView list(Handle(), IDC_PICKER_LIST);
  bool any = list.Count() > 0;
  win::TrackPopupMenuAt(Handle(), IDR_PICKER_MENU, 0, win::ContextMenuPoint(list.Handle(), point),
                        [this, any](UINT id) { return any && (id != ID_EDIT_SELECT_ALL || request_.multiple); });
}

bool AddressPickerDialog::OnCommand(int id, int code, HWND) {
  win::ListView list(Handle(), IDC_PICKER_LIST);
  switch (id) {
    case IDC_PICKER_ADD:
      OnOK();
      return true;
    case IDC_PICKER_FILTER_OWN:
      if (code == BN_CLICKED) SetFilter(picker::kHideBlockedAndOwn);
      return true;
    case IDC_PICKER_FILTER_BLOCKED:
      if (code == BN_CLICKED) SetFilter(picker::kHideBlocked);
      return true;
    case IDC_PICKER_FILTER_ALL:
      if (code == BN_CLICKED) SetFilter(picker::kShowAll);
      return true;
    case ID_EDIT_FIND:
      FindInList(Handle(), list, 2);
      return true;
    case ID_FIND_NEXT:
      FindNextInList(Handle(), list, 2);
      return true;
    case ID_EDIT_SELECT_ALL:
      if (request_.multiple) list.SelectAll();
      return true;
    default:
      return false;
  }
}

bool AddressPickerDialog::OnNotify(int id, NMHDR* header, LRESULT* result) {
  if (id != IDC_PICKER_LIST) return false;
  switch (header->code) {
    case LVN_ITEMCHANGED:
      UpdateAdd();
      return true;
    case LVN_COLUMNCLICK:
      SortBy(reinterpret_cast<NMLISTVIEW*>(header)->iSubItem);
      return true;
    case NM_DBLCLK:
      if (reinterpret_cast<NMITEMACTIVATE*>(header)->iItem >= 0) OnOK();
      return true;
    default:
      return false;
  }
}

bool AddressPickerDialog::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR* result) {
  if (message == WM_CONTEXTMENU && reinterpret_cast<HWND>(wParam) == Item(IDC_PICKER_LIST)) {
    ShowMenu(lParam);
    *result = TRUE;
    return true;
  }
  if (message != watchui::kReloadMessage) return false;
  request_.chosen.clear();
  End(0);
  *result = TRUE;
  return true;
}

void AddressPickerDialog::OnOK() {
  win::ListView list(Handle(), IDC_PICKER_LIST);
  std::vector<int> selected;
  for (int row = list.NextSelected(); row >= 0; row = list.NextSelected(row))
    selected.push_back(static_cast<int>(list.Data(row)));
  if (selected.empty()) return;
  request_.chosen = picker::ChosenAddresses(rows_, selected, request_.multiple);
  End(IDOK);
}

}  // namespace velkor
