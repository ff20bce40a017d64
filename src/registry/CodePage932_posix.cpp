#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "registry/CodePage932.h"
#include "registry/Utf16Le.h"

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

  // Converts all of `in` into `out`. Where the input holds a sequence that
  // cannot be converted, `replacement` is written and `skip` says how many
  // input bytes to pass over; conversion then goes on from there. The input
  // is fed in small pieces: on an error glibc converts the whole piece again
  // to find the place, so a large piece would make every error cost the size
  // of the piece (16 s for 1 MB of characters the target lacks).
  template <typename Skip>
  void Run(std::string_view in, std::string_view replacement, Skip skip, std::string& out) {
    constexpr std::size_t kPiece = 64;  // longer than any character of any set
    char buffer[1024];
    char* src = const_cast<char*>(in.data());
    std::size_t srcLeft = in.size();
    out.reserve(out.size() + in.size());
    while (srcLeft > 0) {
      std::size_t piece = std::min(srcLeft, kPiece);
      const std::size_t given = piece;
      char* dst = buffer;
      std::size_t dstLeft = sizeof buffer;
      const std::size_t result = iconv(cd_, &src, &piece, &dst, &dstLeft);
      const int error = errno;
      const std::size_t used = given - piece;
      srcLeft -= used;
      out.append(buffer, sizeof buffer - dstLeft);
      if (result != static_cast<std::size_t>(-1) || error == E2BIG) continue;
      // A character cut by the end of the piece: the next piece holds it whole.
      if (error == EINVAL && given < srcLeft + used && used > 0) continue;
      // EILSEQ: a sequence the target lacks or the source does not hold;
      // EINVAL here: an incomplete sequence at the very end.
      out.append(replacement);
      const std::size_t n = error == EILSEQ ? std::max<std::size_t>(1, std::min(srcLeft, skip(src, srcLeft))) : srcLeft;
      src += n;
      srcLeft -= n;
      iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    }
    char* dst = buffer;
    std::size_t dstLeft = sizeof buffer;
    iconv(cd_, nullptr, nullptr, &dst, &dstLeft);  // a stateful target's closing shift
    out.append(buffer, sizeof buffer - dstLeft);
  }

 private:
  iconv_t cd_;
};

std::size_t OneByte(const char*, std::size_t) { return 1; }

// One UTF-16LE unit, or a surrogate pair as one character.
std::size_t OneUtf16Char(const char* p, std::size_t left) {
  if (left < 4) return left < 2 ? left : 2;
  const unsigned hi = static_cast<unsigned char>(p[0]) | static_cast<unsigned char>(p[1]) << 8;
  const unsigned lo = static_cast<unsigned char>(p[2]) | static_cast<unsigned char>(p[3]) << 8;
  return hi >= 0xD800 && hi <= 0xDBFF && lo >= 0xDC00 && lo <= 0xDFFF ? 4 : 2;
}


// `from` to UTF-16LE; a sequence `from` does not hold becomes U+FFFD.
std::string DecodeToUtf16(std::string_view bytes, const char* from) {
  std::string units;
  Converter conv("UTF-16LE", from);
  if (conv.ok()) conv.Run(bytes, std::string_view("\xFD\xFF", 2), OneByte, units);
  return units;
}

std::string Utf16ToCp932(std::string_view units) {
  std::string out;
  Converter conv("CP932", "UTF-16LE");
  if (conv.ok()) conv.Run(units, "?", OneUtf16Char, out);
  return out;
}

}  // namespace

std::u16string ToUtf16(std::string_view sjis) {
  std::string units;
  Converter conv("UTF-16LE", "CP932");
  if (conv.ok()) conv.Run(sjis, std::string_view("\xFB\x30", 2), OneByte, units);  // U+30FB
  return FromUtf16LeBytes(units.data(), units.size());
}

std::string FromUtf16(std::u16string_view text) { return Utf16ToCp932(Utf16LeBytes(text)); }

std::string FromUtf8(std::string_view utf8) { return Utf16ToCp932(DecodeToUtf16(utf8, "UTF-8")); }

std::string FromCharset(std::string_view bytes, const Charset& charset) {
  if (!charset.iconvName) return std::string(bytes);
  return Utf16ToCp932(DecodeToUtf16(bytes, charset.iconvName));
}

}  // namespace velkor::cp932
