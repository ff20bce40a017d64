#include "editor/HelpContext.h"

#include "text/ShiftJis.h"

namespace velkor {

HelpCall MapContextHelpRequest(unsigned winHelpCommand, std::uint32_t context) {
  if (context > kWindowContextBase && winHelpCommand == kWinHelpContext)
    return HelpCall{kHelpContext, kDefaultHelpContext};
  if (winHelpCommand == kWinHelpContext) return HelpCall{kHelpContext, context};
  return MapDefaultHelpRequest();
}

namespace {

// The last path separator, found character-wise: a Shift_JIS second byte can
// be 0x5C.
size_t LastSeparator(const std::string& path) {
  size_t slash = std::string::npos;
  for (size_t pos = sjis::FindAnyOf(path, "\\/"); pos != std::string::npos; pos = sjis::FindAnyOf(path, "\\/", pos + 1))
    slash = pos;
  return slash;
}

}  // namespace

std::string HelpFileFor(const std::string& programPath) {
  // Only the last path element may hold the extension ("C:\a.b\Velkor").
  const size_t slash = LastSeparator(programPath);
  size_t dot = sjis::RFind(programPath, ".");
  std::string stem = (dot != std::string::npos && (slash == std::string::npos || dot > slash))
                         ? programPath.substr(0, dot)
                         : programPath;
  return stem + ".chm";
}

std::string HelpFileBeside(const std::string& programPath, const std::string& fileName) {
  const size_t slash = LastSeparator(programPath);
  return slash == std::string::npos ? fileName : programPath.substr(0, slash + 1) + fileName;
}

std::string HelpTopicAddress(const std::string& helpFile, const std::string& page) {
  return helpFile + "::/" + page;
}

}  // namespace velkor
