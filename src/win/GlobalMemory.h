#pragma once
// Global memory blocks, the currency of the clipboard and of OLE data objects.

#include <windows.h>

#include <cstddef>
#include <string>

namespace velkor::win {

// Locks a global memory block for one scope.
class GlobalLockGuard {
 public:
  explicit GlobalLockGuard(HGLOBAL block) : block_(block), bytes_(block ? ::GlobalLock(block) : nullptr) {}
  ~GlobalLockGuard() {
    if (bytes_) ::GlobalUnlock(block_);
  }
  GlobalLockGuard(const GlobalLockGuard&) = delete;
  GlobalLockGuard& operator=(const GlobalLockGuard&) = delete;
  void* Bytes() const { return bytes_; }
  // The block's size (0 when it could not be locked).
  std::size_t Size() const { return bytes_ ? ::GlobalSize(block_) : 0; }
  explicit operator bool() const { return bytes_ != nullptr; }

 private:
  HGLOBAL block_;
  void* bytes_;
};

// A movable block holding `size` bytes copied from `bytes`; null on failure.
// The caller owns it until it hands it to the clipboard or a STGMEDIUM.
HGLOBAL NewGlobalBlock(const void* bytes, std::size_t size);
// A block holding `text` and its terminating NUL.
inline HGLOBAL NewGlobalText(const std::string& text) { return NewGlobalBlock(text.c_str(), text.size() + 1); }

// The text of a block: its bytes up to the first NUL, or all of them when
// there is none (the size may be rounded up, the NUL missing). Empty for a
// block that cannot be locked.
std::string ReadGlobalText(HGLOBAL block);
// The same, answering false for a block of size 0 (or one that cannot be
// locked), which counts as absent.
bool ReadGlobalText(HGLOBAL block, std::string& text);

}  // namespace velkor::win
