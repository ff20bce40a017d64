#include "mail/KanjiConverter.h"

#include <algorithm>
#include <cstdint>
#include <iterator>

#include "registry/CodePage932.h"
#include "text/ShiftJis.h"

namespace velkor {
namespace {

constexpr char kEsc = 0x1B;
constexpr char kShiftOut = 0x0E;
constexpr char kShiftIn = 0x0F;
constexpr unsigned char kSs2 = 0x8E;
constexpr unsigned char kSs3 = 0x8F;
// The geta mark stands for a broken multi-byte sequence (a lone lead byte, a
// cut escape), so nothing is silently lost and no stray byte reaches the
// output. A whole character that code page 932 lacks becomes "?" instead, as
// Windows' own conversion writes it.
constexpr std::string_view kSubstitute = "\x81\xAC";

unsigned char At(std::string_view s, std::size_t i) { return static_cast<unsigned char>(s[i]); }

bool InRange(unsigned char c, unsigned char lo, unsigned char hi) { return c >= lo && c <= hi; }

// Converts one JIS X 0208 pair (both 0x21-0x7E) into its Shift_JIS pair.
void AppendJisPairAsShiftJis(unsigned char c1, unsigned char c2, std::string& out) {
  const unsigned char s1 = static_cast<unsigned char>(((c1 + 1) >> 1) + (c1 <= 0x5E ? 0x70 : 0xB0));
  unsigned char s2;
  if (c1 & 1) {
    s2 = static_cast<unsigned char>(c2 + (c2 >= 0x60 ? 0x20 : 0x1F));
  } else {
    s2 = static_cast<unsigned char>(c2 + 0x7E);
  }
  out.push_back(static_cast<char>(s1));
  out.push_back(static_cast<char>(s2));
}

// JIS X 0212 characters that code page 932 has (the IBM extension kanji and
// two symbols), sorted by code.
struct X0212Entry {
  std::uint16_t jis;
  std::uint16_t unicode;
};
constexpr X0212Entry kX0212Table[] = {
#include "mail/KanjiConverterJisX0212.inc"
};

// A JIS X 0212 pair as Shift_JIS, "?" when code page 932 lacks it.
void AppendX0212(unsigned char c1, unsigned char c2, std::string& out) {
  const std::uint16_t code = static_cast<std::uint16_t>(c1 << 8 | c2);
  const auto* it = std::lower_bound(std::begin(kX0212Table), std::end(kX0212Table), code,
                                    [](const X0212Entry& e, std::uint16_t c) { return e.jis < c; });
  if (it == std::end(kX0212Table) || it->jis != code) {
    out.push_back('?');
    return;
  }
  out += cp932::FromUtf16(std::u16string(1, static_cast<char16_t>(it->unicode)));
}

// ---- Guessing the code of 8-bit bytes ----
//
// Each reading of the bytes collects flags for what it met, ordered by how
// unlikely the text is: a reading with a broken sequence loses to one without,
// then the smaller set of flags wins. Flags, not counts, so one rare character
// in a long text weighs no more than in a short one.
enum : unsigned {
  kLevel2 = 1,       // second-level kanji
  kKana = 2,         // half-width katakana
  kVendor = 4,       // NEC special characters (row 13)
  kIbm = 8,          // IBM extensions
  kX0212 = 16,       // JIS X 0212 (EUC-JP SS3)
  kUnassigned = 64,  // a code no character set assigns
};

struct Fit {
  std::size_t errors = 0;
  unsigned score = 0;
  bool BetterThan(const Fit& other) const {
    return errors != other.errors ? errors < other.errors : score < other.score;
  }
};

// Whether JIS X 0208 (with code page 932's row 13) assigns row/cell (1-94).
bool IsAssigned0208(int row, int cell) {
  struct Span {
    int row, first, last;
  };
  static constexpr Span kSpans[] = {
      {2, 1, 14},  {2, 26, 33}, {2, 42, 48}, {2, 60, 74}, {2, 82, 89}, {2, 94, 94}, {3, 16, 25}, {3, 33, 58},
      {3, 65, 90}, {4, 1, 83},  {5, 1, 86},  {6, 1, 24},  {6, 33, 56}, {7, 1, 33},  {7, 49, 81}, {8, 1, 32},
      {13, 1, 30}, {13, 32, 54}, {13, 63, 92}, {47, 1, 51}, {84, 1, 6},
  };
  if (row == 1 || (row >= 16 && row <= 83 && row != 47)) return true;
  for (const Span& span : kSpans) {
    if (span.row == row && cell >= span.first && cell <= span.last) return true;
  }
  return false;
}

// Flags of a JIS X 0208 row/cell as either 8-bit code reaches it.
unsigned ScoreOf0208(int row, int cell) {
  if (row >= 89 && row <= 92) return kIbm;  // NEC-selected IBM extensions
  if (!IsAssigned0208(row, cell)) return kUnassigned;
  if (row == 13) return kVendor;
  return row >= 48 ? kLevel2 : 0u;
}

std::size_t EucJpCharLength(std::string_view s, std::size_t i, unsigned& score) {
  const unsigned char c = At(s, i);
  const unsigned char next = i + 1 < s.size() ? At(s, i + 1) : 0;
  if (c == kSs2) {
    if (!InRange(next, 0xA1, 0xDF)) return 0;
    score |= kKana;
    return 2;
  }
  if (c == kSs3) {
    if (!InRange(next, 0xA1, 0xFE) || i + 2 >= s.size() || !InRange(At(s, i + 2), 0xA1, 0xFE)) return 0;
    score |= kX0212;
    return 3;
  }
  if (!InRange(c, 0xA1, 0xFE) || !InRange(next, 0xA1, 0xFE)) return 0;
  score |= ScoreOf0208(c - 0xA0, next - 0xA0);
  return 2;
}

std::size_t ShiftJisCharLength(std::string_view s, std::size_t i, unsigned& score) {
  const unsigned char c = At(s, i);
  if (InRange(c, 0xA1, 0xDF)) {
    score |= kKana;
    return 1;
  }
  const unsigned char t = i + 1 < s.size() ? At(s, i + 1) : 0;
  if (!sjis::IsLeadByte(c) || !sjis::IsTrailByte(t)) return 0;
  if (c == 0xFC && t > 0x4B) return 0;  // past the last IBM extension
  if (InRange(c, 0xF0, 0xF9)) {
    score |= kUnassigned;  // user-defined area
  } else if (c >= 0xFA) {
    score |= kIbm;
  } else {
    // Back to the JIS bytes, then to row and cell (1-94).
    int j1 = (c <= 0x9F ? c - 0x70 : c - 0xB0) * 2 - 1;
    int j2 = t - (t >= 0x80 ? 0x20 : 0x1F);
    if (t >= 0x9F) {
      ++j1;
      j2 = t - 0x7E;
    }
    score |= ScoreOf0208(j1 - 0x20, j2 - 0x20);
  }
  return 2;
}

// Value of a UTF-8 sequence that is well built but names no character: an
// overlong form, a surrogate, or past U+10FFFF.
constexpr char32_t kBadUtf8 = 0xFFFFFFFF;

// Length of the UTF-8 sequence at i (a lead byte and its continuation bytes),
// 0 when none starts there. cp receives its value, or kBadUtf8.
std::size_t Utf8CharLength(std::string_view s, std::size_t i, char32_t& cp) {
  const unsigned char c = At(s, i);
  std::size_t len;
  char32_t min;
  if (InRange(c, 0xC0, 0xDF)) {
    len = 2, min = 0x80, cp = c & 0x1F;
  } else if (InRange(c, 0xE0, 0xEF)) {
    len = 3, min = 0x800, cp = c & 0x0F;
  } else if (InRange(c, 0xF0, 0xF7)) {
    len = 4, min = 0x10000, cp = c & 0x07;
  } else {
    return 0;
  }
  if (i + len > s.size()) return 0;
  for (std::size_t k = 1; k < len; ++k) {
    const unsigned char t = At(s, i + k);
    if ((t & 0xC0) != 0x80) return 0;
    cp = cp << 6 | (t & 0x3F);
  }
  if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) cp = kBadUtf8;
  return len;
}

bool IsUtf8Continuation(unsigned char c) { return (c & 0xC0) == 0x80; }

std::size_t Utf8Length(std::string_view s, std::size_t i, unsigned& score) {
  char32_t cp;
  const std::size_t len = Utf8CharLength(s, i, cp);
  if (cp == kBadUtf8) score |= kUnassigned;
  return len;
}

// Walks the 8-bit characters of s. `measure` gives the length of the valid
// character at i (adding its flags), or 0 when none starts there: an error,
// after which one byte is skipped (for UTF-8, with the continuation bytes
// that follow it, so a cut character counts once).
template <typename Measure>
Fit MeasureFit(std::string_view s, Measure measure, bool utf8 = false) {
  Fit fit;
  for (std::size_t i = 0; i < s.size();) {
    if (At(s, i) < 0x80) {
      ++i;
      continue;
    }
    const std::size_t len = measure(s, i, fit.score);
    if (len != 0) {
      i += len;
      continue;
    }
    ++fit.errors;
    ++i;
    while (utf8 && i < s.size() && IsUtf8Continuation(At(s, i))) ++i;
  }
  return fit;
}

bool HasEightBit(std::string_view s) {
  return std::any_of(s.begin(), s.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
}

// UTF-8, Shift_JIS or EUC-JP for the 8-bit bytes, in that order on a tie:
// well-formed UTF-8 is hardly ever an accident, and Shift_JIS is the code
// page of the system the mails are read on.
KanjiCode GuessEightBit(std::string_view s) {
  if (!HasEightBit(s)) return KanjiCode::Ascii;
  const Fit utf8 = MeasureFit(s, Utf8Length, true);
  const Fit sjis = MeasureFit(s, ShiftJisCharLength);
  const Fit euc = MeasureFit(s, EucJpCharLength);
  if (!sjis.BetterThan(utf8) && !euc.BetterThan(utf8)) return KanjiCode::Utf8;
  return euc.BetterThan(sjis) ? KanjiCode::EucJp : KanjiCode::ShiftJis;
}

enum class JisSet { Ascii, Kanji, Kana, Supplementary };

// Length of the ISO-2022-JP escape sequence at i and the set it selects;
// 0 when the bytes there are no known sequence.
std::size_t MatchEscape(std::string_view s, std::size_t i, JisSet& set) {
  struct Sequence {
    std::string_view bytes;
    JisSet set;
  };
  static constexpr Sequence kSequences[] = {
      {"\x1B$B", JisSet::Kanji},          {"\x1B$@", JisSet::Kanji},
      {"\x1B$(B", JisSet::Kanji},         {"\x1B$(@", JisSet::Kanji},
      {"\x1B$(Q", JisSet::Kanji},         {"\x1B$(O", JisSet::Kanji},
      {"\x1B$(D", JisSet::Supplementary}, {"\x1B(B", JisSet::Ascii},
      {"\x1B(J", JisSet::Ascii},          {"\x1B(H", JisSet::Ascii},
      {"\x1B(I", JisSet::Kana},
  };
  const std::string_view rest = s.substr(i);
  for (const Sequence& seq : kSequences) {
    if (rest.substr(0, seq.bytes.size()) == seq.bytes) {
      set = seq.set;
      return seq.bytes.size();
    }
  }
  return 0;
}

bool HasJisShift(std::string_view s) {
  JisSet unused;
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (s[i] == kShiftOut) return true;
    if (s[i] == kEsc && MatchEscape(s, i, unused) != 0) return true;
  }
  return false;
}

// Stateful decoder: the ISO-2022-JP shift state carries over between the
// pieces fed to it; 8-bit bytes are read as the given code.
class Decoder {
 public:
  explicit Decoder(KanjiCode eightBit) : eightBit_(eightBit) {}

