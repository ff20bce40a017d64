#include "win/Controls.h"

#include <commdlg.h>
#include <richedit.h>

#include <algorithm>
#include <cstring>

#include <vector>

namespace velkor::win {
namespace {

// Control item texts are read into a buffer that grows until the text fits.
template <typename Fill>
std::string ReadGrowing(Fill fill) {
  std::vector<char> buffer(256, '\0');
  for (;;) {
    int copied = fill(buffer.data(), static_cast<int>(buffer.size()));
    if (copied < 0) return std::string();
    if (static_cast<size_t>(copied) < buffer.size() - 1 || buffer.size() >= (1u << 20))
      return std::string(buffer.data(), std::min(static_cast<size_t>(copied), buffer.size() - 1));
    buffer.assign(buffer.size() * 4, '\0');
  }
}

}  // namespace

std::string Window::Text() const {
  int length = ::GetWindowTextLengthA(hwnd_);
  std::vector<char> buffer(static_cast<size_t>(length) + 2, '\0');
  int copied = ::GetWindowTextA(hwnd_, buffer.data(), static_cast<int>(buffer.size()));
  return std::string(buffer.data(), copied > 0 ? static_cast<size_t>(copied) : 0);
}

void Window::SetText(const std::string& text) const { ::SetWindowTextA(hwnd_, text.c_str()); }

bool Window::HasFocus() const {
  HWND focus = ::GetFocus();
  return focus && (focus == hwnd_ || ::IsChild(hwnd_, focus));
}

RECT Window::ClientRect() const {
  RECT rect{};
  ::GetClientRect(hwnd_, &rect);
  return rect;
}

RECT Window::ScreenRect() const {
  RECT rect{};
  ::GetWindowRect(hwnd_, &rect);
  return rect;
}

// ---- ComboBox

int ComboBox::Add(const std::string& text, LPARAM data) const {
  int index = static_cast<int>(Send(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str())));
  if (index >= 0) Send(CB_SETITEMDATA, static_cast<WPARAM>(index), data);
  return index < 0 ? -1 : index;
}

std::string ComboBox::ItemText(int index) const {
  int length = static_cast<int>(Send(CB_GETLBTEXTLEN, static_cast<WPARAM>(index)));
  if (length < 0) return std::string();
  std::vector<char> buffer(static_cast<size_t>(length) + 1, '\0');
  int copied = static_cast<int>(Send(CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(buffer.data())));
  return std::string(buffer.data(), copied > 0 ? static_cast<size_t>(copied) : 0);
}

// ---- ComboBoxEx

int ComboBoxEx::Insert(int index, const std::string& text, int image, LPARAM data) const {
  COMBOBOXEXITEMA item{};
  item.mask = CBEIF_TEXT | CBEIF_LPARAM;
  item.iItem = index;
  item.pszText = const_cast<char*>(text.c_str());
  item.lParam = data;
  if (image >= 0) {
    item.mask |= CBEIF_IMAGE | CBEIF_SELECTEDIMAGE;
    item.iImage = image;
    item.iSelectedImage = image;
  }
  return static_cast<int>(Send(CBEM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
}

LPARAM ComboBoxEx::Data(int index) const {
  COMBOBOXEXITEMA item{};
  item.mask = CBEIF_LPARAM;
  item.iItem = index;
  return Send(CBEM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item)) ? item.lParam : 0;
}

std::string ComboBoxEx::ItemText(int index) const {
  return ReadGrowing([&](char* buffer, int size) {
    COMBOBOXEXITEMA item{};
    item.mask = CBEIF_TEXT;
    item.iItem = index;
    item.pszText = buffer;
    item.cchTextMax = size;
    buffer[0] = '\0';
    if (!Send(CBEM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item))) return -1;
    return static_cast<int>(strlen(item.pszText == buffer ? buffer : item.pszText));
  });
}

// ---- ListView

