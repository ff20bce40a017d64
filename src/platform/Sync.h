#pragma once
// Threading primitives that work with both compilers. The Windows build uses the
// mingw win32 thread model, which has no std::mutex or std::thread, so these wrap
// critical sections and events there and the standard library natively.

#include <cstdint>
#include <memory>

namespace velkor {

class Mutex {
 public:
  Mutex();
  ~Mutex();
  Mutex(const Mutex&) = delete;
  Mutex& operator=(const Mutex&) = delete;
  void Lock();
  void Unlock();

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

class MutexLock {
 public:
  explicit MutexLock(Mutex& m) : m_(m) { m_.Lock(); }
  ~MutexLock() { m_.Unlock(); }
  MutexLock(const MutexLock&) = delete;
  MutexLock& operator=(const MutexLock&) = delete;

 private:
  Mutex& m_;
};

// A manual-reset event.
class Event {
 public:
  Event();
  ~Event();
  Event(const Event&) = delete;
  Event& operator=(const Event&) = delete;
  void Set();
  void Reset();
  // True when the event is (or becomes) set within timeoutMs.
  bool Wait(std::uint32_t timeoutMs);
  // The Win32 event HANDLE on Windows (for RegNotifyChangeKeyValue); null elsewhere.
  void* NativeHandle() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

void SleepMs(std::uint32_t ms);
// A monotonic millisecond counter (wraps like GetTickCount).
std::uint32_t TickCountMs();

}  // namespace velkor
