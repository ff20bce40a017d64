#include "editor/RowColours_win32.h"

#include "win/Controls.h"

namespace velkor {
namespace {

constexpr COLORREF kSelectedFocusText = RGB(255, 255, 255);
constexpr COLORREF kSelectedFocusBack = RGB(49, 106, 197);

}  // namespace

LRESULT DrawListRow(NMLVCUSTOMDRAW* draw, const std::function<RowLook(int row, LPARAM data)>& look) {
  if (draw->nmcd.dwDrawStage == CDDS_PREPAINT) return CDRF_NOTIFYITEMDRAW;
  if (draw->nmcd.dwDrawStage != CDDS_ITEMPREPAINT) return CDRF_DODEFAULT;
  win::ListView list(draw->nmcd.hdr.hwndFrom);
  const int row = static_cast<int>(draw->nmcd.dwItemSpec);
  if (ListView_GetEditControl(list.Handle()) != nullptr && list.Focused() == row) return CDRF_DODEFAULT;
  const RowLook rowLook = look(row, draw->nmcd.lItemlParam);
  if (rowLook == RowLook::ListDrawn) return CDRF_DODEFAULT;
  const bool invalid = rowLook == RowLook::Invalid;
  if (list.IsSelected(row)) {
    draw->nmcd.uItemState &= ~(CDIS_SELECTED | CDIS_FOCUS);
    if (list.HasFocus()) {
      draw->clrText = kSelectedFocusText;
      draw->clrTextBk = kSelectedFocusBack;
    } else {
      draw->clrText = invalid ? kInvalidRowText : kUnfocusedSelectionText;
      draw->clrTextBk = kUnfocusedSelectionBack;
    }
  } else {
    draw->clrText = invalid ? kInvalidRowText : RGB(0, 0, 0);
    draw->clrTextBk = RGB(255, 255, 255);
  }
  return CDRF_NEWFONT;
}

}  // namespace velkor
