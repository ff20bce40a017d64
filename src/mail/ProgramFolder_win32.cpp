#include <windows.h>

#include "mail/SpamWordList.h"
#include "win/Program.h"

namespace velkor {

std::string SpamWordList::ProgramFolderFile(std::string_view fileName) {
  std::string path = win::ProgramSiblingPath(std::string(fileName));
  // The dictionary is opened through the ANSI file functions.
  return path.size() < MAX_PATH ? path : std::string();
}

}  // namespace velkor
