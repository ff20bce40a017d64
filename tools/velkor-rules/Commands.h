#pragma once
// The subcommands of velkor-rules. Each command file registers its commands
// with a static VELKOR_CLI_COMMAND; a command returns the process exit code
// and writes to stdout (Shift_JIS as stored) and stderr.

#include <string>
#include <string_view>
#include <vector>

namespace velkor::cli {

using Args = std::vector<std::string>;  // the arguments after the subcommand name
using CommandFn = int (*)(const Args& args);

struct Command {
  const char* name;
  const char* usage;
  CommandFn run;
};

std::vector<Command>& Registry();

// One field of a TAB-separated output line: a TAB, CR or LF inside it (a rule
// or folder name may hold one) becomes a blank, so no value can forge a field
// or a line. None of these bytes is ever part of a Shift_JIS character.
inline std::string Field(std::string_view text) {
  std::string out(text);
  for (char& c : out)
    if (c == '\t' || c == '\r' || c == '\n') c = ' ';
  return out;
}

struct CommandRegistrar {
  CommandRegistrar(const char* name, const char* usage, CommandFn run) { Registry().push_back({name, usage, run}); }
};

}  // namespace velkor::cli

#define VELKOR_CLI_COMMAND(id, name, usage, fn) \
  static ::velkor::cli::CommandRegistrar velkor_cli_registrar_##id(name, usage, fn)
