#pragma once
// The NG-word dictionary "spam_words.dat": a plain title line, then one
// scrambled line per word, "word TAB category". Category 1 marks obscene or
// vulgar terms, any other positive number other spam terms.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace velkor {

enum SpamCategory : std::uint16_t { kObsceneTerm = 1 };

struct SpamWordList {
  static constexpr std::string_view kFileName = "spam_words.dat";
  static constexpr std::string_view kNoTitle = "----";

  std::vector<std::string> words;           // Shift_JIS, file order
  std::vector<std::uint16_t> categories;    // parallel to words
  std::string title = std::string(kNoTitle);

  // Loads "spam_words.dat" from the folder of the running program. Number of
  // words, or -1 when the program path is unknown or the file cannot be read.
  int LoadSpamWords();
  int LoadFromFile(const std::string& path);
  // The whole file content. Malformed lines are skipped without a word.
  int LoadFromContent(std::string_view content);

  // Parses one unscrambled word line; false for a line that holds no word.
  static bool ParseWordLine(std::string_view line, std::string& word, std::uint16_t& category);

  // The full path of `fileName` in the folder of the running program; empty
  // when it cannot be determined (or would not fit MAX_PATH on Windows).
  static std::string ProgramFolderFile(std::string_view fileName);
};

}  // namespace velkor
