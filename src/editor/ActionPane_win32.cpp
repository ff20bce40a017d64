#include "editor/ActionPane_win32.h"

#include <iterator>

#include "res/resource.h"

namespace velkor {
namespace {

const int kValueControls[] = {IDC_ACTION_LABEL, IDC_FOLDER_TREE, IDC_COLOR_COMBO,
                              IDC_ADDRESS_EDIT, IDC_BROWSE,      IDC_MARK_COMBO};

}  // namespace

ActionPane::ActionPane()
    : SlotPane(Layout{IDC_ACTION_TYPE_LIST, ruletext::kActionsHeader, kValueControls, std::size(kValueControls)}) {}

void ActionPane::RememberSelection(RememberedSelection* selection) const {
  selection->action = selection->rule < 0 ? -1 : SelectedSlot();
}

bool ActionPane::EndEditForPress(HWND control, HWND focus) {
  // A forward address being typed is committed before anything else happens;
  // its own browse button is part of the edit.
  HWND addressEdit = Item(IDC_ADDRESS_EDIT);
  if (focus == addressEdit && control != addressEdit && control != Item(IDC_BROWSE)) {
    ::SetFocus(control);
    return true;
  }
  return false;
}

const char* ActionPane::SlotDescription(int slot) const { return ActionSlot(slot).description; }
const char* ActionPane::SlotName(int slot) const { return ActionSlot(slot).shortName; }
SlotMask ActionPane::MaskOf(std::uint32_t rule) const { return Session().Store().ActionMask(rule); }
void ActionPane::SetInUse(std::uint32_t rule, SlotMask bit, bool inUse) {
  Session().Store().SetActionInUse(rule, bit, inUse);
}

}  // namespace velkor
