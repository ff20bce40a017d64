#pragma once
// The detection rule written the slow, literal way: every word searched on
// its own, in file order, each occurrence replaced by a TAB in the text and
// its lower-case copy before the search goes on. The fast detector must give
// exactly the same lists.

#include <string>
#include <vector>

#include "mail/AddressChars.h"
#include "mail/SpamDetection.h"
#include "text/ShiftJis.h"

namespace velkor::testing {

inline DetectionResult ReferenceDetect(std::string text, const SpamWordList& list,
                                       const std::vector<std::string>& own) {
  DetectionResult r;
  std::string lower = sjis::FoldCase(text);
  for (std::string prefix : {"http:", "https:"}) {
    std::size_t pos = 0;
    for (;;) {
      const std::size_t p = sjis::Find(lower, prefix, pos);
      if (p == sjis::npos) break;
      std::size_t end = p + prefix.size();
      while (end < lower.size() && LinkChars::kChars.find(lower[end]) != std::string_view::npos) ++end;
      if (end - p > prefix.size() + 5) {
        const std::string link = text.substr(p, end - p);
        bool seen = false;
        for (const std::string& l : r.links) seen = seen || sjis::EqualsIgnoreCase(l, link);
        if (!seen) r.links.push_back(link);
      }
      pos = end;
    }
  }
  for (std::size_t at = sjis::FindChar(lower, '@'); at != sjis::npos; at = sjis::FindChar(lower, '@', at + 1)) {
    const std::size_t lf = at == 0 ? sjis::npos : sjis::RFind(lower, "\n", at - 1);
    const std::size_t lineStart = lf == sjis::npos ? 0 : lf + 1;
    std::size_t lineEnd = sjis::Find(lower, "\n", at);
    if (lineEnd == sjis::npos) lineEnd = lower.size();
    std::string line = text.substr(lineStart, lineEnd - lineStart);
    for (std::size_t i = 0; i < line.size(); i += sjis::CharLength(line, i)) {
      if (sjis::CharLength(line, i) == 2) line[i + 1] = '\t';
    }
    const std::size_t a = at - lineStart;
    std::size_t s = a, e = a + 1;
    while (s > 0 && AddressChars::kChars.find(line[s - 1]) != std::string_view::npos) --s;
    while (e < line.size() && AddressChars::kChars.find(line[e]) != std::string_view::npos) ++e;
    if (a - s < 2 || e - a < 5) continue;
    const std::string address = line.substr(s, e - s);
    bool skip = false;
    for (const std::string& l : r.links) skip = skip || l == address;
    for (const std::string& o : own) skip = skip || sjis::EqualsIgnoreCase(o, address);
    if (!skip) r.links.push_back(address);
  }
  for (std::size_t i = 0; i < list.words.size(); ++i) {
    if (list.words[i].empty()) continue;
    const std::string w = sjis::FoldCase(list.words[i]);
    std::size_t pos = 0;
    for (std::size_t p; (p = sjis::Find(lower, w, pos)) != sjis::npos; pos = p + 1) {
      (list.categories[i] == 1 ? r.obsceneTerms : r.otherTerms).push_back(text.substr(p, w.size()));
      text.replace(p, w.size(), "\t");
      lower.replace(p, w.size(), "\t");
    }
  }
  return r;
}

}  // namespace velkor::testing
