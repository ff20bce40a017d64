// Drops of arbitrary data on every place and criterion row: the first byte
// chooses which formats are offered and in which shape, the rest is split
// among the text form, the raw message and the HTML rendering. No crash, and
// a refused drop never hands on text.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "mail/DroppedMail.h"
#include "mail/NgWordList.h"

namespace {

class FuzzSource : public velkor::MailDataSource {
 public:
  FuzzSource(std::uint8_t shape, const std::string parts[3]) : shape_(shape), parts_(parts) {}
  bool Offered(velkor::MailFormat f) override { return (shape_ >> static_cast<int>(f)) & 1; }
  velkor::BlockRead Read(velkor::MailFormat f) override {
    const int i = static_cast<int>(f);
    if (!Offered(f) || i == 1 || i > 3) return {};
    const std::string& text = parts_[i == 0 ? 0 : i - 1];
    if (text.empty()) return {velkor::BlockRead::EmptyBlock, {}};
    return {velkor::BlockRead::Read, text};
  }

 private:
  std::uint8_t shape_;
  const std::string* parts_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  const std::string rest(reinterpret_cast<const char*>(data) + 1, size - 1);
  std::string parts[3];
  std::size_t start = 0;
  for (int i = 0; i < 3; ++i) {
    std::size_t cut = i < 2 ? rest.find('\x01', start) : std::string::npos;
    parts[i] = rest.substr(start, cut == std::string::npos ? std::string::npos : cut - start);
    start = cut == std::string::npos ? rest.size() : cut + 1;
  }
  for (int row = -1; row <= 6; ++row) {
    FuzzSource source(data[0], parts);
    velkor::DroppedMail mail(source);
    velkor::ListDropResult result = velkor::DecodeValueListDrop(mail, row);
    if (result.action == velkor::ListDropResult::Refused && !result.text.empty()) std::abort();
  }
  FuzzSource source(data[0], parts);
  velkor::DroppedMail mail(source);
  velkor::DecodeSenderDrop(mail);
  velkor::DecodeMailViewDrop(mail);
  std::string word;
  if (velkor::DecodeWordListDrop(mail, word)) velkor::WordFromText(word);
  velkor::MergeLines({"a", "b"}, parts[0]);
  return 0;
}
