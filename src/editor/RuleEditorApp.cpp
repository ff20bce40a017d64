#include "editor/RuleEditorApp.h"

namespace velkor {

StartupOutcome RunRuleEditor(AppPlatform& platform) {
  // A mutex that cannot be created counts as another copy running: starting
  // twice must never give two editors writing the same rules.
  if (!platform.CreateInstanceMutex(kInstanceMutexName)) {
    return platform.ActivateWindow(kMainWindowTitle) ? StartupOutcome::ActivatedFirstInstance
                                                     : StartupOutcome::SecondInstanceSilent;
  }
  platform.InitCommonControls();
  if (!platform.InitOle()) {
    platform.ShowStartupError(StartupError::OleInitFailed);
    return StartupOutcome::OleFailed;
  }
  if (!platform.LoadRichEdit()) {
    platform.ShowStartupError(StartupError::RichEditLoadFailed);
    platform.UninitOle();
    return StartupOutcome::RichEditFailed;
  }
  platform.RunMainWindow();
  platform.StopWatchers();
  platform.UninitOle();
  return StartupOutcome::MainWindowClosed;
}

bool BackUpOrAskBeforeSave(SaveBackupSteps& steps) {
  std::string where;
  if (steps.WriteBackup(&where)) return true;
  return steps.AskYesNo(std::string(kSaveWithoutBackup) + "\r\n\r\n" + where);
}

}  // namespace velkor
