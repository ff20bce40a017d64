#pragma once
// The rules shared by the two editable word lists of the main window (the
// words of a text criterion and the blocked-sender addresses): what an entry
// may be, how a label edit ends, how pasted text becomes entries, the copy
// text and find-next matching. Entries are Shift_JIS texts compared without
// regard to letter case. The windows keep the rows; this code only decides.

#include <cstddef>
#include <string>
#include <string_view>
#include <cstdint>
#include <utility>
#include <vector>

#include "text/ShiftJis.h"

namespace velkor::wordlist {

// An entry as the user typed or pasted it, cleaned: CR, LF and TAB removed,
// blanks trimmed, and a double-byte character cut off at the end (a broken
// clipboard) or holding a NUL dropped, so no entry ends in half a character.
std::string CleanEntry(std::string_view text);

// Row `except` aside, the first row equal to `text` without regard to case, or -1.
int FindEqualRow(const std::vector<std::string>& rows, std::string_view text, int except = -1);

// What the end of a label edit does with the edited row.
enum class EditOutcome {
  kKeep,          // nothing changes, nothing is committed
  kDelete,        // delete the row, commit
  kAskDelete,     // the text was blanked: ask; Yes deletes and commits, No keeps
  kMergeInto,     // another row has this text: show and select `otherRow`, delete the edited row, commit
  kRename,        // the row takes `text`, commit
};
struct EditDecision {
  EditOutcome outcome = EditOutcome::kKeep;
  std::string text;   // kRename: the cleaned text
  int otherRow = -1;  // kMergeInto: the row index before the edited row is deleted
};
// `rows` holds every row's text before the edit; `row` is the edited one.
EditDecision DecideLabelEdit(const std::vector<std::string>& rows, int row, bool cancelled,
                             std::string_view newText);

// Lines of pasted plain text: CR, LF and NUL separate lines, TAB is removed;
// each line is cleaned and empty ones are dropped.
std::vector<std::string> PastedLines(std::string_view text);
// The length that decides whether a paste shows the progress window (tabs not counted).
std::size_t PasteLength(std::string_view text);

// The address-book text marker: an e-mail section with at least one address line.
bool IsAddressBookText(std::string_view text);
// The indented lines that follow every e-mail heading, joined with "\r\n".
std::string AddressBookLines(std::string_view text);

// Merging lines into a list: lines equal to an existing row (without regard to
// case) select that row; the others are appended once each, in order. One
// hash of folded keys, so the work grows with rows + lines.
class WordMerge {
 public:
  explicit WordMerge(const std::vector<std::string>& rows);
  // Takes one line (cleaned here; empty lines are skipped).
  void Add(std::string_view line);
  // Takes one line that is already clean and not empty (from PastedLines).
  void AddClean(std::string entry);
  // Existing rows matched, each once, in the order of their first match.
  const std::vector<int>& ExistingRows() const { return existing_; }
  // New entries to append, in order.
  const std::vector<std::string>& NewEntries() const { return added_; }

 private:
  // An open-addressing table over one buffer of folded keys: tens of
  // thousands of rows stay in a few contiguous blocks, so a lookup costs about
  // the same for a long list as for a short one.
  struct Key {
    std::size_t offset;
    std::size_t length;
    int row;  // the row it matches, kMatched once selected, kTaken for a new entry
  };
  static constexpr int kMatched = -1;
  static constexpr int kTaken = -2;
  // The key equal to `folded`, inserted with `row` when absent; true when inserted.
  std::pair<Key*, bool> Find(const std::string& folded, int row);
  void Grow();

  std::string folded_;                 // every key, folded, one after another
  std::vector<Key> keys_;
  std::vector<std::uint32_t> slots_;   // key index + 1, 0 = empty; size a power of two
  std::vector<std::size_t> hashes_;    // hash of each key, for growing
  std::vector<int> existing_;
  std::vector<std::string> added_;
};

// The clipboard text of the selected rows: joined with "\r\n", none after the last.
std::string CopyText(const std::vector<std::string>& selected);

// The text find-next searches in a row: first column, a tab, second column.
std::string FindRowText(std::string_view first, std::string_view second = {});

struct FindResult {
  bool searched = false;  // false: empty list or empty search text, nothing to report
  int row = -1;           // the matching row, -1 when none
};
// Searches from the row after `focused` (the first row after the last one),
// wrapping, every row once. The search text is trimmed; unless `matchCase`
// both sides are folded to one case. Multi-byte aware.
FindResult FindNext(const std::vector<std::string>& rowTexts, int focused, std::string_view search,
                    bool matchCase);

// Entries of a list that count as addresses (contain "@"), trimmed.
std::vector<std::string> AddressEntries(const std::vector<std::string>& rows);

}  // namespace velkor::wordlist
