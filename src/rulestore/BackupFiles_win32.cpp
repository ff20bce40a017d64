// Backup files on Windows: ANSI paths (Shift_JIS), the user's application
// data folder from SHGetFolderPathA, which Windows XP already has.

#include <windows.h>
#include <shlobj.h>

#include "rulestore/RuleBackup.h"
#include "platform/WholeFile.h"
#include "registry/RegFile.h"
#include "text/ShiftJis.h"

namespace velkor {

namespace {

class Win32Files : public BackupFileSystem {
 public:
  bool MakeFolders(const std::string& folder) override {
    // Each backslash of its own ends a parent (a Shift_JIS second byte may be 0x5C too).
    for (std::size_t at = sjis::FindChar(folder, '\\');; at = sjis::FindChar(folder, '\\', at + 1)) {
      const std::string part = folder.substr(0, at);
      const bool last = at == sjis::npos;
      if (!part.empty() && part.back() != ':' && !CreateDirectoryA(part.c_str(), nullptr) &&
          GetLastError() != ERROR_ALREADY_EXISTS)
        return false;
      if (last) break;
    }
    const DWORD attributes = GetFileAttributesA(folder.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
  }
  std::vector<std::string> ListFiles(const std::string& folder) override {
    std::vector<std::string> names;
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return names;
    do {
      if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.emplace_back(data.cFileName);
    } while (FindNextFileA(find, &data));
    FindClose(find);
    return names;
  }
  bool ReadFile(const std::string& path, std::string* bytes) override { return ReadWholeFile(path, bytes); }
  bool WriteFile(const std::string& path, const std::string& bytes, std::string* error) override {
    return SaveFileWhole(path, bytes, error);
  }
  bool RemoveFile(const std::string& path) override { return DeleteFileA(path.c_str()) != FALSE; }
  char Separator() const override { return '\\'; }
};

}  // namespace

std::unique_ptr<BackupFileSystem> MakeLocalFileSystem() { return std::make_unique<Win32Files>(); }

std::string DefaultBackupRoot() {
  char folder[MAX_PATH] = {};
  if (FAILED(SHGetFolderPathA(nullptr, CSIDL_APPDATA | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT, folder)))
    return std::string();
  std::string root = folder;
  if (!root.empty() && root.back() != '\\') root += '\\';
  return root + "Velkor\\Backup";
}

BackupTime CurrentLocalTime() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  return {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
}

}  // namespace velkor
