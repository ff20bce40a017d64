#include "mail/KanjiConverter.h"

#include <cstdint>
#include <vector>

#include "text/ShiftJis.h"

namespace velkor {
namespace {

constexpr char kEsc = 0x1B;
constexpr char kShiftOut = 0x0E;
constexpr char kShiftIn = 0x0F;
constexpr unsigned char kSs2 = 0x8E;
constexpr unsigned char kSs3 = 0x8F;
// The geta mark stands for a character that has no Shift_JIS form or a
// broken multi-byte sequence, so nothing is silently lost.
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

// How well the 8-bit bytes fit one code: sequences that cannot occur count as
// errors, rare but valid characters (half-width katakana, unassigned rows,
// vendor extensions, the second kanji level) as small penalties.
struct Fit {
  int errors = 0;
  int penalty = 0;
  long Score() const { return static_cast<long>(errors) * 100 + penalty; }
};

// Walks the 8-bit characters of s. `measure` gives the length of the valid
// character at i (adding its penalty), or 0 when none starts there: an error,
// after which one byte is skipped.
template <typename Measure>
Fit MeasureFit(std::string_view s, Measure measure) {
  Fit fit;
  for (std::size_t i = 0; i < s.size();) {
    if (At(s, i) < 0x80) {
      ++i;
      continue;
    }
    const std::size_t len = measure(s, i, fit.penalty);
    if (len == 0) ++fit.errors;
    i += len == 0 ? 1 : len;
  }
  return fit;
}

std::size_t EucJpCharLength(std::string_view s, std::size_t i, int& penalty) {
  const unsigned char c = At(s, i);
  if (c == kSs2) {
    if (i + 1 >= s.size() || !InRange(At(s, i + 1), 0xA1, 0xDF)) return 0;
    penalty += 1;
    return 2;
  }
  if (c == kSs3) {
    if (i + 2 >= s.size() || !InRange(At(s, i + 1), 0xA1, 0xFE) || !InRange(At(s, i + 2), 0xA1, 0xFE))
      return 0;
    penalty += 4;
    return 3;
  }
  if (!InRange(c, 0xA1, 0xFE) || i + 1 >= s.size() || !InRange(At(s, i + 1), 0xA1, 0xFE)) return 0;
  const int row = c - 0xA0;
  if (row == 13) {
    penalty += 1;
  } else if ((row >= 9 && row <= 15) || row >= 85) {
    penalty += 2;
  } else if (row >= 48) {
    penalty += 1;
  }
  return 2;
}

std::size_t ShiftJisCharLength(std::string_view s, std::size_t i, int& penalty) {
  const unsigned char c = At(s, i);
  if (InRange(c, 0xA1, 0xDF)) {
    penalty += 1;
    return 1;
  }
  if (!sjis::IsLeadByte(c)) return 0;
  const unsigned char t = i + 1 < s.size() ? At(s, i + 1) : 0;
  if (!sjis::IsTrailByte(t)) return 0;
  if (c == 0x85 || c == 0x86 || c == 0xEB || c == 0xEC || c == 0xEF) {
    penalty += 2;
  } else if (InRange(c, 0xF0, 0xF9)) {
    penalty += 3;
  } else if (c == 0x87 || c == 0xED || c == 0xEE || c >= 0xFA) {
    penalty += 1;
  } else if (c >= 0x99 || (c == 0x98 && t >= 0x9F)) {
    penalty += 1;
  }
  return 2;
}

Fit FitEucJp(std::string_view s) { return MeasureFit(s, EucJpCharLength); }

Fit FitShiftJis(std::string_view s) { return MeasureFit(s, ShiftJisCharLength); }

bool HasEightBit(std::string_view s) {
  for (char c : s) {
    if (static_cast<unsigned char>(c) >= 0x80) return true;
  }
  return false;
}

// EUC-JP or Shift_JIS for the 8-bit bytes. A tie goes to Shift_JIS, the code
// page of the system the mails are read on.
KanjiCode GuessEightBit(std::string_view s) {
  if (!HasEightBit(s)) return KanjiCode::Ascii;
  return FitEucJp(s).Score() < FitShiftJis(s).Score() ? KanjiCode::EucJp : KanjiCode::ShiftJis;
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
      if (c == static_cast<unsigned char>(kEsc)) {
        JisSet set;
        const std::size_t len = MatchEscape(s, i, set);
        if (len != 0) {
          set_ = set;
          if (set == JisSet::Ascii) shiftedOut_ = false;
          i += len;
        } else {
          out.push_back(static_cast<char>(c));
          ++i;
        }
      } else if (c == static_cast<unsigned char>(kShiftOut)) {
        shiftedOut_ = true;
        ++i;
      } else if (c == static_cast<unsigned char>(kShiftIn) && shiftedOut_) {
        shiftedOut_ = false;
        ++i;
      } else if (c >= 0x80) {
        i += FeedEightBit(s, i, out);
      } else {
        i += FeedSevenBit(s, i, out);
      }
    }
  }

 private:
  std::size_t FeedEightBit(std::string_view s, std::size_t i, std::string& out) {
    const unsigned char c = At(s, i);
    if (eightBit_ != KanjiCode::EucJp) {
      // Shift_JIS is copied as it stands; a pair is kept together so that its
      // second byte is never read as JIS.
      const std::size_t len = sjis::CharLength(s, i);
      out.append(s.substr(i, len));
      return len;
    }
    const unsigned char next = i + 1 < s.size() ? At(s, i + 1) : 0;
    if (c == kSs2) {
      if (InRange(next, 0xA1, 0xDF)) {
        out.push_back(static_cast<char>(next));
        return 2;
      }
    } else if (c == kSs3) {
      if (InRange(next, 0xA1, 0xFE) && i + 2 < s.size() && InRange(At(s, i + 2), 0xA1, 0xFE)) return 3;
    } else if (InRange(c, 0xA1, 0xFE) && InRange(next, 0xA1, 0xFE)) {
      AppendJisPairAsShiftJis(c - 0x80, next - 0x80, out);
      return 2;
    }
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
    if (set_ == JisSet::Kanji) AppendJisPairAsShiftJis(c, next, out);
    // JIS X 0212 has no Shift_JIS form: the pair is dropped.
    return 2;
  }

  KanjiCode eightBit_;
  JisSet set_ = JisSet::Ascii;
  bool shiftedOut_ = false;
};

// ---- MIME encoded-words ----

enum class WordCharset { Unknown, Jis, EucJp, ShiftJis, Ascii };

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

KanjiCode KanjiConverter::Detect(std::string_view input) {
  if (HasJisShift(input)) return KanjiCode::Jis;
  return GuessEightBit(input);
}

}  // namespace velkor
