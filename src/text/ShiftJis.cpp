#include "text/ShiftJis.h"

#include <algorithm>
#include <functional>

namespace velkor::sjis {
namespace {

constexpr unsigned char kFullWidthUpperA = 0x60;  // 0x82 0x60 = Ａ
constexpr unsigned char kFullWidthUpperZ = 0x79;  // 0x82 0x79 = Ｚ
constexpr unsigned char kFullWidthCaseShift = 0x21;  // Ａ 0x8260 -> ａ 0x8281

bool IsAsciiBlank(unsigned char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

// Folds the character at pos into out (same length); returns its length.
std::size_t FoldCharAt(std::string_view s, std::size_t pos, char* out) {
  const auto c = static_cast<unsigned char>(s[pos]);
  const std::size_t len = CharLength(s, pos);
  if (len == 1) {
    out[0] = (c >= 'A' && c <= 'Z') ? static_cast<char>(c + ('a' - 'A')) : s[pos];
    return 1;
  }
  const auto second = static_cast<unsigned char>(s[pos + 1]);
  out[0] = s[pos];
  out[1] = (c == 0x82 && second >= kFullWidthUpperA && second <= kFullWidthUpperZ)
               ? static_cast<char>(second + kFullWidthCaseShift)
               : s[pos + 1];
  return 2;
}

}  // namespace

bool IsLeadByte(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

bool IsTrailByte(unsigned char c) { return (c >= 0x40 && c <= 0x7E) || (c >= 0x80 && c <= 0xFC); }

bool IsWellFormed(std::string_view s) {
  for (std::size_t i = 0; i < s.size(); i += CharLength(s, i)) {
    if (!IsLeadByte(static_cast<unsigned char>(s[i]))) continue;
    if (i + 1 >= s.size() || !IsTrailByte(static_cast<unsigned char>(s[i + 1]))) return false;
  }
  return true;
}

std::size_t CharLength(std::string_view s, std::size_t pos) {
  if (pos + 1 < s.size() && IsLeadByte(static_cast<unsigned char>(s[pos]))) return 2;
  return 1;
}

bool IsCharBoundary(std::string_view s, std::size_t pos) {
  if (pos >= s.size()) return pos == s.size();
  return CharStart(s, pos) == pos;
}

std::size_t CharStart(std::string_view s, std::size_t pos) {
  if (pos >= s.size()) return s.size();
  // Walking back over a run of lead-byte-range bytes decides the parity
  // without scanning from the start of the text.
  std::size_t run = 0;
  while (run < pos && IsLeadByte(static_cast<unsigned char>(s[pos - run - 1]))) ++run;
  return (run % 2 == 1) ? pos - 1 : pos;
}

std::size_t Find(std::string_view hay, std::string_view needle, std::size_t from) {
  if (from > hay.size()) return npos;
  if (needle.empty()) return from;
  for (std::size_t pos = from; pos + needle.size() <= hay.size(); pos += CharLength(hay, pos)) {
    pos = hay.find(needle, pos);
    if (pos == npos) return npos;
    if (IsCharBoundary(hay, pos)) return pos;
    // pos is a second byte: continue from the start of the next character.
    pos = CharStart(hay, pos);
  }
  return npos;
}

std::size_t FindChar(std::string_view hay, char c, std::size_t from) {
  return Find(hay, std::string_view(&c, 1), from);
}

std::size_t FindAnyOf(std::string_view hay, std::string_view singleByteChars, std::size_t from) {
  for (std::size_t pos = from; pos < hay.size(); pos += CharLength(hay, pos)) {
    if (CharLength(hay, pos) == 1 && singleByteChars.find(hay[pos]) != npos) return pos;
  }
  return npos;
}

std::size_t FindIgnoreCase(std::string_view hay, std::string_view needle, std::size_t from) {
  // Folding keeps lengths and boundaries, so positions carry over.
  return Find(FoldCase(hay), FoldCase(needle), from);
}

std::size_t RFind(std::string_view hay, std::string_view needle, std::size_t before) {
  std::size_t best = npos;
  for (std::size_t pos = Find(hay, needle, 0); pos != npos && (before == npos || pos <= before);
       pos = Find(hay, needle, pos + CharLength(hay, pos))) {
    best = pos;
  }
  return best;
}

std::string FoldCase(std::string_view s) {
  std::string out(s.size(), '\0');
  for (std::size_t pos = 0; pos < s.size();) pos += FoldCharAt(s, pos, &out[pos]);
  return out;
}

bool EqualsIgnoreCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  char fa[2], fb[2];
  for (std::size_t pos = 0; pos < a.size();) {
    const std::size_t la = FoldCharAt(a, pos, fa);
    const std::size_t lb = FoldCharAt(b, pos, fb);
    if (la != lb || fa[0] != fb[0] || (la == 2 && fa[1] != fb[1])) return false;
    pos += la;
  }
  return true;
}

std::string AsciiLower(std::string_view s) {
  std::string out(s);
  std::transform(out.begin(), out.end(), out.begin(), [](char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + ('a' - 'A')) : c;
  });
  return out;
}

std::string Trim(std::string_view s) {
  std::size_t begin = 0, end = s.size();
  while (begin < end && IsAsciiBlank(static_cast<unsigned char>(s[begin]))) ++begin;
  // A blank byte after a lead byte is a second byte, not a blank; trail bytes of
  // Shift_JIS are 0x40 and above, so ASCII blanks never are.
  while (end > begin && IsAsciiBlank(static_cast<unsigned char>(s[end - 1]))) --end;
  return std::string(s.substr(begin, end - begin));
}

std::string TrimWithIdeographicSpace(std::string_view s) {
  std::size_t begin = 0, end = s.size();
  for (;;) {
    if (begin < end && IsAsciiBlank(static_cast<unsigned char>(s[begin]))) {
      ++begin;
    } else if (end - begin >= 2 && s.substr(begin, 2) == kIdeographicSpace) {
      begin += 2;
    } else {
      break;
    }
  }
  for (;;) {
    if (end > begin && IsAsciiBlank(static_cast<unsigned char>(s[end - 1]))) {
      --end;
    } else if (end - begin >= 2 && s.substr(end - 2, 2) == kIdeographicSpace &&
               CharStart(s.substr(0, end), end - 2) == end - 2) {
      end -= 2;
    } else {
      break;
    }
  }
  return std::string(s.substr(begin, end - begin));
}

std::string RemoveLineBreaksAndTabs(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  std::copy_if(s.begin(), s.end(), std::back_inserter(out),
               [](char c) { return c != '\r' && c != '\n' && c != '\t'; });
  return out;
}

std::string CleanUserText(std::string_view s) { return Trim(RemoveLineBreaksAndTabs(s)); }

std::vector<std::string> SplitLines(std::string_view s) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t pos = 0; pos < s.size(); ++pos) {
    if (s[pos] != '\r' && s[pos] != '\n') continue;
    lines.emplace_back(s.substr(start, pos - start));
    if (s[pos] == '\r' && pos + 1 < s.size() && s[pos + 1] == '\n') ++pos;
    start = pos + 1;
  }
  if (start < s.size()) lines.emplace_back(s.substr(start));
  return lines;
}

