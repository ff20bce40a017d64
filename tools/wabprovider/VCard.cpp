#include "VCard.h"

#include "text/ShiftJis.h"

namespace velkor::vcard {

namespace {

std::string Upper(std::string s) {
  for (char& c : s) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return s;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

std::string DecodeQuotedPrintable(const std::string& s) {
  std::string out;
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '=' && i + 2 < s.size() && HexDigit(s[i + 1]) >= 0 && HexDigit(s[i + 2]) >= 0) {
      out += static_cast<char>(HexDigit(s[i + 1]) * 16 + HexDigit(s[i + 2]));
      i += 2;
    } else {
      out += s[i];
    }
  }
  return out;
}

// 3.0 escapes: \, \; \n \\ .
std::string Unescape(const std::string& s) {
  std::string out;
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '\\' && i + 1 < s.size()) {
      const char c = s[++i];
      out += (c == 'n' || c == 'N') ? ' ' : c;
    } else {
      out += s[i];
    }
  }
  return out;
}

struct Line {
  std::string name;                 // upper case, without group prefix
  std::vector<std::string> params;  // upper case
  std::string value;
};

bool IsCardBoundary(const std::string& raw) {
  const std::string line = Upper(sjis::Trim(raw));
  return line == "END:VCARD" || line == "BEGIN:VCARD";
}

// Logical lines: folded lines (CRLF followed by a blank) joined, and
// quoted-printable soft breaks ("=" at the end of a line) joined. Whether a
// line is quoted-printable is settled once, from its name and parameters, so
// a value of many soft breaks is joined in time linear in its length. A soft
// break never takes in the line that ends or begins a card: a value cut off
// with a trailing "=" loses the "=", not its card.
std::vector<std::string> LogicalLines(const std::string& text) {
  std::vector<std::string> out;
  bool quotedPrintable = false;  // of the line being built
  bool headerRead = false;       // its name and parameters ended with ':'
  std::size_t searched = 0;      // bytes of it searched for that ':'
  auto readHeader = [&]() {
    if (headerRead) return;
    const std::string& line = out.back();
    const std::size_t colon = line.find(':', searched);
    searched = line.size();
    if (colon == std::string::npos) return;
    headerRead = true;
    quotedPrintable = Upper(line.substr(0, colon)).find("QUOTED-PRINTABLE") != std::string::npos;
  };
  for (const auto& raw : sjis::SplitLines(text)) {
    if (!out.empty() && !raw.empty() && (raw[0] == ' ' || raw[0] == '\t')) {
      out.back().append(raw, 1, std::string::npos);
      readHeader();
      continue;
    }
    if (!out.empty() && quotedPrintable && !out.back().empty() && out.back().back() == '=') {
      out.back().pop_back();
      if (!IsCardBoundary(raw)) {
        out.back() += raw;
        continue;
      }
    }
    out.push_back(raw);
    quotedPrintable = false;
    headerRead = false;
    searched = 0;
    readHeader();
  }
  return out;
}

bool ParseLine(const std::string& s, Line* line) {
  // The name and parameters are ASCII; the value starts after the first ':'.
  const auto colon = s.find(':');
  if (colon == std::string::npos) return false;
  auto parts = sjis::Split(s.substr(0, colon), ';');
  std::string name = Upper(parts[0]);
  const auto dot = name.rfind('.');
  if (dot != std::string::npos) name = name.substr(dot + 1);
  line->name = sjis::Trim(name);
  line->params.clear();
  for (std::size_t k = 1; k < parts.size(); ++k) line->params.push_back(Upper(sjis::Trim(parts[k])));
  line->value = s.substr(colon + 1);
  return true;
}

