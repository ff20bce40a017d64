#pragma once
// The main window's side of mail drops on the criterion value list: which
// criterion row is selected, the dropped-mail text kept until WM_APP+1 opens
// the NG-word tool on it, and where decoded addresses and words go.

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "mail/MailDropTargets_win32.h"
#include "mail/NgWordToolDialog_win32.h"

namespace velkor {

class MailDropHost : public ListDropSink {
 public:
  // Adds text to the value list as its paste does (addressBook: the
  // address-book paste). Unset: decoded text has nowhere to go yet.
  using Inserter = std::function<void(const std::string& text, bool addressBook)>;

  // `criteriaRows` is the criteria list (1003) whose single selected row
  // decides how a mail is decoded.
  void Attach(HWND criteriaRows, Inserter insert) {
    criteriaRows_ = criteriaRows;
    insert_ = std::move(insert);
  }

  int SelectedCriterionRow() override;
  void InsertPlainText(const std::string& text) override;
  void InsertAddressBookText(const std::string& text) override;
  void SetDroppedMailText(const std::string& text) override { droppedMail_ = text; }

  // WM_APP+1: the tool on the dropped mail (empty after command 32838) over
  // `owner`, which is restored afterwards. The chosen words when it ended with OK.
  std::vector<std::string> RunTool(HWND owner, const std::vector<std::string>& ownAddresses,
                                   RegistryAccess& registry, FindState& find, FindPrompt* prompt);
  void ClearDroppedMail() { droppedMail_.clear(); }

 private:
  HWND criteriaRows_ = nullptr;
  Inserter insert_;
  std::string droppedMail_;
};

}  // namespace velkor
