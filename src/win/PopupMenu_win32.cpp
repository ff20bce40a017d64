#include "win/PopupMenu.h"

#include <commctrl.h>

#include "win/Dialog.h"

namespace velkor::win {

bool TrackPopupMenuAt(HWND owner, int menuId, int index, POINT screen, const CommandEnabled& enabled) {
  HMENU menus = ::LoadMenuA(ProgramInstance(), MAKEINTRESOURCEA(menuId));
  if (!menus) return false;
  HMENU popup = ::GetSubMenu(menus, index);
  if (popup) {
    int count = ::GetMenuItemCount(popup);
    for (int i = 0; i < count; ++i) {
      UINT id = ::GetMenuItemID(popup, i);
      if (id == 0 || id == static_cast<UINT>(-1)) continue;  // separator or submenu
      bool on = enabled && enabled(id);
      ::EnableMenuItem(popup, id, MF_BYCOMMAND | (on ? MF_ENABLED : MF_GRAYED));
    }
    ::TrackPopupMenu(popup, TPM_LEFTALIGN | TPM_RIGHTBUTTON, screen.x, screen.y, 0, owner, nullptr);
  }
  ::DestroyMenu(menus);
  return popup != nullptr;
}

POINT ContextMenuPoint(HWND listView, LPARAM lParam) {
  POINT screen{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
  if (screen.x != -1 || screen.y != -1) return screen;
  RECT rect{};
  int row = static_cast<int>(::SendMessageA(listView, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
  rect.left = LVIR_LABEL;
  if (row >= 0 && ::SendMessageA(listView, LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&rect))) {
    screen = POINT{rect.left, rect.bottom};
    ::ClientToScreen(listView, &screen);
  } else {
    ::GetCursorPos(&screen);
  }
  return screen;
}

}  // namespace velkor::win
