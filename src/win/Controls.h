#pragma once
// Thin wrappers of the common controls the windows use. None owns its HWND:
// each is a typed view of a control that belongs to its dialog, so copies are
// cheap and the dialog's lifetime decides everything. Text is Shift_JIS.

#include <windows.h>
#include <commctrl.h>
#include <richedit.h>

#include <string>
#include <string_view>

#include "win/Procedures.h"

namespace velkor::win {

class Window {
 public:
  Window() = default;
  explicit Window(HWND hwnd) : hwnd_(hwnd) {}
  Window(HWND dialog, int id) : hwnd_(::GetDlgItem(dialog, id)) {}

  HWND Handle() const { return hwnd_; }
  explicit operator bool() const { return hwnd_ != nullptr; }
  int Id() const { return ::GetDlgCtrlID(hwnd_); }

  std::string Text() const;
  void SetText(const std::string& text) const;
  void Show(bool show) const { ::ShowWindow(hwnd_, show ? SW_SHOW : SW_HIDE); }
  bool IsVisible() const { return ::IsWindowVisible(hwnd_) != FALSE; }
  void Enable(bool enable) const { ::EnableWindow(hwnd_, enable ? TRUE : FALSE); }
  bool IsEnabled() const { return ::IsWindowEnabled(hwnd_) != FALSE; }
  void Focus() const { ::SetFocus(hwnd_); }
  bool HasFocus() const;  // the control or one of its children has the keyboard focus
  void Invalidate(bool erase = true) const { ::InvalidateRect(hwnd_, nullptr, erase ? TRUE : FALSE); }
  RECT ClientRect() const;
  RECT ScreenRect() const;
  LONG_PTR Style() const { return ::GetWindowLongPtrA(hwnd_, GWL_STYLE); }
  LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
    return ::SendMessageA(hwnd_, message, wParam, lParam);
  }

 protected:
  HWND hwnd_ = nullptr;
};

class Button : public Window {
 public:
  using Window::Window;
  bool IsChecked() const { return Send(BM_GETCHECK) == BST_CHECKED; }
  void SetChecked(bool checked) const { Send(BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED); }
};

class Edit : public Window {
 public:
  using Window::Window;
  void SetLimit(int chars) const { Send(EM_LIMITTEXT, static_cast<WPARAM>(chars)); }
  bool IsModified() const { return Send(EM_GETMODIFY) != 0; }
  void SetModified(bool modified) const { Send(EM_SETMODIFY, modified ? TRUE : FALSE); }
  void SetSelection(int start, int end) const { Send(EM_SETSEL, start, end); }
  void SetReadOnly(bool readOnly) const { Send(EM_SETREADONLY, readOnly ? TRUE : FALSE); }
};

// A plain combo box (CBS_DROPDOWNLIST).
class ComboBox : public Window {
 public:
  using Window::Window;
  int Count() const { return static_cast<int>(Send(CB_GETCOUNT)); }
  // Answers the index of the new item (sorted combos insert in order), -1 on failure.
  int Add(const std::string& text, LPARAM data = 0) const;
  void Clear() const { Send(CB_RESETCONTENT); }
  int Selection() const { return static_cast<int>(Send(CB_GETCURSEL)); }
  void Select(int index) const { Send(CB_SETCURSEL, static_cast<WPARAM>(index)); }
  LPARAM Data(int index) const { return static_cast<LPARAM>(Send(CB_GETITEMDATA, static_cast<WPARAM>(index))); }
  std::string ItemText(int index) const;
};

// An extended combo box (WC_COMBOBOXEX) with an optional image list.
class ComboBoxEx : public Window {
 public:
  using Window::Window;
  int Count() const { return static_cast<int>(Send(CB_GETCOUNT)); }
  int Insert(int index, const std::string& text, int image = -1, LPARAM data = 0) const;
  void Clear() const { Send(CB_RESETCONTENT); }
  int Selection() const { return static_cast<int>(Send(CB_GETCURSEL)); }
  void Select(int index) const { Send(CB_SETCURSEL, static_cast<WPARAM>(index)); }
  LPARAM Data(int index) const;
  std::string ItemText(int index) const;
  void SetImageList(HIMAGELIST images) const { Send(CBEM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images)); }
};

// A report (or list-mode) list view, with check boxes where the style asks.
class ListView : public Window {
 public:
  using Window::Window;
  void SetExtendedStyle(DWORD mask, DWORD style) const { Send(LVM_SETEXTENDEDLISTVIEWSTYLE, mask, style); }
  DWORD ExtendedStyle() const { return static_cast<DWORD>(Send(LVM_GETEXTENDEDLISTVIEWSTYLE)); }
  int InsertColumn(int index, const std::string& title, int width) const;
  int ColumnCount() const;
  std::string ColumnTitle(int index) const;
  void SetColumnTitle(int index, const std::string& title) const;
  int ColumnWidth(int index) const { return static_cast<int>(Send(LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(index))); }
  void SetColumnWidth(int index, int width) const { Send(LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(index), width); }

  int Count() const { return static_cast<int>(Send(LVM_GETITEMCOUNT)); }
  // Answers the index of the new row, -1 on failure.
  int Insert(int index, const std::string& text, LPARAM data = 0) const;
  bool SetSubItemText(int index, int column, const std::string& text) const;
  bool Delete(int index) const { return Send(LVM_DELETEITEM, static_cast<WPARAM>(index)) != 0; }
  void Clear() const { Send(LVM_DELETEALLITEMS); }
  std::string ItemText(int index, int column = 0) const;
  bool SetItemText(int index, const std::string& text) const { return SetSubItemText(index, 0, text); }
  LPARAM Data(int index) const;
  bool SetData(int index, LPARAM data) const;
  // The row whose item data is `data`, or -1.
  int FindData(LPARAM data) const;

