// Whole-file writes on Windows: _commit (FlushFileBuffers below it), then
// MoveFileEx, which replaces the target in one step on the same volume.
#include <windows.h>
#include <io.h>

#include "platform/WholeFile.h"

namespace velkor::wholefile {

bool FlushToDisk(std::FILE* file) { return _commit(_fileno(file)) == 0; }

bool Replace(const std::string& temp, const std::string& target) {
  return MoveFileExA(temp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
}

bool Remove(const std::string& path) { return DeleteFileA(path.c_str()) != FALSE; }

void KeepMode(std::FILE*, const std::string&) {}

}  // namespace velkor::wholefile