bool HasParam(const Line& line, const std::string& word) {
  for (const auto& p : line.params) {
    // TYPE=INTERNET,PREF  PREF  PREF=1
    for (const auto& piece : sjis::Split(p, ',')) {
      std::string v = piece;
      const auto eq = v.find('=');
      if (eq != std::string::npos && v.compare(0, eq, "TYPE") == 0) v = v.substr(eq + 1);
      if (v == word || v.compare(0, word.size() + 1, word + "=") == 0) return true;
    }
  }
  return false;
}

std::string ParamValue(const Line& line, const std::string& key) {
  for (const auto& p : line.params) {
    if (p.compare(0, key.size() + 1, key + "=") == 0) return p.substr(key.size() + 1);
  }
  return std::string();
}

}  // namespace

bool IsValidUtf8(const std::string& s) {
  std::size_t i = 0;
  while (i < s.size()) {
    const auto c = static_cast<unsigned char>(s[i]);
    if (c < 0x80) {
      ++i;
      continue;
    }
    const std::size_t n = (c >= 0xC2 && c <= 0xDF) ? 1 : (c >= 0xE0 && c <= 0xEF) ? 2 : (c >= 0xF0 && c <= 0xF4) ? 3 : 0;
    if (n == 0 || i + n >= s.size()) return false;
    for (std::size_t k = 1; k <= n; ++k) {
      if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
    }
    i += n + 1;
  }
  return true;
}

std::vector<Contact> Parse(const std::string& fileBytes, Utf8ToSjis convert) {
  std::string text = fileBytes;
  bool fileUtf8 = false;
  if (text.compare(0, 3, "\xEF\xBB\xBF") == 0) {
    text.erase(0, 3);
    fileUtf8 = true;
  } else {
    fileUtf8 = IsValidUtf8(text);
  }

  std::vector<Contact> out;
  bool inCard = false;
  Contact card;
  std::string structuredName;
  for (const auto& logical : LogicalLines(text)) {
    Line line;
    if (!ParseLine(logical, &line)) continue;
    const std::string upperValue = Upper(sjis::Trim(line.value));
    if (line.name == "BEGIN" && upperValue == "VCARD") {
      inCard = true;
      card = Contact();
      structuredName.clear();
      continue;
    }
    if (!inCard) continue;
    if (line.name == "END" && upperValue == "VCARD") {
      if (card.name.empty()) card.name = structuredName;
      out.push_back(card);
      inCard = false;
      continue;
    }

    std::string value = line.value;
    if (Upper(ParamValue(line, "ENCODING")) == "QUOTED-PRINTABLE" || HasParam(line, "QUOTED-PRINTABLE")) {
      value = DecodeQuotedPrintable(value);
    }
    const std::string charset = ParamValue(line, "CHARSET");
    const bool utf8 = charset.empty() ? fileUtf8 : (charset == "UTF-8" || charset == "UTF8");
    auto decoded = [&](const std::string& v) {
      std::string t = sjis::Trim(Unescape(v));
      return utf8 && convert && !t.empty() ? convert(t) : t;
    };

    if (line.name == "FN") {
      card.name = decoded(value);
    } else if (line.name == "N") {
      // family;given;... shown as "family given"
      auto parts = sjis::Split(value, ';');
      std::string n = decoded(parts[0]);
      if (parts.size() > 1 && !sjis::Trim(parts[1]).empty()) n += (n.empty() ? "" : " ") + decoded(parts[1]);
      structuredName = n;
    } else if (line.name == "EMAIL") {
      const std::string address = decoded(value);
      if (address.empty()) continue;
      if (card.preferred < 0 && HasParam(line, "PREF")) card.preferred = static_cast<int>(card.emails.size());
      card.emails.push_back(address);
    } else if ((line.name == "KIND" || line.name == "X-ADDRESSBOOKSERVER-KIND") && upperValue == "GROUP") {
      card.group = true;
    } else if (line.name == "X-WAB-GROUP" && (upperValue == "TRUE" || upperValue == "1" || upperValue == "YES")) {
      card.group = true;
    }
  }
  return out;
}

}  // namespace velkor::vcard
