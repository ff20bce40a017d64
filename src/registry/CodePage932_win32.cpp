#include <windows.h>

#include "registry/CodePage932.h"

namespace velkor::cp932 {

std::u16string ToUtf16(std::string_view sjis) {
  if (sjis.empty()) return {};
  const int size = static_cast<int>(sjis.size());
  const int needed = MultiByteToWideChar(932, 0, sjis.data(), size, nullptr, 0);
  std::u16string out(needed > 0 ? needed : 0, u'\0');
  if (needed > 0) MultiByteToWideChar(932, 0, sjis.data(), size, reinterpret_cast<wchar_t*>(&out[0]), needed);
  return out;
}

std::string FromUtf16(std::u16string_view input) {
  if (input.empty()) return {};
  // A surrogate pair is one character: one replacement, as natively.
  std::u16string text;
  text.reserve(input.size());
  for (std::size_t i = 0; i < input.size(); ++i) {
    const bool pair = input[i] >= 0xD800 && input[i] <= 0xDBFF && i + 1 < input.size() && input[i + 1] >= 0xDC00 &&
                      input[i + 1] <= 0xDFFF;
    text += pair ? u'\uFFFD' : input[i];
    if (pair) ++i;
  }
  const auto* wide = reinterpret_cast<const wchar_t*>(text.data());
  const int size = static_cast<int>(text.size());
  const int needed = WideCharToMultiByte(932, 0, wide, size, nullptr, 0, "?", nullptr);
  std::string out(needed > 0 ? needed : 0, '\0');
  if (needed > 0) WideCharToMultiByte(932, 0, wide, size, &out[0], needed, "?", nullptr);
  return out;
}

}  // namespace velkor::cp932
