#include "editor/ImprovedHeaderCtrl_win32.h"

#include <commctrl.h>

#include "win/Procedures.h"

namespace velkor {
namespace {
constexpr const char* kSelfProperty = "VelkorImprovedHeader";
}

bool CImprovedHeaderCtrl::Attach(HWND list) {
  Detach();
  HWND header = reinterpret_cast<HWND>(::SendMessageA(list, LVM_GETHEADER, 0, 0));
  if (!header) return false;
  list_ = list;
  header_ = header;
  ::SetPropA(header_, kSelfProperty, this);
  previous_ = win::ReplaceWindowProcedure(header_, &CImprovedHeaderCtrl::Procedure);
  return true;
}

void CImprovedHeaderCtrl::Detach() {
  if (!header_) return;
  if (::IsWindow(header_)) {
    win::ReplaceWindowProcedure(header_, previous_);
    ::RemovePropA(header_, kSelfProperty);
  }
  header_ = nullptr;
  list_ = nullptr;
  previous_ = nullptr;
}

bool CImprovedHeaderCtrl::ShowsFocus() const {
  HWND focus = ::GetFocus();
  return list_ && focus && (focus == list_ || ::IsChild(list_, focus));
}

void CImprovedHeaderCtrl::DrawBand() const {
  if (!ShowsFocus()) return;
  HDC dc = ::GetDC(header_);
  if (!dc) return;
  HBRUSH brush = ::CreateSolidBrush(kBandColour);
  int count = static_cast<int>(::SendMessageA(header_, HDM_GETITEMCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    RECT item{};
    if (!::SendMessageA(header_, HDM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item))) continue;
    RECT band{item.left, item.bottom - kBandHeight, item.right, item.bottom};
    ::FillRect(dc, &band, brush);
  }
  ::DeleteObject(brush);
  ::ReleaseDC(header_, dc);
}

LRESULT CALLBACK CImprovedHeaderCtrl::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = static_cast<CImprovedHeaderCtrl*>(::GetPropA(hwnd, kSelfProperty));
  if (!self) return ::DefWindowProcA(hwnd, message, wParam, lParam);
  WNDPROC previous = self->previous_;
  if (message == WM_NCDESTROY) {
    self->Detach();
    return ::CallWindowProcA(previous, hwnd, message, wParam, lParam);
  }
  LRESULT result = ::CallWindowProcA(previous, hwnd, message, wParam, lParam);
  if (message == WM_PAINT) self->DrawBand();
  return result;
}

}  // namespace velkor
