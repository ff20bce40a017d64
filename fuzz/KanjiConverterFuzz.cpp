// Code conversion of arbitrary bytes, with and without MIME decoding: no
// crash, output at most one two-byte substitute per input byte, and Shift_JIS
// input that is detected as such comes back unchanged.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "mail/KanjiConverter.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  using velkor::KanjiConverter;
  for (bool mime : {false, true}) {
    const std::string out = KanjiConverter::ToShiftJis(input, mime);
    if (out.size() > 2 * input.size()) std::abort();
  }
  if (KanjiConverter::Detect(input) == velkor::KanjiCode::ShiftJis &&
      KanjiConverter::ToShiftJis(input) != input)
    std::abort();
  return 0;
}
