// HTML to text on arbitrary bytes: no crash, never longer than the input,
// and text without a complete tag pair comes back unchanged.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "mail/HtmlToText.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  std::string text = input;
  velkor::HtmlToText(text);
  if (text.size() > input.size()) std::abort();
  if (input.find('<') == std::string::npos && text != input) std::abort();
  return 0;
}
