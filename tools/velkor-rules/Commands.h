#pragma once
// The subcommands of velkor-rules. Each returns the process exit code and
// writes to stdout (Shift_JIS as stored) and stderr.

#include <string>
#include <vector>

namespace velkor::cli {

using Args = std::vector<std::string>;  // the arguments after the subcommand name

int RunList(const Args& args);         // list [FILE.reg]
int RunCheck(const Args& args);        // check [FILE.reg]
int RunExport(const Args& args);       // export IDENTITY OUT.reg [FILE.reg]
int RunFolders(const Args& args);      // folders FILE.dbx
int RunAddressBook(const Args& args);  // addressbook (Windows build)

}  // namespace velkor::cli
