#include <sys/stat.h>

#include "addressbook/FileStamp.h"

namespace velkor {

std::uint64_t FileModificationStamp(const std::string& path) {
  struct stat st {};
  if (path.empty() || ::stat(path.c_str(), &st) != 0) return 0;
  // Nanoseconds: a rewrite within the same second still changes the stamp.
  return static_cast<std::uint64_t>(st.st_mtim.tv_sec) * 1000000000u + static_cast<std::uint64_t>(st.st_mtim.tv_nsec);
}

}  // namespace velkor
