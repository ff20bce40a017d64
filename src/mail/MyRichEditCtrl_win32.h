#pragma once
// CMyRichEditCtrl: the NG-word tool's mail view, a rich-edit 2.0 control
// whose context-menu request goes to its dialog as WM_APP+4 (the dialog shows
// its own menu), with the colouring of detection findings.

#include <windows.h>

#include <vector>

#include "mail/SpamDetection.h"
#include "win/Controls.h"

namespace velkor {

constexpr UINT kMailViewMenuMessage = WM_APP + 4;

class CMyRichEditCtrl : public win::RichEdit {
 public:
  using RichEdit::RichEdit;

  // Subclasses the control for the context menu; lifts the 32K text limit.
  void Attach() const;
  // Empties the view, sets the default size to 10 point, and shows `text`
  // with CRLF turned to LF.
  void ShowMailText(const std::string& text) const;
  // Bold colours for the ranges (character positions), in one pass with
  // drawing, notifications and undo held off; then caret and scroll to the top.
  void Colour(const std::vector<HighlightRange>& ranges) const;
};

}  // namespace velkor
