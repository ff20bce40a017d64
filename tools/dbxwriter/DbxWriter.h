#pragma once
// Writes a Folders.dbx that Outlook Express's layout readers accept: header,
// file-info block, one record per folder and the folder tree, split into child
// nodes when it does not fit one node. For tests and the demo data only.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace velkor::dbxwriter {

struct FolderSpec {
  std::uint32_t id = 0;
  std::uint32_t parentId = 0;
  std::string name;       // Shift_JIS
  bool hasName = true;    // false: a record without index 2 (not a folder)
};

struct Options {
  // The file-info block starts with this FILETIME; its first 7 bytes are the store stamp.
  std::array<std::uint8_t, 8> fileTime{{0x00, 0x5C, 0x2A, 0x81, 0x3B, 0x7E, 0xC4, 0x01}};
  // Entries per tree node, 1 to 0x33; smaller values give deeper trees.
  unsigned nodeCapacity = 0x33;
  // Folder numbers as int4 values in the data field instead of direct int3 values.
  bool numbersInData = false;
};

std::vector<std::uint8_t> WriteFoldersDbx(const std::vector<FolderSpec>& folders, const Options& options = {});
bool WriteFoldersDbxFile(const std::string& path, const std::vector<FolderSpec>& folders,
                         const Options& options = {});

// The standard folders of a fresh store and a few user folders.
std::vector<FolderSpec> DemoFolders();
// The file time of the demo store: its stamp is the one the demo registry's rules use.
std::array<std::uint8_t, 8> DemoFileTime();

// File offsets of the writer's layout, for tests that damage a file on purpose.
struct Layout {
  std::vector<std::uint32_t> recordOffsets;  // in folder order
  std::vector<std::uint32_t> nodeOffsets;    // root first
};
std::vector<std::uint8_t> WriteFoldersDbx(const std::vector<FolderSpec>& folders, const Options& options,
                                          Layout* layout);

}  // namespace velkor::dbxwriter
