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
  // Shows `mail` without colours.
  void ShowMailText(const std::string& mail) const;
  // Sets the default size to 10 point and shows `text` (as MailViewText
  // gives it) with `ranges` (byte positions) bold in their colours: one
  // stream of rich text in the view's default font, with drawing and
  // notifications held off; then caret and scroll at the top.
  void ShowMail(const std::string& text, const std::vector<HighlightRange>& ranges) const;
};

}  // namespace velkor
