#include "DictionaryBuilder.h"

#include <unordered_set>
#include <utility>
#include <vector>

#include "Utf8ToShiftJis.h"
#include "mail/SpamWordList.h"
#include "mail/WordScramble.h"
#include "text/ShiftJis.h"

namespace velkor::dictbuild {
namespace {

// The line of the first earlier word that occurs in `folded`; 0 for none.
std::size_t ShadowingLine(const std::vector<std::pair<std::string, std::size_t>>& earlier,
                          const std::string& folded) {
  for (const auto& [word, line] : earlier) {
    if (sjis::Find(folded, word) != sjis::npos) return line;
  }
  return 0;
}

}  // namespace

BuildResult BuildDictionary(std::string_view source) {
  BuildResult result;
  if (source.substr(0, 3) == "\xEF\xBB\xBF") source.remove_prefix(3);  // UTF-8 signature
  const std::vector<std::string> lines = sjis::SplitLines(source);
  if (lines.empty()) {
    result.errors.push_back("line 1: the title line is missing");
    return result;
  }
  std::string title;
  if (!Utf8ToShiftJis(lines[0], title)) result.errors.push_back("line 1: title not representable in Shift_JIS");
  result.content = title + "\r\n";

  std::unordered_set<std::string, sjis::FoldedHash, sjis::FoldedEqual> seen;
  // Detection lets earlier words claim their text first, so a word that holds
  // an earlier one could never be found.
  std::vector<std::pair<std::string, std::size_t>> earlier;  // folded word, line number
  for (std::size_t i = 1; i < lines.size(); ++i) {
    const std::string where = "line " + std::to_string(i + 1) + ": ";
    const std::string& line = lines[i];
    if (sjis::Trim(line).empty() || line[0] == '#') continue;
    std::string sjisLine, word;
    std::uint16_t category = 0;
    if (!Utf8ToShiftJis(line, sjisLine)) {
      result.errors.push_back(where + "not valid UTF-8 or not representable in Shift_JIS");
    } else if (!SpamWordList::ParseWordLine(sjisLine, word, category)) {
      result.errors.push_back(where + "expected \"word<TAB>category\" with a category of 1 or more");
    } else if (!seen.insert(word).second) {
      result.errors.push_back(where + "duplicate word (ignoring case)");
    } else if (const std::size_t shadow = ShadowingLine(earlier, sjis::FoldCase(word)); shadow != 0) {
      result.errors.push_back(where + "never found: it contains the word of line " + std::to_string(shadow) +
                              "; list it before that line");
    } else {
      earlier.emplace_back(sjis::FoldCase(word), i + 1);
      result.content += WordScramble::ScrambleLine(word + "\t" + std::to_string(category)) + "\r\n";
      ++result.words;
    }
  }
  result.ok = result.errors.empty() && result.words > 0;
  if (result.errors.empty() && result.words == 0) result.errors.push_back("no words");
  return result;
}

}  // namespace velkor::dictbuild
