#pragma once
// The regedit text formats: "REGEDIT4" (ANSI, here Shift_JIS) and "Windows
// Registry Editor Version 5.00" (UTF-16LE with a BOM). Works on any
// RegistryAccess, so the same code imports demo data into a MemoryRegistry and
// exports a user's rules from the live registry as a double-clickable backup.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "registry/RegistryAccess.h"

namespace velkor {

enum class RegFileFormat { Regedit4, Regedit5 };

// One parsed instruction of a .reg file.
struct RegFileEntry {
  enum class Kind { CreateKey, DeleteKey, SetValue, DeleteValue };
  Kind kind;
  RegRoot root;
  std::string path;  // root-relative
  std::string name;  // value name, "" = default value
  std::uint32_t type = 0;
  std::vector<std::uint8_t> data;
  int line = 0;
};

struct RegFileError {
  int line = 0;  // 1-based
  std::string reason;
};

// Parses the whole text first; on error nothing is returned but the error.
// Keys nested deeper than the registry allows (512 levels) are an error.
bool ParseRegFile(const std::string& fileBytes, std::vector<RegFileEntry>* entries, RegFileError* error);
// The same checks, but only the key lines ([key] and [-key]) are kept, each
// with its line: what is needed to find a key's section in the text.
bool ParseRegFileKeys(const std::string& fileBytes, std::vector<RegFileEntry>* keys, RegFileError* error);
// Checks the whole text, then applies it entry by entry as it reads it again;
// a parse error changes nothing.
bool ImportRegFile(RegistryAccess& reg, const std::string& fileBytes, RegFileError* error);
// Writes the given keys with their subtrees (missing keys are skipped).
std::string ExportRegFile(RegistryAccess& reg, RegRoot root, const std::vector<std::string>& keyPaths,
                          RegFileFormat format);

bool ReadWholeFile(const std::string& path, std::string* bytes);
// Whole or not at all (SaveFileWhole), for callers that need no reason.
bool WriteWholeFile(const std::string& path, const std::string& bytes);

}  // namespace velkor
