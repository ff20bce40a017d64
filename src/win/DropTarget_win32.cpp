#include "win/DropTarget.h"

#include "win/GlobalMemory.h"

namespace velkor::win {

bool DropTarget::Register(HWND window, IDropTarget* target) {
  HRESULT hr = ::RegisterDragDrop(window, target);
  target->Release();
  return SUCCEEDED(hr);
}

HRESULT STDMETHODCALLTYPE DropTarget::DragEnter(IDataObject* data, DWORD keys, POINTL point, DWORD* effect) {
  effect_ = data ? AcceptEffect(data) : DROPEFFECT_NONE;
  return DragOver(keys, point, effect);
}

HRESULT STDMETHODCALLTYPE DropTarget::DragOver(DWORD, POINTL point, DWORD* effect) {
  if (!effect) return E_INVALIDARG;
  *effect &= effect_;
  if (*effect != DROPEFFECT_NONE) FollowCursor(point);
  return S_OK;
}

HRESULT STDMETHODCALLTYPE DropTarget::DragLeave() {
  effect_ = DROPEFFECT_NONE;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE DropTarget::Drop(IDataObject* data, DWORD, POINTL point, DWORD* effect) {
  if (!effect) return E_INVALIDARG;
  const DWORD given = *effect & effect_;
  effect_ = DROPEFFECT_NONE;
  *effect = (given != DROPEFFECT_NONE && data && TakeDrop(data, point)) ? given : DROPEFFECT_NONE;
  return S_OK;
}

HWND DropTarget::OwnerAt(POINTL point) {
  POINT p{point.x, point.y};
  HWND control = ::WindowFromPoint(p);
  return control ? ::GetParent(control) : nullptr;
}

namespace {
FORMATETC FormatOf(CLIPFORMAT format, DWORD tymed) {
  FORMATETC f{};
  f.cfFormat = format;
  f.dwAspect = DVASPECT_CONTENT;
  f.lindex = -1;
  f.tymed = tymed;
  return f;
}
}  // namespace

bool DataOffers(IDataObject* data, CLIPFORMAT format) {
  if (!data || !format) return false;
  FORMATETC f = FormatOf(format, TYMED_HGLOBAL | TYMED_FILE | TYMED_ISTREAM | TYMED_ISTORAGE | TYMED_GDI |
                                     TYMED_MFPICT | TYMED_ENHMF);
  return data->QueryGetData(&f) == S_OK;
}

bool ReadDataText(IDataObject* data, CLIPFORMAT format, std::string& text, bool* blockEmpty) {
  text.clear();
  if (blockEmpty) *blockEmpty = false;
  if (!data || !format) return false;
  FORMATETC f = FormatOf(format, TYMED_HGLOBAL);
  STGMEDIUM medium{};
  if (data->GetData(&f, &medium) != S_OK) return false;
  bool ok = medium.tymed == TYMED_HGLOBAL;
  if (ok) {
    bool hasBytes = ReadGlobalText(medium.hGlobal, text);
    if (blockEmpty) *blockEmpty = !hasBytes;
  }
  ::ReleaseStgMedium(&medium);
  return ok;
}

}  // namespace velkor::win
