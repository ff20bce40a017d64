#pragma once
// Compiled HTML help beside the program. The HtmlHelp entry point is looked up
// at run time in hhctrl.ocx, so a system without the viewer (or without the
// file) only loses help, never the program.

#include <windows.h>

#include <string>

#include "help/HelpContext.h"

namespace velkor {

// The help file of this process: the one given to SetHelpFile, else
// "<folder of the program>\Velkor.chm" (the program's own path, extension ".chm").
std::string HelpFilePath();

// Another program that shares the help file sets it, and the caption of the
// messages that say help cannot be shown, once at start.
void SetHelpFile(const std::string& path, const std::string& caption);

// Shows one page of the help file (F1 in the sync utility); false as ShowHelp.
bool ShowHelpPage(HWND owner, const std::string& page);

// Shows the topic of `call`; false when the file or the viewer is missing
// (the user is told which, once per call).
bool ShowHelp(HWND owner, const HelpCall& call);

// F1 or the "?" in a window: WM_HELP arrives with a HELPINFO; the context of
// the window or pane goes through the context mapping, so it shows its own
// page, or the default topic when it has none.
bool ShowContextHelp(HWND owner, std::uint32_t context);

// Closes any help window the program opened (at shut-down).
void CloseHelp();

}  // namespace velkor
