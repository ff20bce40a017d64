#pragma once
// The about box (dialog 100): program icon, version line and OK, modal over `owner`.

#include <windows.h>

namespace velkor {

void ShowAboutBox(HWND owner);

}  // namespace velkor
