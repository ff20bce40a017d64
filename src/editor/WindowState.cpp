#include "editor/WindowState.h"

#include <cstdio>

namespace velkor {

ScreenPoint ClampMainWindowPosition(int left, int top, int windowWidth, int captionHeight, int screenWidth,
                                    int screenHeight) {
  const int c = captionHeight;
  ScreenPoint p{left, top};
  if (p.x < 5 * c - windowWidth) p.x = 5 * c - windowWidth;
  if (p.x > screenWidth - 5 * c) p.x = screenWidth - 5 * c;
  if (p.y < 0) p.y = 0;
  if (p.y > screenHeight - 3 * c) p.y = screenHeight - 3 * c;
  if (p.x == 0 && p.y == 0) p = ScreenPoint{1, 1};
  return p;
}

int RememberedSlotRow(int selectedRow, std::uint32_t checkedMask, int rowCount) {
  if (selectedRow >= 0 && selectedRow < rowCount && (checkedMask >> selectedRow & 1u)) return selectedRow;
  for (int row = 0; row < rowCount; ++row) {
    if (checkedMask >> row & 1u) return row;
  }
  return selectedRow;
}

std::string ProgressPercentText(int position, int low, int high) {
  long long percent = 0;
  if (high != low) {
    percent = (static_cast<long long>(position) - low) * 100 / (static_cast<long long>(high) - low);
    if (percent != 100) percent %= 100;
  }
  char text[32];
  std::snprintf(text, sizeof text, "%lld%c", percent, '%');
  return text;
}

}  // namespace velkor
