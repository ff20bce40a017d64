#pragma once
// The blocked-sender list `BlockedSenderView` (1001): one row per blocked
// address of the session, in stored order. Its editing — label edits, delete,
// select all, the address book, the clipboard and find — is the shared word
// list (WordListPane); every change of rows replaces the session's
// BlockedSenderList, an unsaved change. A mail dropped on the list adds its
// sender; dropped text goes in as a paste does.

#include "editor/EditorPane_win32.h"
#include "editor/ImprovedHeaderCtrl_win32.h"
#include "editor/WordListPane_win32.h"
#include "mail/MailDropTargets_win32.h"
#include "res/resource.h"

namespace velkor {

class BlockedSenderPane : public EditorPane, private WordListHost, private ListDropSink {
 public:
  BlockedSenderPane() : words_(kBlockedSendersTraits, *this) {}

  bool OwnsControl(int id) const override { return id == IDC_BLOCKED_SENDER_VIEW; }
  std::uint32_t HelpContext() const override { return HelpContextForControl(IDC_BLOCKED_SENDER_VIEW); }
  void OnInit() override;
  void OnDestroy() override;
  bool OnCommand(int id, int code, HWND control) override;
  bool OnNotify(int id, NMHDR* header, LRESULT* result) override;
  bool OnContextMenu(HWND control, LPARAM point) override;
  HWND EditingList() const override;
  GenericCommands Generic() const override;
  bool OnGenericCommand(int generic) override;
  bool IsCommandEnabled(UINT command) const override;
  void OnSessionUnloading() override;
  void OnSessionLoaded() override;
  bool FocusOnPress(const MSG& msg, HWND focus) override;
  void EndEdit() override;

  WordListPane& Words() { return words_; }

 private:
  // WordListHost
  void CommitWords(const std::vector<std::string>& words) override;
  bool AddressBookOpen() const override;
  const AddressEntryList& AddressEntries() const override;
  std::vector<std::string> OwnAddresses() const override;
  // ListDropSink
  void InsertPlainText(const std::string& text) override { words_.PasteText(text, false); }
  void InsertAddressBookText(const std::string& text) override { words_.PasteText(text, true); }

  WordListPane words_;
  CImprovedHeaderCtrl header_;
};

}  // namespace velkor
