#pragma once
// RuleEditorWindow: the program's main window (dialog 102), run modally by the
// application shell. It owns the editing session of one Outlook Express
// identity; for now it sets up its controls, the system menu, help and close.

#include <windows.h>

#include "rulestore/RegistryAccess.h"
#include "win/Dialog.h"

namespace velkor {

class RuleEditorWindow : public win::Dialog {
 public:
  // `registry` holds the program settings and the rules; it outlives the window.
  explicit RuleEditorWindow(RegistryAccess& registry) : registry_(registry) {}

  // Runs the window modally; answers the value the window ended with.
  INT_PTR Run(HWND owner = nullptr);

 protected:
  bool OnInit() override;
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR* result) override;
  // Enter and Esc never close the main window; only the system close does.
  void OnOK() override {}
  void OnCancel() override {}

  // The close flow (system close, title-bar close, Alt+F4).
  virtual void OnClose();

  RegistryAccess& registry() { return registry_; }

 private:
  void ExtendSystemMenu();
  void SetIcons();
  void SetUpLists();

  RegistryAccess& registry_;
  HICON bigIcon_ = nullptr;
  HICON smallIcon_ = nullptr;
};

}  // namespace velkor
