#include "editor/EditorPane_win32.h"

#include "res/resource.h"
#include "win/Controls.h"

namespace velkor {

int GenericCommands::For(int generic) const {
  switch (generic) {
    case ID_EDIT_CLEAR: return clear;
    case ID_EDIT_COPY: return copy;
    case ID_EDIT_CUT: return cut;
    case ID_EDIT_FIND: return find;
    case ID_EDIT_INSERT: return insert;
    case ID_EDIT_PASTE: return paste;
    case ID_EDIT_SELECT_ALL: return selectAll;
    case ID_FIND_NEXT: return findNext;
    default: return 0;
  }
}

bool EditorPane::OnGenericCommand(int generic) {
  int command = Generic().For(generic);
  if (command == 0) return false;
  SendCommand(command);
  return true;
}

void EditorPane::SendCommand(int command) const {
  ::SendMessageA(frame_->Handle(), WM_COMMAND, MAKEWPARAM(command, 0), 0);
}

void SetUpSingleColumnList(HWND dialog, int id, DWORD extendedStyle, const char* column, int margin) {
  win::ListView list(dialog, id);
  list.SetExtendedStyle(extendedStyle, extendedStyle);
  RECT client = list.ClientRect();
  list.InsertColumn(0, column, client.right - client.left - margin);
}

int ScrollBarMargin() { return ::GetSystemMetrics(SM_CXVSCROLL); }

bool CheckBoxToggled(const NMLISTVIEW& change, bool* nowChecked) {
  if (!(change.uChanged & LVIF_STATE) || change.iItem < 0) return false;
  int oldCheck = CheckStateOf(change.uOldState), newCheck = CheckStateOf(change.uNewState);
  if (oldCheck == 0 || newCheck == 0 || oldCheck == newCheck) return false;
  *nowChecked = newCheck == 2;
  return true;
}

bool TakeUserToggle(HWND list) {
  win::ListView view(list);
  if (view.HasFocus()) return true;
  if (!(::GetKeyState(VK_LBUTTON) & 0x8000)) return false;
  view.Focus();
  return true;
}

}  // namespace velkor
