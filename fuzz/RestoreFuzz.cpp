// A backup and a .reg file standing for the registry, separated by "\0--\0"
// (without one, the input is the backup and a small file is used): a
// restore either refuses and gives nothing to write, or the identity's two
// lists in the result are exactly the backup's and everything else reads as
// the original did. The same holds for the restore into a registry.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "registry/MemoryRegistry.h"
#include "registry/RegFile.h"
#include "rulestore/RegistryLayout.h"
#include "rulestore/RuleBackup.h"

namespace {

using velkor::MemoryRegistry;
using velkor::RegRoot;

const char kSmallFile[] =
    "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Identities\\{3F2504E0-4F89-11D3-9A0C-0305E82C3301}\\Software\\Microsoft\\"
    "Outlook Express\\5.0]\r\n\"Store Root\"=\"C:\\\\\"\r\n\r\n[HKEY_LOCAL_MACHINE\\Software\\Kept]\r\n@=dword:1\r\n";

std::string Lists(const MemoryRegistry& reg, const std::string& identity) {
  const std::string base = velkor::oereg::IdentityBasePath(identity);
  return reg.Dump(RegRoot::CurrentUser, velkor::oereg::RulesMailPath(base)) + "|" +
         reg.Dump(RegRoot::CurrentUser, velkor::oereg::BlockSendersPath(base));
}

// Everything but the two lists, their parents made alike on both sides.
std::string Outside(MemoryRegistry& reg, const std::string& identity) {
  const std::string base = "HKEY_CURRENT_USER\\" + velkor::oereg::IdentityBasePath(identity);
  const std::string rules = velkor::oereg::RulesMailPath(base), blocked = velkor::oereg::BlockSendersPath(base);
  if (!velkor::ImportRegFile(reg, "REGEDIT4\r\n[" + rules + "]\r\n[-" + rules + "]\r\n[" + blocked + "]\r\n[-" +
                                      blocked + "]\r\n",
                             nullptr))
    std::abort();
  return reg.Dump(RegRoot::CurrentUser, "") + reg.Dump(RegRoot::LocalMachine, "");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  const std::size_t split = input.find(std::string("\0--\0", 4));
  const std::string backup = input.substr(0, split);
  const std::string file = split == std::string::npos ? std::string(kSmallFile) : input.substr(split + 4);

  // Into a registry: refused and unchanged, or the lists replaced.
  MemoryRegistry reg;
  const bool readable = velkor::ImportRegFile(reg, file, nullptr);
  std::string error;
  if (readable) {
    const std::string id = velkor::BackupIdentity(backup);
    const std::string before = reg.Dump(RegRoot::CurrentUser, "") + reg.Dump(RegRoot::LocalMachine, "");
    if (!velkor::RestoreBackupText(reg, id, backup, &error)) {
      if (reg.Dump(RegRoot::CurrentUser, "") + reg.Dump(RegRoot::LocalMachine, "") != before) std::abort();
    } else {
      MemoryRegistry fromBackup;
      if (!velkor::ImportRegFile(fromBackup, backup, nullptr) || Lists(reg, id) != Lists(fromBackup, id))
        std::abort();
    }
  }

  // Into the file: refused with nothing to write, or only the lists differ
  // from what the file held (`reg` differs from it in the lists at most).
  std::string identity, out = "untouched";
  if (!velkor::RestoreBackupIntoRegFile(backup, file, &identity, &out, &error)) {
    if (error.empty() || out != "untouched") std::abort();
    return 0;
  }
  MemoryRegistry fromBackup, restored;
  if (!readable || !velkor::ImportRegFile(fromBackup, backup, nullptr) ||
      !velkor::ImportRegFile(restored, out, nullptr))
    std::abort();
  if (Lists(restored, identity) != Lists(fromBackup, identity)) std::abort();
  if (Outside(restored, identity) != Outside(reg, identity)) std::abort();
  return 0;
}
