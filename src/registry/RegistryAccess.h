#pragma once
// The registry operations that all registry code is written against. They map
// one to one onto the Win32 functions (RegOpenKeyExA, RegCreateKeyExA,
// RegQueryValueExA, RegSetValueExA, RegDeleteValueA, RegEnumKeyExA,
// RegEnumValueA, SHDeleteKeyA, RegCloseKey, RegNotifyChangeKeyValue) and return
// their error codes. Paths are backslash-separated, relative to the root,
// without a leading backslash; "" names the root itself and the default value.
// Names, values and paths are Shift_JIS bytes and never converted.

#include <cstdint>
#include <string>
#include <vector>

namespace velkor {

class Event;

using RegHandle = std::uintptr_t;  // 0 is never a valid handle
constexpr RegHandle kNoRegHandle = 0;

// Win32 error codes as the registry functions return them.
namespace regerr {
constexpr long kSuccess = 0;
constexpr long kFileNotFound = 2;
constexpr long kAccessDenied = 5;
constexpr long kInvalidHandle = 6;
constexpr long kWriteFault = 29;
constexpr long kInvalidParameter = 87;
constexpr long kBadPathname = 161;
constexpr long kMoreData = 234;
constexpr long kNoMoreItems = 259;
constexpr long kBadKey = 1010;
constexpr long kKeyDeleted = 1018;
}  // namespace regerr

// Registry value types.
namespace regtype {
constexpr std::uint32_t kNone = 0;
constexpr std::uint32_t kSz = 1;
constexpr std::uint32_t kExpandSz = 2;
constexpr std::uint32_t kBinary = 3;
constexpr std::uint32_t kDword = 4;
constexpr std::uint32_t kMultiSz = 7;
}  // namespace regtype

// RegNotifyChangeKeyValue filter bits.
namespace regnotify {
constexpr std::uint32_t kName = 0x01;
constexpr std::uint32_t kAttributes = 0x02;
constexpr std::uint32_t kLastSet = 0x04;
constexpr std::uint32_t kSecurity = 0x08;
constexpr std::uint32_t kAll = 0x0F;
}  // namespace regnotify

enum class RegRoot { CurrentUser, LocalMachine };
enum class RegAccess { Read, All, EnumerateSubKeys, QueryValue, Notify };

class RegistryAccess {
 public:
  virtual ~RegistryAccess() = default;

  // Fails (kFileNotFound) when the key does not exist.
  virtual long OpenKey(RegRoot root, const std::string& path, RegAccess access, RegHandle* key) = 0;
  // Creates missing keys along the path (non-volatile, full access); opens an existing key.
  virtual long CreateKey(RegRoot root, const std::string& path, RegHandle* key) = 0;
  // data == nullptr: reports the stored size. Otherwise copies the value when it
  // fits in *size (kMoreData when not) and sets *size to the stored size. type may be null.
  virtual long QueryValue(RegHandle key, const std::string& name, std::uint32_t* type, void* data,
                          std::uint32_t* size) = 0;
  virtual long SetValue(RegHandle key, const std::string& name, std::uint32_t type, const void* data,
                        std::uint32_t size) = 0;
  virtual long DeleteValue(RegHandle key, const std::string& name) = 0;
  // *nameSize in: buffer size in bytes; out: the name's length without the NUL.
  // Subkeys come in the order Windows gives: sorted without regard to case.
  virtual long EnumSubKey(RegHandle key, std::uint32_t index, char* name, std::uint32_t* nameSize) = 0;
  // As EnumSubKey for values; data may be null to learn the size.
  virtual long EnumValue(RegHandle key, std::uint32_t index, char* name, std::uint32_t* nameSize,
                         std::uint32_t* type, void* data, std::uint32_t* dataSize) = 0;
  // Removes the subkey with everything below it.
  virtual long DeleteKeyTree(RegHandle key, const std::string& subkey) = 0;
  virtual void CloseKey(RegHandle key) = 0;
  // Arms a one-shot change notification that sets `event`.
  virtual long Watch(RegHandle key, bool wholeSubtree, std::uint32_t filter, Event& event) = 0;

  // The current user's root, which nearly every caller wants.
  long OpenKey(const std::string& path, RegAccess access, RegHandle* key) {
    return OpenKey(RegRoot::CurrentUser, path, access, key);
  }
  long CreateKey(const std::string& path, RegHandle* key) { return CreateKey(RegRoot::CurrentUser, path, key); }
};

// Owns an open key and closes it; the typed reads are bounded by the stored
// size and never read past a buffer, whatever type or length was stored.
class RegKey {
 public:
  explicit RegKey(RegistryAccess& reg) : reg_(&reg) {}
  ~RegKey() { Close(); }
  RegKey(RegKey&& other) noexcept;
  RegKey& operator=(RegKey&& other) noexcept;
  RegKey(const RegKey&) = delete;
  RegKey& operator=(const RegKey&) = delete;

  long Open(const std::string& path, RegAccess access, RegRoot root = RegRoot::CurrentUser);
  long Create(const std::string& path, RegRoot root = RegRoot::CurrentUser);
  void Close();
  bool IsOpen() const { return handle_ != kNoRegHandle; }
  RegHandle Handle() const { return handle_; }
  RegistryAccess& Registry() const { return *reg_; }

  // Exactly four bytes must be stored.
  bool ReadDword(const std::string& name, std::uint32_t* value) const;
  // Text up to its first NUL, or the whole stored bytes when there is none.
  bool ReadString(const std::string& name, std::string* value) const;
  // All stored bytes, any type; optionally reports the stored type.
  bool ReadBytes(const std::string& name, std::vector<std::uint8_t>* value, std::uint32_t* type = nullptr) const;
  // Stored size in bytes, or -1 when the value is missing.
  long long ValueSize(const std::string& name) const;
  bool HasValue(const std::string& name) const { return ValueSize(name) >= 0; }

  long WriteDword(const std::string& name, std::uint32_t value);
  // REG_SZ (or REG_EXPAND_SZ); the stored size counts the terminating NUL.
  long WriteString(const std::string& name, const std::string& value, std::uint32_t type = regtype::kSz);
  long WriteBytes(const std::string& name, const void* data, std::uint32_t size,
                  std::uint32_t type = regtype::kBinary);
  long DeleteValue(const std::string& name);
  long DeleteKeyTree(const std::string& subkey);

  // Names of all subkeys in enumeration order (names up to bufferSize-1 bytes).
  std::vector<std::string> SubKeyNames(std::uint32_t bufferSize = 512) const;

 private:
  RegistryAccess* reg_;
  RegHandle handle_ = kNoRegHandle;
};

}  // namespace velkor
