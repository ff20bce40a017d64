#pragma once
// Change stamps of files: the last-modification time, 0 when the file cannot
// be examined. Only compared for equality, never shown.

#include <cstdint>
#include <string>

namespace velkor {

class RegistryAccess;

// Path in the system code page.
std::uint64_t FileModificationStamp(const std::string& path);

// HKEY_CURRENT_USER "Software\Microsoft\WAB\WAB4\Wab File Name", default value.
extern const char* const kWabFileNameKey;
extern const char* const kWabDllPathKey;  // HKEY_LOCAL_MACHINE "Software\Microsoft\WAB\DLLPath"
extern const char* const kWabDefaultDll;  // "WAB32.DLL"

// The address-book file named in the registry ("" when none).
std::string AddressBookFileName(RegistryAccess& reg);
// The stamp of that file, or 0 when the value is missing or the file cannot be examined.
std::uint64_t AddressBookFileStamp(RegistryAccess& reg);
// The address-book library: the DLLPath default value (at most 260 bytes),
// "WAB32.DLL" when it is missing or empty.
std::string AddressBookLibraryPath(RegistryAccess& reg);

}  // namespace velkor
