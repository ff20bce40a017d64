#pragma once
// FindTextDialog (dialog 141, "検索"): asks for the search text and the
// match-case flag. There is one search text and one flag for the whole run of
// the program, shared by every list that can be searched; they start empty and off.
// FindInList / FindNextInList run the find commands on a report list view.

#include <windows.h>

#include <string>

#include "mail/NgWordToolDialog_win32.h"
#include "win/Controls.h"
#include "win/Dialog.h"

namespace velkor {

namespace findtext {
constexpr const char* kNotFound = "\"%s\"　は見つかりません。";
constexpr const char* kTitle = "検索";
}  // namespace findtext

struct FindSettings {
  std::string text;
  bool matchCase = false;
};
// The settings shared by every find command.
FindSettings& SharedFindSettings();

class FindTextDialog : public win::Dialog {
 public:
  // Shows the shared settings; OK stores them back and answers true. An
  // outside change (WM_APP+9) abandons the dialog, storing nothing.
  bool Run(HWND owner);

 protected:
  bool OnInit() override;
  bool OnCommand(int id, int code, HWND control) override;
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR* result) override;
  void OnOK() override;

 private:
  void UpdateOk();
};

// The NG-word tool's find window: this dialog on the shared settings, so one
// search text and match-case flag serve every list of the run.
class FindTextPrompt : public FindPrompt {
 public:
  bool Ask(HWND owner, FindState& settings) override;
};

// Find next on `list`: from the row after the focused one, wrapping, in the
// texts of the first `columns` columns (1 or 2). A match becomes the only
// selected row, focused and scrolled into view, and the list takes the
// keyboard focus; no match shows the not-found message over `owner`.
// Answers the matching row or -1.
int FindNextInList(HWND owner, const win::ListView& list, int columns);
// Find: nothing on an empty list; otherwise the dialog, and on OK find next.
void FindInList(HWND owner, const win::ListView& list, int columns);

}  // namespace velkor