  void Feed(std::string_view s, std::string& out) {
    for (std::size_t i = 0; i < s.size();) {
      const unsigned char c = At(s, i);
      if (c >= 0x80) {
        i += FeedEightBit(s, i, out);
        continue;
      }
      if (!unicode_.empty() && IsPlainAscii(c)) {
        // ASCII inside UTF-8 text joins the run, so a mixed text is converted
        // in few calls.
        unicode_ += static_cast<char16_t>(c);
        ++i;
        continue;
      }
      FlushUnicode(out);
      if (c == static_cast<unsigned char>(kEsc)) {
        JisSet set;
        const std::size_t len = MatchEscape(s, i, set);
        if (len != 0) {
          set_ = set;
          if (set == JisSet::Ascii) shiftedOut_ = false;
          i += len;
        } else {
          // An escape that selects nothing known: dropped with its
          // introducer, so no terminal control reaches a rule.
          ++i;
        }
      } else if (c == static_cast<unsigned char>(kShiftOut)) {
        shiftedOut_ = true;
        ++i;
      } else if (c == static_cast<unsigned char>(kShiftIn) && shiftedOut_) {
        shiftedOut_ = false;
        ++i;
      } else {
        i += FeedSevenBit(s, i, out);
      }
    }
    FlushUnicode(out);
  }

