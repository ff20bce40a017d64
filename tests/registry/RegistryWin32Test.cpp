#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "platform/Sync.h"
#include "registry/RegistryContract.h"
#include "registry/Win32Registry.h"

namespace velkor::test {

INSTANTIATE_TEST_SUITE_P(Win32, RegistryContract,
                         ::testing::Values(RegistryBackend{"Win32", [] {
                           return std::unique_ptr<RegistryAccess>(new Win32Registry);
                         }}),
                         [](const ::testing::TestParamInfo<RegistryBackend>& info) { return info.param.label; });

namespace {

class Win32RegistryTest : public RegistryContract {};

// Runs a command line to its end; its exit code, or -1 when it could not start.
long RunProcess(std::string commandLine) {
  STARTUPINFOA si = {};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi = {};
  if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr, &si,
                      &pi))
    return -1;
  WaitForSingleObject(pi.hProcess, 30000);
  DWORD code = 0;
  GetExitCodeProcess(pi.hProcess, &code);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return static_cast<long>(code);
}

TEST_P(Win32RegistryTest, AnotherProcessesChangeIsSignalledAndVisible) {
  RegKey watched(*reg_);
  ASSERT_EQ(regerr::kSuccess, watched.Create(Path("Process")));
  Event event;
  ASSERT_EQ(regerr::kSuccess, reg_->Watch(watched.Handle(), true, regnotify::kAll, event));
  ASSERT_EQ(0, RunProcess("reg.exe add \"HKCU\\" + Path("Process\\Sub") + "\" /v Name /d Outside /f"));
  EXPECT_TRUE(event.Wait(10000));
  RegKey sub(*reg_);
  ASSERT_EQ(regerr::kSuccess, sub.Open(Path("Process\\Sub"), RegAccess::Read));
  std::string text;
  EXPECT_TRUE(sub.ReadString("Name", &text));
  EXPECT_EQ("Outside", text);
}

INSTANTIATE_TEST_SUITE_P(Win32, Win32RegistryTest,
                         ::testing::Values(RegistryBackend{"Win32", [] {
                           return std::unique_ptr<RegistryAccess>(new Win32Registry);
                         }}),
                         [](const ::testing::TestParamInfo<RegistryBackend>& info) { return info.param.label; });

}  // namespace
}  // namespace velkor::test
