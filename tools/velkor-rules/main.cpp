// velkor-rules: shows what Velkor sees — rules, blocked senders, folders and
// the address book — for support staff and users. See docs/velkor-rules.md.

#include <cstdio>
#include <cstring>

#include "Commands.h"

namespace {

struct Command {
  const char* name;
  int (*run)(const velkor::cli::Args&);
  const char* usage;
};

const Command kCommands[] = {
    {"list", velkor::cli::RunList, "list [FILE.reg]"},
    {"check", velkor::cli::RunCheck, "check [FILE.reg]"},
    {"export", velkor::cli::RunExport, "export IDENTITY OUT.reg [FILE.reg]"},
    {"folders", velkor::cli::RunFolders, "folders FILE.dbx"},
    {"addressbook", velkor::cli::RunAddressBook, "addressbook"},
};

int Usage() {
  std::fprintf(stderr, "usage:\n");
  for (const auto& c : kCommands) std::fprintf(stderr, "  velkor-rules %s\n", c.usage);
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return Usage();
  for (const auto& c : kCommands) {
    if (std::strcmp(argv[1], c.name) == 0) return c.run(velkor::cli::Args(argv + 2, argv + argc));
  }
  return Usage();
}
