#include "mail/SpamDetection.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>

#include "mail/AddressChars.h"
#include "text/ShiftJis.h"

namespace velkor {
namespace {

constexpr std::size_t npos = sjis::npos;
constexpr std::size_t kMinLinkChars = 6;
constexpr std::size_t kMinLocalPart = 2;
constexpr std::size_t kMinDomain = 4;

std::vector<std::string> FoldAll(const std::vector<std::string>& words) {
  std::vector<std::string> folded;
  folded.reserve(words.size());
  for (const std::string& w : words) folded.push_back(sjis::FoldCase(w));
  return folded;
}

std::vector<bool> ObsceneFlags(const SpamWordList& list) {
  std::vector<bool> flags(list.words.size(), false);
  for (std::size_t i = 0; i < flags.size() && i < list.categories.size(); ++i)
    flags[i] = list.categories[i] == kObsceneTerm;
  return flags;
}

void FindLinks(std::string_view text, std::string_view lower, DetectionResult& result,
               std::unordered_set<std::string>& foldedLinks) {
  for (std::string_view prefix : {std::string_view("http:"), std::string_view("https:")}) {
    std::size_t pos = 0;
    for (;;) {
      const std::size_t found = sjis::Find(lower, prefix, pos);
      if (found == npos) break;
      std::size_t end = found + prefix.size();
      while (end < lower.size() && LinkChars::Contains(static_cast<unsigned char>(lower[end]))) ++end;
      if (end - found >= prefix.size() + kMinLinkChars &&
          foldedLinks.insert(std::string(lower.substr(found, end - found))).second) {
        result.links.emplace_back(text.substr(found, end - found));
      }
      pos = end;
    }
  }
}

// The text with the second byte of every double-byte character replaced by a
// TAB, so that it never counts as an address character.
std::string MaskSecondBytes(std::string_view text) {
  std::string masked(text);
  for (std::size_t pos = 0; pos < masked.size();) {
    const std::size_t len = sjis::CharLength(masked, pos);
    if (len == 2) masked[pos + 1] = '\t';
    pos += len;
  }
  return masked;
}

void FindAddresses(std::string_view text, std::string_view lower,
                   const std::vector<std::string>& ownAddresses, DetectionResult& result) {
  std::unordered_set<std::string> own;
  for (const std::string& a : ownAddresses) own.insert(sjis::FoldCase(a));
  std::unordered_set<std::string> listed(result.links.begin(), result.links.end());
  const std::string masked = MaskSecondBytes(text);
  for (std::size_t at = sjis::FindChar(lower, '@'); at != npos; at = sjis::FindChar(lower, '@', at + 1)) {
    std::size_t start = at;
    while (start > 0 && AddressChars::Contains(static_cast<unsigned char>(masked[start - 1]))) --start;
    std::size_t end = at + 1;
    while (end < masked.size() && AddressChars::Contains(static_cast<unsigned char>(masked[end]))) ++end;
    if (at - start < kMinLocalPart || end - at - 1 < kMinDomain) continue;
    std::string address(text.substr(start, end - start));
    if (listed.count(address) != 0 || own.count(sjis::FoldCase(address)) != 0) continue;
    listed.insert(address);
    result.links.push_back(std::move(address));
  }
}

}  // namespace

SpamDetector::SpamDetector(const SpamWordList& list)
    : foldedWords_(FoldAll(list.words)), obscene_(ObsceneFlags(list)), matcher_(foldedWords_) {}

DetectionResult SpamDetector::Detect(std::string_view text,
                                     const std::vector<std::string>& ownAddresses) const {
  DetectionResult result;
  const std::string lower = sjis::FoldCase(text);
  std::unordered_set<std::string> foldedLinks;
  FindLinks(text, lower, result, foldedLinks);
  FindAddresses(text, lower, ownAddresses, result);

  // Occurrences arrive grouped by word in file order, each word's in text
  // order: exactly the order in which searching word by word claims them.
  std::vector<char> claimed(text.size(), 0);
  std::uint32_t currentWord = 0xFFFFFFFFu;
  std::size_t wordFreeFrom = 0;  // an occurrence of one word may not overlap the last one
  for (const MultiPatternMatcher::Occurrence& o : matcher_.FindAll(lower)) {
    if (o.pattern != currentWord) {
      currentWord = o.pattern;
      wordFreeFrom = 0;
    }
    const std::size_t len = matcher_.PatternLength(o.pattern);
    if (o.start < wordFreeFrom) continue;
    const auto first = claimed.begin() + o.start;
    if (std::find(first, first + len, 1) != first + len) continue;
    std::fill(first, first + len, 1);
    wordFreeFrom = o.start + len;
    (obscene_[o.pattern] ? result.obsceneTerms : result.otherTerms).emplace_back(text.substr(o.start, len));
  }
  return result;
}

DetectionResult DetectSpamContent(std::string_view text, const SpamWordList& list,
                                  const std::vector<std::string>& ownAddresses) {
  return SpamDetector(list).Detect(text, ownAddresses);
}

std::vector<HighlightRange> ComputeHighlights(std::string_view text, const DetectionResult& result) {
  const std::string lower = sjis::FoldCase(text);
  const std::vector<std::string>* groups[] = {&result.links, &result.obsceneTerms, &result.otherTerms};
  // Per byte, the last colour whose ranges cover it (0 = none).
  std::vector<std::uint8_t> paint(text.size(), 0);
  std::vector<int> depth(text.size() + 1);
  for (std::uint8_t g = 0; g < 3; ++g) {
    std::vector<std::string> entries;
    std::unordered_set<std::string> seen;
    for (const std::string& e : *groups[g]) {
      std::string folded = sjis::FoldCase(e);
      if (!folded.empty() && seen.insert(folded).second) entries.push_back(std::move(folded));
    }
    if (entries.empty()) continue;
    const MultiPatternMatcher matcher(entries);
    std::fill(depth.begin(), depth.end(), 0);
    std::uint32_t current = 0xFFFFFFFFu;
    std::size_t freeFrom = 0;
    for (const MultiPatternMatcher::Occurrence& o : matcher.FindAll(lower)) {
      if (o.pattern != current) {
        current = o.pattern;
        freeFrom = 0;
      }
      if (o.start < freeFrom) continue;
      freeFrom = o.start + matcher.PatternLength(o.pattern);
      ++depth[o.start];
      --depth[freeFrom];
    }
    int covered = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
      covered += depth[i];
      if (covered > 0) paint[i] = static_cast<std::uint8_t>(g + 1);
    }
  }
  std::vector<HighlightRange> ranges;
  for (std::size_t i = 0; i < paint.size();) {
    std::size_t j = i;
    while (j < paint.size() && paint[j] == paint[i]) ++j;
    if (paint[i] != 0)
      ranges.push_back(HighlightRange{i, j - i, static_cast<HighlightColour>(paint[i] - 1)});
    i = j;
  }
  return ranges;
}

WordListMerge MergeIntoWordList(const std::vector<std::string>& items, const DetectionResult& result) {
  WordListMerge merge;
  merge.items = items;
  std::unordered_map<std::string, std::size_t> byFolded;
  for (std::size_t i = 0; i < items.size(); ++i) byFolded.emplace(sjis::FoldCase(items[i]), i);
  std::vector<bool> selected(items.size(), false);
  for (const auto* group : {&result.obsceneTerms, &result.otherTerms, &result.links}) {
    for (const std::string& entry : *group) {
      auto [it, added] = byFolded.emplace(sjis::FoldCase(entry), merge.items.size());
      if (added) {
        if (merge.firstAppended == static_cast<std::size_t>(-1)) merge.firstAppended = merge.items.size();
        merge.items.push_back(entry);
        selected.push_back(false);
      }
      selected[it->second] = true;
    }
  }
  for (std::size_t i = 0; i < selected.size(); ++i) {
    if (selected[i]) merge.selected.push_back(i);
  }
  return merge;
}

}  // namespace velkor
