#pragma once
// The two dialogs that collect the words of the personal safe lists.
//
// PersonalInfoDialog (dialog 148): name, Latin name, numbers, town, employer,
// handle and other information, remembered in "PrivateInfo".
// OwnNameDialog (dialog 150): the names the user is addressed by, one a line,
// remembered as "Self Identity"; prefilled from the accounts' display names.
//
// In: the settings registry and the user's own addresses (and display names).
// Run answers 1077 (OK: Entries() holds a non-empty list, none of it part of an
// own address), 1080 (back, nothing saved) or IDCANCEL (nothing saved).

#include <windows.h>

#include <string>
#include <vector>

#include "registry/RegistryAccess.h"
#include "templates/PersonalInfoEntries.h"
#include "win/Dialog.h"

namespace velkor {

// What both dialogs share: OK checks and keeps the entries, back and Cancel
// end it with nothing kept, Enter goes to the default OK button.
class SafeListWordsDialog : public win::Dialog {
 public:
  INT_PTR Run(HWND owner);
  const std::vector<std::string>& Entries() const { return entries_; }

 protected:
  SafeListWordsDialog(int dialogId, RegistryAccess& settings, std::vector<std::string> ownAddresses)
      : settings_(settings), ownAddresses_(std::move(ownAddresses)), dialogId_(dialogId) {}

  bool OnCommand(int id, int code, HWND control) override;
  // OK: checks the texts, remembers them and calls Accept, or tells the user.
  virtual void OnConfirm() = 0;
  // Takes out the entries that are part of an own address (`pattern` tells
  // which); ends the dialog with OK when any are left.
  void Accept(std::vector<std::string> entries, const char* pattern);

  RegistryAccess& settings_;
  std::vector<std::string> ownAddresses_;

 private:
  int dialogId_;
  std::vector<std::string> entries_;
};

class PersonalInfoDialog : public SafeListWordsDialog {
 public:
  PersonalInfoDialog(RegistryAccess& settings, std::vector<std::string> ownAddresses);

 protected:
  bool OnInit() override;
  void OnConfirm() override;
};

class OwnNameDialog : public SafeListWordsDialog {
 public:
  OwnNameDialog(RegistryAccess& settings, std::vector<std::string> ownAddresses,
                std::vector<std::string> displayNames);

 protected:
  bool OnInit() override;
  void OnConfirm() override;

 private:
  std::vector<std::string> displayNames_;
};

}  // namespace velkor
