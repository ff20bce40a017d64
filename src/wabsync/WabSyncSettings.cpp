#include "wabsync/WabSyncSettings.h"

#include "settings/ProfileSection.h"
#include "text/ShiftJis.h"

namespace velkor {

void WabSyncSettings::Load(RegistryAccess& reg) {
  const ProfileSection section(reg, kSection);
  *this = WabSyncSettings();
  type = section.GetInt("Type", type);
  startUp = section.GetInt("StartUp", startUp ? 1 : 0) != 0;
  showResult = section.GetInt("ShowResult", showResult ? 1 : 0) != 0;
}

bool WabSyncSettings::Save(RegistryAccess& reg) const {
  ProfileSection section(reg, kSection);
  bool ok = section.SetInt("Type", type);
  ok = section.SetInt("StartUp", startUp ? 1 : 0) && ok;
  ok = section.SetInt("ShowResult", showResult ? 1 : 0) && ok;
  return ok;
}

bool IsSilentSyncArgument(const std::string& firstArgument) {
  return sjis::AsciiLower(firstArgument) == "/sync";
}

}  // namespace velkor