int ListView::InsertColumn(int index, const std::string& title, int width) const {
  LVCOLUMNA column{};
  column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
  column.pszText = const_cast<char*>(title.c_str());
  column.cx = width;
  column.iSubItem = index;
  return static_cast<int>(Send(LVM_INSERTCOLUMNA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&column)));
}

int ListView::ColumnCount() const {
  HWND header = Header();
  return header ? static_cast<int>(::SendMessageA(header, HDM_GETITEMCOUNT, 0, 0)) : 0;
}

std::string ListView::ColumnTitle(int index) const {
  return ReadGrowing([&](char* buffer, int size) {
    LVCOLUMNA column{};
    column.mask = LVCF_TEXT;
    column.pszText = buffer;
    column.cchTextMax = size;
    buffer[0] = '\0';
    if (!Send(LVM_GETCOLUMNA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&column))) return -1;
    return static_cast<int>(strlen(buffer));
  });
}

void ListView::SetColumnTitle(int index, const std::string& title) const {
  LVCOLUMNA column{};
  column.mask = LVCF_TEXT;
  column.pszText = const_cast<char*>(title.c_str());
  Send(LVM_SETCOLUMNA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&column));
}

int ListView::Insert(int index, const std::string& text, LPARAM data) const {
  LVITEMA item{};
  item.mask = LVIF_TEXT | LVIF_PARAM;
  item.iItem = index;
  item.pszText = const_cast<char*>(text.c_str());
  item.lParam = data;
  return static_cast<int>(Send(LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
}

bool ListView::SetSubItemText(int index, int column, const std::string& text) const {
  LVITEMA item{};
  item.iSubItem = column;
  item.pszText = const_cast<char*>(text.c_str());
  return Send(LVM_SETITEMTEXTA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item)) != 0;
}

std::string ListView::ItemText(int index, int column) const {
  return ReadGrowing([&](char* buffer, int size) {
    LVITEMA item{};
    item.iSubItem = column;
    item.pszText = buffer;
    item.cchTextMax = size;
    buffer[0] = '\0';
    return static_cast<int>(Send(LVM_GETITEMTEXTA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item)));
  });
}

LPARAM ListView::Data(int index) const {
  LVITEMA item{};
  item.mask = LVIF_PARAM;
  item.iItem = index;
  return Send(LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item)) ? item.lParam : 0;
}

bool ListView::SetData(int index, LPARAM data) const {
  LVITEMA item{};
  item.mask = LVIF_PARAM;
  item.iItem = index;
  item.lParam = data;
  return Send(LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item)) != 0;
}

int ListView::FindData(LPARAM data) const {
  LVFINDINFOA find{};
  find.flags = LVFI_PARAM;
  find.lParam = data;
  return static_cast<int>(Send(LVM_FINDITEMA, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&find)));
}

bool ListView::IsChecked(int index) const {
  UINT state = static_cast<UINT>(Send(LVM_GETITEMSTATE, static_cast<WPARAM>(index), LVIS_STATEIMAGEMASK));
  return (state >> 12) == 2;  // state image 2 = checked, 1 = unchecked
}

