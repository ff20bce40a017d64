#include <windows.h>

#include "addressbook/FileStamp.h"

namespace velkor {

std::uint64_t FileModificationStamp(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (path.empty() || !GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return 0;
  // FILETIME (100 ns) rather than the C runtime's whole seconds: a rewrite
  // within the same second still changes the stamp.
  return static_cast<std::uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32 | data.ftLastWriteTime.dwLowDateTime;
}

}  // namespace velkor
