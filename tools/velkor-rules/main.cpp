// velkor-rules: shows what Velkor sees — rules, blocked senders, folders and
// the address book — for support staff and users. See docs/velkor-rules.md.

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "Commands.h"

namespace velkor::cli {
std::vector<Command>& Registry() {
  static std::vector<Command> commands;
  return commands;
}
}  // namespace velkor::cli

namespace {

int Usage() {
  auto commands = velkor::cli::Registry();
  std::sort(commands.begin(), commands.end(),
            [](const auto& a, const auto& b) { return std::strcmp(a.name, b.name) < 0; });
  std::fprintf(stderr, "usage:\n");
  for (const auto& c : commands) std::fprintf(stderr, "  velkor-rules %s\n", c.usage);
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return Usage();
  for (const auto& c : velkor::cli::Registry()) {
    if (std::strcmp(argv[1], c.name) == 0) return c.run(velkor::cli::Args(argv + 2, argv + argc));
  }
  return Usage();
}
