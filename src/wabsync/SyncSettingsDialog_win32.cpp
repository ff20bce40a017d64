#include "wabsync/SyncSettingsDialog_win32.h"

#include "help/HelpContext.h"
#include "win/Help.h"
#include "wabsync/SyncTexts.h"
#include "wabsync/wabsync_resource.h"
#include "win/MessageBox.h"

namespace velkor {

namespace {

const int kOptionControls[] = {IDC_SYNC_FULL, IDC_SYNC_ADD_ONLY, IDC_SYNC_STARTUP, IDC_SYNC_SHOW_RESULT,
                               IDC_SYNC_OK};

}  // namespace

SyncSettingsDialog::SyncSettingsDialog(RegistryAccess& reg, const SyncIdentitySource& identities,
                                       Win32SyncPlatform& platform)
    : reg_(reg), identities_(identities), platform_(platform) {
  const HINSTANCE instance = win::ProgramInstance();
  bigIcon_ = static_cast<HICON>(::LoadImageA(instance, MAKEINTRESOURCEA(IDI_PROGRAM), IMAGE_ICON,
                                             ::GetSystemMetrics(SM_CXICON), ::GetSystemMetrics(SM_CYICON), 0));
  smallIcon_ = static_cast<HICON>(::LoadImageA(instance, MAKEINTRESOURCEA(IDI_PROGRAM), IMAGE_ICON,
                                               ::GetSystemMetrics(SM_CXSMICON), ::GetSystemMetrics(SM_CYSMICON), 0));
}

SyncSettingsDialog::~SyncSettingsDialog() {
  if (bigIcon_) ::DestroyIcon(bigIcon_);
  if (smallIcon_) ::DestroyIcon(smallIcon_);
}

void SyncSettingsDialog::Prepare() {
  settings_.Load(reg_);
  FindSyncTargets(reg_, identities_, &targets_, &report_);
}

INT_PTR SyncSettingsDialog::Run(HWND owner) {
  const INT_PTR result = RunModal(owner, IDD_SYNC_SETTINGS);
  platform_.SetOwner(nullptr);
  return result;
}

void SyncSettingsDialog::ShowReport() {
  if (targets_.Empty()) report_.SetText(wabsync::kNoTargetReport);
  SetItemText(IDC_SYNC_REPORT, report_.Text());
}

bool SyncSettingsDialog::OnInit() {
  platform_.SetOwner(Handle());
  ShowReport();
  const bool full = SyncModeFromSetting(settings_.type) == SyncMode::Full;
  SetChecked(IDC_SYNC_FULL, full);
  SetChecked(IDC_SYNC_ADD_ONLY, !full);
  SetChecked(IDC_SYNC_STARTUP, settings_.startUp);
  SetChecked(IDC_SYNC_SHOW_RESULT, settings_.showResult);
  if (bigIcon_) ::SendMessageA(Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon_));
  if (smallIcon_) ::SendMessageA(Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_));

  const bool usable = !targets_.Empty();
  for (int id : kOptionControls) EnableItem(id, usable);
  ::SetWindowPos(Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  // The focus starts on a button, so the report is not shown all selected.
  if (usable) {
    ::SetFocus(Item(IDC_SYNC_OK));
  } else {
    // The only usable button answers Enter.
    ::SendMessageA(Handle(), DM_SETDEFID, IDCANCEL, 0);
    ::SetFocus(Item(IDCANCEL));
  }
  return false;
}

bool SyncSettingsDialog::OnCommand(int id, int code, HWND control) {
  if (id == IDC_SYNC_OK && code == BN_CLICKED) {
    Save();
    return true;
  }
  return false;
}

std::uint32_t SyncSettingsDialog::HelpContext(HWND) const { return HelpContextForSyncDialog(IDD_SYNC_SETTINGS); }

void SyncSettingsDialog::OnOK() {
  // Enter with the focus on a control that is not a button.
  if (::IsWindowEnabled(Item(IDC_SYNC_OK))) Save();
}

void SyncSettingsDialog::Save() {
  WabSyncSettings chosen;
  chosen.type = IsChecked(IDC_SYNC_FULL) ? 0 : 1;
  chosen.startUp = IsChecked(IDC_SYNC_STARTUP);
  chosen.showResult = IsChecked(IDC_SYNC_SHOW_RESULT);
  if (!chosen.Save(reg_)) {
    win::ShowMessage(Handle(), wabsync::kSaveFailed, wabsync::kTitle, MB_OK | MB_ICONEXCLAMATION);
    return;
  }
  settings_ = chosen;

  const ShortcutResult shortcut = updateShortcut(settings_.startUp);
  if (shortcut != ShortcutResult::Ok)
    win::ShowMessage(Handle(), ShortcutResultText(shortcut), wabsync::kTitle, MB_OK | MB_ICONEXCLAMATION);

  if (editorRunning()) {
    win::ShowMessage(Handle(), wabsync::kSavedEditorRunning, wabsync::kSavedCaption, MB_OK | MB_ICONINFORMATION);
    End(IDOK);
    return;
  }
  if (win::ShowMessage(Handle(), wabsync::kSyncNowQuestion, wabsync::kSyncNowCaption, MB_YESNO | MB_ICONQUESTION) !=
      IDYES) {
    End(IDOK);
    return;
  }
  if (editorRunning()) {
    win::ShowMessage(Handle(), wabsync::kEditorRunning, wabsync::kTitle, MB_OK | MB_ICONEXCLAMATION);
    return;
  }
  // The rules may have changed since the dialog opened.
  FindSyncTargets(reg_, identities_, &targets_, &report_);
  ShowReport();
  // A full run asks before it removes anything (the silent start does not ask).
  if (Synchronise(reg_, identities_, targets_, SyncModeFromSetting(settings_.type), settings_.showResult, platform_,
                  true))
    End(IDOK);
}

}  // namespace velkor
