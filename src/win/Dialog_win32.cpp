#include "win/Dialog.h"

#include <new>
#include <vector>

#include "win/DropTarget.h"
#include "win/Help.h"

namespace velkor::win {

HINSTANCE ProgramInstance() { return ::GetModuleHandleA(nullptr); }

Dialog::~Dialog() {
  // A modeless window that outlives its object would call into freed memory.
  if (hwnd_ && !modal_) {
    ::SetWindowLongPtrA(hwnd_, DWLP_USER, 0);
    ::DestroyWindow(hwnd_);
  }
}

INT_PTR Dialog::RunModal(HWND owner, int templateId, HINSTANCE instance) {
  modal_ = true;
  templateId_ = templateId;
  return ::DialogBoxParamA(instance ? instance : ProgramInstance(), MAKEINTRESOURCEA(templateId), owner,
                           &Dialog::Procedure, reinterpret_cast<LPARAM>(this));
}

bool Dialog::CreateModeless(HWND owner, int templateId, HINSTANCE instance) {
  modal_ = false;
  templateId_ = templateId;
  HWND created = ::CreateDialogParamA(instance ? instance : ProgramInstance(), MAKEINTRESOURCEA(templateId),
                                      owner, &Dialog::Procedure, reinterpret_cast<LPARAM>(this));
  return created != nullptr;
}

void Dialog::End(INT_PTR result) {
  if (!hwnd_) return;
  if (modal_)
    ::EndDialog(hwnd_, result);
  else
    ::DestroyWindow(hwnd_);
}

void Dialog::Destroy() {
  if (hwnd_) ::DestroyWindow(hwnd_);
}

std::string Dialog::ItemText(int id) const {
  HWND item = Item(id);
  if (!item) return std::string();
  int length = ::GetWindowTextLengthA(item);
  std::vector<char> buffer(static_cast<size_t>(length) + 2, '\0');
  int copied = ::GetWindowTextA(item, buffer.data(), static_cast<int>(buffer.size()));
  return std::string(buffer.data(), copied > 0 ? static_cast<size_t>(copied) : 0);
}

void Dialog::SetItemText(int id, const std::string& text) { ::SetDlgItemTextA(hwnd_, id, text.c_str()); }

bool Dialog::IsChecked(int id) const { return ::IsDlgButtonChecked(hwnd_, id) == BST_CHECKED; }

void Dialog::SetChecked(int id, bool checked) {
  ::CheckDlgButton(hwnd_, id, checked ? BST_CHECKED : BST_UNCHECKED);
}

void Dialog::EnableItem(int id, bool enable) { ::EnableWindow(Item(id), enable ? TRUE : FALSE); }

void Dialog::ShowItem(int id, bool show) { ::ShowWindow(Item(id), show ? SW_SHOW : SW_HIDE); }

bool Dialog::IsItemVisible(int id) const { return ::IsWindowVisible(Item(id)) != FALSE; }

void Dialog::SetTitle(const std::string& text) { ::SetWindowTextA(hwnd_, text.c_str()); }

std::string Dialog::Title() const {
  int length = ::GetWindowTextLengthA(hwnd_);
  std::vector<char> buffer(static_cast<size_t>(length) + 2, '\0');
  int copied = ::GetWindowTextA(hwnd_, buffer.data(), static_cast<int>(buffer.size()));
  return std::string(buffer.data(), copied > 0 ? static_cast<size_t>(copied) : 0);
}

INT_PTR CALLBACK Dialog::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  Dialog* self = nullptr;
  if (message == WM_INITDIALOG) {
    self = reinterpret_cast<Dialog*>(lParam);
    ::SetWindowLongPtrA(hwnd, DWLP_USER, lParam);
    if (self) self->hwnd_ = hwnd;
  } else {
    self = reinterpret_cast<Dialog*>(::GetWindowLongPtrA(hwnd, DWLP_USER));
  }
  // Messages before WM_INITDIALOG (WM_SETFONT) have no object yet.
  if (!self) return FALSE;
  INT_PTR result = 0;
  try {
    result = self->Dispatch(message, wParam, lParam);
  } catch (const std::bad_alloc&) {
    // Memory ran out (a huge paste or drop): the user is told, the program
    // and its unsaved edits stay.
    ReportOutOfMemory(hwnd);
  }
  if (message == WM_NCDESTROY) {
    ::SetWindowLongPtrA(hwnd, DWLP_USER, 0);
    self->hwnd_ = nullptr;
  }
  return result;
}

std::uint32_t Dialog::HelpContext(HWND) const { return HelpContextForDialog(templateId_); }

INT_PTR Dialog::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
  INT_PTR result = 0;
  if (OnMessage(message, wParam, lParam, &result)) return result;
  switch (message) {
    case WM_INITDIALOG:
      return OnInit() ? TRUE : FALSE;
    case WM_COMMAND: {
      int id = LOWORD(wParam);
      int code = HIWORD(wParam);
      if (OnCommand(id, code, reinterpret_cast<HWND>(lParam))) return TRUE;
      if (id == IDOK) {
        OnOK();
        return TRUE;
      }
      if (id == IDCANCEL) {
        OnCancel();
        return TRUE;
      }
      return FALSE;
    }
    case WM_NOTIFY: {
      auto* header = reinterpret_cast<NMHDR*>(lParam);
      LRESULT notifyResult = 0;
      if (header && OnNotify(static_cast<int>(header->idFrom), header, &notifyResult)) {
        ::SetWindowLongPtrA(hwnd_, DWLP_MSGRESULT, notifyResult);
        return TRUE;
      }
      return FALSE;
    }
    case WM_TIMER:
      OnTimer(static_cast<UINT_PTR>(wParam));
      return TRUE;
    case WM_DESTROY:
      OnDestroy();
      return FALSE;
    case WM_HELP: {
      // Taken here, not passed on to the owner: the owner would show its own page.
      const auto* info = reinterpret_cast<const HELPINFO*>(lParam);
      HWND control = info && info->iContextType == HELPINFO_WINDOW ? static_cast<HWND>(info->hItemHandle) : nullptr;
      ShowContextHelp(hwnd_, HelpContext(control));
      return TRUE;
    }
    default:
      return FALSE;
  }
}

BOOL NextMessage(MSG* msg) { return ::GetMessageW(msg, nullptr, 0, 0); }

bool PeekNextMessage(MSG* msg) { return ::PeekMessageW(msg, nullptr, 0, 0, PM_REMOVE) != FALSE; }

bool TakeDialogMessage(HWND dialog, MSG* msg) { return dialog && ::IsDialogMessageW(dialog, msg) != FALSE; }

void DispatchNextMessage(const MSG& msg) {
  ::TranslateMessage(&msg);
  ::DispatchMessageW(&msg);
}

}  // namespace velkor::win
