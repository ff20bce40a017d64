#include "editor/WindowState.h"

#include <algorithm>
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

AxisLayout::AxisLayout(std::vector<LayoutPart> parts, int length) {
  int total = 0, spare = 0, weights = 0;
  for (const LayoutPart& part : parts) {
    total += part.length;
    spare += std::max(0, part.length - part.minimum);
    weights += part.weight;
  }
  const int change = length - total;
  from_.push_back(0);
  to_.push_back(0);
  int given = 0;  // of the change, handed out so far (the last part takes the rest of the rounding)
  int spareSeen = 0, weightSeen = 0;
  for (const LayoutPart& part : parts) {
    int share = 0;
    if (change < 0 && spare > 0) {
      // Shrinking takes from each part in proportion to what it can give.
      spareSeen += std::max(0, part.length - part.minimum);
      const int upto = static_cast<int>(static_cast<long long>(std::max(change, -spare)) * spareSeen / spare);
      share = upto - given;
    } else if (change > 0 && weights > 0) {
      weightSeen += part.weight;
      const int upto = static_cast<int>(static_cast<long long>(change) * weightSeen / weights);
      share = upto - given;
    }
    given += share;
    from_.push_back(from_.back() + part.length);
    to_.push_back(to_.back() + part.length + share);
  }
}

int AxisLayout::Minimum(const std::vector<LayoutPart>& parts) {
  int total = 0;
  for (const LayoutPart& part : parts) total += std::min(part.length, part.minimum);
  return total;
}

int AxisLayout::Map(int coordinate) const {
  if (from_.size() < 2) return coordinate;
  // Beyond the last part a coordinate keeps its distance from the end.
  if (coordinate >= from_.back()) return to_.back() + coordinate - from_.back();
  if (coordinate <= 0) return coordinate;
  const auto at = std::upper_bound(from_.begin(), from_.end(), coordinate) - from_.begin() - 1;
  const int start = from_[static_cast<std::size_t>(at)], end = from_[static_cast<std::size_t>(at) + 1];
  const int newStart = to_[static_cast<std::size_t>(at)], newEnd = to_[static_cast<std::size_t>(at) + 1];
  if (end == start) return newStart;
  return newStart + static_cast<int>(static_cast<long long>(coordinate - start) * (newEnd - newStart) / (end - start));
}

ControlLayout PlaceControl(const ControlLayout& c, const AxisLayout& across, const AxisLayout& down) {
  ControlLayout placed = c;
  placed.right = across.Map(c.right);
  placed.left = c.keepWidth ? placed.right - (c.right - c.left) : across.Map(c.left);
  placed.top = down.Map(c.top);
  placed.bottom = c.keepHeight ? placed.top + (c.bottom - c.top) : down.Map(c.bottom);
  return placed;
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
