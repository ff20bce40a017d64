#pragma once
// A small dialog base class. The static procedure stores `this` at
// WM_INITDIALOG and forwards every message to the virtual handlers, so a dialog
// is a class with OnInit/OnCommand/OnNotify and plain fields for its data.
// The object does not own its HWND beyond the dialog's own lifetime: a modal
// run ends with EndDialog, a modeless window with Destroy (or its owner).

#include <windows.h>

#include <cstdint>
#include <string>

namespace velkor::win {

class Dialog {
 public:
  Dialog() = default;
  virtual ~Dialog();
  Dialog(const Dialog&) = delete;
  Dialog& operator=(const Dialog&) = delete;

  // Runs the dialog template `templateId` modally over `owner`; answers the
  // value given to End(), or -1 when the dialog could not be created.
  // `instance` null means the program's own module.
  INT_PTR RunModal(HWND owner, int templateId, HINSTANCE instance = nullptr);
  // Creates the dialog modeless (visible when its template says WS_VISIBLE).
  bool CreateModeless(HWND owner, int templateId, HINSTANCE instance = nullptr);
  // Ends a modal run with `result`, or destroys a modeless window.
  void End(INT_PTR result);
  void Destroy();

  HWND Handle() const { return hwnd_; }
  bool IsModal() const { return modal_; }
  HWND Item(int id) const { return ::GetDlgItem(hwnd_, id); }
  std::string ItemText(int id) const;
  void SetItemText(int id, const std::string& text);
  bool IsChecked(int id) const;
  void SetChecked(int id, bool checked);
  void EnableItem(int id, bool enable);
  void ShowItem(int id, bool show);
  bool IsItemVisible(int id) const;
  void SetTitle(const std::string& text);
  std::string Title() const;
  // The help context that F1 or the "?" shows; `control` is the control with
  // the focus or the one clicked, null when there is none. By default the
  // dialog's own (by its template), which shows the default topic when the
  // dialog has no page of its own.
  virtual std::uint32_t HelpContext(HWND control) const;

 protected:
  // WM_INITDIALOG. Answer true to let the system set the focus to the first control.
  virtual bool OnInit() { return true; }
  // WM_COMMAND. IDOK and IDCANCEL reach OnOK/OnCancel when this answers false.
  virtual bool OnCommand(int id, int code, HWND control) { return false; }
  // WM_NOTIFY. Answer true when handled; `*result` becomes the message result
  // (DWLP_MSGRESULT), e.g. TRUE to refuse a label edit.
  virtual bool OnNotify(int id, NMHDR* header, LRESULT* result) { return false; }
  virtual void OnOK() { End(IDOK); }
  virtual void OnCancel() { End(IDCANCEL); }
  virtual void OnTimer(UINT_PTR timerId) {}
  // WM_DESTROY, before the object forgets its HWND.
  virtual void OnDestroy() {}
  // First look at every message. Answer true with `*result` set to take it;
  // false lets the base handle it (and OnInit ... above see it).
  virtual bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR* result) { return false; }

 private:
  static INT_PTR CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  INT_PTR Dispatch(UINT message, WPARAM wParam, LPARAM lParam);

  HWND hwnd_ = nullptr;
  bool modal_ = false;
  int templateId_ = 0;
};

// The program's module handle (the .exe, where the resources live).
HINSTANCE ProgramInstance();

// The steps of a loop that serves the thread's messages itself (a modeless
// tool, a progress window), all Unicode: an ANSI loop hands a typed
// double-byte character over as two byte messages, which an edit under Wine
// takes as two characters of their own. Text in the messages stays as the
// windows themselves keep it; only the loop's own copies are Unicode.
// As GetMessage: > 0 a message, 0 WM_QUIT, -1 an error.
BOOL NextMessage(MSG* msg);
// Removes a waiting message, if any.
bool PeekNextMessage(MSG* msg);
// The dialog's keys (Tab, Enter, Esc, mnemonics) and its controls' messages.
bool TakeDialogMessage(HWND dialog, MSG* msg);
// TranslateMessage and DispatchMessage.
void DispatchNextMessage(const MSG& msg);

}  // namespace velkor::win
