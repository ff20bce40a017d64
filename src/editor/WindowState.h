#pragma once
// What the main window remembers between runs and restores at start: its
// position on the screen (kept reachable), and the criterion and action rows
// of the rule that was shown. Also the progress window's percentage text.

#include <cstdint>
#include <string>
#include <vector>

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

// One axis of a resizable window's layout: consecutive parts of the default
// layout, each with the least length it may shrink to and its share of any
// growth (0: it keeps its length). A coordinate of the default layout maps to
// the new one piece by piece, so controls keep their order and never overlap.
struct LayoutPart {
  int length = 0;
  int minimum = 0;
  int weight = 0;
};
class AxisLayout {
 public:
  // `parts` cover the default length from 0; `length` is the new length.
  AxisLayout(std::vector<LayoutPart> parts, int length);
  // The least length the parts allow.
  static int Minimum(const std::vector<LayoutPart>& parts);
  int Map(int coordinate) const;

 private:
  std::vector<int> from_;  // part starts in the default layout, and its end
  std::vector<int> to_;    // the same in the new layout
};

// How one control follows the two axes.
struct ControlLayout {
  int left = 0, top = 0, right = 0, bottom = 0;
  bool keepWidth = false;   // its width stays; it follows its right edge's place
  bool keepHeight = false;  // its height stays; it follows its top edge's place
};
// The control's rectangle in the new layout.
ControlLayout PlaceControl(const ControlLayout& control, const AxisLayout& across, const AxisLayout& down);

// "%d%%" of (position - low) * 100 / (high - low), taken modulo 100 unless
// exactly 100; "0%" when the range is empty.
std::string ProgressPercentText(int position, int low, int high);

}  // namespace velkor
