#include <gtest/gtest.h>

#include <set>

#include "templates/TemplateWords.h"

namespace velkor {
namespace {

TEST(TemplateWords, ListsHoldDistinctEntriesInTheirCounts) {
  struct Case {
    const std::vector<std::string>& words;
    std::size_t count;
    const char* first;
    const char* last;
  } cases[] = {{AlnumWords(), 40, ".", "Z"}, {KanaWords(), 71, "あ", "ん"}};
  for (const Case& c : cases) {
    EXPECT_EQ(c.count, c.words.size());
    EXPECT_EQ(c.count, std::set<std::string>(c.words.begin(), c.words.end()).size());
    EXPECT_EQ(c.first, c.words.front());
    EXPECT_EQ(c.last, c.words.back());
  }
}

TEST(TemplateWords, PlaceholdersCarryTheStampInUpperCaseHex) {
  StoreStamp stamp;
  stamp.first = 0x00ab12cdu;
  EXPECT_EQ("ここに迷惑メールをドラッグしてください。(00AB12CD)", DragPlaceholder(stamp));
  EXPECT_EQ("区切り線用のダミー\x81\x40(00000000)", SeparatorPlaceholder(StoreStamp{}));
}

}  // namespace
}  // namespace velkor
