#pragma once
// A program of the build started as a real process by an end-to-end test;
// ended by force when the test leaves it running.
#include <windows.h>

#include <string>

namespace velkor::test {

// The full path of a program in the test executable's own folder.
inline std::string ProgramBeside(const std::string& name) {
  char path[MAX_PATH] = {};
  const DWORD length = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
  const std::string self(path, length);
  return self.substr(0, self.find_last_of('\\') + 1) + name;
}

class ChildProcess {
 public:
  ChildProcess() = default;
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;
  ~ChildProcess() {
    if (!info_.hProcess) return;
    if (Running()) {
      ::TerminateProcess(info_.hProcess, 99);
      ::WaitForSingleObject(info_.hProcess, 5000);
    }
    ::CloseHandle(info_.hProcess);
  }

  bool Start(const std::string& program, const std::string& arguments = "") {
    const std::string path = ProgramBeside(program);
    std::string commandLine = "\"" + path + "\"" + (arguments.empty() ? "" : " " + arguments);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    if (!::CreateProcessA(path.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                          &info_)) {
      return false;
    }
    ::CloseHandle(info_.hThread);
    info_.hThread = nullptr;
    return true;
  }
  bool Started() const { return info_.hProcess != nullptr; }
  bool WaitForExit(DWORD timeoutMs) const {
    return info_.hProcess && ::WaitForSingleObject(info_.hProcess, timeoutMs) == WAIT_OBJECT_0;
  }
  bool Running() const { return info_.hProcess && ::WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT; }
  DWORD ExitCode() const {
    DWORD code = STILL_ACTIVE;
    ::GetExitCodeProcess(info_.hProcess, &code);
    return code;
  }
  DWORD Id() const { return info_.dwProcessId; }

 private:
  PROCESS_INFORMATION info_{};
};

}  // namespace velkor::test
