#pragma once
// What the criteria pane and the action pane share: a list of twelve fixed
// slot rows with check boxes (a slot is in use when checked), set from the
// shown rule's slot mask, and the value controls of the selected slot below
// it. Until the value editors arrive a checked box puts the slot in or out of
// use and the value controls stay hidden.

#include <cstddef>
#include <cstdint>

#include "editor/EditorPane_win32.h"

namespace velkor {

class SlotPane : public EditorPane {
 public:
  bool OwnsControl(int id) const override;
  void OnInit() override;
  bool OnNotify(int id, NMHDR* header, LRESULT* result) override;
  void OnSessionUnloading() override;
  void OnSessionLoaded() override;
  void OnRuleShown(std::int64_t rule) override;

  // The selected slot row, -1 when none.
  int SelectedSlot() const;
  // The shown rule's slots in use.
  SlotMask ShownMask() const;

 protected:
  struct Layout {
    int list;                  // the slot list
    const char* column;        // its one column
    const int* valueControls;  // the value pane below it
    std::size_t valueCount;
  };
  explicit SlotPane(const Layout& layout) : layout_(layout) {}

  // The slot's tip text.
  virtual const char* SlotDescription(int slot) const = 0;
  virtual const char* SlotName(int slot) const = 0;
  virtual SlotMask MaskOf(std::uint32_t rule) const = 0;
  virtual void SetInUse(std::uint32_t rule, SlotMask bit, bool inUse) = 0;
  // The remembered row this pane restores after a load.
  virtual int RememberedRow() const = 0;
  // Shows the value controls of `slot` (-1: none).
  virtual void ShowValuePane(int slot);
  void HideValuePane() { ShowValuePane(-1); }

 private:
  void OnItemChanged(const NMLISTVIEW& change);
  void SelectRow(int slot);

  Layout layout_;
  std::int64_t shownRule_ = -1;
  bool guard_ = false;  // set while the pane itself changes the slot rows
};

}  // namespace velkor
