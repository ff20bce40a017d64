#include "editor/BlockedSenderPane_win32.h"

#include <string>
#include <vector>

#include "win/Controls.h"

namespace velkor {

void BlockedSenderPane::OnInit() {
  SetUpSingleColumnList(Dialog(), IDC_BLOCKED_SENDER_VIEW, LVS_EX_INFOTIP | LVS_EX_FULLROWSELECT,
                        "禁止された送信者のメールアドレス", kWordListMargin);
  header_.Attach(Item(IDC_BLOCKED_SENDER_VIEW));
  words_.Attach(Dialog());
  RegisterSenderDropTarget(Item(IDC_BLOCKED_SENDER_VIEW), this);
}

void BlockedSenderPane::OnDestroy() {
  ::RevokeDragDrop(Item(IDC_BLOCKED_SENDER_VIEW));
  header_.Detach();
}

bool BlockedSenderPane::OnCommand(int id, int code, HWND control) { return !control && words_.OnCommand(id); }

bool BlockedSenderPane::OnNotify(int id, NMHDR* header, LRESULT* result) {
  if (id != IDC_BLOCKED_SENDER_VIEW) return false;
  return words_.OnNotify(header, result);
}

bool BlockedSenderPane::OnContextMenu(HWND control, LPARAM point) {
  words_.ShowMenu(point);
  return true;
}

HWND BlockedSenderPane::EditingList() const { return Item(IDC_BLOCKED_SENDER_VIEW); }

GenericCommands BlockedSenderPane::Generic() const { return words_.Generic(); }

bool BlockedSenderPane::OnGenericCommand(int generic) {
  if (generic != ID_FIND_NEXT) return EditorPane::OnGenericCommand(generic);
  words_.FindNext();
  return true;
}

bool BlockedSenderPane::IsCommandEnabled(UINT command) const { return words_.IsEnabled(static_cast<int>(command)); }

void BlockedSenderPane::OnSessionUnloading() { words_.Fill({}, false); }

void BlockedSenderPane::OnSessionLoaded() { words_.Fill(Session().BlockedSenders().Addresses(), true); }

bool BlockedSenderPane::FocusOnPress(const MSG& msg, HWND focus) {
  HWND list = Item(IDC_BLOCKED_SENDER_VIEW);
  if (msg.hwnd != list || focus == list || ListView_GetEditControl(list)) return false;
  ::SetFocus(list);
  return msg.message == WM_LBUTTONDOWN;  // the first press only focuses
}

void BlockedSenderPane::EndEdit() {
  // Taking the focus from the label editor ends the edit as Enter would.
  if (words_.IsEditing()) ::SetFocus(Item(IDC_BLOCKED_SENDER_VIEW));
}

void BlockedSenderPane::CommitWords(const std::vector<std::string>& words) {
  BlockedSenderList& blocked = Session().BlockedSenders();
  // Rows that end as they were (a fresh row given up) are no change to save.
  if (words == blocked.Addresses()) return;
  blocked.SetAddresses(words);
  Frame().Modified();
}

bool BlockedSenderPane::AddressBookOpen() const { return Frame().AddressBookOpen(); }

const AddressEntryList& BlockedSenderPane::AddressEntries() const { return Session().AddressEntries(); }

std::vector<std::string> BlockedSenderPane::OwnAddresses() const { return Session().Accounts().OwnAddresses(); }

}  // namespace velkor
