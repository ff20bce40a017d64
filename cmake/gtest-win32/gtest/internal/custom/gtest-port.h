#pragma once
// GoogleTest under the mingw win32 thread model: its Notification needs
// std::mutex, which that model lacks, so provide one on an atomic flag.
#include <atomic>

extern "C" __declspec(dllimport) void __stdcall Sleep(unsigned long milliseconds);

#define GTEST_HAS_NOTIFICATION_ 1
namespace testing {
namespace internal {
class Notification {
 public:
  Notification() : notified_(false) {}
  Notification(const Notification&) = delete;
  Notification& operator=(const Notification&) = delete;
  void Notify() { notified_ = true; }
  void WaitForNotification() {
    while (!notified_) Sleep(1);
  }

 private:
  std::atomic<bool> notified_;
};
}  // namespace internal
}  // namespace testing
