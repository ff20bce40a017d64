#pragma once
// The Windows side of the sync utility: its platform answers, the editor
// mutex test and the start-up shortcut.

#include <windows.h>

#include <string>

#include "wabsync/Synchronizer.h"

namespace velkor {

// Process list, version query, the Windows Address Book, message boxes
// (through the message-box seam, captioned with the utility's title), the
// rule backups and the wait cursor.
class Win32SyncPlatform : public SyncPlatform {
 public:
  // The address book finds its library through `reg`.
  explicit Win32SyncPlatform(RegistryAccess& reg) : reg_(reg) {}
  // Message boxes are owned by `owner` (the settings dialog, or none).
  void SetOwner(HWND owner) { owner_ = owner; }

  bool OutlookExpressRunning() override;
  bool NtFamily() override;
  AddressBookRead ReadAddressBook(std::vector<std::string>* addresses) override;
  void ShowMessage(const std::string& text) override;
  // No is the default button: the question is asked before entries are removed.
  bool Ask(const std::string& question) override;
  // The editor's own backup (same folder, naming and number kept).
  bool WriteBackup(const std::string& identityKey, std::string* folder) override;
  void SetBusy(bool busy) override;

 private:
  RegistryAccess& reg_;
  HWND owner_ = nullptr;
  HCURSOR previousCursor_ = nullptr;
};

// True while the editor runs: its single-instance mutex "Advanced Velkor"
// already exists, or cannot even be created. The test mutex is closed at once.
bool EditorRunning();

// This program's full path; false when it cannot be had.
bool ProgramPath(std::string* path);

enum class ShortcutResult { Ok, NoStartupFolder, NoProgramPath, NotRemoved, NotCreated };

// The start-up shortcut "<Startup folder>\Tarn-WAB Sync.lnk".
bool StartupShortcutPath(std::string* path);
// Removes the shortcut, then, when `keep`, creates it anew: a shell link to
// this program with the argument "/sync".
ShortcutResult UpdateStartupShortcut(bool keep);
// The message for a result other than Ok.
const char* ShortcutResultText(ShortcutResult result);

}  // namespace velkor
