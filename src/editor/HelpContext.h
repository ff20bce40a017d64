#pragma once
// Which help topic a request shows. Requests come WinHelp-style (a command and
// a context number); the help file is compiled HTML help beside the program.

#include <cstdint>
#include <string>

namespace velkor {

// Help commands as the HtmlHelp API numbers them.
constexpr unsigned kHelpDisplayTopic = 0x0000;  // HH_DISPLAY_TOPIC
constexpr unsigned kHelpContext = 0x000F;       // HH_HELP_CONTEXT
// WinHelp's "show a context" command, which F1 requests use.
constexpr unsigned kWinHelpContext = 0x0001;
// Every window and command context lies above this base.
constexpr std::uint32_t kWindowContextBase = 0x10000;
// The topic every F1 request shows.
constexpr std::uint32_t kDefaultHelpContext = 2;

// The context of a dialog, numbered as resource contexts are (base 0x20000).
constexpr std::uint32_t HelpContextForDialog(int dialogId) {
  return 0x20000u + static_cast<std::uint32_t>(dialogId);
}

struct HelpCall {
  unsigned command;
  std::uint32_t context;
  bool operator==(const HelpCall& o) const { return command == o.command && context == o.context; }
};

// F1 in any window: a window or command context with "show a context" becomes
// context 2; a lower context with that command is passed on unchanged, and any
// other command shows the default topic.
HelpCall MapContextHelpRequest(unsigned winHelpCommand, std::uint32_t context);

// The other help entry point always shows the default topic.
inline HelpCall MapDefaultHelpRequest() { return HelpCall{kHelpDisplayTopic, 0}; }

// The help file of a program: its own path with the extension ".chm"
// (a path without an extension gets one appended).
std::string HelpFileFor(const std::string& programPath);

// A help file shared with another program: fileName in the program's folder
// (the sync utility shows the editor's "Velkor.chm").
std::string HelpFileBeside(const std::string& programPath, const std::string& fileName);

// What the help viewer takes to show one page of a compiled help file.
std::string HelpTopicAddress(const std::string& helpFile, const std::string& page);

// The page on synchronisation with the address book.
constexpr const char kSyncHelpPage[] = "sync.html";

}  // namespace velkor
