#pragma once
// What the address-book picker shows and returns, without its window: which
// entries pass the filter, the column sort with its direction rule, the
// preselection and the chosen addresses. Addresses compare without regard to case.

#include <string>
#include <vector>

namespace velkor::picker {

// The filter radios: hide blocked and own addresses, hide blocked only, show all.
enum Filter { kHideBlockedAndOwn = 0, kHideBlocked = 1, kShowAll = 2 };

struct Entry {
  std::string name;
  std::string address;
};

struct Lists {
  std::vector<std::string> alreadyAdded;  // never shown
  std::vector<std::string> blocked;       // hidden by filters 0 and 1
  std::vector<std::string> own;           // hidden by filter 0
};

// Indexes of the entries to show, in address-book order: only entries whose
// address contains "@", minus those the filter hides.
std::vector<int> VisibleEntries(const std::vector<Entry>& book, int filter, const Lists& lists);

// Which rows to select first: rows whose address is in `preselect`; with
// single selection only the first such row.
std::vector<int> PreselectedRows(const std::vector<Entry>& rows, const std::vector<std::string>& preselect,
                                 bool multiple);

// The addresses of the selected rows in row order, repeats skipped; with
// single selection only the first.
std::vector<std::string> ChosenAddresses(const std::vector<Entry>& rows, const std::vector<int>& selected,
                                         bool multiple);

// The sort of the picker's two columns. A click on the column sorted last
// reverses the direction; a click on another column keeps it. It starts as if
// column 0 had been sorted ascending, so the first click on it sorts descending.
class ColumnSort {
 public:
  void Click(int column);
  int Column() const { return column_; }
  bool Ascending() const { return ascending_; }
  // Whether row a comes before row b (case-insensitive; stable sorts keep ties).
  bool Before(const Entry& a, const Entry& b) const;
  // Sorts `rows` in place (stable).
  void Apply(std::vector<Entry>* rows) const;

 private:
  int column_ = 0;
  bool ascending_ = true;
};

}  // namespace velkor::picker
