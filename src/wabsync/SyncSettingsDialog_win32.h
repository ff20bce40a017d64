#pragma once
// The settings dialog "アドレス帳との同期設定" (dialog 102): the report of the
// targets, the sync method, the start-up shortcut and result options, OK to
// save and offer a synchronisation; F1 shows the help page on synchronisation.

#include <windows.h>

#include <functional>

#include "registry/RegistryAccess.h"
#include "wabsync/SyncIdentities.h"
#include "wabsync/SyncShell_win32.h"
#include "wabsync/SyncTargets.h"
#include "wabsync/Synchronizer.h"
#include "wabsync/WabSyncSettings.h"
#include "win/Dialog.h"

namespace velkor {

class SyncSettingsDialog : public win::Dialog {
 public:
  // F1 anywhere in the dialog, a control included: the page on synchronisation.
  std::uint32_t HelpContext(HWND control) const override;
  // The dialog borrows all three for its lifetime.
  SyncSettingsDialog(RegistryAccess& reg, const SyncIdentitySource& identities, Win32SyncPlatform& platform);
  ~SyncSettingsDialog() override;

  // Reads the settings and finds the targets; done once before Run.
  void Prepare();
  // Runs modally; answers IDOK after a save, IDCANCEL otherwise.
  INT_PTR Run(HWND owner = nullptr);

  const WabSyncSettings& Settings() const { return settings_; }
  const SyncTargetList& Targets() const { return targets_; }
  const SyncReport& Report() const { return report_; }

  // Seams for tests; the defaults are the real shortcut and mutex test.
  std::function<ShortcutResult(bool keep)> updateShortcut = UpdateStartupShortcut;
  std::function<bool()> editorRunning = EditorRunning;

 protected:
  bool OnInit() override;
  bool OnCommand(int id, int code, HWND control) override;
  void OnOK() override;

 private:
  void Save();
  void ShowReport();

  RegistryAccess& reg_;
  const SyncIdentitySource& identities_;
  Win32SyncPlatform& platform_;
  WabSyncSettings settings_;
  SyncTargetList targets_;
  SyncReport report_;
  HICON bigIcon_ = nullptr;
  HICON smallIcon_ = nullptr;
};

}  // namespace velkor
