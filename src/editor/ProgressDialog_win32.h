#pragma once
// ProgressDialog: the modeless "処理中" window (dialog 146) shown over a window
// during a long operation. While it exists the top-level window it was created
// over is disabled. It is the rule store's ProgressSink, so a save reports
// into it directly.

#include <windows.h>

#include <string>

#include "rulestore/ProgressSink.h"
#include "win/Dialog.h"

namespace velkor {

class ProgressDialog : public win::Dialog, public ProgressSink {
 public:
  ProgressDialog() = default;
  ~ProgressDialog() override;

  // Creates the window over `owner`'s top-level window and disables that
  // window; captionId 0 keeps the title "処理中". Range 0-100, position 0.
  bool Create(HWND owner, UINT captionId = 0);
  // Destroys the window and enables the owner again (also done on destruction).
  void Close();

  // Forbidding Cancel hides the button; Esc then does nothing either.
  void AllowCancel(bool allow);
  void SetStatus(const std::string& text);
  // Dispatches pending messages first, then moves the bar; the percentage
  // text is rewritten only when it changes.
  void SetPosition(int position);
  // Dispatches every pending message of the thread.
  void Pump();
  // Pumps, then answers and clears the signal (Cancel pressed or an outside change).
  bool TakeSignal();
  // Set by an outside change (WM_APP+9), never cleared.
  bool WasCancelled() const { return cancelled_; }

  // ProgressSink
  void SetStatusText(const std::string& text) override { SetStatus(text); }
  void SetPercent(int percent) override { SetPosition(percent); }
  void PumpMessages() override { Pump(); }
  bool Cancelled() const override { return cancelled_ || signal_; }

 protected:
  bool OnInit() override;
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR* result) override;
  void OnOK() override {}  // Enter does nothing
  void OnCancel() override;

 private:
  HWND disabledOwner_ = nullptr;
  UINT captionId_ = 0;
  bool cancelAllowed_ = true;
  bool signal_ = false;
  bool cancelled_ = false;
  int low_ = 0;
  int high_ = 100;
  std::string percentText_;
};

}  // namespace velkor
