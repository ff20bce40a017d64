#include "message/MailText.h"

#include <algorithm>
#include <cstdint>
#include <map>

#include "mail/KanjiConverter.h"
#include "registry/CodePage932.h"

namespace velkor {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
bool IsEightBit(char c) { return static_cast<unsigned char>(c) >= 0x80; }
char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

std::string LowerAscii(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = Lower(c);
  return out;
}

bool EqualsIgnoreCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return Lower(x) == Lower(y); });
}

std::string_view TrimView(std::string_view s) {
  while (!s.empty() && IsSpace(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsSpace(s.back())) s.remove_suffix(1);
  return s;
}

// Bytes that make a text more than plain ASCII: 8-bit bytes, or the escape of
// a JIS shift.
bool NeedsConversion(std::string_view s) {
  return std::any_of(s.begin(), s.end(), [](char c) { return IsEightBit(c) || c == '\x1B' || c == '\x0E'; });
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

int Base64Value(char c) {
  if (c >= 'A' && c <= 'Z') return c - 'A';
  if (c >= 'a' && c <= 'z') return c - 'a' + 26;
  if (c >= '0' && c <= '9') return c - '0' + 52;
  if (c == '+') return 62;
  if (c == '/') return 63;
  return -1;
}

// ---- encoded-words (RFC 2047) ----

constexpr std::size_t kMaxCharsetName = 64;

bool IsWordChar(char c) { return c > 0x20 && c < 0x7F && c != '?'; }

struct EncodedWord {
  std::string_view charset;
  std::string bytes;
  std::size_t end = 0;  // one past "?="
};

// "=?charset?B|Q?text?=" at i. Every scan stops at the next '?', so trying
// each "=?" of a text costs no more than reading it once.
bool ParseEncodedWord(std::string_view s, std::size_t i, EncodedWord& word) {
  if (i + 1 >= s.size() || s[i] != '=' || s[i + 1] != '?') return false;
  std::size_t p = i + 2;
  while (p < s.size() && IsWordChar(s[p]) && p - i - 2 <= kMaxCharsetName) ++p;
  if (p == i + 2 || p - i - 2 > kMaxCharsetName || p + 2 >= s.size() || s[p] != '?' || s[p + 2] != '?') return false;
  const char encoding = Lower(s[p + 1]);
  if (encoding != 'b' && encoding != 'q') return false;
  const std::size_t textStart = p + 3;
  std::size_t q = textStart;
  while (q < s.size() && IsWordChar(s[q])) ++q;
  if (q + 1 >= s.size() || s[q] != '?' || s[q + 1] != '=') return false;
  word.charset = s.substr(i + 2, p - i - 2);
  word.bytes.clear();
  const std::string_view text = s.substr(textStart, q - textStart);
  if (encoding == 'b') {
    DecodeBase64(text, word.bytes);
  } else {
    for (std::size_t k = 0; k < text.size(); ++k) {
      if (text[k] == '_') {
        word.bytes += ' ';
      } else if (text[k] == '=' && k + 2 < text.size() + 0 && HexValue(text[k + 1]) >= 0 && HexValue(text[k + 2]) >= 0) {
        word.bytes += static_cast<char>(HexValue(text[k + 1]) * 16 + HexValue(text[k + 2]));
        k += 2;
      } else {
        word.bytes += text[k];
      }
    }
  }
  word.end = q + 2;
  return true;
}

bool SameCharset(std::string_view a, std::string_view b) { return EqualsIgnoreCase(a, b); }

// ---- address lists ----

struct AddressScan {
  std::string phrase;   // words outside angle brackets, quotes removed, blanks collapsed
  std::string bare;     // the same as written (quotes kept), for a mailbox without brackets
  std::string angle;    // inside angle brackets, blanks and comments dropped
  std::string comment;  // the first comment, the name of "a@b (Name)"
  bool sawAngle = false;
  bool inAngle = false;

  void Blank() {
    if (!phrase.empty() && phrase.back() != ' ') phrase += ' ';
    if (!bare.empty() && bare.back() != ' ') bare += ' ';
  }
  void Add(std::string_view bytes) {
    if (inAngle) {
      angle += bytes;
    } else {
      phrase += bytes;
      bare += bytes;
    }
  }
  void Finish(std::vector<MailAddress>& out) {
    MailAddress a;
    if (sawAngle) {
      a.address = std::string(TrimView(angle));
      a.display = DecodeHeaderText(TrimView(phrase));
    } else {
      a.address = std::string(TrimView(bare));
      a.display = DecodeHeaderText(TrimView(comment));
      // Addresses a mailer forgot the commas between ("a@x b@y", often on
      // either side of a fold): each is one.
      std::vector<std::string> pieces;
      std::size_t start = 0;
      while (start < a.address.size()) {
        const std::size_t blank = std::min(a.address.find(' ', start), a.address.size());
        const std::string piece = a.address.substr(start, blank - start);
        if (piece.find('@') != std::string::npos && piece.find('"') == std::string::npos) pieces.push_back(piece);
        start = blank + 1;
      }
      if (pieces.size() > 1) {
        for (std::string& p : pieces) out.push_back({{}, std::move(p)});
        *this = AddressScan();
        return;
      }
    }
    if (!a.address.empty()) out.push_back(std::move(a));
    *this = AddressScan();
  }
};

// The end of a JIS double-byte run that starts with ESC at i (one past the
// escape that leaves it), so that its bytes are never read as specials.
std::size_t SkipJisRun(std::string_view s, std::size_t i) {
  if (i + 1 >= s.size() || s[i + 1] != '$') return i + 1;
  std::size_t j = s.find('\x1B', i + 2);
  if (j == std::string_view::npos) return s.size();
  return std::min(s.size(), j + 3);
}

}  // namespace

void DecodeBase64(std::string_view text, std::string& out) {
  std::uint32_t bits = 0;
  int count = 0;
  for (char c : text) {
    if (c == '=') {
      // Padding ends a group; what follows it starts afresh (some mailers
      // join padded pieces).
      bits = 0;
      count = 0;
      continue;
    }
    const int v = Base64Value(c);
    if (v < 0) continue;  // line breaks and garbage
    bits = (bits << 6) | static_cast<std::uint32_t>(v);
    count += 6;
    if (count >= 8) {
      count -= 8;
      out += static_cast<char>((bits >> count) & 0xFF);
    }
  }
}

void DecodeQuotedPrintable(std::string_view text, std::string& out) {
  out.reserve(out.size() + text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c != '=') {
      out += c;
      continue;
    }
    if (i + 2 < text.size() + 0 && HexValue(text[i + 1]) >= 0 && HexValue(text[i + 2]) >= 0) {
      out += static_cast<char>(HexValue(text[i + 1]) * 16 + HexValue(text[i + 2]));
      i += 2;
      continue;
    }
    // A soft line break: "=" with blanks, then the line end.
    std::size_t j = i + 1;
    while (j < text.size() && IsBlank(text[j])) ++j;
    if (j < text.size() && (text[j] == '\r' || text[j] == '\n')) {
      if (text[j] == '\r' && j + 1 < text.size() && text[j + 1] == '\n') ++j;
      i = j;
    } else if (j == text.size()) {
      i = j;
    } else {
      out += c;
    }
  }
}

