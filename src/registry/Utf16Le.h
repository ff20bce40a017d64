#pragma once
// UTF-16 little endian as bytes, the form of the Unicode .reg format and of
// its string data.

#include <cstddef>
#include <string>
#include <string_view>

namespace velkor {

inline std::string Utf16LeBytes(std::u16string_view text) {
  std::string out;
  out.reserve(text.size() * 2);
  for (char16_t c : text) {
    out += static_cast<char>(c & 0xFF);
    out += static_cast<char>(c >> 8);
  }
  return out;
}

// An odd last byte is left out.
inline std::u16string FromUtf16LeBytes(const void* data, std::size_t size) {
  const unsigned char* bytes = static_cast<const unsigned char*>(data);
  std::u16string out(size / 2, u'\0');
  for (std::size_t i = 0; i < out.size(); ++i) out[i] = static_cast<char16_t>(bytes[2 * i] | bytes[2 * i + 1] << 8);
  return out;
}

}  // namespace velkor