std::vector<std::string> Split(std::string_view s, char separator) {
  std::vector<std::string> fields;
  std::size_t start = 0;
  for (;;) {
    const std::size_t pos = FindChar(s, separator, start);
    if (pos == npos) {
      fields.emplace_back(s.substr(start));
      return fields;
    }
    fields.emplace_back(s.substr(start, pos - start));
    start = pos + 1;
  }
}

namespace {

bool IsNameChar(unsigned char lead, unsigned char second) {
  if (lead == 0x82) return second >= 0x4F;                     // full-width digits, Latin letters, hiragana
  if (lead == 0x83) return true;                               // katakana, Greek
  if (lead == 0x84) return second < 0x9F;                      // Cyrillic; box drawing follows
  if (lead == 0x88) return second >= 0x9F;                     // the kanji start at 0x889F
  if (lead >= 0x89 && lead <= 0x9F) return true;               // kanji
  if (lead >= 0xE0 && lead <= 0xEA) return true;               // kanji
  if (lead == 0xED || lead == 0xEE) return true;               // NEC-selected IBM kanji
  if (lead == 0xFA) return second >= 0x5C;                     // IBM kanji after the numerals and symbols
  return lead == 0xFB || lead == 0xFC;
}

}  // namespace

bool HasLetterOrDigit(std::string_view s) {
  for (std::size_t i = 0; i < s.size(); i += CharLength(s, i)) {
    const auto c = static_cast<unsigned char>(s[i]);
    if (CharLength(s, i) == 2) {
      if (IsNameChar(c, static_cast<unsigned char>(s[i + 1]))) return true;
    } else if ((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= 0xA6 && c <= 0xDF)) {
      return true;  // ASCII letters and digits, half-width katakana
    }
  }
  return false;
}

std::string TruncateChars(std::string_view s, std::size_t maxBytes) {
  if (s.size() <= maxBytes) return std::string(s);
  return std::string(s.substr(0, CharStart(s, maxBytes)));
}

std::size_t FoldedHash::operator()(std::string_view s) const {
  return std::hash<std::string>{}(FoldCase(s));
}

}  // namespace velkor::sjis
