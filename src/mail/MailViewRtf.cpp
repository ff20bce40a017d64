#include "mail/MailViewRtf.h"

#include <cstdint>

#include "text/ShiftJis.h"

namespace velkor {
namespace {

constexpr HighlightColour kColourTable[] = {HighlightColour::Link, HighlightColour::Obscene,
                                            HighlightColour::Other};

void AppendHex(std::string& out, unsigned char byte) {
  static constexpr char kDigits[] = "0123456789abcdef";
  out += "\\'";
  out += kDigits[byte >> 4];
  out += kDigits[byte & 0xF];
}

// Bytes of the character at pos; a lead byte before a byte that cannot
// follow it stands alone, so that the paragraph end or letter after it stays.
std::size_t CharBytes(std::string_view text, std::size_t pos) {
  const std::size_t length = sjis::CharLength(text, pos);
  return length == 2 && sjis::IsTrailByte(static_cast<unsigned char>(text[pos + 1])) ? 2 : 1;
}

// One character of text: a double-byte character always as two escapes, as
// its second byte may be a backslash or a brace.
void AppendChar(std::string& out, std::string_view text, std::size_t pos, std::size_t length) {
  const auto byte = static_cast<unsigned char>(text[pos]);
  if (length == 2) {
    AppendHex(out, byte);
    AppendHex(out, static_cast<unsigned char>(text[pos + 1]));
  } else if (byte == '\r' || byte == '\n') {
    out += "\\par\n";
  } else if (byte == '\t') {
    out += "\\tab ";
  } else if (byte == '\\' || byte == '{' || byte == '}') {
    out += '\\';
    out += static_cast<char>(byte);
  } else if (byte < 0x20 || byte >= 0x80) {
    AppendHex(out, byte);
  } else {
    out += static_cast<char>(byte);
  }
}

void AppendText(std::string& out, std::string_view text) {
  for (std::size_t pos = 0; pos < text.size();) {
    const std::size_t length = CharBytes(text, pos);
    AppendChar(out, text, pos, length);
    pos += length;
  }
}

}  // namespace

std::string MailViewText(std::string_view mail) {
  mail = mail.substr(0, mail.find('\0'));
  std::string out;
  out.reserve(mail.size());
  for (std::size_t i = 0; i < mail.size(); ++i) {
    if (mail[i] == '\r' && i + 1 < mail.size() && mail[i + 1] == '\n') continue;
    out += mail[i] == '\n' ? '\r' : mail[i];
  }
  const std::size_t last = out.empty() ? 0 : sjis::CharStart(out, out.size() - 1);
  if (!out.empty() && sjis::CharLength(out, last) == 1 && sjis::IsLeadByte(static_cast<unsigned char>(out[last])))
    out[last] = '?';
  return out;
}

std::string MailViewRtf(std::string_view text, const std::vector<HighlightRange>& ranges, const RtfFont& font) {
  std::string out;
  out.reserve(text.size() * 3 + ranges.size() * 12 + 256);
  out += "{\\rtf1\\ansi\\ansicpg932\\deff0{\\fonttbl{\\f0\\fnil\\fcharset" + std::to_string(font.charset) + ' ';
  AppendText(out, font.face);
  out += ";}}{\\colortbl;";
  for (HighlightColour colour : kColourTable) {
    const std::uint32_t rgb = HighlightRgb(colour);
    out += "\\red" + std::to_string(rgb & 0xFF) + "\\green" + std::to_string((rgb >> 8) & 0xFF) + "\\blue" +
           std::to_string((rgb >> 16) & 0xFF) + ';';
  }
  out += "}\\f0\\fs" + std::to_string(font.halfPoints) + ' ';

  std::size_t next = 0;  // the next range to open
  std::size_t openEnd = 0;
  bool open = false;
  for (std::size_t pos = 0; pos < text.size();) {
    if (open && pos >= openEnd) {
      out += '}';
      open = false;
    }
    while (next < ranges.size() && ranges[next].start + ranges[next].length <= pos) ++next;
    if (!open && next < ranges.size() && ranges[next].start <= pos) {
      const auto index = static_cast<std::size_t>(ranges[next].colour) + 1;
      out += "{\\b\\cf" + std::to_string(index) + ' ';
      openEnd = ranges[next].start + ranges[next].length;
      open = true;
      ++next;
    }
    const std::size_t length = CharBytes(text, pos);
    AppendChar(out, text, pos, length);
    pos += length;
  }
  if (open) out += '}';
  // The rich edit takes the stream's last paragraph end for its own final
  // one, which it does not count as text: a text ending in a line end needs
  // one more to keep that line end.
  if (!text.empty() && (text.back() == '\r' || text.back() == '\n')) out += "\\par";
  out += '}';
  return out;
}

}  // namespace velkor
