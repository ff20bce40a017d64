// Detection on arbitrary text and dictionary: the one-pass detector must give
// exactly the lists of the word-by-word rule, and the colour ranges must be
// sorted, disjoint and inside the text. Input: dictionary lines
// ("word TAB category", LF-separated), a NUL byte, then the mail text.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "mail/ReferenceDetection.h"
#include "mail/SpamDetection.h"
#include "text/ShiftJis.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  const std::size_t nul = input.find('\0');
  const std::string dictionary = nul == std::string::npos ? std::string() : input.substr(0, nul);
  const std::string text = nul == std::string::npos ? input : input.substr(nul + 1);

  velkor::SpamWordList list;
  for (const std::string& line : velkor::sjis::Split(dictionary, '\n')) {
    std::string word;
    std::uint16_t category = 0;
    if (velkor::SpamWordList::ParseWordLine(line, word, category)) {
      list.words.push_back(word);
      list.categories.push_back(category);
    }
  }
  const std::vector<std::string> own = {"ab@cd.ef"};
  const velkor::DetectionResult fast = velkor::SpamDetector(list).Detect(text, own);
  const velkor::DetectionResult ref = velkor::testing::ReferenceDetect(text, list, own);
  if (fast.links != ref.links || fast.obsceneTerms != ref.obsceneTerms || fast.otherTerms != ref.otherTerms)
    std::abort();

  std::size_t end = 0;
  for (const velkor::HighlightRange& r : velkor::ComputeHighlights(text, fast)) {
    if (r.length == 0 || r.start < end || r.start + r.length > text.size()) std::abort();
    end = r.start + r.length;
  }
  return 0;
}
