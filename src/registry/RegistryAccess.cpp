#include "registry/RegistryAccess.h"

#include <cstring>
#include <utility>

namespace velkor {

RegKey::RegKey(RegKey&& other) noexcept : reg_(other.reg_), handle_(other.handle_) {
  other.handle_ = kNoRegHandle;
}

RegKey& RegKey::operator=(RegKey&& other) noexcept {
  if (this != &other) {
    Close();
    reg_ = other.reg_;
    handle_ = std::exchange(other.handle_, kNoRegHandle);
  }
  return *this;
}

long RegKey::Open(const std::string& path, RegAccess access, RegRoot root) {
  Close();
  return reg_->OpenKey(root, path, access, &handle_);
}

long RegKey::Create(const std::string& path, RegRoot root) {
  Close();
  return reg_->CreateKey(root, path, &handle_);
}

void RegKey::Close() {
  if (handle_ != kNoRegHandle) reg_->CloseKey(std::exchange(handle_, kNoRegHandle));
}

bool RegKey::ReadDword(const std::string& name, std::uint32_t* value) const {
  std::uint8_t bytes[4];
  std::uint32_t size = sizeof bytes;
  if (reg_->QueryValue(handle_, name, nullptr, bytes, &size) != regerr::kSuccess || size != 4) return false;
  *value = static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
           static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
  return true;
}

bool RegKey::ReadBytes(const std::string& name, std::vector<std::uint8_t>* value, std::uint32_t* type) const {
  // The value may change size between the two calls (another process); retry a few times.
  for (int attempt = 0; attempt < 4; ++attempt) {
    std::uint32_t size = 0;
    if (reg_->QueryValue(handle_, name, nullptr, nullptr, &size) != regerr::kSuccess) return false;
    std::vector<std::uint8_t> buffer(size);
    std::uint32_t got = size;
    const long rc = reg_->QueryValue(handle_, name, type, buffer.empty() ? nullptr : buffer.data(), &got);
    if (rc == regerr::kMoreData) continue;
    if (rc != regerr::kSuccess) return false;
    if (buffer.empty()) {
      // Zero-length value: query once more for its type.
      if (type && reg_->QueryValue(handle_, name, type, nullptr, &got) != regerr::kSuccess) return false;
    }
    buffer.resize(got < size ? got : size);
    *value = std::move(buffer);
    return true;
  }
  return false;
}

bool RegKey::ReadString(const std::string& name, std::string* value) const {
  std::vector<std::uint8_t> bytes;
  if (!ReadBytes(name, &bytes)) return false;
  const auto* begin = reinterpret_cast<const char*>(bytes.data());
  const void* nul = bytes.empty() ? nullptr : std::memchr(begin, 0, bytes.size());
  const std::size_t len = nul ? static_cast<const char*>(nul) - begin : bytes.size();
  value->assign(begin, len);
  return true;
}

long long RegKey::ValueSize(const std::string& name) const {
  std::uint32_t size = 0;
  if (reg_->QueryValue(handle_, name, nullptr, nullptr, &size) != regerr::kSuccess) return -1;
  return size;
}

long RegKey::WriteDword(const std::string& name, std::uint32_t value) {
  const std::uint8_t bytes[4] = {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
                                 static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)};
  return reg_->SetValue(handle_, name, regtype::kDword, bytes, 4);
}

long RegKey::WriteString(const std::string& name, const std::string& value, std::uint32_t type) {
  return reg_->SetValue(handle_, name, type, value.c_str(), static_cast<std::uint32_t>(value.size() + 1));
}

long RegKey::WriteBytes(const std::string& name, const void* data, std::uint32_t size, std::uint32_t type) {
  return reg_->SetValue(handle_, name, type, data, size);
}

long RegKey::DeleteValue(const std::string& name) { return reg_->DeleteValue(handle_, name); }

long RegKey::DeleteKeyTree(const std::string& subkey) { return reg_->DeleteKeyTree(handle_, subkey); }

std::vector<std::string> RegKey::SubKeyNames(std::uint32_t bufferSize) const {
  std::vector<std::string> names;
  std::vector<char> buffer(bufferSize);
  for (std::uint32_t index = 0;; ++index) {
    std::uint32_t size = bufferSize;
    const long rc = reg_->EnumSubKey(handle_, index, buffer.data(), &size);
    if (rc == regerr::kMoreData) continue;  // a name too long for the buffer is skipped
    if (rc != regerr::kSuccess) break;
    names.emplace_back(buffer.data(), size < bufferSize ? size : bufferSize - 1);
  }
  return names;
}

}  // namespace velkor
