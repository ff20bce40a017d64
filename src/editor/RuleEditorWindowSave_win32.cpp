// The main window's save and close: validation, the Outlook Express check,
// the write under the progress window and the reload; the close prompt and
// the window settings stored then; always on top; starting the sync utility.
#include "editor/RuleEditorWindow_win32.h"

#include <memory>
#include <string>

#include "editor/ProgressDialog_win32.h"
#include "editor/RuleEditorApp.h"
#include "editor/WindowState.h"
#include "res/resource.h"
#include "rulestore/OutlookExpressRunningCheck_win32.h"
#include "win/Controls.h"
#include "win/MessageBox.h"
#include "win/Program.h"
#include "win/Strings.h"
#include "win/WaitCursor.h"

namespace velkor {
namespace {

using namespace mainwindow;

}  // namespace

// ---------------------------------------------------------------------------
// Save

bool RuleEditorWindow::ConfirmOutlookExpressClosed() {
  OutlookExpressPresence presence = OutlookExpressRunningCheck();
  while (presence.running) {
    int answer = win::ShowMessageId(Handle(), IDS_OE_RUNNING_WARNING, kWarningTitle,
                                    MB_ABORTRETRYIGNORE | MB_ICONWARNING);
    if (answer == IDIGNORE) {
      return win::ShowMessageId(Handle(), IDS_SAVE_WHILE_OE_RUNS, win::LoadResString(IDS_APP_TITLE),
                                MB_OKCANCEL | MB_ICONINFORMATION) == IDOK;
    }
    presence = OutlookExpressRunningCheck();
    if (presence.running && presence.window) {
      // A minimised window stays so; its taskbar button still flashes.
      if (!::IsIconic(presence.window)) {
        ::SetForegroundWindow(presence.window);
        ::BringWindowToTop(presence.window);
      }
      ::FlashWindow(presence.window, TRUE);
    }
    if (answer != IDRETRY) return false;  // Abort, or the box closed otherwise
  }
  return true;
}

bool RuleEditorWindow::SaveChanges(bool closing) {
  // An edit still being typed is a change too.
  for (EditorPane* pane : panes_) pane->EndEdit();
  if (!session_.HasUnsavedChanges()) return true;
  if (ruleList_.SelectFirstInvalid()) {
    Tell(kInvalidRules, MB_ICONWARNING);
    return false;
  }
  if (!ConfirmOutlookExpressClosed()) return false;
  StopWatching();
  // Nothing is written unless what is stored now has been backed up first,
  // or the user, told where the backup was to go, chose to save without it.
  class Steps : public SaveBackupSteps {
   public:
    explicit Steps(RuleEditorWindow& window) : window_(window) {}
    bool WriteBackup(std::string* where) override { return window_.BackUpBeforeSave(where); }
    bool AskYesNo(const std::string& text) override {
      return window_.Ask(text, kWarningTitle, MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) == IDYES;
    }

   private:
    RuleEditorWindow& window_;
  } steps(*this);
  if (!BackUpOrAskBeforeSave(steps)) {
    EnsureWatching();
    return false;
  }

  // The session holds the display order; the rows are not read back.
  SaveResult result;
  {
    win::WaitCursor wait;
    std::unique_ptr<ProgressDialog> progress = OpenProgress(kSavingStatus, false);
    result = session_.Save(*progress);
    if (!session_.HasUnsavedChanges() && !closing) {
      progress->SetStatus(kReloadingStatus);
      LoadIdentity(false);
    }
    progress->Close();
  }
  if (session_.HasUnsavedChanges()) {
    EnsureWatching();
    // The rules that did not reach the registry stay edited; the user must know which.
    Tell(SaveFailureText(result, session_.Rules()), MB_ICONERROR);
    Modified();
    return false;
  }
  Modified();
  return true;
}

// ---------------------------------------------------------------------------
// Close, settings, system menu, sync

void RuleEditorWindow::OnClose() {
  // Alt+F4 leaves the focus where it is: an edit being typed is committed first.
  for (EditorPane* pane : panes_) pane->EndEdit();
  if (session_.HasUnsavedChanges()) {
    int answer = Ask(kSaveQuestion, kSaveQuestionTitle, MB_YESNOCANCEL | MB_ICONQUESTION);
    if (answer == IDCANCEL) return;
    if (answer == IDYES && !SaveChanges(true)) return;
  }
  StoreWindowSettings();
  StopWatching();
  ended_ = true;
  End(IDOK);
}

void RuleEditorWindow::StoreWindowSettings() {
  VelkorSettings stored = settings_;
  stored.desktopWidth = ::GetSystemMetrics(SM_CXSCREEN);
  stored.desktopHeight = ::GetSystemMetrics(SM_CYSCREEN);
  RECT rect;
  ::GetWindowRect(Handle(), &rect);
  bool minimised = ::IsIconic(Handle()) != FALSE;
  stored.mainWndLeft = minimised ? 0 : rect.left;
  stored.mainWndTop = minimised ? 0 : rect.top;
  // The size the user gave it; a minimised or maximised window keeps the last one.
  if (!minimised && !::IsZoomed(Handle())) {
    stored.mainWndWidth = rect.right - rect.left;
    stored.mainWndHeight = rect.bottom - rect.top;
  }
  stored.initialOEUser = session_.IdentityKey();
  RememberedSelection selection;
  for (EditorPane* pane : panes_) pane->RememberSelection(&selection);
  stored.initialRule = static_cast<std::int32_t>(selection.rule);
  stored.initialCriteria = stored.initialAction = -1;
  if (selection.rule >= 0) {
    // An unchecked selected row is stored as the lowest checked one.
    stored.initialCriteria = RememberedSlotRow(selection.criterion, criteria_.ShownMask());
    stored.initialAction = RememberedSlotRow(selection.action, actions_.ShownMask());
  }
  stored.SaveMainWindow(registry_);
  settings_ = stored;
}

void RuleEditorWindow::ToggleTopMost() {
  // Kept in a flag: Wine does not always report WS_EX_TOPMOST back.
  bool topMost = !topMost_;
  ::SetWindowPos(Handle(), topMost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  topMost_ = topMost;
  ::CheckMenuItem(::GetSystemMenu(Handle(), FALSE), ID_SYS_TOPMOST,
                  MF_BYCOMMAND | (topMost ? MF_CHECKED : MF_UNCHECKED));
  settings_.showTopMost = topMost ? 1 : 0;
  settings_.SaveTopMost(registry_);
}

void RuleEditorWindow::StartSyncUtility() {
  if (session_.HasUnsavedChanges()) {
    Tell(kSaveFirst, MB_ICONINFORMATION);
    return;
  }
  std::string program = win::ProgramSiblingPath(kSyncProgram);
  if (program.empty()) return;
  std::string commandLine = "\"" + program + "\"";
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOWNORMAL;
  PROCESS_INFORMATION process{};
  if (!::CreateProcessA(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process)) {
    win::ShowMessage(Handle(), kSyncStartFailed, win::LoadResString(IDS_APP_TITLE), MB_OK | MB_ICONERROR);
    return;
  }
  ::CloseHandle(process.hThread);
  ::CloseHandle(process.hProcess);
}

}  // namespace velkor
