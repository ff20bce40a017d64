#include <windows.h>

#include "platform/Sync.h"

namespace velkor {

struct Mutex::Impl {
  CRITICAL_SECTION cs;
};
Mutex::Mutex() : impl_(new Impl) { InitializeCriticalSection(&impl_->cs); }
Mutex::~Mutex() { DeleteCriticalSection(&impl_->cs); }
void Mutex::Lock() { EnterCriticalSection(&impl_->cs); }
void Mutex::Unlock() { LeaveCriticalSection(&impl_->cs); }

struct Event::Impl {
  HANDLE h = nullptr;
};
Event::Event() : impl_(new Impl) { impl_->h = CreateEventA(nullptr, TRUE, FALSE, nullptr); }
Event::~Event() {
  if (impl_->h) CloseHandle(impl_->h);
}
void Event::Set() { SetEvent(impl_->h); }
void Event::Reset() { ResetEvent(impl_->h); }
bool Event::Wait(std::uint32_t timeoutMs) { return WaitForSingleObject(impl_->h, timeoutMs) == WAIT_OBJECT_0; }
void* Event::NativeHandle() const { return impl_->h; }

void SleepMs(std::uint32_t ms) { Sleep(ms); }
std::uint32_t TickCountMs() { return GetTickCount(); }

}  // namespace velkor
