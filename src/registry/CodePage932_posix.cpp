#include "registry/CodePage932.h"

#include <iconv.h>

#include <cerrno>
#include <cstring>
#include <vector>

namespace velkor::cp932 {

namespace {

class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Converter() {
    if (ok()) iconv_close(cd_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;
  bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

  // Converts as much as it can; returns bytes consumed before an unconvertible sequence.
  std::size_t Run(const char* in, std::size_t inSize, std::string* out) {
    std::vector<char> buffer(inSize * 2 + 8);
    char* src = const_cast<char*>(in);
    std::size_t srcLeft = inSize;
    char* dst = buffer.data();
    std::size_t dstLeft = buffer.size();
    iconv(cd_, &src, &srcLeft, &dst, &dstLeft);
    out->append(buffer.data(), buffer.size() - dstLeft);
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);  // reset the state after an error
    return inSize - srcLeft;
  }

 private:
  iconv_t cd_;
};

}  // namespace

std::u16string ToUtf16(std::string_view sjis) {
  Converter conv("UTF-16LE", "CP932");
  std::string bytes;
  std::size_t pos = 0;
  while (conv.ok() && pos < sjis.size()) {
    pos += conv.Run(sjis.data() + pos, sjis.size() - pos, &bytes);
    if (pos < sjis.size()) {
      bytes.append("\xFB\x30", 2);  // U+30FB for a byte that starts no character
      ++pos;
    }
  }
  std::u16string out(bytes.size() / 2, u'\0');
  for (std::size_t i = 0; i < out.size(); ++i) {
    out[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                   static_cast<unsigned char>(bytes[2 * i + 1]) << 8);
  }
  return out;
}

std::string FromUtf16(std::u16string_view text) {
  std::string in(text.size() * 2, '\0');
  for (std::size_t i = 0; i < text.size(); ++i) {
    in[2 * i] = static_cast<char>(text[i] & 0xFF);
    in[2 * i + 1] = static_cast<char>(text[i] >> 8);
  }
  Converter conv("CP932", "UTF-16LE");
  std::string out;
  std::size_t pos = 0;
  while (conv.ok() && pos < in.size()) {
    pos += conv.Run(in.data() + pos, in.size() - pos, &out);
    if (pos < in.size()) {
      out += '?';
      const std::size_t unit = pos / 2;
      const bool pair = unit + 1 < text.size() && text[unit] >= 0xD800 && text[unit] <= 0xDBFF &&
                        text[unit + 1] >= 0xDC00 && text[unit + 1] <= 0xDFFF;
      pos += pair ? 4 : 2;
    }
  }
  return out;
}

}  // namespace velkor::cp932
