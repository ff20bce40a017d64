#include <windows.h>

#include "mail/SpamWordList.h"
#include "text/ShiftJis.h"

namespace velkor {

std::string SpamWordList::ProgramFolderFile(std::string_view fileName) {
  char path[MAX_PATH];
  const DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
  // A path that fills the buffer may have been cut.
  if (n == 0 || n >= MAX_PATH) return {};
  const std::string_view full(path, n);
  const std::size_t slash = sjis::RFind(full, "\\");
  if (slash == sjis::npos) return {};
  std::string result(full.substr(0, slash + 1));
  result += fileName;
  if (result.size() >= MAX_PATH) return {};
  return result;
}

}  // namespace velkor
