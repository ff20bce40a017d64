// Any bytes as a .reg file: parsing and importing must neither crash nor read
// out of bounds, an import that fails must leave the registry as it was, and
// one that succeeds must survive a second round trip.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "registry/MemoryRegistry.h"
#include "registry/RegFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  velkor::MemoryRegistry reg;
  velkor::RegFileError error;
  if (!velkor::ImportRegFile(reg, bytes, &error)) {
    if (error.line < 1 || error.reason.empty()) std::abort();
    // The file is checked whole before anything is written.
    if (reg.Dump(velkor::RegRoot::CurrentUser, "") != "[]\n" || reg.Dump(velkor::RegRoot::LocalMachine, "") != "[]\n")
      std::abort();
    return 0;
  }
  // What was imported exports and imports again to the same tree.
  const std::string file =
      velkor::ExportRegFile(reg, velkor::RegRoot::CurrentUser, {""}, velkor::RegFileFormat::Regedit4);
  velkor::MemoryRegistry again;
  if (!velkor::ImportRegFile(again, file, &error)) std::abort();
  if (reg.Dump(velkor::RegRoot::CurrentUser, "") != again.Dump(velkor::RegRoot::CurrentUser, "")) std::abort();
  return 0;
}
