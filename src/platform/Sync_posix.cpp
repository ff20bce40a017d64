#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "platform/Sync.h"

namespace velkor {

struct Mutex::Impl {
  std::mutex m;
};
Mutex::Mutex() : impl_(new Impl) {}
Mutex::~Mutex() = default;
void Mutex::Lock() { impl_->m.lock(); }
void Mutex::Unlock() { impl_->m.unlock(); }

struct Event::Impl {
  std::mutex m;
  std::condition_variable cv;
  bool set = false;
};
Event::Event() : impl_(new Impl) {}
Event::~Event() = default;
void Event::Set() {
  std::lock_guard<std::mutex> lock(impl_->m);
  impl_->set = true;
  impl_->cv.notify_all();
}
void Event::Reset() {
  std::lock_guard<std::mutex> lock(impl_->m);
  impl_->set = false;
}
bool Event::Wait(std::uint32_t timeoutMs) {
  std::unique_lock<std::mutex> lock(impl_->m);
  return impl_->cv.wait_for(lock, std::chrono::milliseconds(timeoutMs), [this] { return impl_->set; });
}
void* Event::NativeHandle() const { return nullptr; }

void SleepMs(std::uint32_t ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

std::uint32_t TickCountMs() {
  using namespace std::chrono;
  return static_cast<std::uint32_t>(
      duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

}  // namespace velkor
