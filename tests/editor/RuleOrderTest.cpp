// Moving rules by drag and drop, finding rows again, and the stored window state.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "editor/RuleOrder.h"
#include "editor/WindowState.h"

namespace velkor {
namespace {

// Five rows of 16 pixels starting at y = 20.
std::vector<RowSpan> FiveRows() {
  std::vector<RowSpan> rows;
  for (int i = 0; i < 5; ++i) rows.push_back({20 + 16 * i, 36 + 16 * i});
  return rows;
}

TEST(DropTargetIndex, LowerHalfOfARowMeansAfterIt) {
  struct Case {
    int y;
    int target;
  };
  const Case cases[] = {
      {-100, 0},  // far above the list
      {11, 0},    // above the first shifted row
      {12, 0},    // first shifted row begins half a row up
      {27, 0},    // upper half of row 0
      {28, 1},    // lower half of row 0 belongs to row 1
      {43, 1},
      {44, 2},
      {91, 4},    // upper half of the last row
      {92, 5},    // lower half of the last row: the end
      {500, 5},
  };
  for (const Case& c : cases) EXPECT_EQ(DropTargetIndex(FiveRows(), c.y), c.target) << "y=" << c.y;
}

TEST(DropTargetIndex, OneRowIsNotShiftedAndNoRowsRefuse) {
  std::vector<RowSpan> one = {{20, 36}};
  EXPECT_EQ(DropTargetIndex(one, 10), 0);
  EXPECT_EQ(DropTargetIndex(one, 35), 0);
  EXPECT_EQ(DropTargetIndex(one, 36), 1);
  EXPECT_EQ(DropTargetIndex({}, 30), -1);
  // A gap between rows (never in a report list, but possible in the rectangles)
  std::vector<RowSpan> gap = {{20, 36}, {60, 76}};
  EXPECT_EQ(DropTargetIndex(gap, 40), -1);
}

std::vector<bool> Selected(int count, std::initializer_list<int> rows) {
  std::vector<bool> out(static_cast<size_t>(count));
  for (int r : rows) out[static_cast<size_t>(r)] = true;
  return out;
}

TEST(MoveSelectedRows, MovesTheSelectionKeepingItsOrder) {
  struct Case {
    const char* name;
    std::vector<bool> selected;
    int source, target;
    std::vector<int> order;
    int first;
  };
  const std::vector<Case> cases = {
      {"last two to the top", Selected(5, {3, 4}), 4, 0, {3, 4, 0, 1, 2}, 0},
      {"first two to the end", Selected(5, {0, 1}), 0, 5, {2, 3, 4, 0, 1}, 3},
      {"scattered rows into the middle", Selected(5, {0, 4}), 0, 2, {1, 0, 4, 2, 3}, 1},
      {"one row down by one", Selected(5, {1}), 1, 3, {0, 2, 1, 3, 4}, 2},
      {"one row up", Selected(5, {3}), 3, 1, {0, 3, 1, 2, 4}, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RowMove move = MoveSelectedRows(5, c.selected, c.source, c.target);
    EXPECT_TRUE(move.moved);
    EXPECT_EQ(move.order, c.order);
    EXPECT_EQ(move.firstInserted, c.first);
  }
}

TEST(MoveSelectedRows, DropsThatChangeNothing) {
  // On itself, with nothing selected, outside the list.
  EXPECT_FALSE(MoveSelectedRows(5, Selected(5, {2}), 2, 2).moved);
  // Just below itself the row lands where it was, yet the user moved it.
  RowMove same = MoveSelectedRows(5, Selected(5, {2}), 2, 3);
  EXPECT_TRUE(same.moved);
  EXPECT_EQ(same.order, (std::vector<int>{0, 1, 2, 3, 4}));
  EXPECT_FALSE(MoveSelectedRows(5, Selected(5, {}), 2, 0).moved);
  EXPECT_FALSE(MoveSelectedRows(5, Selected(5, {2}), 2, 6).moved);
  EXPECT_FALSE(MoveSelectedRows(5, Selected(5, {2}), 2, -1).moved);
  EXPECT_FALSE(MoveSelectedRows(0, {}, 0, 0).moved);
}

TEST(RowToRestore, FindsTheRuleOrFallsBackToTheFirstRow) {
  EXPECT_EQ(RowToRestore({0, 5, 2}, 2), 2);
  EXPECT_EQ(RowToRestore({0, 5, 2}, 7), 0);
  EXPECT_EQ(RowToRestore({0, 5, 2}, -1), 0);
  EXPECT_EQ(RowToRestore({}, 0), -1);
}

TEST(ClampMainWindowPosition, KeepsTheWindowReachable) {
  // Caption 18 px, window 900 wide, screen 1024 x 768.
  struct Case {
    int left, top, x, y;
  };
  const Case cases[] = {
      {100, 50, 100, 50},     // inside: unchanged
      {-2000, 50, -810, 50},  // far left: 5 captions stay visible
      {2000, 50, 934, 50},    // far right
      {100, -40, 100, 0},     // the caption never goes above the screen
      {100, 900, 100, 714},   // three captions above the bottom
      {0, 0, 1, 1},           // stored after closing minimised
      {0, -5, 1, 1},          // clamped to 0, 0
      {0, 10, 0, 10},
  };
  for (const Case& c : cases) {
    ScreenPoint p = ClampMainWindowPosition(c.left, c.top, 900, 18, 1024, 768);
    EXPECT_EQ(p.x, c.x) << c.left << "," << c.top;
    EXPECT_EQ(p.y, c.y) << c.left << "," << c.top;
  }
}

TEST(RememberedSlotRow, PrefersTheSelectedCheckedRow) {
  EXPECT_EQ(RememberedSlotRow(3, 0b1000), 3);
  EXPECT_EQ(RememberedSlotRow(3, 0b10100), 2);   // not checked: the lowest checked
  EXPECT_EQ(RememberedSlotRow(-1, 0b100000000000), 11);
  EXPECT_EQ(RememberedSlotRow(4, 0), 4);        // none checked: unchanged
  EXPECT_EQ(RememberedSlotRow(-1, 0), -1);
}

TEST(ProgressPercentText, NumberAndSignWithoutBlank) {
  EXPECT_EQ(ProgressPercentText(0, 0, 100), "0%");
  EXPECT_EQ(ProgressPercentText(42, 0, 100), "42%");
  EXPECT_EQ(ProgressPercentText(100, 0, 100), "100%");
  EXPECT_EQ(ProgressPercentText(150, 0, 100), "50%");  // beyond the range wraps
  EXPECT_EQ(ProgressPercentText(15, 10, 20), "50%");
  EXPECT_EQ(ProgressPercentText(5, 7, 7), "0%");  // empty range
}

}  // namespace
}  // namespace velkor