  bool IsChecked(int index) const;
  void SetChecked(int index, bool checked) const;

  int SelectedCount() const { return static_cast<int>(Send(LVM_GETSELECTEDCOUNT)); }
  // The next selected row after `after` (-1 = from the start), or -1.
  int NextSelected(int after = -1) const {
    return static_cast<int>(Send(LVM_GETNEXTITEM, static_cast<WPARAM>(after), LVNI_SELECTED));
  }
  int Focused() const { return static_cast<int>(Send(LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED)); }
  bool IsSelected(int index) const;
  void SetSelected(int index, bool selected) const;  // index -1: every row
  void SetFocused(int index, bool focused) const;
  void SelectAll() const { SetSelected(-1, true); }
  void UnselectAll() const { SetSelected(-1, false); }
  void EnsureVisible(int index) const { Send(LVM_ENSUREVISIBLE, static_cast<WPARAM>(index), FALSE); }
  // Starts label editing of row `index` (the list takes the focus first),
  // its whole text selected.
  HWND EditLabel(int index) const;
  // F2: label editing of the focused row, when there is one.
  HWND EditFocused() const { return Focused() >= 0 ? EditLabel(Focused()) : nullptr; }
  bool ItemRect(int index, RECT* rect, int code = LVIR_BOUNDS) const;
  // The row under a client point, or -1.
  int HitTest(POINT client) const;
  HWND Header() const { return reinterpret_cast<HWND>(Send(LVM_GETHEADER)); }
  // Sorts the rows by `compare`, which receives their item data and `data`.
  void SortItems(PFNLVCOMPARE compare, void* data) const {
    Send(LVM_SORTITEMS, reinterpret_cast<WPARAM>(data), CopyBits<LPARAM>(compare));
  }
  void RedrawAll() const;
};

class TreeView : public Window {
 public:
  using Window::Window;
  HTREEITEM Insert(HTREEITEM parent, const std::string& text, LPARAM data = 0, int image = -1,
                   HTREEITEM after = TVI_LAST) const;
  void Clear() const { Send(TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT)); }
  int Count() const { return static_cast<int>(Send(TVM_GETCOUNT)); }
  HTREEITEM Root() const { return Next(nullptr, TVGN_ROOT); }
  HTREEITEM Child(HTREEITEM item) const { return Next(item, TVGN_CHILD); }
  HTREEITEM Sibling(HTREEITEM item) const { return Next(item, TVGN_NEXT); }
  HTREEITEM Selection() const { return Next(nullptr, TVGN_CARET); }
  bool Select(HTREEITEM item) const {
    return Send(TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item)) != 0;
  }
  LPARAM Data(HTREEITEM item) const;
  std::string ItemText(HTREEITEM item) const;
  // The first item, depth first, whose data is `data`, or null.
  HTREEITEM FindData(LPARAM data) const;
  void Expand(HTREEITEM item) const { Send(TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(item)); }
  void EnsureVisible(HTREEITEM item) const { Send(TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(item)); }
  void SetImageList(HIMAGELIST images) const {
    Send(TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(images));
  }

 private:
  HTREEITEM Next(HTREEITEM item, UINT code) const {
    return reinterpret_cast<HTREEITEM>(Send(TVM_GETNEXTITEM, code, reinterpret_cast<LPARAM>(item)));
  }
};

class ProgressBar : public Window {
 public:
  using Window::Window;
  void SetRange(int low, int high) const { Send(PBM_SETRANGE32, static_cast<WPARAM>(low), high); }
  void SetPosition(int position) const { Send(PBM_SETPOS, static_cast<WPARAM>(position)); }
  int Position() const { return static_cast<int>(Send(PBM_GETPOS)); }
  void SetStep(int step) const { Send(PBM_SETSTEP, static_cast<WPARAM>(step)); }
};

// The rich-edit 2.0 control ("RichEdit20A", from RICHED20.DLL).
class RichEdit : public Window {
 public:
  using Window::Window;
  // Whole text with CR line ends as the control keeps them.
  std::string AllText() const;
  int TextLength() const;
  void SetSelection(long start, long end) const;
  void Selection(long* start, long* end) const;
  std::string SelectedText() const;
  // Finds `text` from `start` towards the end; answers the start of the match or -1.
  long Find(const std::string& text, long start, bool matchCase) const;
  bool SetDefaultPointSize(int points) const;
  CHARFORMAT2A DefaultFormat() const;
  // Replaces the whole content with rich text; false when the control refused it.
  bool StreamInRtf(std::string_view rtf) const;
  void ScrollToTop() const;
};

// Ctrl+A in an edit control (a label edit included) selects its whole text, as
// later Windows versions do; answers whether `msg` was that key and is taken.
// For the key filters of windows whose edits would otherwise ignore it.
bool TakeSelectAllKey(const MSG& msg);

// Shows `control` (a child of `dialog`) when `show`, else hides it: handy for
// panes that are a set of controls.
void ShowControls(HWND dialog, const int* ids, int count, bool show);

}  // namespace velkor::win
