#include "mail/MyRichEditCtrl_win32.h"

#include <richedit.h>

#include "mail/MailViewRtf.h"
#include "win/Procedures.h"
#include "win/RedrawHold.h"

namespace velkor {
namespace {

constexpr char kOldProcProperty[] = "VelkorRichEditProc";

LRESULT CALLBACK MailViewProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  const WNDPROC old = win::RememberedProcedure(hwnd, kOldProcProperty);
  if (message == WM_CONTEXTMENU) {
    ::SendMessageA(::GetParent(hwnd), kMailViewMenuMessage, wParam, lParam);
    return 0;
  }
  if (message == WM_NCDESTROY) {
    win::ReplaceWindowProcedure(hwnd, old);
    ::RemovePropA(hwnd, kOldProcProperty);
  }
  return old ? ::CallWindowProcA(old, hwnd, message, wParam, lParam) : ::DefWindowProcA(hwnd, message, wParam, lParam);
}

}  // namespace

void CMyRichEditCtrl::Attach() const {
  if (!hwnd_ || ::GetPropA(hwnd_, kOldProcProperty)) return;
  win::RememberProcedure(hwnd_, kOldProcProperty, win::ReplaceWindowProcedure(hwnd_, &MailViewProcedure));
  // The default limit of 32K characters would cut a long mail.
  Send(EM_EXLIMITTEXT, 0, 0x7FFFFFFE);
  // A read-only view needs no undo; keeping it makes every format change cost more.
  Send(EM_SETUNDOLIMIT, 0, 0);
}

void CMyRichEditCtrl::ShowMailText(const std::string& mail) const { ShowMail(MailViewText(mail), {}); }

void CMyRichEditCtrl::ShowMail(const std::string& text, const std::vector<HighlightRange>& ranges) const {
  SetDefaultPointSize(10);
  const CHARFORMAT2A format = DefaultFormat();
  const RtfFont font{format.szFaceName, format.bCharSet, static_cast<int>(format.yHeight / 10)};
  const LRESULT mask = Send(EM_SETEVENTMASK, 0, 0);
  {
    win::RedrawHold hold({Handle()});
    StreamInRtf(MailViewRtf(text, ranges, font));
    ScrollToTop();
  }
  Send(EM_SETEVENTMASK, 0, mask);
}

}  // namespace velkor