 private:
  std::size_t FeedEightBit(std::string_view s, std::size_t i, std::string& out) {
    const unsigned char c = At(s, i);
    const unsigned char next = i + 1 < s.size() ? At(s, i + 1) : 0;
    switch (eightBit_) {
      case KanjiCode::Utf8: {
        char32_t cp;
        std::size_t len = Utf8CharLength(s, i, cp);
        if (len == 0 || cp == kBadUtf8) {
          // One mark for the whole broken sequence.
          if (len == 0) {
            len = 1;
            while (len < 4 && i + len < s.size() && IsUtf8Continuation(At(s, i + len))) ++len;
          }
          FlushUnicode(out);
          out.append(kSubstitute);
          return len;
        }
        if (cp >= 0x10000) {
          cp -= 0x10000;
          unicode_ += static_cast<char16_t>(0xD800 + (cp >> 10));
          unicode_ += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
        } else if (cp != 0xFEFF) {  // a byte-order mark is no text
          unicode_ += static_cast<char16_t>(cp);
        }
        return len;
      }
      case KanjiCode::EucJp:
        if (c == kSs2 && InRange(next, 0xA1, 0xDF)) {
          out.push_back(static_cast<char>(next));
          return 2;
        }
        if (c == kSs3 && InRange(next, 0xA1, 0xFE) && i + 2 < s.size() && InRange(At(s, i + 2), 0xA1, 0xFE)) {
          AppendX0212(next - 0x80, At(s, i + 2) - 0x80, out);
          return 3;
        }
        if (InRange(c, 0xA1, 0xFE) && InRange(next, 0xA1, 0xFE)) {
          AppendJisPairAsShiftJis(c - 0x80, next - 0x80, out);
          return 2;
        }
        break;
      default:
        // Shift_JIS is copied as it stands; a pair is kept together so that
        // its second byte is never read as JIS.
        if (InRange(c, 0xA1, 0xDF)) {
          out.push_back(static_cast<char>(c));
          return 1;
        }
        if (sjis::IsLeadByte(c) && sjis::IsTrailByte(next)) {
          out.append(s.substr(i, 2));
          return 2;
        }
        break;
    }
    FlushUnicode(out);
    out.append(kSubstitute);
    return 1;
  }

