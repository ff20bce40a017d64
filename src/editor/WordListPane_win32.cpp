#include "editor/WordListPane_win32.h"

#include <cstring>
#include <memory>

#include "addressbook/AddressEntries.h"
#include "editor/AddressPickerDialog_win32.h"
#include "editor/FindTextDialog_win32.h"
#include "editor/ProgressDialog_win32.h"
#include "editor/RowColours_win32.h"
#include "editor/WordList.h"
#include "res/resource.h"
#include "text/ShiftJis.h"
#include "win/Clipboard.h"
#include "win/MessageBox.h"
#include "win/PopupMenu.h"
#include "win/ScopedFlag.h"
#include "win/Strings.h"
#include "win/WaitCursor.h"

namespace velkor {

namespace {

constexpr const char* kDeleteEditedQuestion = "編集している項目を削除します。よろしいですか？";
constexpr const char* kDeletingStatus = "条件リストから削除しています";
constexpr const char* kTipPattern = "%s :%s";
// More selected rows than this are deleted under the progress window.
constexpr int kDeleteProgressRows = 15;
// Pasted text longer than this is read under the progress window.
constexpr std::size_t kPasteProgressLength = 512;
// Lines read or rows appended between two looks at the progress window.
constexpr std::size_t kProgressEvery = 64;

int Percent(std::size_t done, std::size_t total) {
  return total ? static_cast<int>(done * 100 / total) : 100;
}

}  // namespace

const WordListTraits kCriterionWordsTraits = {
    IDC_VALUE_LIST, 0,
    ID_VALUE_ADD_ITEM, ID_VALUE_ADD_FROM_WAB, ID_VALUE_DELETE, ID_VALUE_SELECT_ALL,
    ID_VALUE_COPY, ID_VALUE_CUT, ID_VALUE_PASTE, ID_VALUE_FIND,
    "選択されている条件を削除します。よろしいですか？",
    "選択項目の削除（メールルール条件）",
    "条件リストに追加しています",
    "追加するメールアドレスを選択してください。（すでに追加しているアドレスは表示されません。）",
    picker::kHideBlockedAndOwn,
};

const WordListTraits kBlockedSendersTraits = {
    IDC_BLOCKED_SENDER_VIEW, 1,
    ID_BLOCKED_ADD_ITEM, ID_BLOCKED_ADD_FROM_WAB, ID_BLOCKED_DELETE, ID_BLOCKED_SELECT_ALL,
    ID_BLOCKED_COPY, ID_BLOCKED_CUT, ID_BLOCKED_PASTE, ID_BLOCKED_FIND,
    "選択されているメールアドレスを削除します。よろしいですか？",
    "選択項目の削除（禁止された送信者）",
    "禁止した送信者のリストに追加しています",
    "メールアドレスを選択してください。（すでに追加しているアドレスは表示されません。）",
    picker::kShowAll,
};

void WordListPane::Attach(HWND dialog) {
  dialog_ = dialog;
  win::ListView list = List();
  DWORD extended = LVS_EX_FULLROWSELECT | LVS_EX_INFOTIP;
  list.SetExtendedStyle(extended, extended);
}

bool WordListPane::IsEditing() const { return ListView_GetEditControl(List().Handle()) != nullptr; }

void WordListPane::SetRedraw(bool on) const {
  win::ListView list = List();
  list.Send(WM_SETREDRAW, on ? TRUE : FALSE);
  if (on) list.Invalidate();
}

void WordListPane::Fill(const std::vector<std::string>& words, bool selectFirst) {
  win::ScopedFlag guard(guard_);
  win::ListView list = List();
  SetRedraw(false);
  list.Clear();
  list.Send(LVM_SETITEMCOUNT, static_cast<WPARAM>(words.size()));
  for (std::size_t i = 0; i < words.size(); ++i) list.Insert(static_cast<int>(i), words[i]);
  if (selectFirst && !words.empty()) {
    list.SetSelected(0, true);
    list.SetFocused(0, true);
  }
  SetRedraw(true);
}

std::vector<std::string> WordListPane::Words() const {
  win::ListView list = List();
  std::vector<std::string> words;
  const int count = list.Count();
  words.reserve(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) words.push_back(list.ItemText(i));
  return words;
}

void WordListPane::Commit() { host_.CommitWords(Words()); }

GenericCommands WordListPane::Generic() const {
  GenericCommands commands;
  commands.clear = traits_.remove;
  commands.copy = traits_.copy;
  commands.cut = traits_.cut;
  commands.find = traits_.find;
  commands.insert = traits_.addItem;
  commands.paste = traits_.paste;
  commands.selectAll = traits_.selectAll;
  return commands;
}

bool WordListPane::IsEnabled(int id) const {
  win::ListView list = List();
  if (id == traits_.remove || id == traits_.copy || id == traits_.cut) return list.SelectedCount() > 0;
  if (id == traits_.paste) return ::IsClipboardFormatAvailable(CF_TEXT) != FALSE;
  if (id == traits_.find || id == ID_FIND_NEXT || id == traits_.selectAll) return list.Count() > 0;
  return id == traits_.addItem || id == traits_.addFromBook;
}

bool WordListPane::OnCommand(int id) {
  if (id == ID_FIND_NEXT) {
    if (!List().HasFocus()) return false;
    FindNext();
  } else if (id == traits_.addItem) {
    AddEmptyRow();
  } else if (id == traits_.addFromBook) {
    AddFromAddressBook();
  } else if (id == traits_.remove) {
    DeleteSelected(true);
  } else if (id == traits_.selectAll) {
    SelectAll();
  } else if (id == traits_.copy) {
    Copy();
  } else if (id == traits_.cut) {
    Cut();
  } else if (id == traits_.paste) {
    Paste();
  } else if (id == traits_.find) {
    Find();
  } else {
    return false;
  }
  return true;
}

bool WordListPane::OnNotify(NMHDR* header, LRESULT* result) {
  if (!header || header->hwndFrom != List().Handle()) return false;
  switch (header->code) {
    case NM_SETFOCUS:
    case NM_KILLFOCUS: {
      win::ListView list = List();
      ::InvalidateRect(list.Header(), nullptr, TRUE);
      list.RedrawAll();  // the selection colours follow the focus
      return false;
    }
    case LVN_DELETEALLITEMS:
      *result = TRUE;  // no LVN_DELETEITEM for each row: the rows hold no resources
      return true;
    case LVN_KEYDOWN:
      if (reinterpret_cast<NMLVKEYDOWN*>(header)->wVKey == VK_F2) List().EditFocused();
      return false;
    case LVN_BEGINLABELEDITA:
      host_.LabelEditing(true);
      *result = FALSE;
      return true;
    case LVN_ENDLABELEDITA:
      EndLabelEdit(*reinterpret_cast<NMLVDISPINFOA*>(header));
      host_.LabelEditing(false);
      *result = FALSE;  // the pane sets the text itself
      return true;
    case LVN_GETINFOTIPA:
      InfoTip(reinterpret_cast<NMLVGETINFOTIPA*>(header));
      return true;
    case NM_CUSTOMDRAW:
      *result = DrawListRow(reinterpret_cast<NMLVCUSTOMDRAW*>(header), [](int, LPARAM) { return RowLook::Valid; });
      return true;
    default:
      return false;
  }
}

void WordListPane::AddEmptyRow() {
  win::ListView list = List();
  int index = list.NextSelected();
  if (index < 0) index = list.Count();
  {
    win::ScopedFlag guard(guard_);
    index = list.Insert(index, std::string());
    if (index < 0) return;
    list.UnselectAll();
    list.SetSelected(index, true);
    list.SetFocused(index, true);
    list.EnsureVisible(index);
  }
  list.EditLabel(index);
}

void WordListPane::EndLabelEdit(const NMLVDISPINFOA& info) {
  win::ListView list = List();
  const int row = info.item.iItem;
  const bool cancelled = info.item.pszText == nullptr;
  wordlist::EditDecision decision =
      wordlist::DecideLabelEdit(Words(), row, cancelled, cancelled ? "" : info.item.pszText);
  win::ScopedFlag guard(guard_);
  switch (decision.outcome) {
    case wordlist::EditOutcome::kKeep:
      return;
    case wordlist::EditOutcome::kAskDelete:
      if (win::ShowMessage(dialog_, kDeleteEditedQuestion, traits_.questionTitle, MB_YESNO | MB_ICONQUESTION) !=
          IDYES)
        return;
      list.Delete(row);
      break;
    case wordlist::EditOutcome::kDelete:
      list.Delete(row);
      break;
    case wordlist::EditOutcome::kMergeInto: {
      int other = decision.otherRow;
      list.EnsureVisible(other);
      list.Delete(row);
      if (other > row) --other;
      list.UnselectAll();
      list.SetSelected(other, true);
      list.SetFocused(other, true);
      list.EnsureVisible(other);
      break;
    }
    case wordlist::EditOutcome::kRename:
      list.SetItemText(row, decision.text);
      break;
  }
  Commit();
}

void WordListPane::DeleteSelected(bool ask) {
  win::ListView list = List();
  const int selected = list.SelectedCount();
  if (selected <= 0) return;
  if (ask && win::ShowMessage(dialog_, traits_.deleteQuestion, traits_.questionTitle, MB_YESNO | MB_ICONQUESTION) !=
                 IDYES)
    return;
  const int count = list.Count();
  std::unique_ptr<ProgressDialog> progress;
  if (selected > kDeleteProgressRows) {
    progress = std::make_unique<ProgressDialog>();
    if (progress->Create(dialog_)) {
      progress->SetStatus(kDeletingStatus);
      list.EnsureVisible(count - 1);
      list.EnsureVisible(list.NextSelected());
    } else {
      progress.reset();
    }
  }
  int deleted = 0;
  bool commit = true;
  {
    win::ScopedFlag guard(guard_);
    if (progress) SetRedraw(false);
    int shown = -1;
    for (int i = count - 1; i >= 0; --i) {
      if (!list.IsSelected(i)) continue;
      // The window and its Cancel button are served once per step of the
      // bar, not once per row: each pump costs more than a deletion.
      const int position = 100 - (100 * i) / count;
      if (progress && position != shown) {
        shown = position;
        progress->SetPosition(position);
        if (progress->TakeSignal()) {
          // An outside change reloads the identity: these rows are gone anyway.
          if (progress->WasCancelled()) commit = false;
          break;
        }
      }
      if (list.Delete(i)) ++deleted;
    }
    if (progress) SetRedraw(true);
  }
  if (progress) progress->Close();
  if (commit && deleted > 0) Commit();
}

void WordListPane::Copy() {
  win::ListView list = List();
  std::vector<std::string> selected;
  for (int row = list.NextSelected(); row >= 0; row = list.NextSelected(row)) selected.push_back(list.ItemText(row));
  std::string text = wordlist::CopyText(selected);
  if (text.empty()) return;
  win::Clipboard clipboard(dialog_);
  if (clipboard.IsOpen() && clipboard.Empty()) clipboard.SetText(text);
}

void WordListPane::Cut() {
  Copy();
  DeleteSelected(false);
}

void WordListPane::Paste() {
  if (!::IsClipboardFormatAvailable(CF_TEXT)) return;
  std::string text;
  {
    win::Clipboard clipboard(dialog_);
    if (!clipboard.IsOpen()) return;
    text = clipboard.Text();
  }
  UINT wab = win::RegisteredFormat(win::LoadResString(IDS_WAB_FLAT_BUFFER).c_str());
  PasteText(text, win::ClipboardHas(wab));
}

void WordListPane::EndEditFirst() {
  // Rows that arrive from outside (a drop, the picker, the tool) end a label
  // edit in progress first, as a click elsewhere would: an empty new row must
  // not stay open above them. Taking the focus makes the list end it.
  if (IsEditing()) List().Focus();
}

void WordListPane::PasteText(const std::string& pasted, bool addressBookText) {
  EndEditFirst();
  const std::string text =
      addressBookText && wordlist::IsAddressBookText(pasted) ? wordlist::AddressBookLines(pasted) : pasted;
  std::unique_ptr<win::WaitCursor> wait;
  std::unique_ptr<ProgressDialog> progress;
  if (wordlist::PasteLength(text) > kPasteProgressLength) {
    wait = std::make_unique<win::WaitCursor>();
    progress = std::make_unique<ProgressDialog>();
    if (progress->Create(dialog_)) progress->SetStatus(traits_.pasteStatus);
    else progress.reset();
  }
  std::vector<std::string> lines = wordlist::PastedLines(text);
  wordlist::WordMerge merge(Words());
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (progress && i % kProgressEvery == 0) {
      // The reading takes the first half of the bar, showing the rows the second.
      progress->SetPosition(Percent(i, lines.size()) / 2);
      if (progress->TakeSignal()) return;  // stopped: nothing is added
    }
    merge.AddClean(std::move(lines[i]));
  }
  ApplyMerge(merge, progress.get());
}

