#pragma once
// The one place for Shift_JIS (code page 932) text operations. Every search and
// character test in the program goes through here so that a match never starts
// at the second byte of a double-byte character (second bytes can equal '@',
// '\\', '<', '>' and ASCII letters).

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace velkor::sjis {

constexpr std::size_t npos = std::string_view::npos;

// The Shift_JIS ideographic space U+3000.
constexpr std::string_view kIdeographicSpace = "\x81\x40";

// 0x81-0x9F and 0xE0-0xFC start a double-byte character.
bool IsLeadByte(unsigned char c);
// 0x40-0x7E and 0x80-0xFC can follow a lead byte.
bool IsTrailByte(unsigned char c);
// True when every lead byte is followed by a valid second byte.
bool IsWellFormed(std::string_view s);

// Bytes taken by the character at pos: 2 for a lead byte with a following
// byte, otherwise 1 (a lead byte at the very end stands alone).
std::size_t CharLength(std::string_view s, std::size_t pos);

// True when pos is the start of a character (or the end of s).
bool IsCharBoundary(std::string_view s, std::size_t pos);

// Start of the character that contains byte pos.
std::size_t CharStart(std::string_view s, std::size_t pos);

// Double-byte-aware searches; `from` must be a character boundary.
std::size_t Find(std::string_view hay, std::string_view needle, std::size_t from = 0);
std::size_t FindChar(std::string_view hay, char c, std::size_t from = 0);
std::size_t FindAnyOf(std::string_view hay, std::string_view singleByteChars, std::size_t from = 0);
std::size_t FindIgnoreCase(std::string_view hay, std::string_view needle, std::size_t from = 0);
// Last occurrence starting at or before `before` (npos: anywhere).
std::size_t RFind(std::string_view hay, std::string_view needle, std::size_t before = npos);

// Case folding of ASCII and full-width Latin letters only, to lower case.
// Folding keeps the byte length, so positions in the folded text match.
std::string FoldCase(std::string_view s);
bool EqualsIgnoreCase(std::string_view a, std::string_view b);
// Lower-cases ASCII letters only (for file and process names).
std::string AsciiLower(std::string_view s);

// Trims ASCII blanks (space, tab, CR, LF, VT, FF) from both ends.
std::string Trim(std::string_view s);
// Trims ASCII blanks and ideographic spaces from both ends.
std::string TrimWithIdeographicSpace(std::string_view s);
// Removes every CR, LF and TAB.
std::string RemoveLineBreaksAndTabs(std::string_view s);
// What every text entered by the user goes through: CR, LF and TAB removed, then trimmed.
std::string CleanUserText(std::string_view s);

// Splits at CRLF, LF or CR. A final line break does not add an empty line.
std::vector<std::string> SplitLines(std::string_view s);
// Splits at every occurrence of a single-byte separator; empty fields are kept.
std::vector<std::string> Split(std::string_view s, char separator);

// True when s holds a character that can carry a name or a number: an ASCII
// letter or digit, a half-width katakana, or a full-width digit, letter,
// kana or kanji. Blanks, punctuation and symbols (row 0x81 and the like) do not count.
bool HasLetterOrDigit(std::string_view s);

// Cuts s to at most maxBytes without splitting a double-byte character.
std::string TruncateChars(std::string_view s, std::size_t maxBytes);

// Hash and equality that ignore case as FoldCase does, for unordered containers.
struct FoldedHash {
  std::size_t operator()(std::string_view s) const;
};
struct FoldedEqual {
  bool operator()(std::string_view a, std::string_view b) const { return EqualsIgnoreCase(a, b); }
};

}  // namespace velkor::sjis
