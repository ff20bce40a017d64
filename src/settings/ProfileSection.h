#pragma once
// The programs' settings profile: one section (subkey) of the application key
// HKEY_CURRENT_USER\Software\Ostrel Software Development\Velkor, as MFC's
// profile functions keep it. Integers are DWORDs; a value that is missing or
// cannot be read gives the caller's default. Nothing is written by reading.

#include <cstdint>
#include <string>

#include "registry/RegistryAccess.h"

namespace velkor {

constexpr const char* kApplicationKey = "Software\\Ostrel Software Development\\Velkor";

class ProfileSection {
 public:
  ProfileSection(RegistryAccess& reg, std::string section);

  const std::string& KeyPath() const { return path_; }

  // Signed, as the profile functions return them: a stored 0xFFFFFFFF reads as -1.
  std::int32_t GetInt(const std::string& name, std::int32_t defaultValue) const;
  std::string GetString(const std::string& name, const std::string& defaultValue) const;
  bool SetInt(const std::string& name, std::int32_t value);
  bool SetString(const std::string& name, const std::string& value);

 private:
  RegistryAccess& reg_;
  std::string path_;
};

}  // namespace velkor