const std::string* MailHeader::Find(std::string_view name) const {
  for (const MailHeaderField& f : fields)
    if (EqualsIgnoreCase(f.name, name)) return &f.value;
  return nullptr;
}

std::vector<const std::string*> MailHeader::FindAll(std::string_view name) const {
  std::vector<const std::string*> out;
  for (const MailHeaderField& f : fields)
    if (EqualsIgnoreCase(f.name, name)) out.push_back(&f.value);
  return out;
}

MailHeader ReadMailHeader(std::string_view raw) {
  MailHeader header;
  std::size_t pos = 0;
  if (raw.substr(0, 5) == "From ") {
    const std::size_t eol = raw.find('\n');
    pos = eol == std::string_view::npos ? raw.size() : eol + 1;
  }
  header.bodyStart = raw.size();
  while (pos < raw.size()) {
    std::size_t end = raw.find_first_of("\r\n", pos);
    std::size_t next;
    if (end == std::string_view::npos) {
      end = next = raw.size();
    } else {
      next = end + (raw[end] == '\r' && end + 1 < raw.size() && raw[end + 1] == '\n' ? 2 : 1);
    }
    const std::string_view line = raw.substr(pos, end - pos);
    if (line.empty()) {
      header.bodyStart = next;
      return header;
    }
    if (IsBlank(line.front())) {
      // A fold with a TAB reads as a blank, as with a blank.
      if (!header.fields.empty()) {
        header.fields.back().value += ' ';
        header.fields.back().value += line.substr(1);
      }
      pos = next;
      continue;
    }
    std::size_t nameEnd = 0;
    while (nameEnd < line.size() && line[nameEnd] > 0x20 && line[nameEnd] < 0x7F && line[nameEnd] != ':') ++nameEnd;
    std::size_t colon = nameEnd;
    while (colon < line.size() && IsBlank(line[colon])) ++colon;
    if (nameEnd == 0 || colon >= line.size() || line[colon] != ':') {
      header.bodyStart = pos;  // not a field: the body begins here
      return header;
    }
    std::size_t valueStart = colon + 1;
    while (valueStart < line.size() && IsBlank(line[valueStart])) ++valueStart;
    header.fields.push_back({line.substr(0, nameEnd), std::string(line.substr(valueStart))});
    pos = next;
  }
  return header;
}

