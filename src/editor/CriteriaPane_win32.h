#pragma once
// The criteria pane: the twelve criterion rows (1003) of the shown rule and
// the criterion value controls below them, among them the word list
// `ValueList` (1006) with its focus header and generic editing keys.

#include "editor/ImprovedHeaderCtrl_win32.h"
#include "editor/SlotPane_win32.h"

namespace velkor {

class CriteriaPane : public SlotPane {
 public:
  CriteriaPane();
  void OnInit() override;
  void OnDestroy() override;
  bool OnNotify(int id, NMHDR* header, LRESULT* result) override;
  HWND EditingList() const override;
  GenericCommands Generic() const override;
  void RememberSelection(RememberedSelection* selection) const override;
  bool EndEditForPress(HWND control, HWND focus) override;
  bool FocusOnPress(const MSG& msg, HWND focus) override;

 protected:
  const char* SlotDescription(int slot) const override;
  const char* SlotName(int slot) const override;
  SlotMask MaskOf(std::uint32_t rule) const override;
  void SetInUse(std::uint32_t rule, SlotMask bit, bool inUse) override;
  int RememberedRow() const override { return Session().Remembered().criterion; }

 private:
  CImprovedHeaderCtrl valueHeader_;
};

}  // namespace velkor
