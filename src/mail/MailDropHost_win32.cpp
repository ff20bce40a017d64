#include "mail/MailDropHost_win32.h"

#include <commctrl.h>

namespace velkor {

int MailDropHost::SelectedCriterionRow() {
  if (!criteriaRows_ || ::SendMessageA(criteriaRows_, LVM_GETSELECTEDCOUNT, 0, 0) != 1) return kNoSingleRow;
  return static_cast<int>(::SendMessageA(criteriaRows_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

void MailDropHost::InsertPlainText(const std::string& text) {
  if (insert_) insert_(text, false);
}

void MailDropHost::InsertAddressBookText(const std::string& text) {
  if (insert_) insert_(text, true);
}

std::vector<std::string> MailDropHost::RunTool(HWND owner, const std::vector<std::string>& ownAddresses,
                                               RegistryAccess& registry, FindState& find, FindPrompt* prompt) {
  NgWordToolData data;
  data.mailText = droppedMail_;
  data.ownAddresses = ownAddresses;
  droppedMail_.clear();
  if (RunNgWordTool(owner, data, registry, find, prompt) != IDOK) return {};
  return data.resultWords;
}

}  // namespace velkor
