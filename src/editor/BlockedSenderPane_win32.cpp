#include "editor/BlockedSenderPane_win32.h"

#include <string>
#include <vector>

#include "win/Controls.h"
#include "win/ScopedFlag.h"

namespace velkor {

void BlockedSenderPane::OnInit() {
  SetUpSingleColumnList(Dialog(), IDC_BLOCKED_SENDER_VIEW, LVS_EX_INFOTIP | LVS_EX_FULLROWSELECT,
                        "禁止された送信者のメールアドレス", kWordListMargin);
  header_.Attach(Item(IDC_BLOCKED_SENDER_VIEW));
}

void BlockedSenderPane::OnDestroy() { header_.Detach(); }

bool BlockedSenderPane::OnNotify(int id, NMHDR* header, LRESULT* result) {
  if (id != IDC_BLOCKED_SENDER_VIEW) return false;
  switch (header->code) {
    case NM_SETFOCUS:
    case NM_KILLFOCUS:
      ::InvalidateRect(win::ListView(header->hwndFrom).Header(), nullptr, TRUE);
      return false;
    case LVN_DELETEALLITEMS:
      *result = TRUE;  // no LVN_DELETEITEM for each row: the rows hold no resources
      return true;
    default:
      return false;
  }
}

HWND BlockedSenderPane::EditingList() const { return Item(IDC_BLOCKED_SENDER_VIEW); }

GenericCommands BlockedSenderPane::Generic() const {
  return {ID_BLOCKED_DELETE, ID_BLOCKED_COPY,  ID_BLOCKED_CUT,        ID_BLOCKED_FIND,
          ID_BLOCKED_ADD_ITEM, ID_BLOCKED_PASTE, ID_BLOCKED_SELECT_ALL, 0};
}

void BlockedSenderPane::OnSessionUnloading() {
  win::ScopedFlag guard(guard_);
  win::ListView(Dialog(), IDC_BLOCKED_SENDER_VIEW).Clear();
}

void BlockedSenderPane::OnSessionLoaded() {
  win::ListView list(Dialog(), IDC_BLOCKED_SENDER_VIEW);
  std::vector<std::string> addresses = Session().BlockedSenders().Addresses();
  win::ScopedFlag guard(guard_);
  for (std::size_t i = 0; i < addresses.size(); ++i) list.Insert(static_cast<int>(i), addresses[i]);
  if (list.Count() > 0) {
    list.SetSelected(0, true);
    list.SetFocused(0, true);
  }
}

bool BlockedSenderPane::FocusOnPress(const MSG& msg, HWND focus) {
  HWND list = Item(IDC_BLOCKED_SENDER_VIEW);
  if (msg.hwnd != list || focus == list || ListView_GetEditControl(list)) return false;
  ::SetFocus(list);
  return msg.message == WM_LBUTTONDOWN;  // the first press only focuses
}

}  // namespace velkor
