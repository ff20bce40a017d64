#pragma once
// The drop targets that take mails and text: MailDropTarget on the criterion
// value list, SenderDropTarget on the blocked-sender list, MailViewDropTarget
// and WordListDropTarget on the NG-word tool. Each answers drag-enter and
// drag-over with the copy effect when it can use the data, and decodes the
// drop by place (and criterion row) through the portable decoding.

#include <windows.h>
#include <ole2.h>

#include <string>

#include "mail/DroppedMail.h"
#include "win/DropTarget.h"

namespace velkor {

// Window messages of a mail drop (to the owner of the value list).
constexpr UINT kOpenNgWordToolMessage = WM_APP + 1;
constexpr UINT kUnsupportedMailMessage = WM_APP + 5;

// The registered clipboard format of `format` (by its name in the string
// resources, registered at each use); CF_TEXT for the text form.
CLIPFORMAT MailClipboardFormat(MailFormat format);

// A mail drop or paste read from an OLE data object, lazily. A CF_HDROP
// naming a saved mail (.eml) offers that file's bytes as SavedMail.
class DataObjectMailSource : public MailDataSource {
 public:
  explicit DataObjectMailSource(IDataObject* data) : data_(data) {}
  bool Offered(MailFormat format) override;
  BlockRead Read(MailFormat format) override;

 private:
  std::string SavedMailFile();
  IDataObject* data_;
  bool fileAsked_ = false;
  std::string file_;
};

// A saved mail's bytes, up to the drop limit (TooLarge beyond it).
BlockRead ReadSavedMail(const std::string& path);

class NgWordToolDropSink;

// Where a list drop's results go: the list that owns the target.
class ListDropSink {
 public:
  virtual ~ListDropSink() = default;
  // The selected criterion row, or kNoSingleRow when none or several are selected.
  virtual int SelectedCriterionRow() { return kNoSingleRow; }
  // Adds text as the list's plain-text or address-book paste does.
  virtual void InsertPlainText(const std::string& text) = 0;
  virtual void InsertAddressBookText(const std::string& text) = 0;
  // The main window's dropped-mail text, read when WM_APP+1 arrives.
  virtual void SetDroppedMailText(const std::string& text) {}
};

// New targets, reference count 1 (the Register functions below hand them to OLE).
win::DropTarget* NewMailDropTarget(ListDropSink* sink);
win::DropTarget* NewSenderDropTarget(ListDropSink* sink);
win::DropTarget* NewMailViewDropTarget(NgWordToolDropSink* sink);
win::DropTarget* NewWordListDropTarget(NgWordToolDropSink* sink);

// `sink` must outlive the registration (revoke before destroying it).
bool RegisterMailDropTarget(HWND valueList, ListDropSink* sink);
bool RegisterSenderDropTarget(HWND blockedSenderView, ListDropSink* sink);

// The NG-word tool's side of its two targets.
class NgWordToolDropSink {
 public:
  virtual ~NgWordToolDropSink() = default;
  // Shows a decoded mail body in the mail view and runs detection.
  virtual void ShowDroppedMail(const std::string& text) = 0;
  // Empties the mail view and reports an unsupported mail (posted).
  virtual void ReportUnsupportedMail() = 0;
  virtual void AddWord(const std::string& text) = 0;
};

bool RegisterMailViewDropTarget(HWND mailView, NgWordToolDropSink* sink);
bool RegisterWordListDropTarget(HWND wordList, NgWordToolDropSink* sink);

}  // namespace velkor
