#include "settings/VelkorSettings.h"

#include "settings/ProfileSection.h"

namespace velkor {

using namespace settingsname;

void VelkorSettings::Load(RegistryAccess& reg) {
  const VelkorSettings defaults;
  ProfileSection section(reg, kSection);
  showTopMost = section.GetInt(kShowTopMost, defaults.showTopMost);
  desktopWidth = section.GetInt(kDesktopWidth, defaults.desktopWidth);
  desktopHeight = section.GetInt(kDesktopHeight, defaults.desktopHeight);
  mainWndLeft = section.GetInt(kMainWndLeft, defaults.mainWndLeft);
  mainWndTop = section.GetInt(kMainWndTop, defaults.mainWndTop);
  mainWndWidth = section.GetInt(kMainWndWidth, defaults.mainWndWidth);
  mainWndHeight = section.GetInt(kMainWndHeight, defaults.mainWndHeight);
  initialOEUser = section.GetString(kInitialOEUser, defaults.initialOEUser);
  initialRule = section.GetInt(kInitialRule, defaults.initialRule);
  initialCriteria = section.GetInt(kInitialCriteria, defaults.initialCriteria);
  initialAction = section.GetInt(kInitialAction, defaults.initialAction);
  ngWordWndLeft = section.GetInt(kNGWordWndLeft, defaults.ngWordWndLeft);
  ngWordWndTop = section.GetInt(kNGWordWndTop, defaults.ngWordWndTop);
  ngWordWndWidth = section.GetInt(kNGWordWndWidth, defaults.ngWordWndWidth);
  ngWordWndHeight = section.GetInt(kNGWordWndHeight, defaults.ngWordWndHeight);
}

bool VelkorSettings::SaveMainWindow(RegistryAccess& reg) const {
  ProfileSection section(reg, kSection);
  // Every value is attempted even after a failure, so one bad write loses one value only.
  bool ok = section.SetInt(kDesktopWidth, desktopWidth);
  ok = section.SetInt(kDesktopHeight, desktopHeight) && ok;
  ok = section.SetInt(kMainWndLeft, mainWndLeft) && ok;
  ok = section.SetInt(kMainWndTop, mainWndTop) && ok;
  ok = section.SetInt(kMainWndWidth, mainWndWidth) && ok;
  ok = section.SetInt(kMainWndHeight, mainWndHeight) && ok;
  ok = section.SetString(kInitialOEUser, initialOEUser) && ok;
  ok = section.SetInt(kInitialRule, initialRule) && ok;
  ok = section.SetInt(kInitialCriteria, initialCriteria) && ok;
  ok = section.SetInt(kInitialAction, initialAction) && ok;
  return ok;
}

bool VelkorSettings::SaveTopMost(RegistryAccess& reg) const {
  return ProfileSection(reg, kSection).SetInt(kShowTopMost, showTopMost);
}

bool VelkorSettings::SaveNgWordWindow(RegistryAccess& reg) const {
  ProfileSection section(reg, kSection);
  bool ok = section.SetInt(kDesktopWidth, desktopWidth);
  ok = section.SetInt(kDesktopHeight, desktopHeight) && ok;
  ok = section.SetInt(kNGWordWndLeft, ngWordWndLeft) && ok;
  ok = section.SetInt(kNGWordWndTop, ngWordWndTop) && ok;
  ok = section.SetInt(kNGWordWndWidth, ngWordWndWidth) && ok;
  ok = section.SetInt(kNGWordWndHeight, ngWordWndHeight) && ok;
  return ok;
}

}  // namespace velkor
