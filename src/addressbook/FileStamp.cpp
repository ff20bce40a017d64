#include "addressbook/FileStamp.h"

#include "registry/RegistryAccess.h"
#include "text/ShiftJis.h"

namespace velkor {

const char* const kWabFileNameKey = "Software\\Microsoft\\WAB\\WAB4\\Wab File Name";
const char* const kWabDllPathKey = "Software\\Microsoft\\WAB\\DLLPath";
const char* const kWabDefaultDll = "WAB32.DLL";

namespace {

std::string DefaultValue(RegistryAccess& reg, RegRoot root, const char* path) {
  RegKey key(reg);
  if (key.Open(path, RegAccess::Read, root) != regerr::kSuccess) return std::string();
  std::string value;
  if (!key.ReadString("", &value)) return std::string();
  return value;
}

}  // namespace

std::string AddressBookFileName(RegistryAccess& reg) {
  return DefaultValue(reg, RegRoot::CurrentUser, kWabFileNameKey);
}

std::uint64_t AddressBookFileStamp(RegistryAccess& reg) {
  const std::string path = AddressBookFileName(reg);
  return path.empty() ? 0 : FileModificationStamp(path);
}

std::string AddressBookLibraryPath(RegistryAccess& reg) {
  constexpr std::size_t kMaxPath = 260;
  std::string path = DefaultValue(reg, RegRoot::LocalMachine, kWabDllPathKey);
  // The buffer held MAX_PATH bytes with the NUL: a longer value is cut there.
  if (path.size() > kMaxPath - 1) path = sjis::TruncateChars(path, kMaxPath - 1);
  return path.empty() ? std::string(kWabDefaultDll) : path;
}

}  // namespace velkor
