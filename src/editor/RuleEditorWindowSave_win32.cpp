// The main window's save and close: validation, the Outlook Express check,
// the write under the progress window and the reload; the close prompt and
// the window settings stored then; always on top; starting the sync utility.
#include "editor/RuleEditorWindow_win32.h"

#include <string>
#include <vector>

#include "editor/ProgressDialog_win32.h"
#include "editor/WindowState.h"
#include "res/resource.h"
#include "rulestore/OutlookExpressRunningCheck_win32.h"
#include "win/Controls.h"
#include "win/MessageBox.h"
#include "win/Strings.h"

namespace velkor {
namespace {

using namespace mainwindow;

// Scoped wait cursor.
class WaitCursor {
 public:
  WaitCursor() : previous_(::SetCursor(::LoadCursorA(nullptr, IDC_WAIT))) {}
  ~WaitCursor() { ::SetCursor(previous_); }

 private:
  HCURSOR previous_;
};

}  // namespace

// ---------------------------------------------------------------------------
// Save

bool RuleEditorWindow::ValidateRows() {
  win::ListView list(Handle(), IDC_RULE_LIST);
  for (int row = 0; row < list.Count(); ++row) {
    if (store_.IsRuleValid(RuleIdAt(row))) continue;
    ruleListGuard_ = true;
    list.UnselectAll();
    ruleListGuard_ = false;
    list.EnsureVisible(row);
    list.SetSelected(row, true);
    list.SetFocused(row, true);
    win::ShowMessage(Handle(), kInvalidRules, win::LoadResString(IDS_APP_TITLE), MB_OK | MB_ICONWARNING);
    return false;
  }
  return true;
}

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
  if (!store_.HasChanges()) return true;
  if (!ValidateRows()) return false;
  if (!ConfirmOutlookExpressClosed()) return false;
  StopWatching();

  win::ListView list(Handle(), IDC_RULE_LIST);
  std::vector<std::uint32_t> order;
  for (int row = 0; row < list.Count(); ++row) order.push_back(RuleIdAt(row));

  SaveResult result;
  {
    WaitCursor wait;
    ProgressDialog progress;
    progress.Create(Handle());
    progress.AllowCancel(false);
    progress.SetStatus(kSavingStatus);
    result = store_.SaveAll(order, progress);
    if (!store_.HasChanges() && !closing) {
      progress.SetStatus(kReloadingStatus);
      LoadIdentity(false);
    }
    progress.Close();
  }
  if (store_.HasChanges()) {
    EnsureWatching();
    // The rules that did not reach the registry stay edited; the user must know which.
    win::ShowMessage(Handle(), SaveFailureText(result, store_.Rules()), win::LoadResString(IDS_APP_TITLE),
                     MB_OK | MB_ICONERROR);
    UpdateSaveButton();
    return false;
  }
  UpdateSaveButton();
  return true;
}

// ---------------------------------------------------------------------------
// Close, settings, system menu, sync

void RuleEditorWindow::OnClose() {
  if (store_.HasChanges()) {
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
  stored.initialOEUser = identityKey_;
  std::int64_t rule = SingleSelectedRuleId();
  stored.initialRule = static_cast<std::int32_t>(rule);
  stored.initialCriteria = stored.initialAction = -1;
  if (rule >= 0) {
    const auto number = static_cast<std::uint32_t>(rule);
    stored.initialCriteria = RememberedSlotRow(win::ListView(Handle(), IDC_CRITERIA_TYPE_LIST).NextSelected(),
                                               store_.CriteriaMask(number));
    stored.initialAction = RememberedSlotRow(win::ListView(Handle(), IDC_ACTION_TYPE_LIST).NextSelected(),
                                             store_.ActionMask(number));
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
  if (store_.HasChanges()) {
    win::ShowMessage(Handle(), kSaveFirst, win::LoadResString(IDS_APP_TITLE), MB_OK | MB_ICONINFORMATION);
    return;
  }
  char path[MAX_PATH] = {};
  DWORD length = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return;
  std::string program(path, length);
  std::size_t slash = program.find_last_of("\\/");
  program = (slash == std::string::npos ? std::string() : program.substr(0, slash + 1)) + kSyncProgram;
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

void RuleEditorWindow::UpdateSaveButton() {
  if (Handle()) EnableItem(IDC_SAVE, store_.HasChanges());
}

}  // namespace velkor
