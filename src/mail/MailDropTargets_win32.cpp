#include "mail/MailDropTargets_win32.h"

#include <cstdint>
#include <fstream>

#include "res/resource.h"
#include "win/Clipboard.h"
#include "win/Strings.h"

namespace velkor {

CLIPFORMAT MailClipboardFormat(MailFormat format) {
  UINT id = 0;
  switch (format) {
    case MailFormat::Text: return CF_TEXT;
    case MailFormat::SavedMail: return CF_HDROP;
    case MailFormat::AddressBook: id = IDS_WAB_FLAT_BUFFER; break;
    case MailFormat::RawMessage: id = IDS_RAW_MESSAGE_FORMAT; break;
    case MailFormat::MailHtml: id = IDS_MAIL_HTML_FORMAT; break;
    case MailFormat::Html: id = IDS_HTML_FORMAT; break;
    case MailFormat::RichText: id = IDS_RICH_TEXT_FORMAT; break;
  }
  std::string name = win::LoadResString(id);
  return name.empty() ? 0 : static_cast<CLIPFORMAT>(win::RegisteredFormat(name.c_str()));
}

std::string DataObjectMailSource::SavedMailFile() {
  if (!fileAsked_) {
    fileAsked_ = true;
    std::string dropFiles;
    if (win::ReadDataBytes(data_, CF_HDROP, dropFiles)) {
      std::string name = FirstDroppedFile(dropFiles);
      if (IsSavedMailName(name)) file_ = std::move(name);
    }
  }
  return file_;
}

bool DataObjectMailSource::Offered(MailFormat format) {
  if (format == MailFormat::SavedMail) return !SavedMailFile().empty();
  return win::DataOffers(data_, MailClipboardFormat(format));
}

BlockRead DataObjectMailSource::Read(MailFormat format) {
  BlockRead block;
  if (format == MailFormat::SavedMail) return ReadSavedMail(SavedMailFile());
  bool empty = false, tooLarge = false;
  if (!win::ReadDataText(data_, MailClipboardFormat(format), block.text, &empty, &tooLarge)) {
    if (tooLarge) block.status = BlockRead::TooLarge;
    return block;
  }
  block.status = empty ? BlockRead::EmptyBlock : BlockRead::Read;
  return block;
}

BlockRead ReadSavedMail(const std::string& path) {
  BlockRead block;
  if (path.empty()) return block;
  std::ifstream in(path, std::ios::binary | std::ios::ate);
  if (!in) return block;
  const std::streamoff size = in.tellg();
  if (size < 0) return block;
  if (static_cast<std::uint64_t>(size) > win::kMaxDroppedBytes) {
    block.status = BlockRead::TooLarge;
    return block;
  }
  block.text.resize(static_cast<std::size_t>(size));
  in.seekg(0);
  if (size > 0 && !in.read(&block.text[0], size)) {
    block.text.clear();
    return block;
  }
  block.status = block.text.empty() ? BlockRead::EmptyBlock : BlockRead::Read;
  return block;
}

namespace {

class ListMailDropTarget : public win::DropTarget {
 public:
  ListMailDropTarget(DropPlace place, ListDropSink* sink) : place_(place), sink_(sink) {}

 protected:
  DWORD AcceptEffect(IDataObject* data) override {
    DataObjectMailSource source(data);
    DroppedMail mail(source);
    return AcceptsDrag(place_, mail) ? DROPEFFECT_COPY : DROPEFFECT_NONE;
  }

  bool TakeDrop(IDataObject* data, POINTL point) override {
    HWND owner = OwnerAt(point);
    if (!owner) return false;
    DataObjectMailSource source(data);
    DroppedMail mail(source);
    ListDropResult result = place_ == DropPlace::ValueList
                                ? DecodeValueListDrop(mail, sink_->SelectedCriterionRow())
                                : DecodeSenderDrop(mail);
    if (mail.TooLarge()) {
      win::ReportTooLarge(owner);
      return false;
    }
    switch (result.action) {
      case ListDropResult::InsertPlain:
        sink_->InsertPlainText(result.text);
        break;
      case ListDropResult::InsertAddressBook:
        sink_->InsertAddressBookText(result.text);
        break;
      case ListDropResult::OpenTool:
      case ListDropResult::OpenToolUnsupported:
        // Posted, so that the tool opens after the drag loop has ended.
        sink_->SetDroppedMailText(result.text);
        ::PostMessageA(owner, kOpenNgWordToolMessage, 0, 0);
        if (result.action == ListDropResult::OpenToolUnsupported)
          ::PostMessageA(owner, kUnsupportedMailMessage, 0, 0);
        break;
      case ListDropResult::Refused:
      case ListDropResult::Nothing:
        break;
    }
    return result.Handled();
  }

 private:
  DropPlace place_;
  ListDropSink* sink_;
};

class ToolDropTarget : public win::DropTarget {
 public:
  ToolDropTarget(DropPlace place, NgWordToolDropSink* sink) : place_(place), sink_(sink) {}

 protected:
  DWORD AcceptEffect(IDataObject* data) override {
    DataObjectMailSource source(data);
    DroppedMail mail(source);
    return AcceptsDrag(place_, mail) ? DROPEFFECT_COPY : DROPEFFECT_NONE;
  }

  bool TakeDrop(IDataObject* data, POINTL point) override {
    HWND owner = OwnerAt(point);
    if (!owner) return false;
    DataObjectMailSource source(data);
    DroppedMail mail(source);
    if (place_ == DropPlace::WordList) {
      std::string text;
      const bool taken = DecodeWordListDrop(mail, text);
      if (mail.TooLarge()) win::ReportTooLarge(owner);
      if (!taken) return false;
      sink_->AddWord(text);
      return true;
    }
    MailViewDropResult result = DecodeMailViewDrop(mail);
    if (mail.TooLarge()) {
      win::ReportTooLarge(owner);
      return false;
    }
    if (result.supported)
      sink_->ShowDroppedMail(result.text);
    else
      sink_->ReportUnsupportedMail();
    return true;
  }

 private:
  DropPlace place_;
  NgWordToolDropSink* sink_;
};

}  // namespace

win::DropTarget* NewMailDropTarget(ListDropSink* sink) { return new ListMailDropTarget(DropPlace::ValueList, sink); }
win::DropTarget* NewSenderDropTarget(ListDropSink* sink) {
  return new ListMailDropTarget(DropPlace::BlockedSenders, sink);
}
win::DropTarget* NewMailViewDropTarget(NgWordToolDropSink* sink) { return new ToolDropTarget(DropPlace::MailView, sink); }
win::DropTarget* NewWordListDropTarget(NgWordToolDropSink* sink) { return new ToolDropTarget(DropPlace::WordList, sink); }

bool RegisterMailDropTarget(HWND valueList, ListDropSink* sink) { return win::DropTarget::Register(valueList, NewMailDropTarget(sink)); }
bool RegisterSenderDropTarget(HWND view, ListDropSink* sink) { return win::DropTarget::Register(view, NewSenderDropTarget(sink)); }
bool RegisterMailViewDropTarget(HWND mailView, NgWordToolDropSink* sink) {
  return win::DropTarget::Register(mailView, NewMailViewDropTarget(sink));
}
bool RegisterWordListDropTarget(HWND wordList, NgWordToolDropSink* sink) {
  return win::DropTarget::Register(wordList, NewWordListDropTarget(sink));
}

}  // namespace velkor
