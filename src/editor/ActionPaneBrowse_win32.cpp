// The browse button of the action pane: the address-book picker for the
// forward addresses and the system's file-open dialog for the reply file.
// Either fills the edit and marks it modified; the edit's commit stores it.
#include <cderr.h>

#include <cstring>

#include "editor/ActionPane_win32.h"
#include "editor/AddressPickerDialog_win32.h"
#include "res/resource.h"
#include "rulestore/RuleModel.h"
#include "text/ShiftJis.h"
#include "win/Controls.h"

namespace velkor {
namespace {

bool RunOpenFileDialog(OPENFILENAMEA* dialog) { return ::GetOpenFileNameA(dialog) != FALSE; }
OpenFileDialog openFile = RunOpenFileDialog;

}  // namespace

OpenFileDialog SetOpenFileDialog(OpenFileDialog dialog) {
  OpenFileDialog previous = openFile;
  openFile = dialog ? std::move(dialog) : OpenFileDialog(RunOpenFileDialog);
  return previous;
}

void ActionPane::Browse() {
  if (textRow_ < 0) return;
  win::Edit edit(Dialog(), IDC_ADDRESS_EDIT);
  // The pair keeps its uncommitted text while a dialog over it has the focus.
  browsing_ = true;
  if (textRow_ == actionrow::kForward) {
    // Every address shows under filters 1 and 2; filter 0 hides only the own ones.
    AddressPickerRequest request;
    request.bookOpen = Frame().AddressBookOpen();
    request.book = PickerEntries(Session().AddressEntries());
    request.prompt = actiontext::kForwardPickerPrompt;
    request.multiple = true;
    request.showFilter = true;
    request.filter = picker::kHideBlocked;
    request.lists.own = Session().Accounts().OwnAddresses();
    request.preselect = SplitForwardAddresses(edit.Text());
    if (AddressPickerDialog(request).Run(Dialog()) == IDOK && !request.chosen.empty()) {
      edit.SetText(JoinForwardAddresses(request.chosen));
      edit.SetModified(true);
    }
  } else {
    BrowseReplyFile();
  }
  browsing_ = false;
}

void ActionPane::BrowseReplyFile() {
  win::Edit edit(Dialog(), IDC_ADDRESS_EDIT);
  std::string filter;
  for (const std::string& part : sjis::Split(ruletext::kReplyFileFilter, '|')) {
    filter += part;
    filter += '\0';
  }
  char path[MAX_PATH] = {};
  const std::string current = sjis::TruncateChars(edit.Text(), MAX_PATH - 1);
  std::memcpy(path, current.c_str(), current.size() + 1);
  OPENFILENAMEA dialog{};
  dialog.lStructSize = sizeof(dialog);
  dialog.hwndOwner = Dialog();
  dialog.lpstrFilter = filter.c_str();
  dialog.nFilterIndex = 2;  // "メール (*.eml)"
  dialog.lpstrFile = path;
  dialog.nMaxFile = MAX_PATH;
  dialog.lpstrTitle = ruletext::kReplyFileTitle;
  dialog.lpstrDefExt = "eml";
  dialog.Flags = OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST | OFN_DONTADDTORECENT | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
  bool chosen = openFile(&dialog);
  // A text that is no valid file name keeps the dialog from opening at all;
  // it opens then without one.
  if (!chosen && ::CommDlgExtendedError() == FNERR_INVALIDFILENAME) {
    path[0] = '\0';
    chosen = openFile(&dialog);
  }
  if (chosen) {
    edit.SetText(path);
    edit.SetModified(true);
  }
}

}  // namespace velkor
