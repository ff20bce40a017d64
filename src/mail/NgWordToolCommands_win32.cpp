// The NG-word tool's commands: the two buttons, the context menus and the
// accelerator keys, the word list's notifications, find.
#include "mail/NgWordToolDialog_win32.h"

#include <commctrl.h>
#include "res/resource.h"
#include "text/ShiftJis.h"
#include "win/Clipboard.h"
#include "win/MessageBox.h"
#include "win/Strings.h"

namespace velkor {
namespace {

bool MailBodyOnClipboard() {
  return win::ClipboardHas(CF_TEXT) && win::ClipboardHas(MailClipboardFormat(MailFormat::Html));
}

}  // namespace

bool NgWordToolDialog::IsCommandEnabled(int command) const {
  const Focus focus = FocusedPane();
  const bool inView = focus == Focus::MailView;
  const bool inList = focus == Focus::WordList;
  long start = 0, end = 0;
  view_.Selection(&start, &end);
  const bool viewSelection = end > start;
  const bool listSelection = list_.SelectedCount() > 0;
  // Without the program's find window there is nothing to search with.
  const bool findEnabled = prompt_ && ((inView && view_.TextLength() > 0) || (inList && list_.Count() > 0));
  switch (command) {
    case ID_NG_ADD_SELECTION: return viewSelection;
    case IDC_NG_PASTE_BODY: return MailBodyOnClipboard();
    case ID_EDIT_PASTE: return inList ? win::ClipboardHas(CF_TEXT) : inView && MailBodyOnClipboard();
    case ID_EDIT_COPY: return (inView && viewSelection) || (inList && listSelection);
    case ID_EDIT_CUT:
    case ID_EDIT_CLEAR: return inList && listSelection;
    case ID_EDIT_SELECT_ALL: return inList && list_.Count() > 0;
    case ID_EDIT_FIND: return findEnabled;
    case ID_FIND_NEXT: return findEnabled && !sjis::Trim(find_.text).empty();
    default: return false;
  }
}

bool NgWordToolDialog::OnCommand(int id, int code, HWND control) {
  switch (id) {
    case IDC_NG_OK:
      data_.resultWords = Words();
      Close(IDOK, true);
      return true;
    case IDC_NG_CANCEL:
      Close(IDCANCEL, true);
      return true;
    case ID_EDIT_INSERT:  // in the shared key table, but not a command of this window
      return true;
    case ID_NG_ADD_SELECTION:
    case IDC_NG_PASTE_BODY:
    case ID_EDIT_PASTE:
    case ID_EDIT_COPY:
    case ID_EDIT_CUT:
    case ID_EDIT_CLEAR:
    case ID_EDIT_SELECT_ALL:
    case ID_EDIT_FIND:
    case ID_FIND_NEXT:
      break;
    default:
      return false;
  }
  if (!IsCommandEnabled(id)) return true;
  const bool inList = FocusedPane() == Focus::WordList;
  switch (id) {
    case ID_NG_ADD_SELECTION:
      AddWord(view_.SelectedText());
      break;
    case IDC_NG_PASTE_BODY:
      PasteMailBody();
      break;
    case ID_EDIT_PASTE:
      if (inList)
        PasteWords();
      else
        PasteMailBody();
      break;
    case ID_EDIT_COPY:
      if (inList)
        CopyWords();
      else
        view_.Send(WM_COPY);
      break;
    case ID_EDIT_CUT:
      CopyWords();
      DeleteSelectedWords();
      break;
    case ID_EDIT_CLEAR:
      DeleteSelectedWords();
      break;
    case ID_EDIT_SELECT_ALL:
      list_.SelectAll();
      break;
    case ID_EDIT_FIND:
      Find();
      break;
    case ID_FIND_NEXT:
      FindNext();
      break;
  }
  return true;
}

bool NgWordToolDialog::OnNotify(int id, NMHDR* header, LRESULT* result) {
  if (id != IDC_NG_WORD_LIST) return false;
  switch (header->code) {
    case NM_RCLICK:
      list_.Focus();
      ShowContextMenu(1, Focus::WordList);
      *result = 0;
      return true;
    case LVN_KEYDOWN:
      if (reinterpret_cast<NMLVKEYDOWN*>(header)->wVKey == VK_F2) list_.EditFocused();
      return false;
    case LVN_BEGINLABELEDIT:
      *result = FALSE;  // every item can be edited
      return true;
    case LVN_ENDLABELEDIT:
      EndLabelEdit(reinterpret_cast<NMLVDISPINFOA*>(header));
      *result = FALSE;  // the text, if it changes, is set by EndLabelEdit
      return true;
    default:
      return false;
  }
}

void NgWordToolDialog::EndLabelEdit(NMLVDISPINFOA* info) {
  const int index = info->item.iItem;
  LabelEditEnd end = velkor::EndLabelEdit(Words(), index, info->item.pszText);
  if (end.action == LabelEditEnd::Rename)
    list_.SetItemText(index, end.text);
  else if (end.action == LabelEditEnd::Delete)
    // The list still works on the item until the notification returns.
    ::PostMessageA(Handle(), WM_APP + 6, static_cast<WPARAM>(index), 0);
}

void NgWordToolDialog::PasteMailBody() {
  std::string text;
  {
    win::Clipboard clipboard(Handle());
    if (!clipboard.IsOpen()) return;
    text = clipboard.Text();
  }
  if (text.empty()) return;
  ShowAndDetect(text);
}

void NgWordToolDialog::PasteWords() {
  std::string text;
  {
    win::Clipboard clipboard(Handle());
    if (!clipboard.IsOpen()) return;
    text = clipboard.Text();
  }
  const std::size_t oldCount = static_cast<std::size_t>(list_.Count());
  SelectWords(MergeLines(Words(), text), oldCount);
}

void NgWordToolDialog::CopyWords() const {
  std::string text;
  for (int i = list_.NextSelected(); i >= 0; i = list_.NextSelected(i)) text += list_.ItemText(i) + "\r\n";
  if (text.empty()) return;
  win::Clipboard clipboard(Handle());
  if (clipboard.IsOpen() && clipboard.Empty()) clipboard.SetText(text);
}

void NgWordToolDialog::DeleteSelectedWords() {
  list_.Send(WM_SETREDRAW, FALSE);
  for (int i = list_.Count() - 1; i >= 0; --i) {
    if (list_.IsSelected(i)) list_.Delete(i);
  }
  list_.Send(WM_SETREDRAW, TRUE);
  list_.Invalidate();
}

void NgWordToolDialog::Find() {
  if (!prompt_) return;
  const Focus pane = FocusedPane();
  if (!prompt_->Ask(Handle(), find_)) return;
  // The find window took the focus; the search goes to the pane it came from.
  (pane == Focus::MailView ? view_ : static_cast<const win::Window&>(list_)).Focus();
  FindNext();
}

void NgWordToolDialog::FindNext() {
  const std::string search = sjis::Trim(find_.text);
  if (search.empty()) return;
  if (FocusedPane() == Focus::MailView)
    FindNextInView(search);
  else if (FocusedPane() == Focus::WordList)
    FindNextInList(search);
}

void NgWordToolDialog::FindNextInView(const std::string& search) {
  long start = 0, end = 0;
  view_.Selection(&start, &end);
  long found = view_.Find(search, end, find_.matchCase);
  if (found < 0 && end != 0) found = view_.Find(search, 0, find_.matchCase);
  if (found < 0) {
    win::ShowMessage(Handle(), win::FillArguments(ngtext::kTextNotFound, {search}),
                     win::LoadResString(IDS_APP_TITLE), MB_OK | MB_ICONINFORMATION);
    return;
  }
  // The match's length in characters, as the control counts them.
  long length = 0;
  for (std::size_t i = 0; i < search.size(); i += sjis::CharLength(search, i)) ++length;
  view_.SetSelection(found, found + length);
  view_.Send(EM_SCROLLCARET);
}

void NgWordToolDialog::FindNextInList(const std::string& search) {
  const int found = FindNextItem(Words(), list_.Focused(), search, find_.matchCase);
  if (found < 0) {
    win::ShowMessage(Handle(), win::FillArguments(ngtext::kItemNotFound, {search}),
                     win::LoadResString(IDS_APP_TITLE), MB_OK | MB_ICONINFORMATION);
    return;
  }
  list_.UnselectAll();
  list_.SetSelected(found, true);
  list_.SetFocused(found, true);
  list_.EnsureVisible(found);
}

}  // namespace velkor
