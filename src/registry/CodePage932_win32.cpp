#include <windows.h>

#include "registry/CodePage932.h"

namespace velkor::cp932 {

namespace {

std::u16string Decode(UINT codePage, std::string_view bytes) {
  if (bytes.empty()) return {};
  const int size = static_cast<int>(bytes.size());
  const int needed = MultiByteToWideChar(codePage, 0, bytes.data(), size, nullptr, 0);
  std::u16string out(needed > 0 ? needed : 0, u'\0');
  if (needed > 0) MultiByteToWideChar(codePage, 0, bytes.data(), size, reinterpret_cast<wchar_t*>(&out[0]), needed);
  return out;
}

// UTF-16 has no code page MultiByteToWideChar takes: the bytes are paired
// here, after a byte order mark when there is one.
std::u16string PairUtf16(std::string_view bytes, bool bigEndian) {
  if (bytes.size() >= 2) {
    const auto b0 = static_cast<unsigned char>(bytes[0]), b1 = static_cast<unsigned char>(bytes[1]);
    if (b0 == 0xFF && b1 == 0xFE) {
      bigEndian = false;
      bytes.remove_prefix(2);
    } else if (b0 == 0xFE && b1 == 0xFF) {
      bigEndian = true;
      bytes.remove_prefix(2);
    }
  }
  std::u16string out(bytes.size() / 2, u'\0');
  for (std::size_t i = 0; i < out.size(); ++i) {
    const auto a = static_cast<unsigned char>(bytes[2 * i]), b = static_cast<unsigned char>(bytes[2 * i + 1]);
    out[i] = static_cast<char16_t>(bigEndian ? (a << 8 | b) : (b << 8 | a));
  }
  if (bytes.size() % 2) out += u'\uFFFD';
  return out;
}

}  // namespace

std::u16string ToUtf16(std::string_view sjis) { return Decode(932, sjis); }

std::string FromUtf16(std::u16string_view input) {
  if (input.empty()) return {};
  // A surrogate pair is one character: one replacement, as natively.
  std::u16string text;
  text.reserve(input.size());
  for (std::size_t i = 0; i < input.size(); ++i) {
    const bool pair = input[i] >= 0xD800 && input[i] <= 0xDBFF && i + 1 < input.size() && input[i + 1] >= 0xDC00 &&
                      input[i + 1] <= 0xDFFF;
    text += pair ? u'\uFFFD' : input[i];
    if (pair) ++i;
  }
  const auto* wide = reinterpret_cast<const wchar_t*>(text.data());
  const int size = static_cast<int>(text.size());
  // No best fit: a character code page 932 lacks becomes "?", never a look-alike.
  const int needed = WideCharToMultiByte(932, WC_NO_BEST_FIT_CHARS, wide, size, nullptr, 0, "?", nullptr);
  std::string out(needed > 0 ? needed : 0, '\0');
  if (needed > 0) WideCharToMultiByte(932, WC_NO_BEST_FIT_CHARS, wide, size, &out[0], needed, "?", nullptr);
  return out;
}

std::string FromUtf8(std::string_view utf8) { return FromUtf16(Decode(CP_UTF8, utf8)); }

std::string FromCharset(std::string_view bytes, const Charset& charset) {
  if (charset.codePage == 1200 || charset.codePage == 1201) return FromUtf16(PairUtf16(bytes, charset.codePage == 1201));
  // The two ISO sets Windows has no code page for read as Latin-1: their
  // letters beyond it are not in code page 932 anyway.
  return FromUtf16(Decode(charset.codePage ? charset.codePage : 28591, bytes));
}

}  // namespace velkor::cp932
