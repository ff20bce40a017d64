// TarnWABSync.exe: keeps the address safe lists of every identity in step with
// the Windows Address Book, from its settings dialog or silently ("/sync").

#include <windows.h>
#include <commctrl.h>

#include <cstdlib>
#include <string>

#include "help/HelpContext.h"
#include "win/Help.h"
#include "registry/Win32Registry.h"
#include "wabsync/SyncSettingsDialog_win32.h"
#include "wabsync/SyncShell_win32.h"
#include "wabsync/SyncTexts.h"
#include "win/Program.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  using namespace velkor;

  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
  ::InitCommonControlsEx(&controls);
  std::string program;
  if (!ProgramPath(&program)) return 0;
  // The editor's help file, beside this program.
  SetHelpFile(HelpFileBeside(program, "Velkor.chm"), wabsync::kTitle);

  Win32Registry reg;
  const std::unique_ptr<SyncIdentitySource> identities = MakeRegistrySyncIdentities(reg);
  Win32SyncPlatform platform(reg);
  SyncSettingsDialog dialog(reg, *identities, platform);
  dialog.Prepare();

  const win::NamedMutex instance(wabsync::kOwnMutex);
  if (!instance.CreatedFirst()) {
    win::ActivateWindowTitled(wabsync::kDialogTitle);
    return 0;
  }

  if (__argc > 1 && IsSilentSyncArgument(__argv[1]) && !EditorRunning()) {
    Synchronise(reg, *identities, dialog.Targets(), SyncModeFromSetting(dialog.Settings().type),
                dialog.Settings().showResult, platform);
    return 0;
  }
  dialog.Run();
  CloseHelp();
  return 0;
}
