// The address picker's filters, preselection, choice and column sort.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "editor/AddressPicker.h"

namespace velkor::picker {
namespace {

const std::vector<Entry> kBook = {
    {"Own", "Me@Home.jp"}, {"Spammer", "spam@x.jp"}, {"Friend", "friend@y.jp"},
    {"No mail", ""},       {"Odd", "not-an-address"}, {"Added", "added@z.jp"},
};

TEST(VisibleEntries, FiltersHideWhatTheyName) {
  Lists lists;
  lists.alreadyAdded = {" ADDED@z.jp "};
  lists.blocked = {"SPAM@x.jp"};
  lists.own = {"me@home.JP"};
  struct Case {
    int filter;
    std::vector<int> shown;
  };
  const Case cases[] = {{kHideBlockedAndOwn, {2}}, {kHideBlocked, {0, 2}}, {kShowAll, {0, 1, 2}}};
  for (const Case& c : cases) EXPECT_EQ(VisibleEntries(kBook, c.filter, lists), c.shown) << c.filter;
}

TEST(PickerSelection, PreselectAndChoose) {
  const std::vector<Entry> rows = {{"a", "a@x"}, {"b", "b@x"}, {"c", "A@X"}};
  EXPECT_EQ(PreselectedRows(rows, {"a@x", "b@X"}, true), (std::vector<int>{0, 1, 2}));
  EXPECT_EQ(PreselectedRows(rows, {"b@x", "a@x"}, false), (std::vector<int>{0}));
  EXPECT_EQ(ChosenAddresses(rows, {0, 1, 2}, true), (std::vector<std::string>{"a@x", "b@x"}));
  EXPECT_EQ(ChosenAddresses(rows, {1, 2}, false), (std::vector<std::string>{"b@x"}));
}

TEST(ColumnSort, DirectionRule) {
  std::vector<Entry> rows = {{"b", "A@x"}, {"C", "c@x"}, {"a", "B@x"}};
  ColumnSort sort;
  struct Step {
    int click;
    std::vector<std::string> names;
  };
  const Step steps[] = {
      {0, {"C", "b", "a"}},  // first click on the name column: descending
      {0, {"a", "b", "C"}},  // again: ascending
      {1, {"b", "a", "C"}},  // another column keeps ascending
      {1, {"C", "a", "b"}},
  };
  for (const Step& s : steps) {
    sort.Click(s.click);
    sort.Apply(&rows);
    std::vector<std::string> names;
    for (const Entry& e : rows) names.push_back(e.name);
    EXPECT_EQ(names, s.names) << "click " << s.click;
  }
}

}  // namespace
}  // namespace velkor::picker
