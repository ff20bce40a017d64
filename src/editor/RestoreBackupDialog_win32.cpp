#include "editor/RestoreBackupDialog_win32.h"

#include <commctrl.h>

#include "res/resource.h"
#include "win/Controls.h"
#include "win/MessageBox.h"

namespace velkor {

INT_PTR RestoreBackupDialog::Run(HWND owner) {
  chosen = -1;
  return RunModal(owner, IDD_RESTORE_BACKUP);
}

bool RestoreBackupDialog::OnInit() {
  SetTitle(restoretext::kTitle);
  SetItemText(IDC_BACKUP_FOLDER, folder);
  win::ListView list(Handle(), IDC_BACKUP_LIST);
  list.SetExtendedStyle(LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
  list.InsertColumn(0, restoretext::kColumnState, 90);
  list.InsertColumn(1, restoretext::kColumnDate, 90);
  list.InsertColumn(2, restoretext::kColumnTime, 65);
  list.InsertColumn(3, restoretext::kColumnRules, 50);
  list.InsertColumn(4, restoretext::kColumnBlocked, 110);
  auto count = [](int n) { return n < 0 ? std::string(restoretext::kUnknownCount) : std::to_string(n); };
  for (std::size_t i = 0; i < backups.size(); ++i) {
    const BackupInfo& b = backups[i];
    const int row = list.Insert(static_cast<int>(i), restoretext::kStateBeforeSave, static_cast<LPARAM>(i));
    list.SetSubItemText(row, 1, b.date);
    list.SetSubItemText(row, 2, b.time);
    list.SetSubItemText(row, 3, count(b.rules));
    list.SetSubItemText(row, 4, count(b.blocked));
  }
  ShowItem(IDC_BACKUP_NONE, backups.empty());
  SetItemText(IDC_BACKUP_NONE, restoretext::kNone);
  if (!backups.empty()) {
    list.SetSelected(0, true);
    list.SetFocused(0, true);
  }
  EnableItem(IDOK, !backups.empty());
  ::SetFocus(list.Handle());
  return false;
}

bool RestoreBackupDialog::OnNotify(int id, NMHDR* header, LRESULT* result) {
  if (id != IDC_BACKUP_LIST) return false;
  if (header->code == LVN_ITEMCHANGED) {
    EnableItem(IDOK, win::ListView(Handle(), IDC_BACKUP_LIST).SelectedCount() == 1);
  } else if (header->code == NM_DBLCLK && win::ListView(Handle(), IDC_BACKUP_LIST).SelectedCount() == 1) {
    OnOK();
  }
  *result = 0;
  return false;
}

void RestoreBackupDialog::OnOK() {
  win::ListView list(Handle(), IDC_BACKUP_LIST);
  const int row = list.NextSelected();
  if (row < 0) return;
  const int index = static_cast<int>(list.Data(row));
  const BackupInfo& backup = backups[static_cast<std::size_t>(index)];
  std::string question = restoretext::kConfirm;
  question.replace(question.find("%s"), 2, backup.date + " " + backup.time);
  // No keeps the list open on the same row, so another one can be picked.
  if (win::ShowMessage(Handle(), question, restoretext::kTitle, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) !=
      IDYES) {
    list.Focus();
    return;
  }
  chosen = index;
  End(IDOK);
}

}  // namespace velkor
