#pragma once
// Japanese code conversion to Shift_JIS (code page 932): JIS (ISO-2022-JP,
// with half-width katakana by ESC ( I or SO/SI, and JIS X 0212), EUC-JP (SS2
// katakana, SS3 JIS X 0212), Shift_JIS and UTF-8 in. A character code page
// 932 lacks becomes "?"; a broken sequence becomes the geta mark. With the
// "m" option, MIME encoded-words (B and Q) in ISO-2022-JP, EUC-JP, Shift_JIS,
// UTF-8 and US-ASCII are decoded too; other character sets stay as written.
//
// Half-width katakana stay half-width: Outlook Express matches rules against
// the mail as sent, so a block word taken from a mail must keep its form.

#include <string>
#include <string_view>

namespace velkor {

enum class KanjiCode { Ascii, Jis, EucJp, ShiftJis, Utf8 };

class KanjiConverter {
 public:
  // Option letters as the converter this replaces took them, without a dash:
  // "s" (to Shift_JIS) and "sm" (also decode MIME encoded-words). False for an
  // unknown letter; the options then stay as they were.
  bool SetOptions(std::string_view options);

  // Converts text of any of the supported codes; the result grows as needed,
  // so no input can overrun it. NUL bytes pass through.
  std::string Convert(std::string_view input) const;

  // Convenience for the common calls: Convert with "s" or "sm".
  static std::string ToShiftJis(std::string_view input, bool decodeMime = false);
  // Converts text whose 8-bit code is known (a declared character set)
  // instead of guessing it; JIS escapes are followed whatever the code.
  static std::string ToShiftJisFrom(std::string_view input, KanjiCode eightBit);

  // What the input is taken to be: JIS when it holds an ISO-2022-JP escape or
  // SO, else UTF-8, Shift_JIS or EUC-JP by which one its 8-bit bytes fit
  // best, Ascii when it has no 8-bit byte.
  static KanjiCode Detect(std::string_view input);

 private:
  bool decodeMime_ = false;
};

}  // namespace velkor
