// The dictionary the build wrote beside the programs must give back exactly
// the words, categories and title of its source.

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "Utf8ToShiftJis.h"
#include "mail/SpamDetection.h"
#include "mail/SpamWordList.h"
#include "text/ShiftJis.h"

namespace velkor {
namespace {

TEST(BuiltDictionaryTest, LoadsTheSourceWords) {
  std::ifstream in(VELKOR_SPAM_WORDS_SOURCE, std::ios::binary);
  ASSERT_TRUE(in) << VELKOR_SPAM_WORDS_SOURCE;
  std::stringstream utf8;
  utf8 << in.rdbuf();

  SpamWordList expected;
  const std::vector<std::string> lines = sjis::SplitLines(utf8.str());
  ASSERT_FALSE(lines.empty());
  ASSERT_TRUE(dictbuild::Utf8ToShiftJis(lines[0], expected.title));
  for (std::size_t i = 1; i < lines.size(); ++i) {
    if (lines[i].empty() || lines[i][0] == '#') continue;
    const std::size_t tab = lines[i].find('\t');
    ASSERT_NE(tab, std::string::npos) << lines[i];
    std::string word;
    ASSERT_TRUE(dictbuild::Utf8ToShiftJis(lines[i].substr(0, tab), word)) << lines[i];
    expected.words.push_back(word);
    expected.categories.push_back(static_cast<std::uint16_t>(std::stoi(lines[i].substr(tab + 1))));
  }
  ASSERT_GE(expected.words.size(), 300u);

  // The test program lies in the same folder as the built dictionary.
  SpamWordList loaded;
  ASSERT_EQ(loaded.LoadSpamWords(), static_cast<int>(expected.words.size()))
      << SpamWordList::ProgramFolderFile(SpamWordList::kFileName);
  EXPECT_EQ(loaded.title, expected.title);
  EXPECT_EQ(loaded.words, expected.words);
  EXPECT_EQ(loaded.categories, expected.categories);

  // Both kinds of terms are there.
  int obscene = 0;
  for (std::uint16_t c : loaded.categories) obscene += c == kObsceneTerm;
  EXPECT_GT(obscene, 50);
  EXPECT_GT(static_cast<int>(loaded.categories.size()) - obscene, 200);
}

// Earlier words claim their text first: a word that holds an earlier one
// would never be proposed.
TEST(BuiltDictionaryTest, EveryWordCanBeFound) {
  SpamWordList list;
  ASSERT_GT(list.LoadSpamWords(), 0);
  const SpamDetector detector(list);
  for (std::size_t i = 0; i < list.words.size(); ++i) {
    const DetectionResult found = detector.Detect("本文 " + list.words[i] + " です", {});
    const std::vector<std::string>& terms = list.categories[i] == kObsceneTerm ? found.obsceneTerms
                                                                               : found.otherTerms;
    EXPECT_EQ(terms, std::vector<std::string>{list.words[i]}) << i;
  }
}

}  // namespace
}  // namespace velkor
