#pragma once
// The base of every OLE drop target of the programs. A target decides once,
// at drag-enter, whether it accepts the data and with which effect; drag-over
// repeats that answer (masked by what the source allows) and lets the target
// follow the cursor; the drop hands the data to the target.

#include <windows.h>
#include <ole2.h>

#include <string>

#include "win/Com.h"

namespace velkor::win {

class DropTarget : public ComObject<IDropTarget> {
 public:
  DropTarget() : ComObject(IID_IDropTarget) {}

  // Registers `target` on `window`, which then holds its own reference; the
  // caller's reference is released. Revoke with RevokeDragDrop(window).
  static bool Register(HWND window, DropTarget* target);

  HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD keys, POINTL point, DWORD* effect) override;
  HRESULT STDMETHODCALLTYPE DragOver(DWORD keys, POINTL point, DWORD* effect) override;
  HRESULT STDMETHODCALLTYPE DragLeave() override;
  HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD keys, POINTL point, DWORD* effect) override;

 protected:
  // The effect this target gives `data` (DROPEFFECT_NONE: not accepted).
  virtual DWORD AcceptEffect(IDataObject* data) = 0;
  // The cursor moved over the target while the data is accepted.
  virtual void FollowCursor(POINTL point) {}
  // Takes the dropped data; answers whether the drop was handled.
  virtual bool TakeDrop(IDataObject* data, POINTL point) = 0;

  // The window that owns the target: the parent of the window it is
  // registered on, whatever part of it (a list view's column header) lies
  // under the cursor. A target used without registration: the parent of the
  // control under the screen point. Null when there is none.
  HWND OwnerAt(POINTL point) const;

 private:
  DWORD effect_ = DROPEFFECT_NONE;
  HWND window_ = nullptr;
};

// What one drop or paste reads at most: a mail of hundreds of MB would take
// several times its size again on its way into a view.
constexpr std::size_t kMaxDroppedBytes = 16 * 1024 * 1024;
// Tell the user that dropped or pasted data was too large, or that memory ran
// out while taking it (the edits stay as they were).
void ReportTooLarge(HWND owner);
void ReportOutOfMemory(HWND owner);

// Questions to a data object about one clipboard format.
// Offered in any medium (IDataObject::QueryGetData).
bool DataOffers(IDataObject* data, CLIPFORMAT format);
// Read as global memory (GetData with TYMED_HGLOBAL): false when the object
// cannot give the format as global memory; `*blockEmpty` tells a block of
// size 0 (which counts as absent). `text` ends at the first NUL. A block
// larger than kMaxDroppedBytes is not read: false, with `*tooLarge` set.
bool ReadDataText(IDataObject* data, CLIPFORMAT format, std::string& text, bool* blockEmpty,
                  bool* tooLarge = nullptr);
// The bytes of a format as global memory, whole (NULs kept), within the same
// limit; false when not to be had.
bool ReadDataBytes(IDataObject* data, CLIPFORMAT format, std::string& bytes);

}  // namespace velkor::win
