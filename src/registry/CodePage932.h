#pragma once
// Conversion between Shift_JIS (code page 932) and UTF-16, for the Unicode
// regedit format, and from the character sets mail arrives in. iconv
// natively, MultiByteToWideChar/WideCharToMultiByte on Windows (which has no
// iconv). Never fails: bytes that are no Shift_JIS character become U+30FB,
// characters code page 932 lacks become '?' (never a look-alike: é stays "?",
// not "e"), as the system's ANSI registry functions would store them.
//
// Every conversion is linear in its input, however many characters it lacks.

#include <string>
#include <string_view>

namespace velkor::cp932 {

std::u16string ToUtf16(std::string_view sjis);
std::string FromUtf16(std::u16string_view text);

// UTF-8 to Shift_JIS; a broken sequence becomes '?'.
std::string FromUtf8(std::string_view utf8);

// A character set a mail may name (MIME charset label, any letter case, with
// or without an RFC 2231 language suffix), other than the Japanese ones.
struct Charset {
  unsigned codePage = 0;   // the Windows code page
  const char* iconvName = nullptr;
};
// False for a label this conversion does not know.
bool FindCharset(std::string_view label, Charset& charset);

// Bytes in `charset` to Shift_JIS: every character code page 932 has becomes
// that character, every other one and every broken sequence '?'.
std::string FromCharset(std::string_view bytes, const Charset& charset);

}  // namespace velkor::cp932
