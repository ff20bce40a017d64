#pragma once
// Replacing some keys of a .reg file in its text: the sections of those keys
// are cut out and new ones put in, while every other byte of the file stays
// as it was, whatever its root, its names or its format (UTF-16 with the
// "Windows Registry Editor Version 5.00" header, or Shift_JIS REGEDIT4).

#include <string>
#include <vector>

#include "registry/RegFile.h"
#include "registry/RegistryAccess.h"

namespace velkor {

// How a .reg file is written: its text encoding and whether string values in
// hex(...) are UTF-16 (the version 5 header) or ANSI (REGEDIT4).
struct RegFileShape {
  bool utf16 = false;
  bool unicodeValues = false;
};
RegFileShape ShapeOfRegFile(const std::string& fileBytes);

// The keys with their subtrees as sections in that shape, without a header.
std::string RegFileSections(RegistryAccess& reg, RegRoot root, const std::vector<std::string>& keyPaths,
                            RegFileShape shape);
// A whole file in that shape holding only the given sections.
std::string RegFileWithSections(RegFileShape shape, const std::string& sections);

// Drops every section whose key ([key] or [-key]) lies at or below one of
// `subtrees` and puts `sections` (already in the file's shape) where the first
// of them stood, or after the last deletion of a key above the subtrees when
// that comes later, so an import of the result ends with exactly `sections`
// below them. `keys` is what ParseRegFileKeys found in `fileBytes`.
std::string SpliceRegFile(const std::string& fileBytes, const std::vector<RegFileEntry>& keys, RegRoot root,
                          const std::vector<std::string>& subtrees, const std::string& sections);

// Whether `path` is `key` or lies below it (names compared as regedit does).
bool RegPathAtOrBelow(const std::string& path, const std::string& key);

}  // namespace velkor
