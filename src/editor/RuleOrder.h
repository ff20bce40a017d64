#pragma once
// Moving rules within the rule list by drag and drop, and finding rows again
// after a reload. Pure index arithmetic on the list's rows, so that the window
// only reads row rectangles and selection and applies the answer.

#include <cstdint>
#include <vector>

namespace velkor {

// The vertical extent of one list row in client coordinates (top inclusive,
// bottom exclusive, as PtInRect counts).
struct RowSpan {
  int top = 0;
  int bottom = 0;
};

// Where a drop at client height `cursorY` inserts. With two or more rows every
// row counts as moved up by half a row height, so the lower half of a row
// means "after it". Above the first row gives 0, below the last the row
// count; -1 refuses the drop (no rows, or a gap between rows).
int DropTargetIndex(const std::vector<RowSpan>& rows, int cursorY);

// The outcome of moving the selected rows to a target index.
struct RowMove {
  bool moved = false;        // false: nothing changes
  std::vector<int> order;    // new row order, as old row indices
  int firstInserted = -1;    // new index of the first moved row
  int insertedCount = 0;     // the moved rows occupy firstInserted .. +count-1
};

// Takes every selected row out (last to first), lowering the target for each
// taken row above it, and inserts them at the target in their previous
// relative order. Nothing moves when source == target, when no row is
// selected or when the target is outside 0..rowCount; any other drop is a
// move, even one that leaves the order as it was.
RowMove MoveSelectedRows(int rowCount, const std::vector<bool>& selected, int source, int target);

// The row that shows `ruleId` among the rows' ids, 0 when none does (and
// -1 when there are no rows at all).
int RowToRestore(const std::vector<std::uint32_t>& rowIds, std::int64_t ruleId);

}  // namespace velkor
