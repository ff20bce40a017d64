#include "DictionaryBuilder.h"

#include <unordered_set>

#include "Utf8ToShiftJis.h"
#include "mail/SpamWordList.h"
#include "mail/WordScramble.h"
#include "text/ShiftJis.h"

namespace velkor::dictbuild {

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
    } else {
      result.content += WordScramble::ScrambleLine(word + "\t" + std::to_string(category)) + "\r\n";
      ++result.words;
    }
  }
  result.ok = result.errors.empty() && result.words > 0;
  if (result.errors.empty() && result.words == 0) result.errors.push_back("no words");
  return result;
}

}  // namespace velkor::dictbuild
