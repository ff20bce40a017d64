#pragma once
// The utility's three settings, in the "Wab Sync" section of the application key.

#include <cstdint>
#include <string>

#include "registry/RegistryAccess.h"

namespace velkor {

struct WabSyncSettings {
  static constexpr const char* kSection = "Wab Sync";

  std::int32_t type = 1;    // "Type": 0 full, 1 add only (SyncModeFromSetting)
  bool startUp = false;     // "StartUp": keep the log-on shortcut
  bool showResult = true;   // "ShowResult": report a successful run

  // Missing or unreadable values keep their defaults.
  void Load(RegistryAccess& reg);
  // Answers whether all three values were written.
  bool Save(RegistryAccess& reg) const;
};

// The first command-line argument asks for the silent run ("/sync", any case).
bool IsSilentSyncArgument(const std::string& firstArgument);

}  // namespace velkor
