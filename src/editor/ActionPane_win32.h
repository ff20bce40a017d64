#pragma once
// The action pane: the twelve action rows (1004) of the shown rule and the
// action value controls below them (folder tree, colour, forward address,
// mark).

#include "editor/SlotPane_win32.h"

namespace velkor {

class ActionPane : public SlotPane {
 public:
  ActionPane();
  void RememberSelection(RememberedSelection* selection) const override;
  bool EndEditForPress(HWND control, HWND focus) override;

 protected:
  const char* SlotDescription(int slot) const override;
  const char* SlotName(int slot) const override;
  SlotMask MaskOf(std::uint32_t rule) const override;
  void SetInUse(std::uint32_t rule, SlotMask bit, bool inUse) override;
  int RememberedRow() const override { return Session().Remembered().action; }
};

}  // namespace velkor
