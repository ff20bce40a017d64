#pragma once
// What the personal-information and own-name dialogs remember: the section
// "PrivateInfo" of the application key, all text values, default empty.
// Loading never writes; each dialog saves only its own values, once its input
// passed the format checks.

#include <string>

#include "registry/RegistryAccess.h"

namespace velkor {

namespace privateinfoname {
constexpr const char* kSection = "PrivateInfo";
constexpr const char* kFamilyName = "FNameJ";
constexpr const char* kGivenName = "LNameJ";
constexpr const char* kFamilyNameLatin = "FNameE";
constexpr const char* kGivenNameLatin = "LNameE";
constexpr const char* kPhone = "Phone";
constexpr const char* kCellular = "Cellular";
constexpr const char* kZip = "Zip";
constexpr const char* kTown = "Town";
constexpr const char* kCompany = "Company";
constexpr const char* kHandleName = "HandleName";
constexpr const char* kOtherInfo = "OtherInfo";
constexpr const char* kSelfIdentity = "Self Identity";
}  // namespace privateinfoname

// The eleven texts of the personal-information dialog.
struct PersonalInfo {
  std::string familyName;       // "名前（姓）"
  std::string givenName;        // "（名）"
  std::string familyNameLatin;  // "英名（姓）"
  std::string givenNameLatin;   // "（名）" beside it
  std::string phone;
  std::string cellular;
  std::string zip;
  std::string town;
  std::string company;
  std::string handleName;
  std::string otherInfo;  // one item per line

  void Load(RegistryAccess& reg);
  // True when every value was written.
  bool Save(RegistryAccess& reg) const;
};

// The own-name dialog's text ("Self Identity"), one name per line.
std::string LoadSelfIdentity(RegistryAccess& reg);
bool SaveSelfIdentity(RegistryAccess& reg, const std::string& text);

}  // namespace velkor