std::string DecodeCharsetText(std::string_view bytes, std::string_view charset) {
  std::string name = LowerAscii(TrimView(charset));
  if (const std::size_t star = name.find('*'); star != std::string::npos) name.resize(star);
  if (!name.empty() && name.front() == '"') name.erase(0, 1);
  if (!name.empty() && name.back() == '"') name.pop_back();
  if (!NeedsConversion(bytes)) return std::string(bytes);
  if (name.rfind("iso-2022-jp", 0) == 0 || name == "csiso2022jp") return KanjiConverter::ToShiftJis(bytes);
  if (name == "euc-jp" || name == "x-euc-jp" || name == "eucjp" || name == "cseucpkdfmtjapanese")
    return KanjiConverter::ToShiftJisFrom(bytes, KanjiCode::EucJp);
  if (name == "shift_jis" || name == "shift-jis" || name == "sjis" || name == "x-sjis" || name == "cp932" ||
      name == "windows-31j" || name == "ms932" || name == "csshiftjis" || name == "ms_kanji")
    return KanjiConverter::ToShiftJisFrom(bytes, KanjiCode::ShiftJis);
  if (name == "utf-8" || name == "utf8") return KanjiConverter::ToShiftJisFrom(bytes, KanjiCode::Utf8);
  cp932::Charset set;
  // A text declared US-ASCII that holds 8-bit bytes was mislabelled: guessed.
  if (name != "us-ascii" && name != "ascii" && cp932::FindCharset(name, set)) return cp932::FromCharset(bytes, set);
  return KanjiConverter::ToShiftJis(bytes);
}

