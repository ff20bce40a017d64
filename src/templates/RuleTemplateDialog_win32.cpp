#include "templates/RuleTemplateDialog_win32.h"

#include <commctrl.h>

#include "res/resource.h"
#include "win/Controls.h"

namespace velkor {

namespace {

constexpr int kImageSize = 16;
constexpr COLORREF kTransparent = RGB(255, 0, 255);

int InsertRow(const win::ListView& list, int index, const RuleTemplate& tmpl) {
  LVITEMA item{};
  item.mask = LVIF_TEXT | LVIF_PARAM | LVIF_IMAGE;
  item.iItem = index;
  item.pszText = const_cast<char*>(tmpl.rowText);
  item.lParam = tmpl.id;
  item.iImage = tmpl.image;
  return static_cast<int>(list.Send(LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
}

}  // namespace

INT_PTR RuleTemplateDialog::Run(HWND owner) {
  chosen_ = -1;
  return RunModal(owner, IDD_RULE_TEMPLATE);
}

bool RuleTemplateDialog::OnInit() {
  win::ListView list(Handle(), IDC_TEMPLATE_LIST);
  // The list destroys the image list with itself (no LVS_SHAREIMAGELISTS).
  HIMAGELIST images = ImageList_LoadImageA(win::ProgramInstance(), MAKEINTRESOURCEA(IDB_RULE_TEMPLATES), kImageSize,
                                           0, kTransparent, IMAGE_BITMAP, LR_CREATEDIBSECTION);
  if (images) list.Send(LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(images));
  list.SetExtendedStyle(LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
  list.InsertColumn(0, templatetext::kListHeader, templatetext::kListHeaderWidth);
  list.SetColumnWidth(0, LVSCW_AUTOSIZE_USEHEADER);
  int row = 0;
  int preselected = -1;
  for (RuleTemplateId id : TemplateRowOrder()) {
    InsertRow(list, row, TemplateAt(id));
    if (id == preselect_ && preselected < 0) preselected = row;
    ++row;
  }
  if (preselected >= 0) {
    list.SetSelected(preselected, true);
    list.SetFocused(preselected, true);
    list.EnsureVisible(preselected);
  }
  ShowSelection();
  list.Focus();
  return false;  // the focus is set
}

bool RuleTemplateDialog::OnCommand(int id, int code, HWND control) {
  if (id == IDC_TEMPLATE_OK) {
    End(IDC_TEMPLATE_OK);
    return true;
  }
  if (id == IDOK) return true;  // Enter reaches the default button 1077 instead
  return false;
}

bool RuleTemplateDialog::OnNotify(int id, NMHDR* header, LRESULT* result) {
  if (id != IDC_TEMPLATE_LIST) return false;
  if (header->code == LVN_ITEMCHANGED) {
    const auto* change = reinterpret_cast<const NMLISTVIEW*>(header);
    if ((change->uChanged & LVIF_STATE) && ((change->uNewState ^ change->uOldState) & LVIS_SELECTED))
      ShowSelection();
    return true;
  }
  if (header->code == NM_DBLCLK && win::ListView(Handle(), IDC_TEMPLATE_LIST).SelectedCount() > 0) {
    End(IDC_TEMPLATE_OK);  // a double-click chooses the row, as OK would
    return true;
  }
  return false;
}

void RuleTemplateDialog::ShowSelection() {
  win::ListView list(Handle(), IDC_TEMPLATE_LIST);
  int row = list.NextSelected();
  chosen_ = row >= 0 ? static_cast<RuleTemplateId>(list.Data(row)) : -1;
  SetItemText(IDC_TEMPLATE_DESCRIPTION, IsTemplateId(chosen_) ? TemplateAt(chosen_).description : "");
}

}  // namespace velkor
