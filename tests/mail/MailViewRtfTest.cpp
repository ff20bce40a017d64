#include "mail/MailViewRtf.h"

#include <gtest/gtest.h>

namespace velkor {
namespace {

// The body after the header, without the closing brace.
std::string Body(std::string_view text, const std::vector<HighlightRange>& ranges = {}) {
  const std::string rtf = MailViewRtf(text, ranges, RtfFont{"MS UI Gothic", 128, 20});
  const std::string head = "\\f0\\fs20 ";
  const std::size_t at = rtf.find(head);
  EXPECT_NE(at, std::string::npos);
  EXPECT_EQ(rtf.back(), '}');
  return rtf.substr(at + head.size(), rtf.size() - at - head.size() - 1);
}

TEST(MailViewRtfTest, HeaderNamesTheViewFontAndTheThreeColours) {
  const std::string rtf = MailViewRtf("x", {}, RtfFont{"ＭＳ ゴシック", 128, 18});
  EXPECT_EQ(rtf.rfind("{\\rtf1\\ansi\\ansicpg932", 0), 0u);
  EXPECT_NE(rtf.find("{\\f0\\fnil\\fcharset128 \\'82\\'6c\\'82\\'72 \\'83\\'53\\'83\\'56\\'83\\'62\\'83\\'4e;}"),
            std::string::npos);
  // Links, obscene terms and other terms: colours 1, 2 and 3.
  EXPECT_NE(rtf.find("{\\colortbl;\\red0\\green0\\blue255;\\red255\\green0\\blue0;\\red0\\green128\\blue0;}"),
            std::string::npos);
  EXPECT_NE(rtf.find("\\f0\\fs18 x}"), std::string::npos);
}

TEST(MailViewRtfTest, TextIsEscapedCharacterByCharacter) {
  struct Case {
    std::string text;
    std::string body;
  };
  const Case cases[] = {
      {"a\\b{c}", "a\\\\b\\{c\\}"},
      {"ソ表", "\\'83\\'5c\\'95\\'5c"},  // second bytes that are a backslash
      {"ｱ\x01", "\\'b1\\'01"},
      {"a\tb\rc", "a\\tab b\\par\nc"},
      {"a\r", "a\\par\n\\par"},  // the control takes the last paragraph end for its own
      {"\x83\rx", "\\'83\\par\nx"},  // a lead byte before a paragraph end stands alone
      {"", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(Body(c.text), c.body) << c.text;
}

TEST(MailViewRtfTest, RangesBecomeBoldColouredGroups) {
  using H = HighlightColour;
  struct Case {
    std::string text;
    std::vector<HighlightRange> ranges;
    std::string body;
  };
  const Case cases[] = {
      {"ab出会いcd", {{2, 6, H::Other}}, "ab{\\b\\cf3 \\'8f\\'6f\\'89\\'ef\\'82\\'a2}cd"},
      {"abcd", {{0, 2, H::Link}, {2, 2, H::Obscene}}, "{\\b\\cf1 ab}{\\b\\cf2 cd}"},
      {"a\rb", {{0, 3, H::Link}}, "{\\b\\cf1 a\\par\nb}"},
      {"xあy", {{0, 2, H::Link}}, "{\\b\\cf1 x\\'82\\'a0}y"},  // an edge inside a character moves to its end
      {"abc", {{1, 1, H::Obscene}, {5, 2, H::Link}}, "a{\\b\\cf2 b}c"},  // past the end: nothing
  };
  for (const Case& c : cases) EXPECT_EQ(Body(c.text, c.ranges), c.body) << c.text;
}

TEST(MailViewRtfTest, ViewTextHasOneParagraphEndPerLineEnd) {
  const std::pair<std::string, std::string> cases[] = {
      {"a\r\nb\rc\nd", "a\rb\rc\rd"},
      {"a\r\r\nb", "a\r\rb"},
      {std::string("x\0y", 3), "x"},
      {"あ\x83", "あ?"},
      {"", ""},
  };
  for (const auto& [mail, text] : cases) EXPECT_EQ(MailViewText(mail), text) << mail;
}

}  // namespace
}  // namespace velkor
