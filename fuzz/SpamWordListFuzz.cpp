// The dictionary loader on arbitrary file content: no crash, parallel lists,
// and every word non-empty, trimmed, without TAB or line end.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "mail/SpamWordList.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  velkor::SpamWordList list;
  const int n = list.LoadFromContent(std::string(reinterpret_cast<const char*>(data), size));
  if (n != static_cast<int>(list.words.size()) || list.words.size() != list.categories.size()) std::abort();
  for (const std::string& w : list.words) {
    if (w.empty() || w.find_first_of("\t\n") != std::string::npos || w.front() == ' ' || w.back() == ' ')
      std::abort();
  }
  if (list.title.find('\n') != std::string::npos) std::abort();
  return 0;
}
