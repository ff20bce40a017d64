#pragma once
// Conversion between Shift_JIS (code page 932) and UTF-16, for the Unicode
// regedit format. iconv natively, MultiByteToWideChar/WideCharToMultiByte on
// Windows (which has no iconv). Never fails: bytes that are no Shift_JIS
// character become U+30FB, characters code page 932 lacks become '?', as the
// system's ANSI registry functions would store them.

#include <string>
#include <string_view>

namespace velkor::cp932 {

std::u16string ToUtf16(std::string_view sjis);
std::string FromUtf16(std::u16string_view text);

}  // namespace velkor::cp932
