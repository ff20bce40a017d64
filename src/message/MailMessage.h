#pragma once
// A mail as a reader of it sees it: the header values decoded to Shift_JIS, the
// addresses of From, To and Cc, the text a user would read, the attachments,
// the priority, the security state and the size. Read from the raw message
// (RFC 5322 with MIME) by ReadMailMessage; never fails: a text that is not a
// mail yields an empty header and the whole text as its body.
//
// Everything here is portable and linear in the size of the message.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace velkor {

enum class MailPriority : std::uint8_t { Normal, High, Low };
enum class MailSecurity : std::uint8_t { None, Signed, Encrypted };

struct MailAddress {
  std::string display;  // decoded display name (Shift_JIS); may be empty
  std::string address;  // local-part@domain as written, quotes of a quoted local part kept
};

struct MailAttachment {
  std::string fileName;     // decoded (Shift_JIS); may be empty
  std::string contentType;  // "type/subtype" in lower case
  std::uint64_t size = 0;   // bytes after the transfer decoding
};

struct MailMessage {
  // Decoded header values, unfolded, Shift_JIS. To and Cc hold every
  // occurrence of the header, joined with ", ".
  std::string from;
  std::string subject;
  std::string to;
  std::string cc;
  std::vector<MailAddress> fromAddresses;
  std::vector<MailAddress> toAddresses;
  std::vector<MailAddress> ccAddresses;

  // The text parts that are not attachments (text/plain, and text/html turned
  // into text), each decoded by its transfer encoding and its character set,
  // joined with CRLF. A mail without MIME: its whole body, decoded.
  std::string body;
  std::vector<MailAttachment> attachments;

  MailPriority priority = MailPriority::Normal;
  MailSecurity security = MailSecurity::None;
  std::uint64_t size = 0;  // bytes of the raw message

  bool HasAttachment() const { return !attachments.empty(); }
  // The first From address, or empty.
  const std::string& SenderAddress() const;
};

MailMessage ReadMailMessage(std::string_view raw);

}  // namespace velkor
