#include "editor/HelpContext.h"

#include "text/ShiftJis.h"

namespace velkor {

HelpCall MapContextHelpRequest(unsigned winHelpCommand, std::uint32_t context) {
  if (context > kWindowContextBase && winHelpCommand == kWinHelpContext)
    return HelpCall{kHelpContext, kDefaultHelpContext};
  if (winHelpCommand == kWinHelpContext) return HelpCall{kHelpContext, context};
  return MapDefaultHelpRequest();
}

std::string HelpFileFor(const std::string& programPath) {
  // Only the last path element may hold the extension ("C:\a.b\Velkor"). A
  // Shift_JIS second byte can be 0x5C, so separators are found character-wise.
  size_t slash = std::string::npos;
  for (size_t pos = sjis::FindAnyOf(programPath, "\\/"); pos != std::string::npos;
       pos = sjis::FindAnyOf(programPath, "\\/", pos + 1))
    slash = pos;
  size_t dot = sjis::RFind(programPath, ".");
  std::string stem = (dot != std::string::npos && (slash == std::string::npos || dot > slash))
                         ? programPath.substr(0, dot)
                         : programPath;
  return stem + ".chm";
}

}  // namespace velkor