void ListView::SetChecked(int index, bool checked) const {
  LVITEMA item{};
  item.stateMask = LVIS_STATEIMAGEMASK;
  item.state = INDEXTOSTATEIMAGEMASK(checked ? 2 : 1);
  Send(LVM_SETITEMSTATE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
}

bool ListView::IsSelected(int index) const {
  return Send(LVM_GETITEMSTATE, static_cast<WPARAM>(index), LVIS_SELECTED) != 0;
}

void ListView::SetSelected(int index, bool selected) const {
  LVITEMA item{};
  item.stateMask = LVIS_SELECTED;
  item.state = selected ? LVIS_SELECTED : 0;
  Send(LVM_SETITEMSTATE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
}

void ListView::SetFocused(int index, bool focused) const {
  LVITEMA item{};
  item.stateMask = LVIS_FOCUSED;
  item.state = focused ? LVIS_FOCUSED : 0;
  Send(LVM_SETITEMSTATE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
}

HWND ListView::EditLabel(int index) const {
  ::SetFocus(hwnd_);
  // The W message makes the list create a Unicode edit, as its own slow
  // double click does: an ANSI edit takes a typed double-byte character as
  // two byte messages where a loop splits it. The message carries no text,
  // and the label-edit notifications stay ANSI.
  HWND edit = reinterpret_cast<HWND>(Send(LVM_EDITLABELW, static_cast<WPARAM>(index)));
  if (edit) ::SendMessageA(edit, EM_SETSEL, 0, -1);
  return edit;
}

bool ListView::ItemRect(int index, RECT* rect, int code) const {
  rect->left = code;
  return Send(LVM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(rect)) != 0;
}

int ListView::HitTest(POINT client) const {
  LVHITTESTINFO info{};
  info.pt = client;
  return static_cast<int>(Send(LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&info)));
}

void ListView::RedrawAll() const {
  int count = Count();
  if (count > 0) Send(LVM_REDRAWITEMS, 0, count - 1);
  ::UpdateWindow(hwnd_);
}

// ---- TreeView

HTREEITEM TreeView::Insert(HTREEITEM parent, const std::string& text, LPARAM data, int image,
                           HTREEITEM after) const {
  TVINSERTSTRUCTA insert{};
  insert.hParent = parent ? parent : TVI_ROOT;
  insert.hInsertAfter = after;
  insert.item.mask = TVIF_TEXT | TVIF_PARAM;
  insert.item.pszText = const_cast<char*>(text.c_str());
  insert.item.lParam = data;
  if (image >= 0) {
    insert.item.mask |= TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    insert.item.iImage = image;
    insert.item.iSelectedImage = image;
  }
  return reinterpret_cast<HTREEITEM>(Send(TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
}

LPARAM TreeView::Data(HTREEITEM handle) const {
  TVITEMA item{};
  item.mask = TVIF_PARAM | TVIF_HANDLE;
  item.hItem = handle;
  return Send(TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item)) ? item.lParam : 0;
}

std::string TreeView::ItemText(HTREEITEM handle) const {
  return ReadGrowing([&](char* buffer, int size) {
    TVITEMA item{};
    item.mask = TVIF_TEXT | TVIF_HANDLE;
    item.hItem = handle;
    item.pszText = buffer;
    item.cchTextMax = size;
    buffer[0] = '\0';
    if (!Send(TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item))) return -1;
    return static_cast<int>(strlen(buffer));
  });
}

HTREEITEM TreeView::FindData(LPARAM data) const {
  // Depth first without recursion: a deep folder tree must not exhaust the stack.
  std::vector<HTREEITEM> pending;
  for (HTREEITEM item = Root(); item; item = Sibling(item)) pending.push_back(item);
  std::vector<HTREEITEM> stack(pending.rbegin(), pending.rend());
  while (!stack.empty()) {
    HTREEITEM item = stack.back();
    stack.pop_back();
    if (Data(item) == data) return item;
    std::vector<HTREEITEM> children;
    for (HTREEITEM child = Child(item); child; child = Sibling(child)) children.push_back(child);
    stack.insert(stack.end(), children.rbegin(), children.rend());
  }
  return nullptr;
}

// ---- RichEdit

std::string RichEdit::AllText() const {
  int length = TextLength();
  std::vector<char> buffer(static_cast<size_t>(length) + 2, '\0');
  GETTEXTEX request{};
  request.cb = static_cast<DWORD>(buffer.size());
  request.flags = GT_DEFAULT;
  request.codepage = CP_ACP;
  int copied = static_cast<int>(Send(EM_GETTEXTEX, reinterpret_cast<WPARAM>(&request),
                                     reinterpret_cast<LPARAM>(buffer.data())));
  return std::string(buffer.data(), copied > 0 ? static_cast<size_t>(copied) : 0);
}

int RichEdit::TextLength() const {
  GETTEXTLENGTHEX request{};
  request.flags = GTL_NUMBYTES | GTL_PRECISE;
  request.codepage = CP_ACP;
  LRESULT length = Send(EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&request));
  return length > 0 ? static_cast<int>(length) : 0;
}

void RichEdit::SetSelection(long start, long end) const {
  CHARRANGE range{start, end};
  Send(EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
}

void RichEdit::Selection(long* start, long* end) const {
  CHARRANGE range{};
  Send(EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&range));
  *start = range.cpMin;
  *end = range.cpMax;
}

std::string RichEdit::SelectedText() const {
  long start = 0;
  long end = 0;
  Selection(&start, &end);
  if (end <= start) return std::string();
  // Characters, not bytes: a double-byte character needs two bytes.
  std::vector<char> buffer(static_cast<size_t>(end - start) * 2 + 2, '\0');
  int copied = static_cast<int>(Send(EM_GETSELTEXT, 0, reinterpret_cast<LPARAM>(buffer.data())));
  return std::string(buffer.data(), copied > 0 ? static_cast<size_t>(copied) : 0);
}

long RichEdit::Find(const std::string& text, long start, bool matchCase) const {
  FINDTEXTEXA find{};
  find.chrg.cpMin = start;
  find.chrg.cpMax = -1;
  find.lpstrText = text.c_str();
  // Wine finds nothing without FR_DOWN.
  WPARAM flags = FR_DOWN | (matchCase ? FR_MATCHCASE : 0);
  LRESULT found = Send(EM_FINDTEXTEX, flags, reinterpret_cast<LPARAM>(&find));
  return found < 0 ? -1 : static_cast<long>(found);
}

bool RichEdit::SetDefaultPointSize(int points) const {
  CHARFORMAT2A format{};
  format.cbSize = sizeof(format);
  format.dwMask = CFM_SIZE;
  format.yHeight = points * 20;  // twips
  return Send(EM_SETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&format)) != 0;
}

