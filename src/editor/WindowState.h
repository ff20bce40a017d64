#pragma once
// What the main window remembers between runs and restores at start: its
// position on the screen (kept reachable), and the criterion and action rows
// of the rule that was shown. Also the progress window's percentage text.

#include <cstdint>
#include <string>

namespace velkor {

struct ScreenPoint {
  int x = 0;
  int y = 0;
};

// A stored top-left corner brought back onto a screen of screenWidth x
// screenHeight, for a window `windowWidth` wide whose caption is
// `captionHeight` high: at least five captions of it stay visible
// horizontally, the caption never goes above the screen and three captions
// remain above its bottom. A corner of exactly 0, 0 (stored when the window
// was minimised) becomes 1, 1.
ScreenPoint ClampMainWindowPosition(int left, int top, int windowWidth, int captionHeight, int screenWidth,
                                    int screenHeight);

// The row stored as "InitialCriteria" / "InitialAction": the selected row when
// it is checked (in use), else the lowest checked row; the selected row as
// it is when none is checked. checkedMask: bit i = row i checked.
int RememberedSlotRow(int selectedRow, std::uint32_t checkedMask, int rowCount = 12);

// "%d%%" of (position - low) * 100 / (high - low), taken modulo 100 unless
// exactly 100; "0%" when the range is empty.
std::string ProgressPercentText(int position, int low, int high);

}  // namespace velkor
