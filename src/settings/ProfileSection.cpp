#include "settings/ProfileSection.h"

#include <utility>
#include <vector>

namespace velkor {

ProfileSection::ProfileSection(RegistryAccess& reg, std::string section)
    : reg_(reg), path_(std::string(kApplicationKey) + "\\" + section) {}

// As the profile functions do, a value of another type counts as missing.
std::int32_t ProfileSection::GetInt(const std::string& name, std::int32_t defaultValue) const {
  RegKey key(reg_);
  std::vector<std::uint8_t> bytes;
  std::uint32_t type = regtype::kNone;
  if (key.Open(path_, RegAccess::Read) != regerr::kSuccess || !key.ReadBytes(name, &bytes, &type) ||
      type != regtype::kDword || bytes.size() != 4) {
    return defaultValue;
  }
  return static_cast<std::int32_t>(bytes[0] | bytes[1] << 8 | bytes[2] << 16 | static_cast<std::uint32_t>(bytes[3]) << 24);
}

std::string ProfileSection::GetString(const std::string& name, const std::string& defaultValue) const {
  RegKey key(reg_);
  std::vector<std::uint8_t> bytes;
  std::uint32_t type = regtype::kNone;
  if (key.Open(path_, RegAccess::Read) != regerr::kSuccess || !key.ReadBytes(name, &bytes, &type) ||
      (type != regtype::kSz && type != regtype::kExpandSz)) {
    return defaultValue;
  }
  std::string value(bytes.begin(), bytes.end());
  return value.substr(0, value.find('\0'));
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
