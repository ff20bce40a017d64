#include "mail/SpamDetection.h"

#include <gtest/gtest.h>

#include <random>

#include "ReferenceDetection.h"

namespace velkor {
namespace {

using Strings = std::vector<std::string>;

SpamWordList Dictionary(const std::vector<std::pair<std::string, std::uint16_t>>& entries) {
  SpamWordList list;
  for (const auto& [word, category] : entries) {
    list.words.push_back(word);
    list.categories.push_back(category);
  }
  return list;
}

TEST(SpamDetectionTest, Links) {
  const SpamWordList none;
  struct Case {
    const char* name;
    std::string text;
    Strings links;
  };
  const Case cases[] = {
      {"capitals found as written, listed once", "HTTP://SPAM.EXAMPLE/A and http://spam.example/a",
       {"HTTP://SPAM.EXAMPLE/A"}},
      {"five characters after the prefix too few", "http://abc https:/abcd", {}},
      {"six characters taken", "http://abcd https://abcd", {"http://abcd", "https://abcd"}},
      {"query ends the link", "http://spam.jp/x?id=1 http://spam.jp/x?id=2", {"http://spam.jp/x"}},
      {"port ends the link", "https://spam.jp:8080/", {"https://spam.jp"}},
      {"http before https", "https://second.jp http://first.jp", {"http://first.jp", "https://second.jp"}},
      {"full-width letters stop a link", "http://spam.ｊｐ", {"http://spam."}},
      {"inside double-byte text", "今すぐhttp://deai.example/へ", {"http://deai.example/"}},
  };
  for (const Case& c : cases) EXPECT_EQ(DetectSpamContent(c.text, none, {}).links, c.links) << c.name;
}

TEST(SpamDetectionTest, Addresses) {
  const SpamWordList none;
  struct Case {
    const char* name;
    std::string text;
    Strings own;
    Strings links;
  };
  const Case cases[] = {
      {"own address in any case excluded", "from ME@Home.example.jp and ab@spam.example", {"me@home.example.jp"},
       {"ab@spam.example"}},
      {"two spellings give two entries", "Ab@spam.example ab@spam.example Ab@spam.example", {},
       {"Ab@spam.example", "ab@spam.example"}},
      {"short halves skipped", "a@bcdef ab@cde ab@cdef", {}, {"ab@cdef"}},
      // ソ = 0x83 0x5C, ａ = 0x82 0x81: their second bytes never join an address;
      // ァ = 0x83 0x40 holds an "@" as second byte and is no at sign.
      {"second bytes masked", "ソxy@example.jpａ ァbc.example", {}, {"xy@example.jp"}},
      {"letters as second bytes", "\x83\x61" "b@example.jp", {}, {}},
      {"lines end the walk", "ab\n@example.jp cd@ef\ngh.jp", {}, {}},
      {"address after a link", "http://spam.example/ ab@spam.example", {},
       {"http://spam.example/", "ab@spam.example"}},
  };
  for (const Case& c : cases) EXPECT_EQ(DetectSpamContent(c.text, none, c.own).links, c.links) << c.name;
}

TEST(SpamDetectionTest, DictionaryWords) {
  struct Case {
    const char* name;
    std::vector<std::pair<std::string, std::uint16_t>> dict;
    std::string text;
    Strings obscene;
    Strings other;
  };
  const Case cases[] = {
      {"every occurrence counted", {{"出会い", 2}}, "出会い系で出会い", {}, {"出会い", "出会い"}},
      {"longer earlier word claims the place", {{"無料出会い", 2}, {"出会い", 1}}, "無料出会い・出会い",
       {"出会い"}, {"無料出会い"}},
      {"shorter earlier word breaks the longer", {{"出会", 3}, {"出会い系", 2}}, "出会い系", {}, {"出会"}},
      {"case folded, written form kept", {{"ｓｅｘ", 1}, {"viagra", 2}}, "ＳＥＸ and VIAGRA", {"ＳＥＸ"},
       {"VIAGRA"}},
      {"found inside a longer word", {{"金", 2}}, "現金化", {}, {"金"}},
      {"no kana or width folding", {{"ｱﾀﾞﾙﾄ", 1}}, "アダルト", {}, {}},
      {"occurrences do not overlap", {{"aa", 2}}, "aaaaa", {}, {"aa", "aa"}},
      {"no match from a second byte", {{"\x5C", 2}, {"@", 2}}, "ソァ", {}, {}},
      {"empty word ignored", {{"", 2}, {"x", 2}}, "xx", {}, {"x", "x"}},
  };
  for (const Case& c : cases) {
    const DetectionResult r = DetectSpamContent(c.text, Dictionary(c.dict), {});
    EXPECT_EQ(r.obsceneTerms, c.obscene) << c.name;
    EXPECT_EQ(r.otherTerms, c.other) << c.name;
  }
}

// Characters chosen to provoke every trap: case pairs in both widths,
// second bytes equal to "@", "\\" and letters, line ends, tabs, blanks.
const std::vector<std::string> kAlphabet = {
    "a", "A", "b", "B", "@", ".", "x", " ", "\n", "\t", "ａ", "Ａ", "ソ", "ァ", "あ", "ア", "\x83\x61", "ｱ",
    "http://", "https://", "ab@cd.ef", "\x82",
};

std::string RandomText(std::mt19937& rng, std::size_t chars, std::size_t alphabet) {
  std::string s;
  for (std::size_t i = 0; i < chars; ++i) s += kAlphabet[rng() % alphabet];
  return s;
}

void ExpectSame(const DetectionResult& fast, const DetectionResult& ref, const std::string& text) {
  EXPECT_EQ(fast.links, ref.links) << text;
  EXPECT_EQ(fast.obsceneTerms, ref.obsceneTerms) << text;
  EXPECT_EQ(fast.otherTerms, ref.otherTerms) << text;
}

TEST(SpamDetectionTest, OnePassEqualsWordByWordOnRandomInput) {
  std::mt19937 rng(20240501);
  for (int round = 0; round < 3000; ++round) {
    SpamWordList list;
    const std::size_t words = 1 + rng() % 12;
    for (std::size_t w = 0; w < words; ++w) {
      // Words of whole characters only (the loader drops the others).
      std::string word = RandomText(rng, 1 + rng() % 3, kAlphabet.size() - 4);
      if (rng() % 5 == 0 && !list.words.empty()) word = list.words[rng() % list.words.size()];
      if (word.find('\t') != std::string::npos || word.find('\n') != std::string::npos) continue;
      list.words.push_back(word);
      list.categories.push_back(static_cast<std::uint16_t>(1 + rng() % 3));
    }
    const std::string text = RandomText(rng, rng() % 80, kAlphabet.size());
    const Strings own = {"AB@cd.ef"};
    ExpectSame(SpamDetector(list).Detect(text, own), testing::ReferenceDetect(text, list, own), text);
    if (::testing::Test::HasFailure()) return;
  }
}

TEST(SpamDetectionTest, Highlights) {
  const std::string text = "無料 http://Spam.example/ 無料出会い ＳＥＸ";
  DetectionResult r;
  r.links = {"http://spam.example/"};
  r.obsceneTerms = {"ｓｅｘ"};
  r.otherTerms = {"無料", "出会い", "spam"};
  const std::size_t link = text.find("http");
  const std::size_t second = text.find("無料", 1);
  const std::size_t sex = text.find("ＳＥＸ");
  const std::vector<HighlightRange> expected = {
      {0, 4, HighlightColour::Other},
      {link, 7, HighlightColour::Link},
      {link + 7, 4, HighlightColour::Other},  // green wins over blue
      {link + 11, 9, HighlightColour::Link},
      {second, 10, HighlightColour::Other},
      {sex, 6, HighlightColour::Obscene},
  };
  EXPECT_EQ(ComputeHighlights(text, r), expected);
}

TEST(SpamDetectionTest, MergeSelectsExistingAndAppendsNew) {
  DetectionResult r;
  r.obsceneTerms = {"ＳＥＸ", "ｓｅｘ"};
  r.otherTerms = {"出会い"};
  r.links = {"http://spam.example/", "AB@x.example"};
  const WordListMerge m = MergeIntoWordList({"keep", "ab@X.example", "ｓｅｘ"}, r);
  EXPECT_EQ(m.items, (Strings{"keep", "ab@X.example", "ｓｅｘ", "出会い", "http://spam.example/"}));
  EXPECT_EQ(m.selected, (std::vector<std::size_t>{1, 2, 3, 4}));
  EXPECT_EQ(m.firstAppended, 3u);
  EXPECT_EQ(MergeIntoWordList({"a"}, DetectionResult{}).firstAppended, static_cast<std::size_t>(-1));
}

}  // namespace
}  // namespace velkor
