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
constexpr const char* kBackupFailed =
    "保存する前のルールのバックアップを作成できませんでした。保存を中止しました。\r\n"
    "（%s）";
constexpr const char* kRestoreFailed = "バックアップから復元できませんでした。";
constexpr const char* kNotABackup = "このファイルは、このユーザーのルールのバックアップではありません。";
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
  virtual bool WriteFile(const std::string& path, const std::string& bytes) = 0;
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
// both keys, then both keys with everything below them. Also what
// `velkor-rules export` writes.
std::string ExportRulesText(RegistryAccess& reg, const std::string& identityKey);

class RuleBackup {
 public:
  static constexpr int kKeep = 20;

  // root: the folder holding one folder per identity.
  RuleBackup(RegistryAccess& reg, BackupFileSystem& files, std::string root)
      : reg_(reg), files_(files), root_(std::move(root)) {}

  std::string IdentityFolder(const std::string& identityKey) const;
  // Writes a backup of what is stored now and drops all but the newest kKeep.
  // False when it could not be written (error says why, in Japanese).
  bool Write(const std::string& identityKey, const BackupTime& when, std::string* path, std::string* error);
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
// Applies a backup to any registry after the checks of RuleBackup::Restore.
bool RestoreBackupText(RegistryAccess& reg, const std::string& identityKey, const std::string& fileBytes,
                       std::string* error);

}  // namespace velkor
