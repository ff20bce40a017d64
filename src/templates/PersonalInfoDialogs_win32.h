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

class PersonalInfoDialog : public win::Dialog {
 public:
  PersonalInfoDialog(RegistryAccess& settings, std::vector<std::string> ownAddresses)
      : settings_(settings), ownAddresses_(std::move(ownAddresses)) {}

  INT_PTR Run(HWND owner);
  const std::vector<std::string>& Entries() const { return entries_; }

 protected:
  bool OnInit() override;
  bool OnCommand(int id, int code, HWND control) override;

 private:
  void OnConfirm();

  RegistryAccess& settings_;
  std::vector<std::string> ownAddresses_;
  std::vector<std::string> entries_;
};

class OwnNameDialog : public win::Dialog {
 public:
  OwnNameDialog(RegistryAccess& settings, std::vector<std::string> ownAddresses,
                std::vector<std::string> displayNames)
      : settings_(settings), ownAddresses_(std::move(ownAddresses)), displayNames_(std::move(displayNames)) {}

  INT_PTR Run(HWND owner);
  const std::vector<std::string>& Entries() const { return entries_; }

 protected:
  bool OnInit() override;
  bool OnCommand(int id, int code, HWND control) override;

 private:
  void OnConfirm();

  RegistryAccess& settings_;
  std::vector<std::string> ownAddresses_;
  std::vector<std::string> displayNames_;
  std::vector<std::string> entries_;
};

}  // namespace velkor
