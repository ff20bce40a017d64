#pragma once
// The clipboard, opened for one scope. Text goes as CF_TEXT in the program's
// code page (Shift_JIS); private formats are registered by name.

#include <windows.h>

#include <string>

namespace velkor::win {

// The id of a registered clipboard format (0 when it cannot be registered).
UINT RegisteredFormat(const char* name);

class Clipboard {
 public:
  // Opens the clipboard for `owner`; Wine and Windows refuse while another
  // program holds it, so callers test IsOpen().
  explicit Clipboard(HWND owner);
  ~Clipboard();
  Clipboard(const Clipboard&) = delete;
  Clipboard& operator=(const Clipboard&) = delete;
  bool IsOpen() const { return open_; }

  // Empties the clipboard and makes the owner its owner.
  bool Empty();
  // Puts `text` as CF_TEXT; call after Empty().
  bool SetText(const std::string& text);
  // Puts a block of bytes under `format`.
  bool SetData(UINT format, const void* bytes, std::size_t size);
  // The CF_TEXT content, up to its first NUL; empty when there is none.
  // Text larger than kMaxDroppedBytes (win/DropTarget.h) reads as empty, and
  // the user is told once the clipboard is closed again.
  std::string Text() const;
  // The bytes under `format` read as text (up to the first NUL), within the same limit.
  std::string FormatText(UINT format) const;

 private:
  HWND owner_;
  bool open_;
  mutable bool tooLarge_ = false;
};

// Whether `format` is on the clipboard (needs no open clipboard).
inline bool ClipboardHas(UINT format) { return format != 0 && ::IsClipboardFormatAvailable(format) != FALSE; }

}  // namespace velkor::win
