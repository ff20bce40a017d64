#pragma once
// Backups of one identity's mail rules and blocked senders: before every save
// the keys Rules\Mail and Block Senders are written as a REGEDIT4 file that
// first deletes both keys, so double-clicking it (or restoring it here) puts
// back exactly what was stored. One folder per identity, one file per save,
// named by date and time; the newest kKeep are kept.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace velkor {

class RegistryAccess;

namespace ruletext {
constexpr const char* kBackupFailed = "バックアップを作成できませんでした。";
// Where the backup was to go, and why it could not be written.
constexpr const char* kBackupWhere = "バックアップ先: %s\r\n%s";
constexpr const char* kNoBackupFolder = "フォルダを作成できません。";
constexpr const char* kRestoreFailed = "バックアップから復元できませんでした。";
constexpr const char* kBackupUnreadable = "バックアップのファイルを読み取れません。";
constexpr const char* kNotABackup = "このファイルは、このユーザーのルールのバックアップではありません。";
constexpr const char* kBackupIncomplete =
    "このバックアップは完全ではありません（途中で切れているか、書き換えられています）。";
constexpr const char* kBackupOtherKeys =
    "このファイルは、メッセージルールと禁止された送信者のほかのキーも変更します。";
constexpr const char* kNoIdentityInFile = "復元先のファイルには、このバックアップのユーザー %s がありません。";
constexpr const char* kTargetUnreadable = "復元先のファイルを読み取れません（%s）。";
constexpr const char* kTargetCannotHold = "復元先のファイルの形式では、このバックアップの値をそのまま表せません。";
constexpr const char* kNothingChanged = "何も変更していません。";
}  // namespace ruletext

// The few file operations backups need; the Windows and POSIX builds each
// have one (BackupFiles_win32.cpp, BackupFiles_posix.cpp), tests their own.
class BackupFileSystem {
 public:
  virtual ~BackupFileSystem() = default;
  // Creates the folder and any missing parents; true when it exists afterwards.
  virtual bool MakeFolders(const std::string& folder) = 0;
  // Names (not paths) of the files in a folder; empty when it does not exist.
  virtual std::vector<std::string> ListFiles(const std::string& folder) = 0;
  virtual bool ReadFile(const std::string& path, std::string* bytes) = 0;
  // Writes the whole file; false (and no file left) when that failed.
  // (error: why, in Japanese).
  virtual bool WriteFile(const std::string& path, const std::string& bytes, std::string* error) = 0;
  virtual bool RemoveFile(const std::string& path) = 0;
  virtual char Separator() const = 0;
};

// The local file system of the platform.
std::unique_ptr<BackupFileSystem> MakeLocalFileSystem();
// "<application data>\Velkor\Backup" (Windows: CSIDL_APPDATA), or empty when
// the platform has no such folder.
std::string DefaultBackupRoot();

struct BackupTime {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};
BackupTime CurrentLocalTime();

struct BackupInfo {
  std::string path;
  std::string date;  // "2026/12/09"
  std::string time;  // "13:05:09"
  int rules = -1;    // -1: unknown (a file without our header line)
  int blocked = -1;
};

// The text of a backup: REGEDIT4, a comment with the counts, the deletion of
// both keys, both keys with everything below them, and a comment that ends
// every complete backup. Also what `velkor-rules export` writes.
std::string ExportRulesText(RegistryAccess& reg, const std::string& identityKey);

class RuleBackup {
 public:
  static constexpr int kKeep = 20;

  // root: the folder holding one folder per identity.
  RuleBackup(RegistryAccess& reg, BackupFileSystem& files, std::string root)
      : reg_(reg), files_(files), root_(std::move(root)) {}

  std::string IdentityFolder(const std::string& identityKey) const;
  // Writes a backup of what is stored now and drops all but the newest kKeep.
  // False when it could not be written: `error` then says where it was to go
  // and why (kBackupWhere), and nothing was written.
  bool Write(const std::string& identityKey, const BackupTime& when, std::string* path, std::string* error);
  // Reads a backup and checks that it is a complete one of this identity
  // (CheckBackupText); the bytes are what a restore then applies.
  bool Read(const std::string& identityKey, const std::string& path, std::string* bytes, std::string* error);
  // Newest first.
  std::vector<BackupInfo> List(const std::string& identityKey);
  // Puts the identity's rules and blocked senders back as the file holds
  // them. Refuses a file that is no backup of this identity, or that would
  // touch any other key; a refused or unreadable file changes nothing.
  bool Restore(const std::string& identityKey, const std::string& path, std::string* error);

 private:
  RegistryAccess& reg_;
  BackupFileSystem& files_;
  std::string root_;
};

// The identity a backup file belongs to (from its deletion lines), or empty.
std::string BackupIdentity(const std::string& fileBytes);

// A complete backup: REGEDIT4, the counts comment, the deletions of both
// lists of one identity first, then only keys and values inside those two
// lists, the end comment last, and the counts equal to what the file holds.
// A file cut anywhere, or holding anything else, is refused (error says why
// in Japanese). On success `identity` is the one it belongs to and `lists`
// (an empty registry) holds the two lists as the file has them.
bool CheckBackupText(const std::string& fileBytes, std::string* identity, RegistryAccess* lists, std::string* error);
// Applies a backup to any registry after those checks, for `identityKey` only.
bool RestoreBackupText(RegistryAccess& reg, const std::string& identityKey, const std::string& fileBytes,
                       std::string* error);
// Restores a backup into the text of a .reg file that stands for a registry:
// only the identity's two lists change; every other byte is kept, and so is
// the file's format. Refused (out untouched) when the backup fails the checks,
// the file cannot be read, the identity is not in it, or its format cannot
// hold the backup's values.
bool RestoreBackupIntoRegFile(const std::string& backupBytes, const std::string& fileBytes, std::string* identity,
                              std::string* out, std::string* error);

}  // namespace velkor
