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
// The topic of every window and pane without a page of its own.
constexpr std::uint32_t kDefaultHelpContext = 2;

// The context of a dialog, numbered as resource contexts are (base 0x20000).
constexpr std::uint32_t HelpContextForDialog(int dialogId) {
  return 0x20000u + static_cast<std::uint32_t>(dialogId);
}
// The sync utility numbers its resources on its own (its dialog is 102, as the
// editor's main window), so its dialogs lie on a base of their own.
constexpr std::uint32_t HelpContextForSyncDialog(int dialogId) {
  return 0x30000u + static_cast<std::uint32_t>(dialogId);
}
// A pane of the main window, by the id of its list (control contexts, base 0x50000).
constexpr std::uint32_t HelpContextForControl(int controlId) {
  return 0x50000u + static_cast<std::uint32_t>(controlId);
}

// A window or pane with a page of its own. `name` is the context's symbol in
// the help project's [MAP] and [ALIAS] sections.
struct HelpTopic {
  std::uint32_t context;
  const char* name;
  const char* page;
};

// Every topic, the default one first.
const HelpTopic* HelpTopicsBegin();
const HelpTopic* HelpTopicsEnd();

// The page a context shows: its own, or the default topic's.
const char* HelpPageFor(std::uint32_t context);

struct HelpCall {
  unsigned command;
  std::uint32_t context;
  bool operator==(const HelpCall& o) const { return command == o.command && context == o.context; }
};

// F1 in any window: a window or command context with "show a context" keeps
// its context when it has a page of its own and becomes context 2 otherwise; a
// lower context with that command is passed on unchanged, and any other
// command shows the default topic.
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
// The page of the default topic (context 2).
constexpr const char kDefaultHelpPage[] = "index.html";

}  // namespace velkor
