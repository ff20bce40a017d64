#pragma once
// Start-up and shut-down of Velkor: one copy per logon, the platform
// facilities the windows need, the modal main window, and stopping the
// registry watchers afterwards. The order lives here, the platform calls behind
// AppPlatform, so the sequence runs in tests without a window.

#include <string>

namespace velkor {

constexpr const char* kInstanceMutexName = "Advanced Velkor";
constexpr const char* kMainWindowTitle = "Velkor Ver 1.0";
constexpr const char* kRichEditFailedText = "FAILED TO LOAD RICH EDIT 2";

enum class StartupError { OleInitFailed, RichEditLoadFailed };

class AppPlatform {
 public:
  virtual ~AppPlatform() = default;
  // Creates the named mutex (not owned) and keeps it open for the process.
  // False when it cannot be created or existed already; the handle is then closed.
  virtual bool CreateInstanceMutex(const std::string& name) = 0;
  // Finds a top-level window of exactly this title; restores it when it is
  // minimised and brings it to the foreground. False when there is none.
  virtual bool ActivateWindow(const std::string& title) = 0;
  virtual void InitCommonControls() = 0;
  virtual bool InitOle() = 0;
  virtual void UninitOle() = 0;
  virtual bool LoadRichEdit() = 0;
  virtual void ShowStartupError(StartupError error) = 0;
  // Runs the main window modally over the settings key; answers its result.
  virtual int RunMainWindow() = 0;
  // Asks each running watcher to stop and waits at most about 2 s for each.
  virtual void StopWatchers() = 0;
};

enum class StartupOutcome {
  ActivatedFirstInstance,  // a second copy: the first one's window came to the front
  SecondInstanceSilent,    // a second copy while the first has no window yet
  OleFailed,
  RichEditFailed,
  MainWindowClosed,
};

StartupOutcome RunRuleEditor(AppPlatform& platform);

// Before a save, what is stored now is backed up. When that cannot be done the
// user decides: save without a backup, or keep the edits unsaved.
constexpr const char* kSaveWithoutBackup = "バックアップを作成できませんでした。バックアップなしで保存しますか？";

class SaveBackupSteps {
 public:
  virtual ~SaveBackupSteps() = default;
  // False with where the backup was to go and why, in Japanese.
  virtual bool WriteBackup(std::string* where) = 0;
  // A Yes/No question; true for Yes.
  virtual bool AskYesNo(const std::string& text) = 0;
};

// True when the save may go on.
bool BackUpOrAskBeforeSave(SaveBackupSteps& steps);

}  // namespace velkor
