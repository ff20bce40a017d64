#pragma once
// Finds links, mail addresses and dictionary words in a mail text, and works
// out how the NG-word tool colours and lists them. Free of window code: the
// tool reads its rich-edit text, calls these, and applies the results.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "mail/MultiPatternMatcher.h"
#include "mail/SpamWordList.h"

namespace velkor {

struct DetectionResult {
  std::vector<std::string> links;         // links and addresses, as written, no duplicates
  std::vector<std::string> obsceneTerms;  // one entry per occurrence of a category-1 word
  std::vector<std::string> otherTerms;    // one entry per occurrence of any other word

  bool Empty() const { return links.empty() && obsceneTerms.empty() && otherTerms.empty(); }
};

// The 41 characters a link is made of after "http:" or "https:".
struct LinkChars {
  static constexpr std::string_view kChars = "abcdefghijklmnopqrstuvwxyz0123456789./-_~";
  static constexpr bool Contains(unsigned char c) {
    return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '.' || c == '/' || c == '-' ||
           c == '_' || c == '~';
  }
};

// Detection with one dictionary; the automaton over all words is built once
// and every text is then scanned once for all of them. Results equal those of
// searching the words one by one in file order, each occurrence replaced by a
// TAB before the next search (earlier words claim their text first).
class SpamDetector {
 public:
  explicit SpamDetector(const SpamWordList& list);

  DetectionResult Detect(std::string_view text, const std::vector<std::string>& ownAddresses) const;

 private:
  std::vector<std::string> foldedWords_;
  std::vector<bool> obscene_;
  MultiPatternMatcher matcher_;
};

// One run of detection without keeping the automaton.
DetectionResult DetectSpamContent(std::string_view text, const SpamWordList& list,
                                  const std::vector<std::string>& ownAddresses);

// ---- Colouring ----

enum class HighlightColour : std::uint8_t { Link, Obscene, Other };

// COLORREF-style 0x00BBGGRR: links blue, obscene terms red, other terms green.
constexpr std::uint32_t HighlightRgb(HighlightColour colour) {
  return colour == HighlightColour::Link ? 0x00FF0000u
         : colour == HighlightColour::Obscene ? 0x000000FFu
                                              : 0x00008000u;
}

struct HighlightRange {
  std::size_t start;
  std::size_t length;
  HighlightColour colour;
  bool operator==(const HighlightRange& o) const {
    return start == o.start && length == o.length && colour == o.colour;
  }
};

// Every occurrence (without regard to case, left to right without overlap per
// entry) of every entry of links, then obscene terms, then other terms, in
// `text`; where ranges of different colours overlap the later colour wins.
// The result is disjoint runs in byte positions, sorted by start.
std::vector<HighlightRange> ComputeHighlights(std::string_view text, const DetectionResult& result);

// ---- Word list merge ----

struct WordListMerge {
  std::vector<std::string> items;      // the list after the merge
  std::vector<std::size_t> selected;   // indices to select, ascending
  std::size_t firstAppended = static_cast<std::size_t>(-1);  // -1: nothing appended
};

// Obscene terms, then other terms, then links: an entry equal to an item
// (without regard to case) selects it, others are appended and selected.
WordListMerge MergeIntoWordList(const std::vector<std::string>& items, const DetectionResult& result);

}  // namespace velkor
