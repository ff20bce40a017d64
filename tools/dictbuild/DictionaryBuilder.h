#pragma once
// Turns the dictionary source (UTF-8: a title line, then "word TAB category"
// lines; empty lines and lines starting with "#" are ignored) into the content
// of spam_words.dat: the title in plain Shift_JIS, then one scrambled line per
// word, CRLF line ends.

#include <string>
#include <string_view>
#include <vector>

namespace velkor::dictbuild {

struct BuildResult {
  bool ok = false;
  std::string content;              // the .dat bytes
  std::size_t words = 0;
  std::vector<std::string> errors;  // "line N: ..." for every rejected line
};

BuildResult BuildDictionary(std::string_view utf8Source);

}  // namespace velkor::dictbuild
