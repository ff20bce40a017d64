#pragma once
// The byte substitution that keeps the NG-word dictionary from being read as
// plain text. Bytes 0x20-0xFF are swapped through a fixed table (a permutation
// of that range, so every byte stays printable-range and text-mode safe);
// bytes below 0x20, TAB and line ends among them, are stored as they are.
// Depends on nothing but the standard library: the dictionary builder compiles
// it on its own with the host compiler.

#include <string>
#include <string_view>

namespace velkor {

struct WordScramble {
  static unsigned char Unscramble(unsigned char stored);
  static unsigned char Scramble(unsigned char plain);
  static std::string UnscrambleLine(std::string_view stored);
  static std::string ScrambleLine(std::string_view plain);
};

}  // namespace velkor
