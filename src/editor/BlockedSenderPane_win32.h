#pragma once
// The blocked-sender list `BlockedSenderView` (1001): one row per blocked
// address of the session, in stored order, with its focus header, the first
// press that only focuses it, and its generic editing keys.

#include "editor/EditorPane_win32.h"
#include "editor/ImprovedHeaderCtrl_win32.h"
#include "res/resource.h"

namespace velkor {

class BlockedSenderPane : public EditorPane {
 public:
  bool OwnsControl(int id) const override { return id == IDC_BLOCKED_SENDER_VIEW; }
  void OnInit() override;
  void OnDestroy() override;
  bool OnNotify(int id, NMHDR* header, LRESULT* result) override;
  HWND EditingList() const override;
  GenericCommands Generic() const override;
  void OnSessionUnloading() override;
  void OnSessionLoaded() override;
  bool FocusOnPress(const MSG& msg, HWND focus) override;

 private:
  bool guard_ = false;  // set while the pane itself changes the list
  CImprovedHeaderCtrl header_;
};

}  // namespace velkor
