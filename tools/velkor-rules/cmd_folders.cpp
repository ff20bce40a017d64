// velkor-rules folders FILE.dbx: the folder list of a mail store and its store
// stamp, as Velkor reads them (docs/velkor-rules.md describes the format).

#include <cstdio>
#include <fstream>

#include "Commands.h"
#include "folders/Dbx.h"
#include "folders/MailFolderList.h"

namespace velkor::cli {
namespace {

int Folders(const Args& args) {
  if (args.size() != 1) {
    std::fprintf(stderr, "usage: velkor-rules folders FILE.dbx\n");
    return 2;
  }
  std::ifstream in(args[0], std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "velkor-rules: cannot open %s\n", args[0].c_str());
    return 3;
  }
  const bool folderFile = DbxFileHeader(in).IsValid();
  MailFolderList list;
  list.ReadFrom(in);

  const auto bytes = list.Stamp().Bytes();
  std::printf("stamp\t%s\t", StampPlaceholderText(list.Stamp()).c_str());
  for (auto b : bytes) std::printf("%02X", static_cast<unsigned>(b));
  std::printf("\n");
  for (std::size_t i = 0; i < list.Count(); ++i) {
    std::printf("folder\t%lu\t%lu\t%s\n", static_cast<unsigned long>(list.Id(i)),
                static_cast<unsigned long>(list.ParentId(i)), Field(list.Name(i)).c_str());
  }
  if (!folderFile) {
    std::fprintf(stderr, "velkor-rules: %s is not a readable Folders.dbx\n", args[0].c_str());
    return 3;
  }
  return 0;
}

}  // namespace

VELKOR_CLI_COMMAND(folders, "folders", "folders FILE.dbx", Folders);

}  // namespace velkor::cli
