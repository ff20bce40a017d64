// Code conversion of arbitrary bytes, with and without MIME decoding: no
// crash, output at most one two-byte substitute per input byte, well-formed
// Shift_JIS with no ESC in it, and Shift_JIS input made only of whole
// characters that is detected as such comes back unchanged.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "mail/KanjiConverter.h"
#include "text/ShiftJis.h"

namespace {

// Every byte belongs to a Shift_JIS character: ASCII, half-width katakana or a
// lead byte with its second byte (0x80, 0xA0 and 0xFD-0xFF start none).
bool AllShiftJisCharacters(const std::string& s) {
  for (std::size_t i = 0; i < s.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(s[i]);
    if (c < 0x80 || (c >= 0xA1 && c <= 0xDF)) continue;
    if (!velkor::sjis::IsLeadByte(c) || i + 1 >= s.size() ||
        !velkor::sjis::IsTrailByte(static_cast<unsigned char>(s[i + 1])))
      return false;
    ++i;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  using velkor::KanjiConverter;
  for (bool mime : {false, true}) {
    const std::string out = KanjiConverter::ToShiftJis(input, mime);
    if (out.size() > 2 * input.size()) std::abort();
    if (out.find('\x1B') != std::string::npos || !velkor::sjis::IsWellFormed(out)) std::abort();
  }
  if (KanjiConverter::Detect(input) == velkor::KanjiCode::ShiftJis && AllShiftJisCharacters(input) &&
      input.find('\x1B') == std::string::npos && KanjiConverter::ToShiftJis(input) != input)
    std::abort();
  return 0;
}
