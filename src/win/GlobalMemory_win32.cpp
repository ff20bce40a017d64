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
  std::string text;
  ReadGlobalText(block, text);
  return text;
}

bool ReadGlobalText(HGLOBAL block, std::string& text) {
  text.clear();
  GlobalLockGuard lock(block);
  if (!lock || lock.Size() == 0) return false;
  const char* bytes = static_cast<const char*>(lock.Bytes());
  const std::size_t size = lock.Size();
  const void* nul = std::memchr(bytes, '\0', size);
  text.assign(bytes, nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - bytes) : size);
  return true;
}

}  // namespace velkor::win
