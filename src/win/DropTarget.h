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
  static bool Register(HWND window, IDropTarget* target);

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

  // The window that owns the control under a screen point: the control's
  // parent. Null when there is none.
  static HWND OwnerAt(POINTL point);

 private:
  DWORD effect_ = DROPEFFECT_NONE;
};

// Questions to a data object about one clipboard format.
// Offered in any medium (IDataObject::QueryGetData).
bool DataOffers(IDataObject* data, CLIPFORMAT format);
// Read as global memory (GetData with TYMED_HGLOBAL): false when the object
// cannot give the format as global memory; `*blockEmpty` tells a block of
// size 0 (which counts as absent). `text` ends at the first NUL.
bool ReadDataText(IDataObject* data, CLIPFORMAT format, std::string& text, bool* blockEmpty);

}  // namespace velkor::win
