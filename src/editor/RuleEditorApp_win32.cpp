#include "editor/RuleEditorApp_win32.h"

#include <commctrl.h>
#include <ole2.h>

#include "win/Help.h"
#include "editor/RuleEditorWindow_win32.h"
#include "res/resource.h"
#include "rulestore/RegistryWatcher_win32.h"
#include "win/MessageBox.h"
#include "win/Strings.h"

namespace velkor {

Win32AppPlatform::~Win32AppPlatform() {
  if (richEdit_) ::FreeLibrary(richEdit_);
}

bool Win32AppPlatform::CreateInstanceMutex(const std::string& name) {
  mutex_ = std::make_unique<win::NamedMutex>(name.c_str());
  if (mutex_->CreatedFirst()) return true;
  mutex_.reset();  // a second copy lets go at once
  return false;
}

bool Win32AppPlatform::ActivateWindow(const std::string& title) { return win::ActivateWindowTitled(title); }

void Win32AppPlatform::InitCommonControls() {
  INITCOMMONCONTROLSEX init{};
  init.dwSize = sizeof(init);
  init.dwICC = ICC_LISTVIEW_CLASSES | ICC_TREEVIEW_CLASSES | ICC_USEREX_CLASSES | ICC_PROGRESS_CLASS |
               ICC_BAR_CLASSES;
  ::InitCommonControlsEx(&init);
}

bool Win32AppPlatform::InitOle() {
  oleInitialized_ = SUCCEEDED(::OleInitialize(nullptr));
  return oleInitialized_;
}

void Win32AppPlatform::UninitOle() {
  if (oleInitialized_) ::OleUninitialize();
  oleInitialized_ = false;
}

bool Win32AppPlatform::LoadRichEdit() {
  richEdit_ = ::LoadLibraryA("RICHED20.DLL");
  return richEdit_ != nullptr;
}

void Win32AppPlatform::ShowStartupError(StartupError error) {
  std::string title = win::LoadResString(IDS_APP_TITLE);
  if (error == StartupError::OleInitFailed)
    win::ShowMessageId(nullptr, IDS_OLE_INIT_FAILED, title, MB_OK | MB_ICONERROR);
  else
    win::ShowMessage(nullptr, kRichEditFailedText, title, MB_OK | MB_ICONERROR);
}

int Win32AppPlatform::RunMainWindow() {
  // The settings key is fixed by ProfileSection; the window reads and writes
  // its values through this registry.
  RuleEditorWindow window(registry_);
  INT_PTR result = window.Run(nullptr);
  CloseHelp();
  return static_cast<int>(result);
}

void Win32AppPlatform::StopWatchers() { StopAllWatchers(); }

int RunVelkor() {
  Win32AppPlatform platform;
  StartupOutcome outcome = RunRuleEditor(platform);
  switch (outcome) {
    case StartupOutcome::MainWindowClosed:
    case StartupOutcome::ActivatedFirstInstance:
    case StartupOutcome::SecondInstanceSilent:
      return 0;
    default:
      return 1;
  }
}

}  // namespace velkor
