// Feeds the Folders.dbx reader any bytes. Odd first byte: the input is the
// whole file. Even: a valid header is put in front (so the walk gets past the
// signature) with the tree count and root taken from the next 8 input bytes,
// and the rest of the input follows as the file-info block, nodes and records.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <sstream>
#include <string>

#include "folders/Dbx.h"
#include "folders/MailFolderList.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string file;
  if (size > 0 && (data[0] & 1)) {
    file.assign(reinterpret_cast<const char*>(data + 1), size - 1);
  } else if (size >= 9) {
    file.assign(velkor::DbxFileHeader::kSize, '\0');
    static const char kSignature[8] = {'\xCF', '\xAD', '\x12', '\xFE', '\xC6', '\xFD', '\x74', '\x6F'};
    std::memcpy(&file[0], kSignature, sizeof kSignature);
    std::memcpy(&file[0xC4], data + 1, 4);
    std::uint32_t root;
    std::memcpy(&root, data + 5, 4);
    // Point the root into the fuzzed part most of the time.
    if (size > 9 && (root & 0x80000000u) == 0) root = velkor::DbxFileHeader::kSize + root % (size - 9);
    std::memcpy(&file[0xE4], &root, 4);
    file.append(reinterpret_cast<const char*>(data + 9), size - 9);
  } else {
    return 0;
  }
  std::istringstream in(file, std::ios::binary);
  velkor::MailFolderList list;
  list.ReadFrom(in);
  for (std::size_t i = 0; i < list.Count(); ++i) {
    volatile std::size_t n = list.Name(i).size();
    (void)n;
  }
  // Each folder is a distinct record whose marker is its own offset.
  if (list.Count() > file.size() / 4 + 1) __builtin_trap();
  return 0;
}