  std::size_t FeedSevenBit(std::string_view s, std::size_t i, std::string& out) {
    const unsigned char c = At(s, i);
    const bool graphic = InRange(c, 0x21, 0x7E);
    if (!graphic || (set_ == JisSet::Ascii && !shiftedOut_)) {
      out.push_back(static_cast<char>(c));
      return 1;
    }
    if (shiftedOut_ || set_ == JisSet::Kana) {
      if (c <= 0x5F) {
        out.push_back(static_cast<char>(c + 0x80));
      } else {
        out.append(kSubstitute);
      }
      return 1;
    }
    const unsigned char next = i + 1 < s.size() ? At(s, i + 1) : 0;
    if (!InRange(next, 0x21, 0x7E)) {
      out.append(kSubstitute);
      return 1;
    }
    if (set_ == JisSet::Kanji) {
      AppendJisPairAsShiftJis(c, next, out);
    } else {
      AppendX0212(c, next, out);
    }
    return 2;
  }

  bool IsPlainAscii(unsigned char c) const {
    return set_ == JisSet::Ascii && !shiftedOut_ && c != static_cast<unsigned char>(kEsc) &&
           c != static_cast<unsigned char>(kShiftOut);
  }

  // UTF-8 text is gathered as UTF-16 and converted a run at a time.
  void FlushUnicode(std::string& out) {
    if (unicode_.empty()) return;
    out += cp932::FromUtf16(unicode_);
    unicode_.clear();
  }

