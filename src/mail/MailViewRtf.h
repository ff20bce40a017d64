#pragma once
// The NG-word tool's mail view receives a mail as rich text: the whole text
// with its findings already bold and coloured, in one stream. Selecting and
// formatting finding after finding costs the rich edit a pass over its
// paragraphs each time: seconds on a long mail, and under Wine tens of them.

#include <string>
#include <string_view>
#include <vector>

#include "mail/SpamDetection.h"

namespace velkor {

// The view's own font, written into the stream so that the text looks as
// if it had been set as plain text.
struct RtfFont {
  std::string face;    // Shift_JIS
  int charset = 128;   // SHIFTJIS_CHARSET
  int halfPoints = 20;
};

// The text as the view holds it once shown: every CRLF, CR and LF of the
// mail one paragraph end (CR), and nothing from a NUL on. A lead byte left
// without its second byte at the end becomes "?".
std::string MailViewText(std::string_view mail);

// Rich text of `text` (Shift_JIS with CR paragraph ends, as MailViewText
// gives it) in `font`, with `ranges` (byte positions, disjoint and sorted by
// start, as ComputeHighlights gives them) bold in their colours. A range
// edge inside a double-byte character moves to the character's end.
std::string MailViewRtf(std::string_view text, const std::vector<HighlightRange>& ranges, const RtfFont& font);

}  // namespace velkor
