// The criteria pane as host of its word list: the rows of ValueList go into
// the shown criterion after every change, and the list fillers of its menu.
#include "editor/CriteriaPane_win32.h"
#include "res/resource.h"
#include "templates/TemplateWords.h"
#include "win/Controls.h"
#include "win/ScopedFlag.h"

namespace velkor {

std::vector<std::string> CriteriaPane::ListItems() const {
  // Not IsVisible: the window itself is hidden while it starts.
  if (!WordsShown()) return {};
  return words_.Words();
}

void CriteriaPane::CommitWords(const std::vector<std::string>& words) {
  if (!WordsShown()) return;
  const WordCommit commit =
      Editing().CommitWords(shownRow_, words, DragPlaceholder(Session().Folders().Stamp()));
  // The placeholder of a drag rule goes once real words arrive.
  win::ListView values = words_.List();
  for (int index : commit.removed) values.Delete(index);
  {
    win::ScopedFlag guard(rowGuard_);
    win::ListView(Dialog(), IDC_CRITERIA_TYPE_LIST).SetChecked(shownRow_, commit.held);
  }
  RefreshOptions();
  Edited();
}

bool CriteriaPane::AddressBookOpen() const { return Frame().AddressBookOpen(); }

const AddressEntryList& CriteriaPane::AddressEntries() const { return Session().AddressEntries(); }

std::vector<std::string> CriteriaPane::OwnAddresses() const { return Session().Accounts().OwnAddresses(); }

std::vector<std::string> CriteriaPane::BlockedAddresses() const { return Session().BlockedSenders().Addresses(); }

void CriteriaPane::LabelEditing(bool editing) {
  labelEditing_ = editing;
  if (!editing) ::InvalidateRect(words_.List().Header(), nullptr, TRUE);
}

void CriteriaPane::MergeIntoList(const std::vector<std::string>& words) {
  if (WordsShown()) words_.Merge(words);
}

void CriteriaPane::PasteIntoList(const std::string& text, bool addressBook) {
  if (WordsShown()) words_.PasteText(text, addressBook);
}

void CriteriaPane::AddKana() {
  if (Frame().Ask(criteriatext::kKanaQuestion, criteriatext::kKanaTitle, MB_OKCANCEL | MB_ICONQUESTION) == IDOK)
    MergeIntoList(KanaWords());
}

}  // namespace velkor
