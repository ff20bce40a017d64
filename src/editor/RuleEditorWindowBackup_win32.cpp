// The main window's backups: one of the identity's rules and blocked senders
// before every save writes anything, and the restore command of the rule menu.
#include "editor/RuleEditorWindow_win32.h"

#include <memory>
#include <string>

#include "editor/ProgressDialog_win32.h"
#include "editor/RestoreBackupDialog_win32.h"
#include "res/resource.h"
#include "rulestore/RuleBackup.h"
#include "win/WaitCursor.h"

namespace velkor {

using mainwindow::kReloadingStatus;

bool RuleEditorWindow::BackUpBeforeSave(std::string* error) {
  std::unique_ptr<BackupFileSystem> files = MakeLocalFileSystem();
  RuleBackup backup(registry_, *files, DefaultBackupRoot());
  return backup.Write(session_.IdentityKey(), CurrentLocalTime(), nullptr, error);
}

void RuleEditorWindow::RestoreFromBackup() {
  if (session_.IdentityKey().empty()) return;
  std::unique_ptr<BackupFileSystem> files = MakeLocalFileSystem();
  RuleBackup backup(registry_, *files, DefaultBackupRoot());
  RestoreBackupDialog dialog;
  dialog.backups = backup.List(session_.IdentityKey());
  dialog.folder = backup.IdentityFolder(session_.IdentityKey());
  if (dialog.Run(Handle()) != IDOK || dialog.chosen < 0) return;
  // The dialog has asked the restore question already.
  const BackupInfo& chosen = dialog.backups[static_cast<std::size_t>(dialog.chosen)];
  // The file is read and checked once, before anything is touched;
  // what is restored below is exactly what was checked.
  std::string bytes, error;
  if (!backup.Read(session_.IdentityKey(), chosen.path, &bytes, &error)) {
    Tell(std::string(ruletext::kRestoreFailed) + "\r\n" + error, MB_ICONERROR);
    return;
  }

  // Outlook Express keeps its own copy of the rules while it runs and would
  // write it back over the restored ones: the same check as a save.
  if (!ConfirmOutlookExpressClosed()) return;
  StopWatching();

  bool restored = false;
  {
    win::WaitCursor wait;
    std::unique_ptr<ProgressDialog> progress = OpenProgress(restoretext::kRestoring, false);
    // What is stored now becomes a backup too, so a restore can be undone.
    if (!backup.Write(session_.IdentityKey(), CurrentLocalTime(), nullptr, &error)) {
      error = std::string(ruletext::kBackupFailed) + "\r\n" + error + "\r\n" + ruletext::kNothingChanged;
    } else {
      restored = RestoreBackupText(registry_, session_.IdentityKey(), bytes, &error);
    }
    progress->SetStatus(kReloadingStatus);
    LoadIdentity(true);
    progress->Close();
  }
  EnsureWatching();
  Modified();
  if (!restored) {
    Tell(error, MB_ICONERROR);
    return;
  }
  Tell(restoretext::kRestored, MB_ICONINFORMATION);
}

}  // namespace velkor
