#include "mail/MyRichEditCtrl_win32.h"

#include <richedit.h>



#include "mail/NgWordList.h"

namespace velkor {
namespace {

constexpr char kOldProcProperty[] = "VelkorRichEditProc";

LRESULT CALLBACK MailViewProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto old = reinterpret_cast<WNDPROC>(::GetPropA(hwnd, kOldProcProperty));
  if (message == WM_CONTEXTMENU) {
    ::SendMessageA(::GetParent(hwnd), kMailViewMenuMessage, wParam, lParam);
    return 0;
  }
  if (message == WM_NCDESTROY) {
    ::SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(old));
    ::RemovePropA(hwnd, kOldProcProperty);
  }
  return old ? ::CallWindowProcA(old, hwnd, message, wParam, lParam) : ::DefWindowProcA(hwnd, message, wParam, lParam);
}

}  // namespace

void CMyRichEditCtrl::Attach() const {
  if (!hwnd_ || ::GetPropA(hwnd_, kOldProcProperty)) return;
  LONG_PTR old = ::SetWindowLongPtrA(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&MailViewProcedure));
  ::SetPropA(hwnd_, kOldProcProperty, reinterpret_cast<HANDLE>(old));
  // The default limit of 32K characters would cut a long mail.
  Send(EM_EXLIMITTEXT, 0, 0x7FFFFFFE);
  // A read-only view needs no undo; keeping it makes every format change cost more.
  Send(EM_SETUNDOLIMIT, 0, 0);
}

void CMyRichEditCtrl::ShowMailText(const std::string& text) const {
  SetText(std::string());
  SetDefaultPointSize(10);
  SetText(ToMailViewText(text));
}

void CMyRichEditCtrl::Colour(const std::vector<HighlightRange>& ranges) const {
  const LRESULT mask = Send(EM_SETEVENTMASK, 0, 0);
  Send(WM_SETREDRAW, FALSE);
  Send(EM_HIDESELECTION, TRUE, 0);
  Send(EM_SHOWSCROLLBAR, SB_VERT, FALSE);
  CHARFORMAT2A format{};
  format.cbSize = sizeof format;
  format.dwMask = CFM_COLOR | CFM_BOLD;
  format.dwEffects = CFE_BOLD;
  for (const HighlightRange& range : ranges) {
    CHARRANGE chars{static_cast<LONG>(range.start), static_cast<LONG>(range.start + range.length)};
    Send(EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&chars));
    format.crTextColor = static_cast<COLORREF>(HighlightRgb(range.colour));
    Send(EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
  }
  Send(EM_SHOWSCROLLBAR, SB_VERT, TRUE);
  ScrollToTop();
  Send(EM_HIDESELECTION, FALSE, 0);
  Send(WM_SETREDRAW, TRUE);
  Send(EM_SETEVENTMASK, 0, mask);
  Invalidate();
}

}  // namespace velkor
