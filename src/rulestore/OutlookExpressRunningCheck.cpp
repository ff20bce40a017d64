#include "rulestore/OutlookExpressRunningCheck.h"

#include "text/ShiftJis.h"

namespace velkor {

bool IsOutlookExpressProcessName(const std::string& exeName) {
  return sjis::Find(sjis::AsciiLower(exeName), "msimn.exe") != std::string::npos;
}

const OutlookExpressWindowQuery kOutlookExpressWindows[4] = {
    {"Outlook Express Browser Class", nullptr},
    {"ATH_Note", nullptr},  // a message window
    {"WABBrowseView", nullptr},  // the address book
    {nullptr, "メッセージの検索"},  // the find-message window
};

}  // namespace velkor
