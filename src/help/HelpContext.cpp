#include "help/HelpContext.h"

#include <algorithm>
#include <iterator>

#include "res/resource.h"
#include "text/ShiftJis.h"
#include "wabsync/wabsync_resource.h"

namespace velkor {
namespace {

// The pages follow the guide's order; the help project maps the same names.
constexpr HelpTopic kTopics[] = {
    {kDefaultHelpContext, "IDH_DEFAULT_TOPIC", kDefaultHelpPage},
    {HelpContextForDialog(IDD_VELKOR_DIALOG), "IDH_MAIN_WINDOW", "main.html"},
    {HelpContextForControl(IDC_RULE_LIST), "IDH_RULE_LIST", "rulelist.html"},
    {HelpContextForControl(IDC_CRITERIA_TYPE_LIST), "IDH_CRITERIA", "criteria.html"},
    {HelpContextForControl(IDC_ACTION_TYPE_LIST), "IDH_ACTIONS", "actions.html"},
    {HelpContextForControl(IDC_BLOCKED_SENDER_VIEW), "IDH_BLOCKED_SENDERS", "blocked.html"},
    {HelpContextForDialog(IDD_RULE_TEMPLATE), "IDH_RULE_TEMPLATE", "templates.html"},
    {HelpContextForDialog(IDD_PERSONAL_INFO), "IDH_PERSONAL_INFO", "personal.html"},
    {HelpContextForDialog(IDD_OWN_NAME), "IDH_OWN_NAME", "ownname.html"},
    {HelpContextForDialog(IDD_NGWORD_TOOL), "IDH_NGWORD_TOOL", "ngword.html"},
    {HelpContextForDialog(IDD_RULE_TEST), "IDH_RULE_TEST", "ruletest.html"},
    {HelpContextForDialog(IDD_ADDRESS_PICKER), "IDH_ADDRESS_PICKER", "picker.html"},
    {HelpContextForDialog(IDD_FIND_TEXT), "IDH_FIND_TEXT", "find.html"},
    {HelpContextForDialog(IDD_RESTORE_BACKUP), "IDH_RESTORE_BACKUP", "backup.html"},
    {HelpContextForSyncDialog(IDD_SYNC_SETTINGS), "IDH_SYNC_SETTINGS", kSyncHelpPage},
};

const HelpTopic* TopicOf(std::uint32_t context) {
  const HelpTopic* found = std::find_if(std::begin(kTopics), std::end(kTopics),
                                        [context](const HelpTopic& t) { return t.context == context; });
  return found == std::end(kTopics) ? nullptr : found;
}

}  // namespace

const HelpTopic* HelpTopicsBegin() { return std::begin(kTopics); }
const HelpTopic* HelpTopicsEnd() { return std::end(kTopics); }

const char* HelpPageFor(std::uint32_t context) {
  const HelpTopic* topic = TopicOf(context);
  return topic ? topic->page : kDefaultHelpPage;
}

HelpCall MapContextHelpRequest(unsigned winHelpCommand, std::uint32_t context) {
  if (context > kWindowContextBase && winHelpCommand == kWinHelpContext)
    return HelpCall{kHelpContext, TopicOf(context) ? context : kDefaultHelpContext};
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
