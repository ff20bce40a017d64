#pragma once
// WordListPane: one editable word list of the main window over a report list
// view, used twice — the words of the selected text criterion (ValueList,
// list 1006) and the blocked-sender addresses (BlockedSenderView, list 1001).
// The rows are the truth of the edit: after every change of rows the pane
// hands all row texts, in order, to its host (WordListHost::CommitWords).
// What differs between the two lists is a WordListTraits table.
//
// The pane handles its own commands (the ids of its traits and find next),
// its list's notifications (label edit, tips, drawing, focus) and context menu, and
// the clipboard. The owning EditorPane forwards them to it and implements
// WordListHost:
//
//   OnInit            Attach(dialog)
//   OnSessionLoaded   Fill(words, selectFirst)
//   OnCommand         OnCommand(id)   (menu commands of the traits)
//   OnNotify          OnNotify(header, result)
//   OnContextMenu     ShowMenu(point of WM_CONTEXTMENU)
//   F3 while focused  FindNext()
//   IsCommandEnabled  IsEnabled(id)

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "editor/EditorPane_win32.h"
#include "win/Controls.h"

namespace velkor {

class AddressEntryList;
class ProgressDialog;
namespace wordlist {
class WordMerge;
}

struct WordListTraits {
  int listId;
  int popup;  // context menu: popup of menu resource 134
  int addItem, addFromBook, remove, selectAll, copy, cut, paste, find;
  const char* deleteQuestion;  // asked before deleting the selected rows
  const char* questionTitle;   // title of the delete questions
  const char* pasteStatus;     // progress text of a long paste
  const char* pickerPrompt;
  int pickerFilter;            // the address picker's initial filter
};
extern const WordListTraits kCriterionWordsTraits;  // ValueList
extern const WordListTraits kBlockedSendersTraits;  // BlockedSenderView

// What a pane needs from its owner. Small on purpose: the criteria pane and
// the blocked-sender pane each implement it.
class WordListHost {
 public:
  virtual ~WordListHost() = default;
  // Every row's text in row order, after each change of rows. The criterion
  // host writes them into the selected criterion; the blocked-sender host
  // replaces the BlockedSenderList (an unsaved change). A host may change rows
  // from here through the pane's Fill.
  virtual void CommitWords(const std::vector<std::string>& words) = 0;
  // Whether the address book is open (the picker closes at once when not),
  // and its entries (picker rows and tips).
  virtual bool AddressBookOpen() const = 0;
  virtual const AddressEntryList& AddressEntries() const = 0;
  // The identity's own addresses (its accounts).
  virtual std::vector<std::string> OwnAddresses() const = 0;
  // Addresses the picker's filters 0 and 1 hide as blocked.
  virtual std::vector<std::string> BlockedAddresses() const { return {}; }
  // A label edit began (true) or ended (false).
  virtual void LabelEditing(bool editing) {}
};

class WordListPane {
 public:
  WordListPane(const WordListTraits& traits, WordListHost& host) : traits_(traits), host_(host) {}
  WordListPane(const WordListPane&) = delete;
  WordListPane& operator=(const WordListPane&) = delete;

  // Binds the pane to the list `traits.listId` of `dialog` and sets its styles.
  void Attach(HWND dialog);
  win::ListView List() const { return win::ListView(dialog_, traits_.listId); }
  const WordListTraits& Traits() const { return traits_; }
  bool IsEditing() const;

  // Replaces every row, with redraw held off; commits nothing. With
  // `selectFirst` the first row is selected and focused.
  void Fill(const std::vector<std::string>& words, bool selectFirst);
  std::vector<std::string> Words() const;

  // The commands of the traits, and find next (32835) while the list has the
  // focus. False for any other id.
  bool OnCommand(int id);
  // What the generic editing keys send while the list has the focus (F3 is
  // FindNext, called by the owner).
  GenericCommands Generic() const;
  // Whether a command of this list is enabled now.
  bool IsEnabled(int id) const;
  // Notifications of the pane's list; false for other controls.
  bool OnNotify(NMHDR* header, LRESULT* result);

  // The operations, also for drops and the NG-word tool.
  void AddEmptyRow();
  // Deletes the selected rows, asking first when `ask`; progress above 15 rows.
  void DeleteSelected(bool ask);
  void Copy();
  void Cut();
  void Paste();
  // Adds pasted or dropped text; `addressBookText` when the address book put it there.
  void PasteText(const std::string& text, bool addressBookText);
  // Selects rows equal to `words` and appends the others (NG-word tool, picker).
  void Merge(const std::vector<std::string>& words);
  void SelectAll();
  void Find();
  void FindNext();
  void AddFromAddressBook();
  // WM_CONTEXTMENU on the list: popup `traits.popup` of menu 134 at the
  // message's point (below the focused row for the keyboard's -1, -1).
  void ShowMenu(LPARAM point);

 private:
  void Commit();
  void EndEditFirst();
  // Shows the merge in the list: existing rows selected, new rows appended and
  // selected, then commit. False when an outside change stopped it.
  bool ApplyMerge(const wordlist::WordMerge& merge, ProgressDialog* progress);
  void EndLabelEdit(const NMLVDISPINFOA& info);
  void InfoTip(NMLVGETINFOTIPA* tip) const;
  void SetRedraw(bool on) const;

  const WordListTraits& traits_;
  WordListHost& host_;
  HWND dialog_ = nullptr;
  // Set while the pane changes its own rows.
  bool guard_ = false;
};

}  // namespace velkor
