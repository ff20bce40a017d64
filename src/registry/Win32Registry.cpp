#include "registry/Win32Registry.h"

#include <windows.h>
#include <shlwapi.h>

#include "platform/Sync.h"

namespace velkor {

namespace {

HKEY RootKey(RegRoot root) { return root == RegRoot::LocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER; }

REGSAM Sam(RegAccess access) {
  switch (access) {
    case RegAccess::Read:
      return KEY_READ;
    case RegAccess::All:
      return KEY_ALL_ACCESS;
    case RegAccess::EnumerateSubKeys:
      return KEY_ENUMERATE_SUB_KEYS;
    case RegAccess::QueryValue:
      return KEY_QUERY_VALUE;
    case RegAccess::Notify:
      return KEY_NOTIFY;
  }
  return KEY_READ;
}

HKEY Key(RegHandle handle) { return reinterpret_cast<HKEY>(handle); }

}  // namespace

long Win32Registry::OpenKey(RegRoot root, const std::string& path, RegAccess access, RegHandle* key) {
  HKEY hkey = nullptr;
  const LONG rc = RegOpenKeyExA(RootKey(root), path.c_str(), 0, Sam(access), &hkey);
  *key = rc == ERROR_SUCCESS ? reinterpret_cast<RegHandle>(hkey) : kNoRegHandle;
  return rc;
}

long Win32Registry::CreateKey(RegRoot root, const std::string& path, RegHandle* key) {
  HKEY hkey = nullptr;
  const LONG rc = RegCreateKeyExA(RootKey(root), path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                                  nullptr, &hkey, nullptr);
  *key = rc == ERROR_SUCCESS ? reinterpret_cast<RegHandle>(hkey) : kNoRegHandle;
  return rc;
}

long Win32Registry::QueryValue(RegHandle key, const std::string& name, std::uint32_t* type, void* data,
                               std::uint32_t* size) {
  DWORD t = 0;
  DWORD s = size ? *size : 0;
  const LONG rc = RegQueryValueExA(Key(key), name.c_str(), nullptr, type ? &t : nullptr,
                                   static_cast<BYTE*>(data), size ? &s : nullptr);
  if (type && (rc == ERROR_SUCCESS || rc == ERROR_MORE_DATA)) *type = t;
  if (size && (rc == ERROR_SUCCESS || rc == ERROR_MORE_DATA)) *size = s;
  return rc;
}

long Win32Registry::SetValue(RegHandle key, const std::string& name, std::uint32_t type, const void* data,
                             std::uint32_t size) {
  return RegSetValueExA(Key(key), name.c_str(), 0, type, static_cast<const BYTE*>(data), size);
}

long Win32Registry::DeleteValue(RegHandle key, const std::string& name) {
  return RegDeleteValueA(Key(key), name.c_str());
}

long Win32Registry::EnumSubKey(RegHandle key, std::uint32_t index, char* name, std::uint32_t* nameSize) {
  DWORD s = *nameSize;
  const LONG rc = RegEnumKeyExA(Key(key), index, name, &s, nullptr, nullptr, nullptr, nullptr);
  if (rc == ERROR_SUCCESS) *nameSize = s;
  return rc;
}

long Win32Registry::EnumValue(RegHandle key, std::uint32_t index, char* name, std::uint32_t* nameSize,
                              std::uint32_t* type, void* data, std::uint32_t* dataSize) {
  DWORD s = *nameSize;
  DWORD t = 0;
  DWORD d = dataSize ? *dataSize : 0;
  const LONG rc = RegEnumValueA(Key(key), index, name, &s, nullptr, type ? &t : nullptr, static_cast<BYTE*>(data),
                                dataSize ? &d : nullptr);
  if (rc == ERROR_SUCCESS) *nameSize = s;
  if (rc == ERROR_SUCCESS || rc == ERROR_MORE_DATA) {
    if (type) *type = t;
    if (dataSize) *dataSize = d;
  }
  return rc;
}

long Win32Registry::DeleteKeyTree(RegHandle key, const std::string& subkey) {
  // An empty name would make SHDeleteKeyA empty the opened key itself: never meant.
  if (subkey.empty()) return ERROR_INVALID_PARAMETER;
  return static_cast<long>(SHDeleteKeyA(Key(key), subkey.c_str()));
}

void Win32Registry::CloseKey(RegHandle key) {
  if (key != kNoRegHandle) RegCloseKey(Key(key));
}

long Win32Registry::Watch(RegHandle key, bool wholeSubtree, std::uint32_t filter, Event& event) {
  return RegNotifyChangeKeyValue(Key(key), wholeSubtree ? TRUE : FALSE, filter,
                                 static_cast<HANDLE>(event.NativeHandle()), TRUE);
}

}  // namespace velkor
