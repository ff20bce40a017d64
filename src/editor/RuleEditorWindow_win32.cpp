#include "editor/RuleEditorWindow_win32.h"

#include "editor/AboutDialog_win32.h"
#include "editor/Help_win32.h"
#include "res/resource.h"
#include "win/Controls.h"
#include "win/Strings.h"

namespace velkor {
namespace {

// The three word lists keep this much room right of their one column.
constexpr int kColumnMargin = 50;

// Full client width, less the vertical scroll bar the list may show.
int FixedRowColumnWidth(const win::ListView& list) {
  RECT client = list.ClientRect();
  return client.right - client.left - ::GetSystemMetrics(SM_CXVSCROLL);
}

}  // namespace

INT_PTR RuleEditorWindow::Run(HWND owner) { return RunModal(owner, IDD_VELKOR_DIALOG); }

bool RuleEditorWindow::OnInit() {
  ExtendSystemMenu();
  SetIcons();
  SetUpLists();
  return true;
}

void RuleEditorWindow::ExtendSystemMenu() {
  HMENU menu = ::GetSystemMenu(Handle(), FALSE);
  if (!menu) return;
  std::string about = win::LoadResString(IDS_ABOUTBOX);
  ::AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
  ::AppendMenuA(menu, MF_STRING, ID_SYS_ABOUT, about.c_str());
}

void RuleEditorWindow::SetIcons() {
  HINSTANCE instance = win::ProgramInstance();
  // Shared icons from LoadImage(LR_SHARED) are owned by the system.
  bigIcon_ = static_cast<HICON>(::LoadImageA(instance, MAKEINTRESOURCEA(IDR_MAINFRAME), IMAGE_ICON,
                                             ::GetSystemMetrics(SM_CXICON), ::GetSystemMetrics(SM_CYICON),
                                             LR_SHARED));
  smallIcon_ = static_cast<HICON>(::LoadImageA(instance, MAKEINTRESOURCEA(IDR_MAINFRAME), IMAGE_ICON,
                                               ::GetSystemMetrics(SM_CXSMICON),
                                               ::GetSystemMetrics(SM_CYSMICON), LR_SHARED));
  if (bigIcon_) ::SendMessageA(Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon_));
  if (smallIcon_) ::SendMessageA(Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_));
}

void RuleEditorWindow::SetUpLists() {
  struct ListSetup {
    int id;
    DWORD extendedStyle;
    const char* column;  // the list's one column
    bool fixedRows;      // the twelve rows of a type list: the column spans the list
  };
  static const ListSetup kLists[] = {
      {IDC_BLOCKED_SENDER_VIEW, LVS_EX_INFOTIP | LVS_EX_FULLROWSELECT, "禁止された送信者のメールアドレス", false},
      {IDC_RULE_LIST, LVS_EX_INFOTIP | LVS_EX_CHECKBOXES, "適用するメールルール", false},
      {IDC_VALUE_LIST, LVS_EX_INFOTIP | LVS_EX_FULLROWSELECT, "条件", false},
      {IDC_CRITERIA_TYPE_LIST, LVS_EX_INFOTIP | LVS_EX_FULLROWSELECT | LVS_EX_CHECKBOXES, "ルール条件", true},
      {IDC_ACTION_TYPE_LIST, LVS_EX_INFOTIP | LVS_EX_FULLROWSELECT | LVS_EX_CHECKBOXES, "ルールのアクション", true},
  };
  for (const ListSetup& setup : kLists) {
    win::ListView list(Handle(), setup.id);
    list.SetExtendedStyle(setup.extendedStyle, setup.extendedStyle);
    RECT client = list.ClientRect();
    int width = setup.fixedRows ? FixedRowColumnWidth(list) : client.right - client.left - kColumnMargin;
    list.InsertColumn(0, setup.column, width);
  }
}

void RuleEditorWindow::OnClose() { End(IDOK); }

bool RuleEditorWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR* result) {
  switch (message) {
    case WM_SYSCOMMAND:
      switch (wParam & 0xFFF0) {
        case ID_SYS_ABOUT:
          ShowAboutBox(Handle());
          *result = TRUE;
          return true;
        case SC_CLOSE:
          OnClose();
          *result = TRUE;
          return true;
        default:
          return false;
      }
    case WM_HELP:
      // F1 anywhere in the window, a control included.
      ShowContextHelp(Handle(), HelpContextForDialog(IDD_VELKOR_DIALOG));
      *result = TRUE;
      return true;
    default:
      return false;
  }
}

}  // namespace velkor
