#pragma once
// The characters a mail address is walked over, one byte at a time. No "+" and
// no "@": a plus sign ends the local part, the at sign separates the halves.

#include <string_view>

namespace velkor {

struct AddressChars {
  static constexpr std::string_view kChars =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-~_/.";

  static constexpr bool Contains(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '~' || c == '_' || c == '/' || c == '.';
  }
};

}  // namespace velkor
