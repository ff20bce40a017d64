#include "settings/PrivateInfoSettings.h"

#include <utility>

#include "settings/ProfileSection.h"

namespace velkor {

namespace {

// Each value with the field that holds it, so Load and Save cannot drift apart.
template <class Info, class Visit>
void ForEachValue(Info& info, Visit visit) {
  using namespace privateinfoname;
  visit(kFamilyName, info.familyName);
  visit(kGivenName, info.givenName);
  visit(kFamilyNameLatin, info.familyNameLatin);
  visit(kGivenNameLatin, info.givenNameLatin);
  visit(kPhone, info.phone);
  visit(kCellular, info.cellular);
  visit(kZip, info.zip);
  visit(kTown, info.town);
  visit(kCompany, info.company);
  visit(kHandleName, info.handleName);
  visit(kOtherInfo, info.otherInfo);
}

}  // namespace

void PersonalInfo::Load(RegistryAccess& reg) {
  ProfileSection section(reg, privateinfoname::kSection);
  ForEachValue(*this, [&](const char* name, std::string& field) { field = section.GetString(name, std::string()); });
}

bool PersonalInfo::Save(RegistryAccess& reg) const {
  ProfileSection section(reg, privateinfoname::kSection);
  bool ok = true;
  ForEachValue(*this, [&](const char* name, const std::string& field) { ok = section.SetString(name, field) && ok; });
  return ok;
}

std::string LoadSelfIdentity(RegistryAccess& reg) {
  return ProfileSection(reg, privateinfoname::kSection).GetString(privateinfoname::kSelfIdentity, std::string());
}

bool SaveSelfIdentity(RegistryAccess& reg, const std::string& text) {
  return ProfileSection(reg, privateinfoname::kSection).SetString(privateinfoname::kSelfIdentity, text);
}

}  // namespace velkor
