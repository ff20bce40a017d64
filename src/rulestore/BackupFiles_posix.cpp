// Backup files on a POSIX system (the native build and its tests).

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "platform/WholeFile.h"
#include "registry/RegFile.h"
#include "rulestore/RuleBackup.h"

namespace velkor {

namespace {

class PosixFiles : public BackupFileSystem {
 public:
  bool MakeFolders(const std::string& folder) override {
    for (std::size_t at = 1; at <= folder.size(); ++at) {
      if (at != folder.size() && folder[at] != '/') continue;
      const std::string part = folder.substr(0, at);
      if (mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) return false;
    }
    struct stat st {};
    return stat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
  }
  std::vector<std::string> ListFiles(const std::string& folder) override {
    std::vector<std::string> names;
    DIR* dir = opendir(folder.c_str());
    if (!dir) return names;
    while (const dirent* entry = readdir(dir)) {
      const std::string name = entry->d_name;
      struct stat st {};
      if (stat((folder + "/" + name).c_str(), &st) == 0 && S_ISREG(st.st_mode)) names.push_back(name);
    }
    closedir(dir);
    return names;
  }
  bool ReadFile(const std::string& path, std::string* bytes) override { return ReadWholeFile(path, bytes); }
  bool WriteFile(const std::string& path, const std::string& bytes, std::string* error) override {
    return SaveFileWhole(path, bytes, error);
  }
  bool RemoveFile(const std::string& path) override { return std::remove(path.c_str()) == 0; }
  char Separator() const override { return '/'; }
};

}  // namespace

std::unique_ptr<BackupFileSystem> MakeLocalFileSystem() { return std::make_unique<PosixFiles>(); }

std::string DefaultBackupRoot() {
  const char* home = std::getenv("HOME");
  return home && *home ? std::string(home) + "/.velkor/Backup" : std::string();
}

BackupTime CurrentLocalTime() {
  const std::time_t now = std::time(nullptr);
  std::tm local {};
  localtime_r(&now, &local);
  return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec};
}

}  // namespace velkor
