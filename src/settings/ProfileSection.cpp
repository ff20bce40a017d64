#include "settings/ProfileSection.h"

#include <utility>

namespace velkor {

ProfileSection::ProfileSection(RegistryAccess& reg, std::string section)
    : reg_(reg), path_(std::string(kApplicationKey) + "\\" + section) {}

std::int32_t ProfileSection::GetInt(const std::string& name, std::int32_t defaultValue) const {
  RegKey key(reg_);
  std::uint32_t value = 0;
  if (key.Open(path_, RegAccess::Read) != regerr::kSuccess || !key.ReadDword(name, &value)) return defaultValue;
  return static_cast<std::int32_t>(value);
}

std::string ProfileSection::GetString(const std::string& name, const std::string& defaultValue) const {
  RegKey key(reg_);
  std::string value;
  if (key.Open(path_, RegAccess::Read) != regerr::kSuccess || !key.ReadString(name, &value)) return defaultValue;
  return value;
}

bool ProfileSection::SetInt(const std::string& name, std::int32_t value) {
  RegKey key(reg_);
  return key.Create(path_) == regerr::kSuccess &&
         key.WriteDword(name, static_cast<std::uint32_t>(value)) == regerr::kSuccess;
}

bool ProfileSection::SetString(const std::string& name, const std::string& value) {
  RegKey key(reg_);
  return key.Create(path_) == regerr::kSuccess && key.WriteString(name, value) == regerr::kSuccess;
}

}  // namespace velkor
