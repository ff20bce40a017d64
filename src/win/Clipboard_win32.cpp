#include "win/Clipboard.h"

#include "win/DropTarget.h"
#include "win/GlobalMemory.h"

namespace velkor::win {

UINT RegisteredFormat(const char* name) { return ::RegisterClipboardFormatA(name); }

Clipboard::Clipboard(HWND owner) : owner_(owner), open_(::OpenClipboard(owner) != FALSE) {}

Clipboard::~Clipboard() {
  if (open_) ::CloseClipboard();
  // Told only now: a message box must not keep the clipboard from others.
  if (tooLarge_) ReportTooLarge(owner_);
}

bool Clipboard::Empty() { return open_ && ::EmptyClipboard() != FALSE; }

bool Clipboard::SetText(const std::string& text) { return SetData(CF_TEXT, text.c_str(), text.size() + 1); }

bool Clipboard::SetData(UINT format, const void* bytes, std::size_t size) {
  if (!open_ || format == 0) return false;
  HGLOBAL block = NewGlobalBlock(bytes, size);
  if (!block) return false;
  if (!::SetClipboardData(format, block)) {
    ::GlobalFree(block);  // still ours when the clipboard refused it
    return false;
  }
  return true;
}

std::string Clipboard::Text() const { return FormatText(CF_TEXT); }

std::string Clipboard::FormatText(UINT format) const {
  if (!open_ || format == 0) return {};
  HANDLE data = ::GetClipboardData(format);
  if (!data) return {};
  if (::GlobalSize(static_cast<HGLOBAL>(data)) > kMaxDroppedBytes) {
    tooLarge_ = true;
    return {};
  }
  return ReadGlobalText(static_cast<HGLOBAL>(data));
}

}  // namespace velkor::win
