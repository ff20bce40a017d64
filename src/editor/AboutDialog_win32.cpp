#include "editor/AboutDialog_win32.h"

#include "res/resource.h"
#include "win/Dialog.h"

namespace velkor {

void ShowAboutBox(HWND owner) {
  // No behaviour beyond OK and Esc, which the base class ends the run with.
  win::Dialog dialog;
  dialog.RunModal(owner, IDD_ABOUTBOX);
}

}  // namespace velkor
