#include "mail/SpamWordList.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <set>
#include <sstream>

#include "mail/WordScramble.h"

namespace velkor {
namespace {

TEST(WordScrambleTest, IsAPermutationOfThePrintableRangeAndKeepsControls) {
  std::set<int> images;
  for (int b = 0; b < 256; ++b) {
    const unsigned char stored = WordScramble::Scramble(static_cast<unsigned char>(b));
    EXPECT_EQ(WordScramble::Unscramble(stored), b);
    if (b < 0x20) {
      EXPECT_EQ(stored, b);
    } else {
      EXPECT_GE(stored, 0x20);
      images.insert(stored);
    }
  }
  EXPECT_EQ(images.size(), 224u);
  // Nothing but control bytes stays readable.
  EXPECT_NE(WordScramble::ScrambleLine("出会い\t2"), "出会い\t2");
  EXPECT_EQ(WordScramble::ScrambleLine("ab\tc")[2], '\t');
}

TEST(SpamWordListTest, WordLines) {
  struct Case {
    std::string line;
    bool ok;
    std::string word;
    std::uint16_t category;
  };
  const Case cases[] = {
      {"出会い\t2", true, "出会い", 2},
      {"  spaced word \t 1", true, "spaced word", 1},
      {"word\t3 trailing", true, "word", 3},
      {"word\t65537", true, "word", 1},  // kept to 16 bits
      {"word\t0", false, "", 0},
      {"word\t-1", false, "", 0},
      {"word\tx", false, "", 0},
      {"word", false, "", 0},
      {"\t1", false, "", 0},
      {"   \t1", false, "", 0},  // empty after trimming: would match everywhere
      {"", false, "", 0},
      {"half\x82\t1", false, "", 0},  // ends in half a double-byte character
  };
  for (const Case& c : cases) {
    std::string word = "unchanged";
    std::uint16_t category = 0;
    EXPECT_EQ(SpamWordList::ParseWordLine(c.line, word, category), c.ok) << c.line;
    if (c.ok) {
      EXPECT_EQ(word, c.word) << c.line;
      EXPECT_EQ(category, c.category) << c.line;
    }
  }
}

TEST(SpamWordListTest, LoadsScrambledContentAndSkipsBadLines) {
  const std::string content = "タイトル\r\n" + WordScramble::ScrambleLine("無修正\t1") + "\r\n" +
                              WordScramble::ScrambleLine("broken line") + "\n\n" +
                              WordScramble::ScrambleLine("副業\t3") + "\r\n" + "unscrambled\t2";
  SpamWordList list;
  list.words = {"stale"};
  EXPECT_EQ(list.LoadFromContent(content), 2);
  EXPECT_EQ(list.title, "タイトル");
  EXPECT_EQ(list.words, (std::vector<std::string>{"無修正", "副業"}));
  EXPECT_EQ(list.categories, (std::vector<std::uint16_t>{1, 3}));
}

TEST(SpamWordListTest, MissingFileKeepsTitle) {
  SpamWordList list;
  list.words = {"stale"};
  EXPECT_EQ(list.LoadFromFile("no-such-dir/spam_words.dat"), -1);
  EXPECT_TRUE(list.words.empty());
  EXPECT_EQ(list.title, "----");
  EXPECT_EQ(list.LoadFromContent(""), 0);
  EXPECT_EQ(list.title, "----");
}

}  // namespace
}  // namespace velkor
