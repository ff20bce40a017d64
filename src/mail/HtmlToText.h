#pragma once
// Turns the HTML rendering of a mail (already Shift_JIS) into the plain text
// the NG-word tool shows and searches. Not a full HTML parser: it keeps the
// body, drops tags, breaks lines at <br>, </p> and <div..., keeps link tags
// whole so that their targets stay visible to link detection, and replaces six
// entities. Text that does not look like HTML is left unchanged.

#include <string>

namespace velkor {

void HtmlToText(std::string& text);

}  // namespace velkor
