#include "editor/ProgressDialog_win32.h"

#include "editor/WindowState.h"
#include "res/resource.h"
#include "rulestore/RegistryWatcher.h"
#include "win/Controls.h"
#include "win/Strings.h"

namespace velkor {

ProgressDialog::~ProgressDialog() { Close(); }

bool ProgressDialog::Create(HWND owner, UINT captionId) {
  captionId_ = captionId;
  signal_ = cancelled_ = false;
  HWND top = owner ? ::GetAncestor(owner, GA_ROOT) : nullptr;
  if (!CreateModeless(top, IDD_PROGRESS)) return false;
  if (top && ::IsWindowEnabled(top)) {
    ::EnableWindow(top, FALSE);
    disabledOwner_ = top;
  }
  ::UpdateWindow(Handle());
  return true;
}

void ProgressDialog::Close() {
  // Enable the owner before the window goes, so the activation returns to it.
  if (disabledOwner_) {
    ::EnableWindow(disabledOwner_, TRUE);
    disabledOwner_ = nullptr;
  }
  if (Handle()) Destroy();
}

bool ProgressDialog::OnInit() {
  if (captionId_) SetTitle(win::LoadResString(captionId_));
  win::ProgressBar bar(Handle(), IDC_PROGRESS_BAR);
  bar.SetRange(low_, high_);
  bar.SetStep(1);
  bar.SetPosition(0);
  percentText_ = ItemText(IDC_PROGRESS_PERCENT);
  return false;
}

void ProgressDialog::AllowCancel(bool allow) {
  cancelAllowed_ = allow;
  ShowItem(IDCANCEL, allow);
  EnableItem(IDCANCEL, allow);
}

void ProgressDialog::SetStatus(const std::string& text) {
  if (!Handle()) return;
  SetItemText(IDC_PROGRESS_STATUS, text);
  ::UpdateWindow(Item(IDC_PROGRESS_STATUS));
}

void ProgressDialog::SetPosition(int position) {
  Pump();
  if (!Handle()) return;
  win::ProgressBar(Handle(), IDC_PROGRESS_BAR).SetPosition(position);
  std::string text = ProgressPercentText(position, low_, high_);
  if (text != percentText_) {
    percentText_ = text;
    SetItemText(IDC_PROGRESS_PERCENT, text);
  }
  ::UpdateWindow(Handle());
}

void ProgressDialog::Pump() {
  MSG msg;
  while (win::PeekNextMessage(&msg)) {
    if (msg.message == WM_QUIT) {
      // Leave it for the loop that owns the thread.
      ::PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    if (win::TakeDialogMessage(Handle(), &msg)) continue;
    win::DispatchNextMessage(msg);
  }
}

bool ProgressDialog::TakeSignal() {
  Pump();
  bool signal = signal_;
  signal_ = false;
  return signal;
}

void ProgressDialog::OnCancel() {
  if (cancelAllowed_) signal_ = true;
}

bool ProgressDialog::OnMessage(UINT message, WPARAM, LPARAM, INT_PTR* result) {
  if (message == watchui::kReloadMessage) {
    signal_ = true;
    cancelled_ = true;
    *result = TRUE;
    return true;
  }
  return false;
}

}  // namespace velkor
