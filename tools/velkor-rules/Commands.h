#pragma once
// The subcommands of velkor-rules. Each command file registers its commands
// with a static VELKOR_CLI_COMMAND; a command returns the process exit code
// and writes to stdout (Shift_JIS as stored) and stderr.

#include <string>
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

struct CommandRegistrar {
  CommandRegistrar(const char* name, const char* usage, CommandFn run) { Registry().push_back({name, usage, run}); }
};

}  // namespace velkor::cli

#define VELKOR_CLI_COMMAND(id, name, usage, fn) \
  static ::velkor::cli::CommandRegistrar velkor_cli_registrar_##id(name, usage, fn)
