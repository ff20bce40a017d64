#include "editor/SlotPane_win32.h"

#include <cstring>
#include <string>

#include "text/ShiftJis.h"
#include "win/Controls.h"
#include "win/ScopedFlag.h"

namespace velkor {

bool SlotPane::OwnsControl(int id) const {
  if (id == layout_.list) return true;
  for (std::size_t i = 0; i < layout_.valueCount; ++i)
    if (layout_.valueControls[i] == id) return true;
  return false;
}

void SlotPane::OnInit() {
  SetUpSingleColumnList(Dialog(), layout_.list, LVS_EX_INFOTIP | LVS_EX_FULLROWSELECT | LVS_EX_CHECKBOXES,
                        layout_.column, ScrollBarMargin());
  win::ListView list(Dialog(), layout_.list);
  {
    win::ScopedFlag guard(guard_);
    for (int slot = 0; slot < kSlotCount; ++slot) list.Insert(slot, SlotName(slot), slot);
  }
  HideValuePane();
  list.Show(false);
}

void SlotPane::ShowValuePane(int slot) {
  // The value editors of each slot kind come with the criteria and action
  // editors; until then a selected row shows its check box and tip only.
  (void)slot;
  win::ShowControls(Dialog(), layout_.valueControls, static_cast<int>(layout_.valueCount), false);
}

int SlotPane::SelectedSlot() const { return win::ListView(Dialog(), layout_.list).NextSelected(); }

SlotMask SlotPane::ShownMask() const {
  return shownRule_ < 0 ? 0 : MaskOf(static_cast<std::uint32_t>(shownRule_));
}

void SlotPane::OnSessionUnloading() { shownRule_ = -1; }

void SlotPane::OnRuleShown(std::int64_t rule) {
  win::ListView list(Dialog(), layout_.list);
  if (rule < 0 || !Session().Store().HasRule(static_cast<std::uint32_t>(rule))) {
    shownRule_ = -1;
    list.Show(false);
    HideValuePane();
    return;
  }
  shownRule_ = rule;
  SlotMask mask = MaskOf(static_cast<std::uint32_t>(rule));
  int first = -1;
  {
    win::ScopedFlag guard(guard_);
    list.UnselectAll();
    for (int slot = 0; slot < kSlotCount; ++slot) {
      bool inUse = (mask & SlotBit(slot)) != 0;
      list.SetChecked(slot, inUse);
      if (inUse && first < 0) first = slot;
    }
    list.Show(true);
    if (first >= 0) SelectRow(first);
  }
  ShowValuePane(first);
  list.RedrawAll();
}

void SlotPane::SelectRow(int slot) {
  win::ListView list(Dialog(), layout_.list);
  list.SetSelected(slot, true);
  list.SetFocused(slot, true);
}

void SlotPane::OnSessionLoaded() {
  // Only the rule that was remembered gets its row back.
  const RememberedSelection& remembered = Session().Remembered();
  int row = RememberedRow();
  if (remembered.rule < 0 || remembered.rule != shownRule_ || row < 0 || row >= kSlotCount) return;
  win::ListView list(Dialog(), layout_.list);
  list.UnselectAll();
  SelectRow(row);
}

bool SlotPane::OnNotify(int id, NMHDR* header, LRESULT* result) {
  if (id != layout_.list) return false;
  if (header->code == LVN_ITEMCHANGED) {
    OnItemChanged(*reinterpret_cast<NMLISTVIEW*>(header));
    return true;
  }
  if (header->code == LVN_GETINFOTIPA) {
    auto* tip = reinterpret_cast<NMLVGETINFOTIPA*>(header);
    if (tip->pszText && tip->cchTextMax > 0 && tip->iItem >= 0 && tip->iItem < kSlotCount) {
      const char* text = SlotDescription(tip->iItem);
      std::string cut = sjis::TruncateChars(text ? text : "", static_cast<std::size_t>(tip->cchTextMax - 1));
      std::memcpy(tip->pszText, cut.c_str(), cut.size() + 1);
    }
    return true;
  }
  return false;
}

// A check box puts the slot in or out of use; the mask is then shown again,
// so that a combination rule of the slots stays visible.
void SlotPane::OnItemChanged(const NMLISTVIEW& change) {
  bool inUse = false;
  if (guard_ || !CheckBoxToggled(change, &inUse)) return;
  std::int64_t rule = Frame().ShownRule();
  if (rule < 0) return;
  const auto number = static_cast<std::uint32_t>(rule);
  SetInUse(number, SlotBit(change.iItem), inUse);
  win::ListView list(Dialog(), layout_.list);
  SlotMask mask = MaskOf(number);
  {
    win::ScopedFlag guard(guard_);
    for (int slot = 0; slot < kSlotCount; ++slot) list.SetChecked(slot, (mask & SlotBit(slot)) != 0);
    list.UnselectAll();
    SelectRow(change.iItem);
  }
  Frame().Modified();
  Frame().RepaintRuleLists();
}

}  // namespace velkor
