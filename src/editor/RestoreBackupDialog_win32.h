#pragma once
// The list of an identity's backups, newest first (what each holds, the date
// and time of the save it was taken before, the number of rules and blocked
// senders), from which the user picks one to restore. The restore question
// is asked here: いいえ leaves the user in the list to pick another.
// In: `backups`, `folder` (shown so the user knows where they lie).
// Out: `chosen`, the index of the picked and confirmed backup, or -1.

#include <string>
#include <vector>

#include "rulestore/RuleBackup.h"
#include "win/Dialog.h"

namespace velkor {

namespace restoretext {
constexpr const char* kTitle = "バックアップから復元";
// A backup is taken just before the registry is written: it holds what was
// stored until then, not what that save wrote.
constexpr const char* kColumnState = "内容";
constexpr const char* kStateBeforeSave = "保存前の状態";
constexpr const char* kColumnDate = "保存した日付";
constexpr const char* kColumnTime = "時刻";
constexpr const char* kColumnRules = "ルール";
constexpr const char* kColumnBlocked = "禁止された送信者";
constexpr const char* kUnknownCount = "?";
constexpr const char* kNone = "このユーザーのバックアップはまだありません。バックアップは保存のたびに作成されます。";
constexpr const char* kConfirm =
    "%s に保存する前の状態に、メッセージルールと禁止された送信者を戻します。\r\n"
    "現在のルールと禁止された送信者はすべて置き換えられます。保存していない変更は失われます。\r\n\r\n"
    "復元しますか？";
constexpr const char* kRestoring = "バックアップから復元しています。";
constexpr const char* kRestored = "バックアップから復元しました。";
}  // namespace restoretext

class RestoreBackupDialog : public win::Dialog {
 public:
  std::vector<BackupInfo> backups;
  std::string folder;
  int chosen = -1;

  // IDOK with `chosen` set (the user answered はい), or IDCANCEL.
  INT_PTR Run(HWND owner);

 protected:
  bool OnInit() override;
  bool OnNotify(int id, NMHDR* header, LRESULT* result) override;
  void OnOK() override;
};

}  // namespace velkor
