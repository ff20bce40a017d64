#pragma once
// The shell's platform on Windows: the named mutex, window activation,
// common controls, OLE, RICHED20.DLL, the main window and the watchers.

#include <windows.h>

#include <memory>

#include "editor/RuleEditorApp.h"
#include "registry/Win32Registry.h"
#include "win/Program.h"

namespace velkor {

class Win32AppPlatform : public AppPlatform {
 public:
  Win32AppPlatform() = default;
  ~Win32AppPlatform() override;
  Win32AppPlatform(const Win32AppPlatform&) = delete;
  Win32AppPlatform& operator=(const Win32AppPlatform&) = delete;

  bool CreateInstanceMutex(const std::string& name) override;
  bool ActivateWindow(const std::string& title) override;
  void InitCommonControls() override;
  bool InitOle() override;
  void UninitOle() override;
  bool LoadRichEdit() override;
  void ShowStartupError(StartupError error) override;
  int RunMainWindow() override;
  void StopWatchers() override;

 private:
  // Held open for the life of the first instance, never released explicitly.
  std::unique_ptr<win::NamedMutex> mutex_;
  HMODULE richEdit_ = nullptr;
  bool oleInitialized_ = false;
  Win32Registry registry_;
};

// Velkor.exe's whole run; answers the process exit code.
int RunVelkor();

}  // namespace velkor
