#pragma once
// Cuts what the rule editor needs out of a dragged mail: the header block, the
// body, addresses and the subject. Two shapes of mail arrive: the raw RFC 822
// message (English header names) and the text form Outlook Express puts on the
// clipboard (Japanese labels). All text is Shift_JIS; every search is
// double-byte aware. Each operation replaces `text` with its result and returns
// true, or returns false and leaves `text` as it was.
//
// Address lists from the raw message end every address with CRLF; lists from
// the labelled form put CRLF between addresses only.

#include <string>
#include <string_view>

namespace velkor {

class MailHeaderParser {
 public:
  // "\r\n" + the header lines (each ending in CRLF), up to the first empty line.
  static bool ExtractHeaderBlock(std::string& text);
  // Everything after the first empty line.
  static bool ExtractBody(std::string& text);

  // Raw message.
  static bool ExtractSenderAddress(std::string& text);  // first address of From
  static bool ExtractFromList(std::string& text);
  static bool ExtractToList(std::string& text);
  static bool ExtractCcList(std::string& text);
  static bool ExtractToCcList(std::string& text);
  static bool ExtractSubject(std::string& text);  // unfolded, encoded-words decoded

  // Every address of a header value, each followed by CRLF.
  static bool ExtractAddresses(std::string& value);

  // Labelled text form. ExtractLeadingSender takes the whole text form; the
  // others take the result of ExtractHeaderBlock.
  static bool ExtractLeadingSender(std::string& text);
  static bool ExtractLabelledSender(std::string& text);
  static bool ExtractLabelledSubject(std::string& text);
  static bool ExtractLabelledTo(std::string& text);
  static bool ExtractLabelledCc(std::string& text);
  static bool ExtractLabelledToCc(std::string& text);

  // The labels of the text form, as Outlook Express writes them.
  static constexpr std::string_view kSenderLabel = "送信者:";
  static constexpr std::string_view kToLabel = "宛先:";
  static constexpr std::string_view kCcLabel = "Cc:";
  static constexpr std::string_view kSubjectLabel = "件名 :";
};

}  // namespace velkor
