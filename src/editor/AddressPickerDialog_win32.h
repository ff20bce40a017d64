#pragma once
// AddressPickerDialog (dialog 139, "アドレス帳"): the user picks e-mail
// addresses from the address book. Used by the criterion word list, the
// forward-address action and the blocked-sender list, each with its own
// prompt, selection mode and filter. The caller fills an AddressPickerRequest
// and reads `chosen` back; the dialog owns nothing of the caller's.

#include <windows.h>

#include <string>
#include <vector>

#include "editor/AddressPicker.h"
#include "win/Dialog.h"

namespace velkor {

class AddressEntryList;

struct AddressPickerRequest {
  // In.
  bool bookOpen = false;                // false: the dialog closes at once with -1
  std::vector<picker::Entry> book;      // every address-book entry, in book order
  std::string prompt;
  bool multiple = true;
  bool showFilter = true;               // false hides the filter group
  int filter = picker::kShowAll;        // 0, 1 or 2 (picker::Filter)
  picker::Lists lists;                  // already added, blocked, own
  std::vector<std::string> preselect;   // addresses to select on opening
  // Out: the chosen addresses, in list order, after Add.
  std::vector<std::string> chosen;
};

// The picker's rows of the address-book entries.
std::vector<picker::Entry> PickerEntries(const AddressEntryList& book);

class AddressPickerDialog : public win::Dialog {
 public:
  explicit AddressPickerDialog(AddressPickerRequest& request) : request_(request) {}
  // IDOK after Add (request.chosen filled), IDCANCEL, 0 when abandoned by an
  // outside change, -1 without an address book.
  INT_PTR Run(HWND owner);

 protected:
  bool OnInit() override;
  bool OnCommand(int id, int code, HWND control) override;
  bool OnNotify(int id, NMHDR* header, LRESULT* result) override;
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR* result) override;
  void OnOK() override;
  void OnDestroy() override;

 private:
  static LRESULT CALLBACK KeyFilter(int code, WPARAM wParam, LPARAM lParam);
  void Fill(bool preselect);
  void SetFilter(int filter);
  void SortBy(int column);
  void ShowMenu(LPARAM point);
  void UpdateAdd();

  AddressPickerRequest& request_;
  std::vector<picker::Entry> rows_;  // the shown entries; item data indexes them
  picker::ColumnSort sort_;
  int filter_ = picker::kShowAll;
  HACCEL accelerators_ = nullptr;
  HHOOK hook_ = nullptr;
  HHOOK previousHook_ = nullptr;
  AddressPickerDialog* previousDialog_ = nullptr;
};

}  // namespace velkor