CHARFORMAT2A RichEdit::DefaultFormat() const {
  CHARFORMAT2A format{};
  format.cbSize = sizeof(format);
  Send(EM_GETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&format));
  return format;
}

namespace {

struct StreamSource {
  std::string_view text;
  std::size_t read = 0;
};

DWORD CALLBACK ReadStream(DWORD_PTR cookie, LPBYTE buffer, LONG wanted, LONG* given) {
  auto* source = reinterpret_cast<StreamSource*>(cookie);
  const std::size_t n = std::min(static_cast<std::size_t>(wanted), source->text.size() - source->read);
  std::memcpy(buffer, source->text.data() + source->read, n);
  source->read += n;
  *given = static_cast<LONG>(n);
  return 0;
}

}  // namespace

bool RichEdit::StreamInRtf(std::string_view rtf) const {
  StreamSource source{rtf};
  EDITSTREAM stream{reinterpret_cast<DWORD_PTR>(&source), 0, &ReadStream};
  Send(EM_STREAMIN, SF_RTF, reinterpret_cast<LPARAM>(&stream));
  return stream.dwError == 0 && source.read == rtf.size();
}

void RichEdit::ScrollToTop() const {
  SetSelection(0, 0);
  Send(WM_VSCROLL, SB_TOP);
}

bool TakeSelectAllKey(const MSG& msg) {
  if (msg.message != WM_KEYDOWN || msg.wParam != 'A' || !(::GetKeyState(VK_CONTROL) & 0x8000) ||
      (::GetKeyState(VK_MENU) & 0x8000))
    return false;
  char name[16] = {};
  const int length = ::GetClassNameA(msg.hwnd, name, sizeof name);
  const std::string_view kEdit = "edit";
  if (length != static_cast<int>(kEdit.size()) ||
      !std::equal(kEdit.begin(), kEdit.end(), name, [](char a, char b) { return a == (b | 0x20); }))
    return false;
  ::SendMessageA(msg.hwnd, EM_SETSEL, 0, -1);
  return true;
}

void ShowControls(HWND dialog, const int* ids, int count, bool show) {
  for (int i = 0; i < count; ++i) ::ShowWindow(::GetDlgItem(dialog, ids[i]), show ? SW_SHOW : SW_HIDE);
}

}  // namespace velkor::win
