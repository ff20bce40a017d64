// velkor-dbxwriter: writes a Folders.dbx for tests and the demo data.
//   velkor-dbxwriter OUT.dbx --demo
//   velkor-dbxwriter OUT.dbx LIST.txt   (lines "id<TAB>parent<TAB>name", Shift_JIS)
// Options: --filetime HEX16 (the first 8 bytes of the file-info block, file
// order; --demo uses the demo store's), --node-capacity N (entries per tree
// node, 1-51).

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

#include "DbxWriter.h"

namespace {

using velkor::dbxwriter::FolderSpec;

int Usage() {
  std::fprintf(stderr,
               "usage: velkor-dbxwriter OUT.dbx (--demo | LIST.txt) [--filetime HEX16] [--node-capacity N]\n"
               "  LIST.txt: one folder a line, \"id<TAB>parent<TAB>name\" (Shift_JIS)\n");
  return 2;
}

bool ParseList(const char* path, std::vector<FolderSpec>* out) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::string line;
  int number = 0;
  while (std::getline(in, line)) {
    ++number;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line[0] == '#') continue;
    const auto tab1 = line.find('\t');
    const auto tab2 = tab1 == std::string::npos ? tab1 : line.find('\t', tab1 + 1);
    if (tab2 == std::string::npos) {
      std::fprintf(stderr, "%s:%d: expected id<TAB>parent<TAB>name\n", path, number);
      return false;
    }
    FolderSpec f;
    f.id = static_cast<std::uint32_t>(std::strtoul(line.substr(0, tab1).c_str(), nullptr, 0));
    f.parentId = static_cast<std::uint32_t>(std::strtoul(line.substr(tab1 + 1, tab2 - tab1 - 1).c_str(), nullptr, 0));
    f.name = line.substr(tab2 + 1);
    out->push_back(f);
  }
  return true;
}

bool ParseFileTime(const char* hex, std::array<std::uint8_t, 8>* out) {
  if (std::strlen(hex) != 16) return false;
  for (int k = 0; k < 8; ++k) {
    char pair[3] = {hex[2 * k], hex[2 * k + 1], 0};
    char* end = nullptr;
    (*out)[k] = static_cast<std::uint8_t>(std::strtoul(pair, &end, 16));
    if (*end != 0) return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return Usage();
  const char* outPath = argv[1];
  std::vector<FolderSpec> folders;
  velkor::dbxwriter::Options options;
  bool haveFolders = false;
  bool fileTimeGiven = false;
  bool demo = false;
  for (int i = 2; i < argc; ++i) {
    if (std::strcmp(argv[i], "--demo") == 0) {
      folders = velkor::dbxwriter::DemoFolders();
      haveFolders = true;
      demo = true;
    } else if (std::strcmp(argv[i], "--filetime") == 0 && i + 1 < argc) {
      if (!ParseFileTime(argv[++i], &options.fileTime)) return Usage();
      fileTimeGiven = true;
    } else if (std::strcmp(argv[i], "--node-capacity") == 0 && i + 1 < argc) {
      options.nodeCapacity = static_cast<unsigned>(std::strtoul(argv[++i], nullptr, 10));
    } else if (argv[i][0] != '-') {
      if (!ParseList(argv[i], &folders)) return 1;
      haveFolders = true;
    } else {
      return Usage();
    }
  }
  if (!haveFolders) return Usage();
  if (demo && !fileTimeGiven) options.fileTime = velkor::dbxwriter::DemoFileTime();
  if (!velkor::dbxwriter::WriteFoldersDbxFile(outPath, folders, options)) {
    std::fprintf(stderr, "cannot write %s\n", outPath);
    return 1;
  }
  std::printf("%s: %zu folders\n", outPath, folders.size());
  return 0;
}
