// Velkor.exe: the mail-rule editor.
#include <windows.h>

#include "editor/RuleEditorApp_win32.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return velkor::RunVelkor(); }
