#include "win/Help.h"

#include <vector>

#include "win/MessageBox.h"
#include "win/Procedures.h"
#include "win/Program.h"

namespace velkor {
namespace {

using HtmlHelpFunction = HWND(WINAPI*)(HWND, LPCSTR, UINT, DWORD_PTR);

constexpr UINT kHelpCloseAll = 0x0012;  // HH_CLOSE_ALL

// Loaded once on first use and kept for the process: the viewer keeps its
// own windows and threads alive while a topic shows.
HtmlHelpFunction HtmlHelpEntry() {
  static bool tried = false;
  static HtmlHelpFunction entry = nullptr;
  if (!tried) {
    tried = true;
    HMODULE viewer = ::LoadLibraryA("hhctrl.ocx");
    if (viewer) {
      entry = win::LibraryEntry<HtmlHelpFunction>(viewer, "HtmlHelpA");
    }
  }
  return entry;
}

// Set once at start by a program that shares the help file; read on the
// user-interface thread only.
std::string& ChosenHelpFile() {
  static std::string file;
  return file;
}

std::string& HelpCaption() {
  static std::string caption = "Velkor";
  return caption;
}

// The viewer's entry point when the help file and the viewer are there; the
// user is told which one is missing otherwise.
HtmlHelpFunction ReadyViewer(HWND owner, const std::string& file) {
  if (file.empty() || ::GetFileAttributesA(file.c_str()) == INVALID_FILE_ATTRIBUTES) {
    win::ShowMessage(owner, "ヘルプファイル \"" + file + "\" が見つかりません。", HelpCaption(),
                     MB_OK | MB_ICONINFORMATION);
    return nullptr;
  }
  HtmlHelpFunction entry = HtmlHelpEntry();
  if (!entry) {
    win::ShowMessage(owner, "ヘルプを表示できません。HTML ヘルプ ビューアがインストールされていません。", HelpCaption(),
                     MB_OK | MB_ICONINFORMATION);
  }
  return entry;
}

}  // namespace

std::string HelpFilePath() {
  if (!ChosenHelpFile().empty()) return ChosenHelpFile();
  std::string program = win::ProgramPath();
  return program.empty() ? std::string() : HelpFileFor(program);
}

void SetHelpFile(const std::string& path, const std::string& caption) {
  ChosenHelpFile() = path;
  HelpCaption() = caption;
}

bool ShowHelpPage(HWND owner, const std::string& page) {
  const std::string file = HelpFilePath();
  HtmlHelpFunction entry = ReadyViewer(owner, file);
  if (!entry) return false;
  const std::string address = HelpTopicAddress(file, page);
  return entry(owner, address.c_str(), kHelpDisplayTopic, 0) != nullptr;
}

bool ShowHelp(HWND owner, const HelpCall& call) {
  // A context is shown as its page: the help compiler we build with stores
  // the targets of its context map as paths of the build machine, so the
  // viewer could not resolve a context inside the file.
  if (call.command == kHelpContext) return ShowHelpPage(owner, HelpPageFor(call.context));
  const std::string file = HelpFilePath();
  HtmlHelpFunction entry = ReadyViewer(owner, file);
  return entry && entry(owner, file.c_str(), call.command, static_cast<DWORD_PTR>(call.context)) != nullptr;
}

bool ShowContextHelp(HWND owner, std::uint32_t context) {
  return ShowHelp(owner, MapContextHelpRequest(kWinHelpContext, context));
}

void CloseHelp() {
  static bool closed = false;
  if (closed) return;
  closed = true;
  // Only when the viewer was ever loaded: loading it just to close is wasted time.
  if (::GetModuleHandleA("hhctrl.ocx")) {
    if (HtmlHelpFunction entry = HtmlHelpEntry()) entry(nullptr, nullptr, kHelpCloseAll, 0);
  }
}

}  // namespace velkor
