#include "text/ShiftJis.h"

#include <gtest/gtest.h>

#include <unordered_set>

namespace velkor::sjis {
namespace {

// Literals are compiled to Shift_JIS. "ソ" is 0x83 0x5C and "表" 0x95 0x5C:
// their second byte is the backslash. "＠" is 0x81 0x97; "ア" 0x83 0x41 has an
// 'A' as second byte; "き" 0x82 0xAB; "ｱ" is the single byte 0xB1.
TEST(ShiftJisTest, LeadBytesAndCharacterBoundaries) {
  EXPECT_TRUE(IsLeadByte(0x81));
  EXPECT_TRUE(IsLeadByte(0x9F));
  EXPECT_TRUE(IsLeadByte(0xE0));
  EXPECT_TRUE(IsLeadByte(0xFC));
  EXPECT_FALSE(IsLeadByte(0x80));
  EXPECT_FALSE(IsLeadByte(0xA0));
  EXPECT_FALSE(IsLeadByte(0xB1));  // half-width katakana is one byte
  EXPECT_FALSE(IsLeadByte('A'));

  const std::string s = "aソ表b";
  ASSERT_EQ(s.size(), 6u);
  EXPECT_EQ(CharLength(s, 0), 1u);
  EXPECT_EQ(CharLength(s, 1), 2u);
  EXPECT_TRUE(IsCharBoundary(s, 3));
  EXPECT_FALSE(IsCharBoundary(s, 2));
  EXPECT_FALSE(IsCharBoundary(s, 4));
  EXPECT_EQ(CharStart(s, 4), 3u);
  EXPECT_TRUE(IsCharBoundary(s, 6));
  // A run of lead-range bytes: "\x81\x81\x81\x81" is two characters.
  const std::string run = "\x81\x81\x81\x81x";
  EXPECT_TRUE(IsCharBoundary(run, 2));
  EXPECT_FALSE(IsCharBoundary(run, 3));
  // A lead byte at the very end stands alone.
  EXPECT_EQ(CharLength(std::string("a\x81"), 1), 1u);

  EXPECT_TRUE(IsWellFormed("ソ表ｱabc"));
  EXPECT_TRUE(IsTrailByte(0x40));
  EXPECT_FALSE(IsTrailByte(0x7F));
  EXPECT_FALSE(IsWellFormed("a\x81"));        // cut after the lead byte
  EXPECT_FALSE(IsWellFormed("\x83\x7F"));    // 0x7F never follows a lead byte
  EXPECT_FALSE(IsWellFormed("\x83\x0A"));
}

TEST(ShiftJisTest, FindNeverMatchesAtASecondByte) {
  struct Case {
    std::string hay, needle;
    std::size_t expected;
  } cases[] = {
      {"ソ\\", "\\", 2},           // the backslash inside ソ is skipped
      {"表示", "\\", npos},
      {"アA", "A", 2},
      {"ア", "A", npos},
      {"田中＠example", "@", npos},  // full-width at: no ASCII '@'
      {"ソフト@example", "@", 6},
      {"ア<b>", "<", 2},
      {"\x83\x3C<", "<", 2},        // a lead byte takes the next byte, as Windows does
      {"abcabc", "cab", 2},
      {"ソソ", "\x5C\x83", npos},    // spans a second and a lead byte
      {"", "a", npos},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Find(c.hay, c.needle), c.expected) << c.hay;
  }
  EXPECT_EQ(Find("aXaX", "X", 2), 3u);
  EXPECT_EQ(FindChar("ソa\\", '\\'), 3u);
  EXPECT_EQ(FindAnyOf("ア<>", "<>"), 2u);
  EXPECT_EQ(FindAnyOf("ア", "A"), npos);
  EXPECT_EQ(RFind("ab ab ソ", "ab"), 3u);
  EXPECT_EQ(RFind("表\\", "\\"), 2u);
}

TEST(ShiftJisTest, CaseFoldingTouchesOnlyAsciiAndFullWidthLatin) {
  EXPECT_EQ(FoldCase("ABC xyz"), "abc xyz");
  EXPECT_EQ(FoldCase("ＡＢＣ"), "ａｂｃ");
  // The second byte of ア is 'A' and must stay; Greek and Cyrillic capitals do not fold.
  EXPECT_EQ(FoldCase("アΑА"), "アΑА");
  EXPECT_EQ(FoldCase("ｱ"), "ｱ");
  EXPECT_TRUE(EqualsIgnoreCase("Taro@Example.JP", "taro@example.jp"));
  EXPECT_TRUE(EqualsIgnoreCase("ＴＡＲＯ", "ｔａｒｏ"));
  EXPECT_FALSE(EqualsIgnoreCase("ア", "\x83\x61"));  // 'A' as second byte is not a letter
  EXPECT_FALSE(EqualsIgnoreCase("abc", "abcd"));
  EXPECT_EQ(FindIgnoreCase("xxアSPAM", "spam"), 4u);
  EXPECT_EQ(FindIgnoreCase("ア", "a"), npos);
  EXPECT_EQ(AsciiLower("MSIMN.EXE"), "msimn.exe");

  std::unordered_set<std::string, FoldedHash, FoldedEqual> set;
  set.insert("Taro@Example.jp");
  EXPECT_EQ(set.count("taro@example.JP"), 1u);
  EXPECT_EQ(set.count("jiro@example.jp"), 0u);
}

TEST(ShiftJisTest, TrimmingAndCleaning) {
  EXPECT_EQ(Trim("  \t abc \r\n"), "abc");
  EXPECT_EQ(Trim("　abc　"), "　abc　");  // Trim keeps ideographic spaces
  EXPECT_EQ(TrimWithIdeographicSpace(" 　abc　 　"), "abc");
  EXPECT_EQ(TrimWithIdeographicSpace("　"), "");
  // "\x81\x81\x40" is the character 0x8181 then '@': the tail is no ideographic space.
  EXPECT_EQ(TrimWithIdeographicSpace("\x81\x81\x40"), "\x81\x81\x40");
  EXPECT_EQ(RemoveLineBreaksAndTabs("a\rb\nc\td"), "abcd");
  EXPECT_EQ(CleanUserText(" 迷惑\r\nメール\t "), "迷惑メール");
  EXPECT_EQ(CleanUserText("\r\n\t"), "");
}

TEST(ShiftJisTest, SplittingAndTruncation) {
  EXPECT_EQ(SplitLines("a\r\nb\nc\rd"), (std::vector<std::string>{"a", "b", "c", "d"}));
  EXPECT_EQ(SplitLines("a\r\n\r\nb\r\n"), (std::vector<std::string>{"a", "", "b"}));
  EXPECT_TRUE(SplitLines("").empty());
  EXPECT_EQ(Split("000 001  002", ' '), (std::vector<std::string>{"000", "001", "", "002"}));
  // The second byte of 表 is '\\' and never separates.
  EXPECT_EQ(Split("表\\x", '\\'), (std::vector<std::string>{"表", "x"}));
  EXPECT_EQ(TruncateChars("あいう", 3), "あ");
  EXPECT_EQ(TruncateChars("abc", 5), "abc");
}

}  // namespace
}  // namespace velkor::sjis
