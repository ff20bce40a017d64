#pragma once
// The editor's lists draw their rows' colours themselves: the list's own
// highlight would hide an invalid row's red, and a selected row looks the same
// in every list.

#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <functional>

namespace velkor {

constexpr COLORREF kInvalidRowText = RGB(255, 0, 0);
// The back and text of a selected row while its list has not the focus.
constexpr COLORREF kUnfocusedSelectionBack = RGB(236, 233, 216);
constexpr COLORREF kUnfocusedSelectionText = RGB(0, 0, 255);

enum class RowLook : std::uint8_t {
  Valid,
  Invalid,    // red text, also while selected in a list without the focus
  ListDrawn,  // left to the list itself
};

// The answer to a list view's NM_CUSTOMDRAW. The row under a label edit is
// left to the list; `look` decides the others by row number and item data.
LRESULT DrawListRow(NMLVCUSTOMDRAW* draw, const std::function<RowLook(int row, LPARAM data)>& look);

}  // namespace velkor
