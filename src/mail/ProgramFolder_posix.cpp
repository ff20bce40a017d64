#include <unistd.h>

#include "mail/SpamWordList.h"

namespace velkor {

std::string SpamWordList::ProgramFolderFile(std::string_view fileName) {
  char path[4096];
  const ssize_t n = readlink("/proc/self/exe", path, sizeof path);
  if (n <= 0 || static_cast<std::size_t>(n) >= sizeof path) return {};
  std::string result(path, static_cast<std::size_t>(n));
  const std::size_t slash = result.rfind('/');
  if (slash == std::string::npos) return {};
  result.resize(slash + 1);
  return result + std::string(fileName);
}

}  // namespace velkor