void WordListPane::Merge(const std::vector<std::string>& words) {
  EndEditFirst();
  wordlist::WordMerge merge(Words());
  for (const std::string& word : words) merge.Add(word);
  ApplyMerge(merge, nullptr);
}

bool WordListPane::ApplyMerge(const wordlist::WordMerge& merge, ProgressDialog* progress) {
  win::ListView list = List();
  const std::vector<std::string>& added = merge.NewEntries();
  const std::vector<int>& existing = merge.ExistingRows();
  if (added.empty() && existing.empty()) return true;
  const int first = list.Count();
  {
    win::ScopedFlag guard(guard_);
    SetRedraw(false);
    // Kept so that a stop while the rows go in can leave the list as it was.
    std::vector<int> selectedBefore;
    for (int row = list.NextSelected(); row >= 0; row = list.NextSelected(row)) selectedBefore.push_back(row);
    list.UnselectAll();
    for (int row : existing) list.SetSelected(row, true);
    list.Send(LVM_SETITEMCOUNT, static_cast<WPARAM>(first) + added.size());
    for (std::size_t i = 0; i < added.size(); ++i) {
      if (progress && i % kProgressEvery == 0) {
        progress->SetPosition(50 + Percent(i, added.size()) / 2);
        // Cancel or an outside change: the paste adds nothing, so the rows
        // already appended go again and the earlier selection comes back.
        if (progress->TakeSignal()) {
          for (int row = list.Count() - 1; row >= first; --row) list.Delete(row);
          list.UnselectAll();
          for (int row : selectedBefore) list.SetSelected(row, true);
          SetRedraw(true);
          return false;
        }
      }
      // One message per row: the text and the selection together.
      LVITEMA item{};
      item.mask = LVIF_TEXT | LVIF_STATE;
      item.iItem = first + static_cast<int>(i);
      item.state = item.stateMask = LVIS_SELECTED;
      item.pszText = const_cast<char*>(added[i].c_str());
      list.Send(LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
    }
    SetRedraw(true);
  }
  int shown = added.empty() ? existing.front() : first;
  list.SetFocused(shown, true);
  list.EnsureVisible(shown);
  if (!added.empty()) Commit();
  return true;
}

void WordListPane::SelectAll() {
  win::ScopedFlag guard(guard_);
  List().SelectAll();
}

void WordListPane::Find() { FindInList(dialog_, List(), 1); }

void WordListPane::FindNext() { FindNextInList(dialog_, List(), 1); }

void WordListPane::AddFromAddressBook() {
  AddressPickerRequest request;
  request.bookOpen = host_.AddressBookOpen();
  request.book = PickerEntries(host_.AddressEntries());
  request.prompt = traits_.pickerPrompt;
  request.multiple = true;
  request.showFilter = true;
  request.filter = traits_.pickerFilter;
  request.lists.alreadyAdded = wordlist::AddressEntries(Words());
  request.lists.blocked = host_.BlockedAddresses();
  request.lists.own = host_.OwnAddresses();
  AddressPickerDialog picker(request);
  if (picker.Run(dialog_) != IDOK || request.chosen.empty()) return;
  Merge(request.chosen);
}

void WordListPane::ShowMenu(LPARAM point) {
  win::TrackPopupMenuAt(dialog_, IDR_LIST_MENUS, traits_.popup, win::ContextMenuPoint(List().Handle(), point),
                        [this](UINT id) { return IsEnabled(static_cast<int>(id)); });
}

void WordListPane::InfoTip(NMLVGETINFOTIPA* tip) const {
  if (!tip->pszText || tip->cchTextMax <= 0) return;
  std::string text = List().ItemText(tip->iItem);
  const AddressEntryList& book = host_.AddressEntries();
  std::string address = sjis::Trim(text);
  if (sjis::FindChar(address, '@') != sjis::npos) {
    for (std::size_t i = 0; i < book.Count(); ++i) {
      if (!sjis::EqualsIgnoreCase(book.AddressAt(i), address)) continue;
      if (book.NameAt(i) != book.AddressAt(i)) text = win::FillArguments(kTipPattern, {book.NameAt(i), address});
      break;
    }
  }
  text = sjis::TruncateChars(text, static_cast<std::size_t>(tip->cchTextMax - 1));
  std::memcpy(tip->pszText, text.c_str(), text.size() + 1);
}

}  // namespace velkor
