#pragma once
// Context menus from a menu resource: every item is enabled or greyed by a
// command-update callback just before the popup opens (an item no handler
// claims is shown greyed), then the menu is tracked and the chosen command
// goes to the owner as WM_COMMAND.

#include <windows.h>

#include <functional>

namespace velkor::win {

// Answers whether `command` can run now.
using CommandEnabled = std::function<bool(UINT command)>;

// Opens popup `index` of menu resource `menuId` at `screen`. False when the
// menu could not be loaded.
bool TrackPopupMenuAt(HWND owner, int menuId, int index, POINT screen, const CommandEnabled& enabled);

// The screen point of a WM_CONTEXTMENU on a list view: the message's own point
// for the mouse, below the focused row's label for the keyboard (Shift+F10 or
// the menu key send -1, -1), else the cursor.
POINT ContextMenuPoint(HWND listView, LPARAM lParam);

}  // namespace velkor::win
