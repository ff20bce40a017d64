#pragma once
// The behaviour every RegistryAccess backend must show, as one parameterized
// suite. Each backend's test file instantiates it with a factory; the suite
// works below a fresh scratch key and removes it afterwards.

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "registry/RegistryAccess.h"

namespace velkor::test {

struct RegistryBackend {
  std::string label;
  std::function<std::unique_ptr<RegistryAccess>()> make;
};

inline std::string PrintToString(const RegistryBackend& b) { return b.label; }

class RegistryContract : public ::testing::TestWithParam<RegistryBackend> {
 protected:
  void SetUp() override;
  void TearDown() override;

  // A path below the scratch key.
  std::string Path(const std::string& sub) const { return sub.empty() ? base_ : base_ + "\\" + sub; }

  std::unique_ptr<RegistryAccess> reg_;
  std::string base_;
};

// Runs fn on a second thread (CreateThread on Windows, where std::thread is missing).
class TestThread {
 public:
  explicit TestThread(std::function<void()> fn);
  ~TestThread();  // joins
  TestThread(const TestThread&) = delete;
  TestThread& operator=(const TestThread&) = delete;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace velkor::test
