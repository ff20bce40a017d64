// Whole-file writes on POSIX: fsync, then rename(2), which replaces atomically.
#include <sys/stat.h>
#include <unistd.h>

#include "platform/WholeFile.h"

namespace velkor::wholefile {

bool FlushToDisk(std::FILE* file) { return fsync(fileno(file)) == 0; }

bool Replace(const std::string& temp, const std::string& target) {
  return std::rename(temp.c_str(), target.c_str()) == 0;
}

bool Remove(const std::string& path) { return std::remove(path.c_str()) == 0; }

void KeepMode(std::FILE* file, const std::string& like) {
  struct stat st {};
  if (stat(like.c_str(), &st) == 0) (void)fchmod(fileno(file), st.st_mode & 07777);
}

}  // namespace velkor::wholefile