std::string DecodeHeaderText(std::string_view value) {
  std::string out;
  out.reserve(value.size());
  std::size_t plainStart = 0;
  std::size_t i = value.find("=?");
  while (i != std::string_view::npos) {
    EncodedWord word;
    if (!ParseEncodedWord(value, i, word)) {
      i = value.find("=?", i + 1);
      continue;
    }
    out += DecodeCharsetText(value.substr(plainStart, i - plainStart), {});
    // Adjacent words: the blanks between them dropped, the bytes of one
    // character set converted together (a character may be split over two).
    std::string_view charset = word.charset;
    std::string run = std::move(word.bytes);
    std::size_t end = word.end;
    for (;;) {
      std::size_t next = end;
      while (next < value.size() && IsSpace(value[next])) ++next;
      EncodedWord following;
      if (!ParseEncodedWord(value, next, following)) break;
      if (!SameCharset(following.charset, charset)) {
        out += DecodeCharsetText(run, charset);
        run.clear();
        charset = following.charset;
      }
      run += following.bytes;
      end = following.end;
    }
    out += DecodeCharsetText(run, charset);
    plainStart = end;
    i = value.find("=?", end);
  }
  out += DecodeCharsetText(value.substr(plainStart), {});
  return out;
}

std::vector<MailAddress> ParseAddressList(std::string_view value) {
  std::vector<MailAddress> out;
  // Raw Shift_JIS names: their second bytes may equal '"', '\\' or '<'.
  const bool shiftJis = NeedsConversion(value) && KanjiConverter::Detect(value) == KanjiCode::ShiftJis;
  AddressScan scan;
  bool inGroup = false;
  std::size_t i = 0;
  while (i < value.size()) {
    const char c = value[i];
    if (c == '\x1B') {
      const std::size_t end = SkipJisRun(value, i);
      scan.Add(value.substr(i, end - i));
      i = end;
    } else if (shiftJis && IsEightBit(c) && i + 1 < value.size() &&
               ((static_cast<unsigned char>(c) >= 0x81 && static_cast<unsigned char>(c) <= 0x9F) ||
                static_cast<unsigned char>(c) >= 0xE0)) {
      scan.Add(value.substr(i, 2));
      i += 2;
    } else if (c == '"') {
      std::string text;
      std::size_t j = i + 1;
      while (j < value.size() && value[j] != '"') {
        if (value[j] == '\\' && j + 1 < value.size()) ++j;
        text += value[j++];
      }
      const std::size_t end = std::min(j + 1, value.size());
      if (scan.inAngle) {
        scan.angle += value.substr(i, end - i);
      } else {
        scan.phrase += text;
        scan.bare += value.substr(i, end - i);
      }
      i = end;
    } else if (c == '(') {
      int depth = 0;
      std::size_t j = i;
      std::string text;
      for (; j < value.size(); ++j) {
        if (value[j] == '\\' && j + 1 < value.size()) {
          text += value[++j];
          continue;
        }
        if (value[j] == '(' && depth++ == 0) continue;
        if (value[j] == ')' && --depth == 0) break;
        text += value[j];
      }
      if (scan.comment.empty()) scan.comment = text;
      if (!scan.inAngle) scan.Blank();
      i = std::min(j + 1, value.size());
    } else if (c == '<' && !scan.inAngle) {
      scan.inAngle = scan.sawAngle = true;
      scan.angle.clear();
      ++i;
    } else if (c == '>' && scan.inAngle) {
      scan.inAngle = false;
      ++i;
    } else if (c == ':' && scan.inAngle) {
      scan.angle.clear();  // the obsolete route "<@relay:jane@example.org>"
      ++i;
    } else if (c == ',' && !scan.inAngle) {
      scan.Finish(out);
      ++i;
    } else if (c == ':' && !inGroup && !scan.sawAngle && scan.bare.find('@') == std::string::npos) {
      inGroup = true;  // "name: a, b;" opens a group; its name is no mailbox
      scan = AddressScan();
      ++i;
    } else if (c == ';' && !scan.inAngle) {
      scan.Finish(out);
      inGroup = false;
      ++i;
    } else if (IsSpace(c)) {
      if (!scan.inAngle) scan.Blank();
      ++i;
    } else {
      scan.Add(value.substr(i, 1));
      ++i;
    }
  }
  scan.Finish(out);
  return out;
}

