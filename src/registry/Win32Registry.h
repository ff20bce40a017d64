#pragma once
// RegistryAccess on the real Windows registry: each operation is the Win32
// function of the same name, one to one.

#include "registry/RegistryAccess.h"

namespace velkor {

class Win32Registry : public RegistryAccess {
 public:
  using RegistryAccess::CreateKey;
  using RegistryAccess::OpenKey;
  long OpenKey(RegRoot root, const std::string& path, RegAccess access, RegHandle* key) override;
  long CreateKey(RegRoot root, const std::string& path, RegHandle* key) override;
  long QueryValue(RegHandle key, const std::string& name, std::uint32_t* type, void* data,
                  std::uint32_t* size) override;
  long SetValue(RegHandle key, const std::string& name, std::uint32_t type, const void* data,
                std::uint32_t size) override;
  long DeleteValue(RegHandle key, const std::string& name) override;
  long EnumSubKey(RegHandle key, std::uint32_t index, char* name, std::uint32_t* nameSize) override;
  long EnumValue(RegHandle key, std::uint32_t index, char* name, std::uint32_t* nameSize, std::uint32_t* type,
                 void* data, std::uint32_t* dataSize) override;
  long DeleteKeyTree(RegHandle key, const std::string& subkey) override;
  void CloseKey(RegHandle key) override;
  long Watch(RegHandle key, bool wholeSubtree, std::uint32_t filter, Event& event) override;
};

}  // namespace velkor
