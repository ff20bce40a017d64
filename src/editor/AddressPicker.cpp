#include "editor/AddressPicker.h"

#include <algorithm>
#include <unordered_set>

#include "text/ShiftJis.h"

namespace velkor::picker {

namespace {

using FoldedSet = std::unordered_set<std::string, sjis::FoldedHash, sjis::FoldedEqual>;

FoldedSet SetOf(const std::vector<std::string>& addresses) {
  FoldedSet set;
  for (const std::string& a : addresses) set.insert(sjis::Trim(a));
  return set;
}

}  // namespace

std::vector<int> VisibleEntries(const std::vector<Entry>& book, int filter, const Lists& lists) {
  const FoldedSet added = SetOf(lists.alreadyAdded);
  const FoldedSet blocked = SetOf(lists.blocked);
  const FoldedSet own = SetOf(lists.own);
  std::vector<int> shown;
  for (std::size_t i = 0; i < book.size(); ++i) {
    const std::string& address = book[i].address;
    if (address.empty() || sjis::FindChar(address, '@') == sjis::npos) continue;
    if (added.count(address)) continue;
    if ((filter == kHideBlockedAndOwn || filter == kHideBlocked) && blocked.count(address)) continue;
    if (filter == kHideBlockedAndOwn && own.count(address)) continue;
    shown.push_back(static_cast<int>(i));
  }
  return shown;
}

std::vector<int> PreselectedRows(const std::vector<Entry>& rows, const std::vector<std::string>& preselect,
                                 bool multiple) {
  const FoldedSet wanted = SetOf(preselect);
  std::vector<int> selected;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    if (!wanted.count(rows[i].address)) continue;
    selected.push_back(static_cast<int>(i));
    if (!multiple) break;
  }
  return selected;
}

std::vector<std::string> ChosenAddresses(const std::vector<Entry>& rows, const std::vector<int>& selected,
                                         bool multiple) {
  std::vector<std::string> chosen;
  FoldedSet seen;
  for (int row : selected) {
    if (row < 0 || row >= static_cast<int>(rows.size())) continue;
    if (!seen.insert(rows[row].address).second) continue;
    chosen.push_back(rows[row].address);
    if (!multiple) break;
  }
  return chosen;
}

void ColumnSort::Click(int column) {
  if (column == column_) ascending_ = !ascending_;
  else column_ = column;
}

bool ColumnSort::Before(const Entry& a, const Entry& b) const {
  const std::string& x = column_ == 0 ? a.name : a.address;
  const std::string& y = column_ == 0 ? b.name : b.address;
  std::string fx = sjis::FoldCase(x);
  std::string fy = sjis::FoldCase(y);
  return ascending_ ? fx < fy : fy < fx;
}

void ColumnSort::Apply(std::vector<Entry>* rows) const {
  std::stable_sort(rows->begin(), rows->end(), [this](const Entry& a, const Entry& b) { return Before(a, b); });
}

}  // namespace velkor::picker
