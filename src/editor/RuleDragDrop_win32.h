#pragma once
// Dragging rules within the rule list: a data object that carries only the
// row on which the drag began (4 bytes, under the private clipboard format
// "Outlook Express Mail Rule List (OstrelSoft)"), the drop source that scrolls
// the list while the cursor is above or below it, and the drop target that
// answers the main window with WM_APP+6 (source row, target row).

#include <windows.h>
#include <ole2.h>

namespace velkor {

constexpr UINT kMoveRulesMessage = WM_APP + 6;

// The registered private format (by the name in string resource 32786).
CLIPFORMAT RuleListClipboardFormat();

// A new data object holding `row` under the private format; reference count 1.
IDataObject* CreateRuleDragData(int row);
// The row a data object carries, or -1 when it holds no valid row (no private
// format, a block smaller than 4 bytes, or -1 itself).
int RuleDragRow(IDataObject* data);

// Drop source of a drag begun in `list`: while the cursor is inside `window`'s
// client area but above or below the list, scrolls the list by that distance.
IDropSource* CreateRuleDropSource(HWND window, HWND list);

// Registers the drop target on `list`; drops are reported to `window`.
// Revoke with RevokeDragDrop(list).
bool RegisterRuleDropTarget(HWND window, HWND list);

// Runs the whole drag of `row` from `list` (a modal OLE loop).
void DragRuleRow(HWND window, HWND list, int row);

}  // namespace velkor
