#include "win/Program.h"

#include <algorithm>
#include <vector>

#include "text/ShiftJis.h"

namespace velkor::win {

std::string ProgramPath() {
  std::vector<char> buffer(MAX_PATH + 1, '\0');
  for (;;) {
    DWORD length = ::GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) return std::string();
    // A full buffer may be a cut path (XP does not say so by an error).
    if (length < buffer.size() - 1) return std::string(buffer.data(), length);
    if (buffer.size() > 32768) return std::string();
    buffer.assign(buffer.size() * 2, '\0');
  }
}

std::string FolderOf(const std::string& path) {
  std::size_t back = sjis::RFind(path, "\\");
  std::size_t slash = sjis::RFind(path, "/");
  std::size_t cut = back == sjis::npos ? slash : (slash == sjis::npos ? back : std::max(back, slash));
  return cut == sjis::npos ? std::string() : path.substr(0, cut + 1);
}

std::string ProgramSiblingPath(const std::string& fileName) {
  std::string program = ProgramPath();
  if (program.empty()) return std::string();
  return FolderOf(program) + fileName;
}

bool IsNtFamily() {
  OSVERSIONINFOA info{};
  info.dwOSVersionInfoSize = sizeof info;
  if (!::GetVersionExA(&info)) return true;
  return info.dwPlatformId == VER_PLATFORM_WIN32_NT;
}

NamedMutex::NamedMutex(const char* name) {
  handle_ = ::CreateMutexA(nullptr, FALSE, name);
  existed_ = ::GetLastError() == ERROR_ALREADY_EXISTS;
}

NamedMutex::~NamedMutex() { Close(); }

void NamedMutex::Close() {
  if (handle_) ::CloseHandle(handle_);
  handle_ = nullptr;
}

bool MutexExists(const char* name) {
  NamedMutex probe(name);
  return !probe.CreatedFirst();
}

bool ActivateWindowTitled(const std::string& title) {
  HWND window = ::FindWindowA(nullptr, title.c_str());
  if (!window) return false;
  if (::IsIconic(window)) ::ShowWindow(window, SW_RESTORE);
  // While the first copy shows a modal dialog its main window is disabled:
  // the dialog is what the user can work with, so that one comes to the front.
  HWND popup = ::GetLastActivePopup(window);
  ::SetForegroundWindow(popup && ::IsWindowEnabled(popup) ? popup : window);
  return true;
}

}  // namespace velkor::win
