// The mail reader on arbitrary bytes: no crash, and what it reads is bounded
// by what it was given (a decoded text at most twice the mail: a substitute
// per byte).
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "message/MailMessage.h"
#include "message/MailText.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const velkor::MailMessage mail = velkor::ReadMailMessage(input);
  if (mail.size != size) std::abort();
  const std::size_t bound = 2 * size + 16;
  if (mail.subject.size() > bound || mail.from.size() > bound || mail.to.size() > bound) std::abort();
  // Line ends made CRLF may double a body of bare line feeds.
  if (mail.body.size() > 2 * bound) std::abort();
  for (const velkor::MailAddress& a : mail.toAddresses)
    if (a.address.size() > size) std::abort();
  velkor::ParseAddressList(input);
  velkor::DecodeHeaderText(input);
  return 0;
}
