#pragma once
// The pieces a mail is read with: the header fields, the decoding of header
// text (RFC 2047 encoded-words) and of text in a named character set, and
// the address lists of RFC 5322. All results are Shift_JIS; every function is
// linear in its input.

#include <string>
#include <string_view>
#include <vector>

#include "message/MailMessage.h"

namespace velkor {

struct MailHeaderField {
  std::string_view name;  // as written
  std::string value;      // unfolded: each line break before a blank or tab removed
};

struct MailHeader {
  std::vector<MailHeaderField> fields;
  std::size_t bodyStart = 0;  // offset of the body in the text read

  // The value of the first field of that name (any letter case), or nullptr.
  const std::string* Find(std::string_view name) const;
  // The values of every field of that name, in order.
  std::vector<const std::string*> FindAll(std::string_view name) const;
};

// Reads the header fields up to the first empty line (CRLF, LF or CR line
// ends). A line that is neither a field nor a continuation ends the header
// and begins the body, as mail readers take it; an mbox "From " line before
// the first field is passed over.
MailHeader ReadMailHeader(std::string_view raw);

// Text in the named character set (empty: not declared) to Shift_JIS. An
// undeclared or unknown set, or US-ASCII text holding 8-bit bytes, is taken
// as whichever Japanese code or UTF-8 its bytes fit.
std::string DecodeCharsetText(std::string_view bytes, std::string_view charset);

// An unstructured header value (Subject, a display name): encoded-words of
// any character set decoded, the blanks between adjacent encoded-words
// dropped, other 8-bit text taken as DecodeCharsetText takes it.
std::string DecodeHeaderText(std::string_view value);

// The mailboxes of an address header value (From, To, Cc): display names
// decoded, groups opened, comments dropped; a display name is never taken
// for the address, whatever it looks like.
std::vector<MailAddress> ParseAddressList(std::string_view value);

// The transfer decodings (RFC 2045), lenient as mail readers are: base64
// passes over every byte outside its alphabet; quoted-printable keeps an "="
// that starts no escape.
void DecodeBase64(std::string_view text, std::string& out);
void DecodeQuotedPrintable(std::string_view text, std::string& out);

// A parameter of a structured value such as Content-Type (RFC 2045 quoting,
// RFC 2231 continuations and character sets), decoded to Shift_JIS; empty
// when absent.
std::string HeaderParameter(std::string_view value, std::string_view name);
// The first token of such a value ("text/plain", "attachment") in lower case.
std::string HeaderToken(std::string_view value);

}  // namespace velkor
