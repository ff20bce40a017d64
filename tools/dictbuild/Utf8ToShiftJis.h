#pragma once
// UTF-8 to Shift_JIS (code page 932) for the dictionary builder and its test:
// the system converter on each platform (iconv, or the Win32 code-page
// functions). False when a character has no code page 932 form.

#include <string>
#include <string_view>

namespace velkor::dictbuild {

bool Utf8ToShiftJis(std::string_view utf8, std::string& sjis);

}  // namespace velkor::dictbuild
