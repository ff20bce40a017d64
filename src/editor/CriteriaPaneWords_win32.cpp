// The word list of the criteria pane: its items, their label editing,
// deleting, merging and committing into the shown criterion.
#include <cstring>
#include <memory>

#include "editor/CriteriaPane_win32.h"
#include "editor/ProgressDialog_win32.h"
#include "res/resource.h"
#include "templates/TemplateWords.h"
#include "text/ShiftJis.h"
#include "win/Controls.h"
#include "win/ScopedFlag.h"

namespace velkor {
namespace {

// Above this many selected items a deletion shows the progress window.
constexpr int kDeleteProgressThreshold = 15;

}  // namespace

std::vector<std::string> CriteriaPane::ListItems() const {
  win::ListView values(Dialog(), IDC_VALUE_LIST);
  std::vector<std::string> items;
  // Not IsVisible: the window itself is hidden while it starts.
  if (!WordsShown()) return items;
  const int count = values.Count();
  items.reserve(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) items.push_back(values.ItemText(i));
  return items;
}

void CriteriaPane::CommitList() {
  if (!WordsShown()) return;
  win::ListView values(Dialog(), IDC_VALUE_LIST);
  const WordCommit commit =
      Editing().CommitWords(shownRow_, ListItems(), DragPlaceholder(Session().Folders().Stamp()));
  for (int index : commit.removed) values.Delete(index);
  {
    win::ScopedFlag guard(rowGuard_);
    win::ListView(Dialog(), IDC_CRITERIA_TYPE_LIST).SetChecked(shownRow_, commit.held);
  }
  RefreshOptions();
  Edited();
}

void CriteriaPane::AddEmptyItem() {
  win::ListView values(Dialog(), IDC_VALUE_LIST);
  if (!WordsShown() || labelEditing_) return;
  const int selected = values.NextSelected();
  values.UnselectAll();
  const int row = values.Insert(selected >= 0 ? selected : values.Count(), "");
  if (row < 0) return;
  values.SetSelected(row, true);
  values.SetFocused(row, true);
  values.EnsureVisible(row);
  values.EditLabel(row);
}

void CriteriaPane::OnLabelEdited(const NMLVDISPINFOA& info) {
  labelEditing_ = false;
  win::ListView values(Dialog(), IDC_VALUE_LIST);
  const int row = info.item.iItem;
  const std::string old = values.ItemText(row);
  if (!info.item.pszText) {
    if (old.empty()) {
      values.Delete(row);
      CommitList();
    }
    return;
  }
  const std::string text = sjis::CleanUserText(info.item.pszText);
  if (text.empty()) {
    if (!old.empty() &&
        Frame().Ask(criteriatext::kDeleteEditedQuestion, criteriatext::kDeleteTitle, MB_YESNO | MB_ICONQUESTION) == IDNO)
      return;
    values.Delete(row);
    CommitList();
    return;
  }
  for (int i = 0; i < values.Count(); ++i) {
    if (i == row || !sjis::EqualsIgnoreCase(values.ItemText(i), text)) continue;
    values.EnsureVisible(i);
    values.Delete(row);
    const int other = i > row ? i - 1 : i;
    values.UnselectAll();
    values.SetSelected(other, true);
    values.SetFocused(other, true);
    CommitList();
    return;
  }
  values.SetItemText(row, text);
  CommitList();
}

void CriteriaPane::DeleteSelected() {
  win::ListView values(Dialog(), IDC_VALUE_LIST);
  const int selected = values.SelectedCount();
  if (selected <= 0 || labelEditing_) return;
  if (Frame().Ask(criteriatext::kDeleteSelectedQuestion, criteriatext::kDeleteTitle, MB_YESNO | MB_ICONQUESTION) !=
      IDYES)
    return;
  const int count = values.Count();
  std::unique_ptr<ProgressDialog> progress;
  if (selected > kDeleteProgressThreshold) {
    progress = Frame().OpenProgress(criteriatext::kDeletingStatus, true);
    values.EnsureVisible(count - 1);
    values.EnsureVisible(values.NextSelected());
  }
  bool deleted = false;
  {
    FrozenList frozen(values.Handle());
    int shown = -1;
    for (int i = count - 1; i >= 0; --i) {
      if (!values.IsSelected(i)) continue;
      // The window and its Cancel button are served once per step of the
      // bar, not once per word: each pump costs more than a deletion.
      const int position = 100 - (100 * i) / count;
      if (progress && position != shown) {
        shown = position;
        progress->SetPosition(position);
        if (progress->TakeSignal()) {
          if (progress->WasCancelled()) return;  // an outside change: the identity is reloaded
          break;
        }
      }
      deleted |= values.Delete(i);
    }
  }
  progress.reset();
  if (deleted) CommitList();
}

void CriteriaPane::MergeIntoList(const std::vector<std::string>& words) {
  win::ListView values(Dialog(), IDC_VALUE_LIST);
  if (!WordsShown()) return;
  const WordMerge merge = MergeWords(ListItems(), words);
  const int first = values.Count();
  {
    FrozenList frozen(values.Handle());
    values.UnselectAll();
    for (int index : merge.selected) values.SetSelected(index, true);
    for (const std::string& word : merge.appended) values.SetSelected(values.Insert(values.Count(), word), true);
  }
  if (merge.appended.empty()) return;
  values.SetFocused(first, true);
  values.EnsureVisible(first);
  CommitList();
}

void CriteriaPane::AddKana() {
  if (Frame().Ask(criteriatext::kKanaQuestion, criteriatext::kKanaTitle, MB_OKCANCEL | MB_ICONQUESTION) == IDOK)
    MergeIntoList(KanaWords());
}

void CriteriaPane::ValueTip(NMLVGETINFOTIPA* tip) const {
  const std::string text = win::ListView(Dialog(), IDC_VALUE_LIST).ItemText(tip->iItem);
  std::string shown = text;
  const AddressEntryList& book = Session().AddressEntries();
  if (sjis::FindChar(text, '@') != sjis::npos) {
    for (std::size_t i = 0; i < book.Count(); ++i) {
      if (!sjis::EqualsIgnoreCase(book.AddressAt(i), text)) continue;
      const std::string& name = book.NameAt(i);
      if (name != text) shown = name + " :" + text;
      break;
    }
  }
  CopyTip(tip, shown);
}

}  // namespace velkor