namespace {

struct Parameter {
  std::string name;  // lower case
  std::string value;
};

std::vector<Parameter> ReadParameters(std::string_view value) {
  std::vector<Parameter> out;
  std::size_t i = value.find(';');
  while (i != std::string_view::npos && i < value.size()) {
    ++i;
    while (i < value.size() && IsSpace(value[i])) ++i;
    const std::size_t nameStart = i;
    while (i < value.size() && value[i] != '=' && value[i] != ';') ++i;
    Parameter p;
    p.name = LowerAscii(TrimView(value.substr(nameStart, i - nameStart)));
    if (i < value.size() && value[i] == '=') {
      ++i;
      while (i < value.size() && IsSpace(value[i])) ++i;
      if (i < value.size() && value[i] == '"') {
        ++i;
        while (i < value.size() && value[i] != '"') {
          if (value[i] == '\\' && i + 1 < value.size()) ++i;
          p.value += value[i++];
        }
        if (i < value.size()) ++i;
        while (i < value.size() && value[i] != ';') ++i;
      } else {
        const std::size_t start = i;
        while (i < value.size() && value[i] != ';') ++i;
        p.value = std::string(TrimView(value.substr(start, i - start)));
      }
    }
    if (!p.name.empty()) out.push_back(std::move(p));
    if (i >= value.size() || value[i] != ';') i = value.find(';', i);
  }
  return out;
}

std::string PercentDecode(std::string_view s) {
  std::string out;
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '%' && i + 2 < s.size() + 0 && HexValue(s[i + 1]) >= 0 && HexValue(s[i + 2]) >= 0) {
      out += static_cast<char>(HexValue(s[i + 1]) * 16 + HexValue(s[i + 2]));
      i += 2;
    } else {
      out += s[i];
    }
  }
  return out;
}

}  // namespace

std::string HeaderParameter(std::string_view value, std::string_view wanted) {
  const std::string name = LowerAscii(wanted);
  std::map<int, std::pair<bool, std::string>> pieces;  // RFC 2231 continuations by number
  for (const Parameter& p : ReadParameters(value)) {
    if (p.name == name) return DecodeHeaderText(p.value);
    if (p.name.size() <= name.size() || p.name.compare(0, name.size(), name) != 0 || p.name[name.size()] != '*')
      continue;
    // "name*" (encoded), "name*0", "name*0*" (encoded), ...
    std::string_view rest = std::string_view(p.name).substr(name.size() + 1);
    const bool encoded = rest.empty() || rest.back() == '*';
    if (!rest.empty() && rest.back() == '*') rest.remove_suffix(1);
    int number = 0;
    if (!rest.empty()) {
      if (rest.size() > 4 || !std::all_of(rest.begin(), rest.end(), [](char c) { return c >= '0' && c <= '9'; }))
        continue;
      number = std::stoi(std::string(rest));
    }
    pieces.emplace(number, std::make_pair(encoded, p.value));
  }
  if (pieces.empty()) return {};
  std::string charset, bytes;
  bool first = true;
  for (auto& [number, piece] : pieces) {
    std::string_view text = piece.second;
    if (first && piece.first) {
      // charset'language'text
      const std::size_t q1 = text.find('\'');
      const std::size_t q2 = q1 == std::string_view::npos ? q1 : text.find('\'', q1 + 1);
      if (q2 != std::string_view::npos) {
        charset = std::string(text.substr(0, q1));
        text = text.substr(q2 + 1);
      }
    }
    first = false;
    bytes += piece.first ? PercentDecode(text) : std::string(text);
  }
  return DecodeCharsetText(bytes, charset);
}

std::string HeaderToken(std::string_view value) {
  return LowerAscii(TrimView(value.substr(0, std::min(value.find(';'), value.size()))));
}

}  // namespace velkor
