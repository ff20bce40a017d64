#include "editor/CriteriaPane_win32.h"

#include <iterator>

#include "res/resource.h"
#include "win/Controls.h"

namespace velkor {
namespace {

const int kValueControls[] = {IDC_VALUE_LIST,      IDC_OPTION1_GROUP,       IDC_OPTION2_GROUP,
                              IDC_WORDS_CONTAINED, IDC_WORDS_NOT_CONTAINED, IDC_WORDS_ALL,
                              IDC_WORDS_ANY,       IDC_CRITERIA_LABEL,      IDC_CRITERIA_COMBO,
                              IDC_SIZE_EDIT,       IDC_LOGIC_GROUP,         IDC_LOGIC_ALL,
                              IDC_LOGIC_ANY};

}  // namespace

CriteriaPane::CriteriaPane()
    : SlotPane(Layout{IDC_CRITERIA_TYPE_LIST, ruletext::kCriteriaHeader, kValueControls, std::size(kValueControls)}) {}

void CriteriaPane::OnInit() {
  SetUpSingleColumnList(Dialog(), IDC_VALUE_LIST, LVS_EX_INFOTIP | LVS_EX_FULLROWSELECT, "条件", kWordListMargin);
  SlotPane::OnInit();
  valueHeader_.Attach(Item(IDC_VALUE_LIST));
}

void CriteriaPane::OnDestroy() { valueHeader_.Detach(); }

bool CriteriaPane::OnNotify(int id, NMHDR* header, LRESULT* result) {
  if (id == IDC_VALUE_LIST && (header->code == NM_SETFOCUS || header->code == NM_KILLFOCUS)) {
    ::InvalidateRect(win::ListView(header->hwndFrom).Header(), nullptr, TRUE);
    return false;
  }
  return SlotPane::OnNotify(id, header, result);
}

HWND CriteriaPane::EditingList() const { return Item(IDC_VALUE_LIST); }

GenericCommands CriteriaPane::Generic() const {
  GenericCommands commands;
  commands.clear = ID_VALUE_DELETE;
  commands.copy = ID_VALUE_COPY;
  commands.cut = ID_VALUE_CUT;
  commands.find = ID_VALUE_FIND;
  commands.insert = ID_VALUE_ADD_ITEM;
  commands.paste = ID_VALUE_PASTE;
  commands.selectAll = ID_VALUE_SELECT_ALL;
  return commands;
}

void CriteriaPane::RememberSelection(RememberedSelection* selection) const {
  selection->criterion = selection->rule < 0 ? -1 : SelectedSlot();
}

bool CriteriaPane::EndEditForPress(HWND control, HWND focus) {
  // A word being edited, or a size being typed, is committed before the
  // press does anything: moving the focus ends the edit; the press is dropped.
  HWND values = Item(IDC_VALUE_LIST);
  if (ListView_GetEditControl(values)) {
    if (control == values) return false;
    ::SetFocus(control);
    return true;
  }
  HWND sizeEdit = Item(IDC_SIZE_EDIT);
  if (focus == sizeEdit && control != sizeEdit) {
    ::SetFocus(control);
    return true;
  }
  return false;
}

bool CriteriaPane::FocusOnPress(const MSG& msg, HWND focus) {
  HWND values = Item(IDC_VALUE_LIST);
  if (msg.hwnd != values || focus == values || ListView_GetEditControl(values)) return false;
  ::SetFocus(values);
  return msg.message == WM_LBUTTONDOWN;  // the first press only focuses
}

const char* CriteriaPane::SlotDescription(int slot) const { return CriterionSlot(slot).description; }
const char* CriteriaPane::SlotName(int slot) const { return CriterionSlot(slot).shortName; }
SlotMask CriteriaPane::MaskOf(std::uint32_t rule) const { return Session().Store().CriteriaMask(rule); }
void CriteriaPane::SetInUse(std::uint32_t rule, SlotMask bit, bool inUse) {
  Session().Store().SetCriterionInUse(rule, bit, inUse);
}

}  // namespace velkor
