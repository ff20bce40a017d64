// Writes the editor benchmark's registry as a .reg file, to load into a Wine
// prefix (wine regedit /s FILE) and time the shipped program by hand:
//   editor_bench_registry OUT.reg [RULES [BLOCKED]]
#include <cstdio>
#include <cstdlib>
#include <string>

#include "EditorBenchData.h"
#include "registry/MemoryRegistry.h"
#include "registry/RegFile.h"

int main(int argc, char** argv) {
  using namespace velkor;
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s OUT.reg [RULES [BLOCKED]]\n", argv[0]);
    return 2;
  }
  int rules = argc > 2 ? std::atoi(argv[2]) : 1000;
  int blocked = argc > 3 ? std::atoi(argv[3]) : 10000;
  MemoryRegistry reg;
  if (!SeedEditorBenchRegistry(reg, rules, blocked)) {
    std::fprintf(stderr, "could not build the registry\n");
    return 1;
  }
  std::string text = ExportRegFile(reg, RegRoot::CurrentUser, {"Identities"}, RegFileFormat::Regedit4);
  if (!WriteWholeFile(argv[1], text)) {
    std::fprintf(stderr, "could not write %s\n", argv[1]);
    return 1;
  }
  std::printf("%s: %d rules, %d blocked senders\n", argv[1], rules, blocked);
  return 0;
}