  KanjiCode eightBit_;
  JisSet set_ = JisSet::Ascii;
  bool shiftedOut_ = false;
  std::u16string unicode_;
};

// ---- MIME encoded-words ----

enum class WordCharset { Unknown, Jis, EucJp, ShiftJis, Utf8, Ascii };

WordCharset CharsetOf(std::string_view name) {
  std::string lower = sjis::AsciiLower(name);
  // RFC 2231 language suffix: "iso-2022-jp*ja".
  const std::size_t star = lower.find('*');
  if (star != std::string::npos) lower.resize(star);
  if (lower == "iso-2022-jp" || lower == "iso-2022-jp-2" || lower == "iso-2022-jp-3" ||
      lower == "csiso2022jp")
    return WordCharset::Jis;
  if (lower == "euc-jp" || lower == "x-euc-jp" || lower == "eucjp" || lower == "cseucpkdfmtjapanese")
    return WordCharset::EucJp;
  if (lower == "shift_jis" || lower == "shift-jis" || lower == "sjis" || lower == "x-sjis" ||
      lower == "cp932" || lower == "windows-31j" || lower == "ms932" || lower == "csshiftjis")
    return WordCharset::ShiftJis;
  if (lower == "utf-8" || lower == "utf8") return WordCharset::Utf8;
  if (lower == "us-ascii") return WordCharset::Ascii;
  return WordCharset::Unknown;
}

int Base64Value(unsigned char c) {
  if (c >= 'A' && c <= 'Z') return c - 'A';
  if (c >= 'a' && c <= 'z') return c - 'a' + 26;
  if (c >= '0' && c <= '9') return c - '0' + 52;
  if (c == '+') return 62;
  if (c == '/') return 63;
  return -1;
}

bool DecodeBase64(std::string_view in, std::string& out) {
  std::uint32_t bits = 0;
  int count = 0;
  std::size_t end = in.size();
  while (end > 0 && in[end - 1] == '=') --end;
  if (in.size() - end > 2) return false;
  for (std::size_t i = 0; i < end; ++i) {
    const int v = Base64Value(static_cast<unsigned char>(in[i]));
    if (v < 0) return false;
    bits = (bits << 6) | static_cast<std::uint32_t>(v);
    count += 6;
    if (count >= 8) {
      count -= 8;
      out.push_back(static_cast<char>((bits >> count) & 0xFF));
    }
  }
  return true;
}

int HexValue(unsigned char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

void DecodeQ(std::string_view in, std::string& out) {
  for (std::size_t i = 0; i < in.size(); ++i) {
    const char c = in[i];
    if (c == '_') {
      out.push_back(' ');
    } else if (c == '=' && i + 2 < in.size() &&
               HexValue(static_cast<unsigned char>(in[i + 1])) >= 0 &&
               HexValue(static_cast<unsigned char>(in[i + 2])) >= 0) {
      out.push_back(static_cast<char>(HexValue(static_cast<unsigned char>(in[i + 1])) * 16 +
                                      HexValue(static_cast<unsigned char>(in[i + 2]))));
      i += 2;
    } else {
      out.push_back(c);
    }
  }
}

struct EncodedWord {
  std::size_t end = 0;  // one past "?="
  WordCharset charset = WordCharset::Unknown;
  std::string bytes;  // decoded, still in the word's character set
};

bool IsTokenChar(unsigned char c) { return c > 0x20 && c < 0x7F && c != '?'; }

// Parses "=?charset?B|Q?text?=" at i. False when the bytes there are not a
// well-formed word of a character set that can be decoded.
bool ParseEncodedWord(std::string_view s, std::size_t i, EncodedWord& word) {
  if (s.substr(i, 2) != "=?") return false;
  std::size_t p = i + 2;
  const std::size_t charsetStart = p;
  while (p < s.size() && IsTokenChar(At(s, p))) ++p;
  if (p == charsetStart || p + 2 >= s.size() || s[p] != '?' || s[p + 2] != '?') return false;
  const char encoding = s[p + 1];
  const std::size_t textStart = p + 3;
  std::size_t q = textStart;
  while (q < s.size() && IsTokenChar(At(s, q))) ++q;
  if (q + 1 >= s.size() || s[q] != '?' || s[q + 1] != '=') return false;
  word.charset = CharsetOf(s.substr(charsetStart, p - charsetStart));
  if (word.charset == WordCharset::Unknown) return false;
  const std::string_view text = s.substr(textStart, q - textStart);
  word.bytes.clear();
  if (encoding == 'B' || encoding == 'b') {
    if (!DecodeBase64(text, word.bytes)) return false;
  } else if (encoding == 'Q' || encoding == 'q') {
    DecodeQ(text, word.bytes);
  } else {
    return false;
  }
  word.end = q + 2;
  return true;
}

void ConvertWordBytes(WordCharset charset, std::string_view bytes, std::string& out) {
  switch (charset) {
    case WordCharset::EucJp:
      Decoder(KanjiCode::EucJp).Feed(bytes, out);
      break;
    case WordCharset::Jis:
      Decoder(GuessEightBit(bytes)).Feed(bytes, out);
      break;
    case WordCharset::Utf8:
      Decoder(KanjiCode::Utf8).Feed(bytes, out);
      break;
    default:
      Decoder(KanjiCode::ShiftJis).Feed(bytes, out);
      break;
  }
}

bool IsFoldingBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::string ConvertWithMime(std::string_view input) {
  std::string out;
  out.reserve(input.size() + input.size() / 4);
  Decoder plain(GuessEightBit(input));
  std::size_t plainStart = 0;
  for (std::size_t i = 0; i + 1 < input.size();) {
    EncodedWord word;
    if (!(input[i] == '=' && input[i + 1] == '?') || !ParseEncodedWord(input, i, word)) {
      ++i;
      continue;
    }
    plain.Feed(input.substr(plainStart, i - plainStart), out);
    // Adjacent words are joined (the blanks between them dropped) and words of
    // one character set are converted together: some mailers split a JIS
    // shift sequence over two words.
    WordCharset charset = word.charset;
    std::string run = std::move(word.bytes);
    std::size_t end = word.end;
    for (;;) {
      std::size_t next = end;
      while (next < input.size() && IsFoldingBlank(input[next])) ++next;
      EncodedWord following;
      if (!ParseEncodedWord(input, next, following)) break;
      if (following.charset != charset) {
        ConvertWordBytes(charset, run, out);
        run.clear();
        charset = following.charset;
      }
      run += following.bytes;
      end = following.end;
    }
    ConvertWordBytes(charset, run, out);
    i = plainStart = end;
  }
  plain.Feed(input.substr(plainStart), out);
  return out;
}

}  // namespace

bool KanjiConverter::SetOptions(std::string_view options) {
  bool mime = false;
  for (char c : options) {
    if (c == 'm') {
      mime = true;
    } else if (c != 's') {
      return false;
    }
  }
  decodeMime_ = mime;
  return true;
}

std::string KanjiConverter::Convert(std::string_view input) const {
  if (decodeMime_) return ConvertWithMime(input);
  std::string out;
  out.reserve(input.size() + input.size() / 4);
  Decoder(GuessEightBit(input)).Feed(input, out);
  return out;
}

std::string KanjiConverter::ToShiftJis(std::string_view input, bool decodeMime) {
  KanjiConverter converter;
  converter.SetOptions(decodeMime ? "sm" : "s");
  return converter.Convert(input);
}

std::string KanjiConverter::ToShiftJisFrom(std::string_view input, KanjiCode eightBit) {
  std::string out;
  out.reserve(input.size() + input.size() / 4);
  Decoder(eightBit == KanjiCode::Ascii || eightBit == KanjiCode::Jis ? GuessEightBit(input) : eightBit)
      .Feed(input, out);
  return out;
}

KanjiCode KanjiConverter::Detect(std::string_view input) {
  if (HasJisShift(input)) return KanjiCode::Jis;
  return GuessEightBit(input);
}

}  // namespace velkor
