// Every header operation on arbitrary text: no crash, a failed operation
// leaves the text as it was, and results never grow beyond the input plus
// the line ends they add.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "mail/MailHeaderParser.h"

namespace {

using Op = bool (*)(std::string&);

void Check(Op op, const std::string& input, bool convertsSubject) {
  std::string text = input;
  if (!op(text)) {
    if (text != input) std::abort();
    return;
  }
  // Address lists add a CRLF after at most every third byte; a decoded subject
  // can at most double (a substitute per byte).
  if (!convertsSubject && text.size() > input.size() * 2 + 2) std::abort();
  if (convertsSubject && text.size() > input.size() * 2) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  using velkor::MailHeaderParser;
  for (Op op : {MailHeaderParser::ExtractHeaderBlock, MailHeaderParser::ExtractBody,
                MailHeaderParser::ExtractSenderAddress, MailHeaderParser::ExtractFromList,
                MailHeaderParser::ExtractToList, MailHeaderParser::ExtractCcList, MailHeaderParser::ExtractToCcList,
                MailHeaderParser::ExtractAddresses, MailHeaderParser::ExtractLeadingSender,
                MailHeaderParser::ExtractLabelledSender, MailHeaderParser::ExtractLabelledTo,
                MailHeaderParser::ExtractLabelledCc, MailHeaderParser::ExtractLabelledToCc}) {
    Check(op, input, false);
  }
  Check(MailHeaderParser::ExtractSubject, input, true);
  Check(MailHeaderParser::ExtractLabelledSubject, input, true);
  return 0;
}
