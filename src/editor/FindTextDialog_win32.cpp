#include "editor/FindTextDialog_win32.h"

#include <vector>

#include "editor/WordList.h"
#include "res/resource.h"
#include "rulestore/RegistryWatcher.h"
#include "text/ShiftJis.h"
#include "win/MessageBox.h"
#include "win/Strings.h"

namespace velkor {

FindSettings& SharedFindSettings() {
  static FindSettings settings;
  return settings;
}

bool FindTextDialog::Run(HWND owner) { return RunModal(owner, IDD_FIND_TEXT) == IDOK; }

bool FindTextDialog::OnInit() {
  const FindSettings& settings = SharedFindSettings();
  SetItemText(IDC_FIND_TEXT, settings.text);
  SetChecked(IDC_FIND_MATCH_CASE, settings.matchCase);
  UpdateOk();
  win::Edit edit(Handle(), IDC_FIND_TEXT);
  edit.Focus();
  edit.SetSelection(0, -1);
  return false;  // the focus is set
}

bool FindTextDialog::OnCommand(int id, int code, HWND) {
  if (id == IDC_FIND_TEXT && code == EN_CHANGE) {
    UpdateOk();
    return true;
  }
  return false;
}

bool FindTextDialog::OnMessage(UINT message, WPARAM, LPARAM, INT_PTR* result) {
  if (message != watchui::kReloadMessage) return false;
  End(0);
  *result = TRUE;
  return true;
}

void FindTextDialog::OnOK() {
  if (sjis::Trim(ItemText(IDC_FIND_TEXT)).empty()) return;
  FindSettings& settings = SharedFindSettings();
  settings.text = ItemText(IDC_FIND_TEXT);
  settings.matchCase = IsChecked(IDC_FIND_MATCH_CASE);
  End(IDOK);
}

void FindTextDialog::UpdateOk() { EnableItem(IDOK, !sjis::Trim(ItemText(IDC_FIND_TEXT)).empty()); }

bool FindTextPrompt::Ask(HWND owner, FindState& settings) {
  FindTextDialog dialog;
  if (!dialog.Run(owner)) return false;
  settings.text = SharedFindSettings().text;
  settings.matchCase = SharedFindSettings().matchCase;
  return true;
}

int FindNextInList(HWND owner, const win::ListView& list, int columns) {
  const int count = list.Count();
  std::vector<std::string> texts;
  texts.reserve(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i)
    texts.push_back(wordlist::FindRowText(list.ItemText(i), columns > 1 ? list.ItemText(i, 1) : std::string()));
  const FindSettings& settings = SharedFindSettings();
  wordlist::FindResult found = wordlist::FindNext(texts, list.Focused(), settings.text, settings.matchCase);
  if (!found.searched) return -1;
  if (found.row < 0) {
    win::ShowMessage(owner, win::FillArguments(findtext::kNotFound, {sjis::Trim(settings.text)}), findtext::kTitle,
                     MB_OK | MB_ICONINFORMATION);
    return -1;
  }
  list.UnselectAll();
  list.SetSelected(found.row, true);
  list.SetFocused(found.row, true);
  list.EnsureVisible(found.row);
  // A find begun on a button (the picker's 検索, F3 anywhere in it) left the
  // focus there, and the list drew the found row faintly: the list takes the
  // focus through the dialog, so its default button stays the default.
  if (!list.HasFocus())
    ::SendMessageA(::GetParent(list.Handle()), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(list.Handle()), TRUE);
  return found.row;
}

void FindInList(HWND owner, const win::ListView& list, int columns) {
  if (list.Count() == 0) return;
  FindTextDialog dialog;
  if (dialog.Run(owner)) FindNextInList(owner, list, columns);
}

}  // namespace velkor
