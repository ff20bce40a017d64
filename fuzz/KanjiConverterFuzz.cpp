// Code conversion of arbitrary bytes, with and without MIME decoding: no
// crash, output at most one two-byte substitute per input byte, well-formed
// Shift_JIS with no ESC in it, and well-formed Shift_JIS input that is
// detected as such comes back unchanged.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "mail/KanjiConverter.h"
#include "text/ShiftJis.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  using velkor::KanjiConverter;
  for (bool mime : {false, true}) {
    const std::string out = KanjiConverter::ToShiftJis(input, mime);
    if (out.size() > 2 * input.size()) std::abort();
    if (out.find('\x1B') != std::string::npos || !velkor::sjis::IsWellFormed(out)) std::abort();
  }
  if (KanjiConverter::Detect(input) == velkor::KanjiCode::ShiftJis && velkor::sjis::IsWellFormed(input) &&
      input.find('\x1B') == std::string::npos && KanjiConverter::ToShiftJis(input) != input)
    std::abort();
  return 0;
}
