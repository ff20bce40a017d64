#include "editor/RuleOrder.h"

namespace velkor {

int DropTargetIndex(const std::vector<RowSpan>& rows, int cursorY) {
  if (rows.empty()) return -1;
  int shift = 0;
  if (rows.size() >= 2) shift = (rows[0].bottom - rows[0].top) / 2;
  const int count = static_cast<int>(rows.size());
  for (int i = 0; i < count; ++i) {
    if (cursorY >= rows[i].top - shift && cursorY < rows[i].bottom - shift) return i;
  }
  if (cursorY < rows.front().top - shift) return 0;
  if (cursorY >= rows.back().bottom - shift) return count;
  return -1;
}

RowMove MoveSelectedRows(int rowCount, const std::vector<bool>& selected, int source, int target) {
  RowMove move;
  if (source == target || target < 0 || target > rowCount || rowCount <= 0) return move;
  std::vector<int> taken;  // old indices, top to bottom
  std::vector<int> kept;
  int insertAt = target;
  for (int row = rowCount - 1; row >= 0; --row) {
    bool isSelected = row < static_cast<int>(selected.size()) && selected[row];
    if (isSelected) {
      taken.insert(taken.begin(), row);
      if (row < target) --insertAt;
    }
  }
  if (taken.empty()) return move;
  for (int row = 0; row < rowCount; ++row) {
    bool isSelected = row < static_cast<int>(selected.size()) && selected[row];
    if (!isSelected) kept.push_back(row);
  }
  move.order = kept;
  move.order.insert(move.order.begin() + insertAt, taken.begin(), taken.end());
  move.firstInserted = insertAt;
  move.insertedCount = static_cast<int>(taken.size());
  // A drop just below the rows, which leaves them where they were, is still
  // a move the user made.
  move.moved = true;
  return move;
}

int RowToRestore(const std::vector<std::uint32_t>& rowIds, std::int64_t ruleId) {
  if (rowIds.empty()) return -1;
  for (std::size_t i = 0; i < rowIds.size(); ++i) {
    if (static_cast<std::int64_t>(rowIds[i]) == ruleId) return static_cast<int>(i);
  }
  return 0;
}

}  // namespace velkor
