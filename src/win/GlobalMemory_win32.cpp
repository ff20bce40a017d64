#include "win/GlobalMemory.h"

#include <cstring>

namespace velkor::win {

HGLOBAL NewGlobalBlock(const void* bytes, std::size_t size) {
  HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE, size ? size : 1);
  if (!block) return nullptr;
  {
    GlobalLockGuard lock(block);
    if (!lock) {
      ::GlobalFree(block);
      return nullptr;
    }
    if (size) std::memcpy(lock.Bytes(), bytes, size);
  }
  return block;
}

std::string ReadGlobalText(HGLOBAL block) {
  GlobalLockGuard lock(block);
  if (!lock) return {};
  const char* bytes = static_cast<const char*>(lock.Bytes());
  const std::size_t size = lock.Size();
  const void* nul = std::memchr(bytes, '\0', size);
  return std::string(bytes, nul ? static_cast<const char*>(nul) - bytes : size);
}

}  // namespace velkor::win
