#include "win/DropTarget.h"

#include <new>

#include "win/GlobalMemory.h"
#include "win/MessageBox.h"

namespace velkor::win {

bool DropTarget::Register(HWND window, DropTarget* target) {
  target->window_ = window;
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
  bool taken = false;
  try {
    taken = given != DROPEFFECT_NONE && data && TakeDrop(data, point);
  } catch (const std::bad_alloc&) {
    // A drop too large for the memory left must not end the program with
    // unsaved edits; no exception may cross into OLE either.
    ReportOutOfMemory(OwnerAt(point));
  }
  *effect = taken ? given : DROPEFFECT_NONE;
  return S_OK;
}

HWND DropTarget::OwnerAt(POINTL point) const {
  if (window_) return ::GetParent(window_);
  POINT p{point.x, point.y};
  HWND control = ::WindowFromPoint(p);
  return control ? ::GetParent(control) : nullptr;
}

namespace {

constexpr const char* kTooLargeText =
    "ドロップまたは貼り付けられたデータが大きすぎるため、読み込みませんでした（16 MB まで）。\n"
    "編集中の内容はそのまま残っています。";
constexpr const char* kOutOfMemoryText =
    "メモリが足りないため、ドロップまたは貼り付けられたデータを読み込めませんでした。\n"
    "編集中の内容はそのまま残っています。";

// The caption of the program's window that owns `owner`.
std::string CaptionOf(HWND owner) {
  HWND root = owner ? ::GetAncestor(owner, GA_ROOT) : nullptr;
  char caption[256] = "";
  if (root) ::GetWindowTextA(root, caption, sizeof caption);
  return caption;
}

}  // namespace

void ReportTooLarge(HWND owner) { ShowMessage(owner, kTooLargeText, CaptionOf(owner), MB_OK | MB_ICONWARNING); }

void ReportOutOfMemory(HWND owner) {
  ShowMessage(owner, kOutOfMemoryText, CaptionOf(owner), MB_OK | MB_ICONWARNING);
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

bool ReadDataText(IDataObject* data, CLIPFORMAT format, std::string& text, bool* blockEmpty, bool* tooLarge) {
  text.clear();
  if (blockEmpty) *blockEmpty = false;
  if (tooLarge) *tooLarge = false;
  if (!data || !format) return false;
  FORMATETC f = FormatOf(format, TYMED_HGLOBAL);
  STGMEDIUM medium{};
  if (data->GetData(&f, &medium) != S_OK) return false;
  bool ok = medium.tymed == TYMED_HGLOBAL;
  if (ok && ::GlobalSize(medium.hGlobal) > kMaxDroppedBytes) {
    ok = false;
    if (tooLarge) *tooLarge = true;
  }
  if (ok) {
    bool hasBytes = ReadGlobalText(medium.hGlobal, text);
    if (blockEmpty) *blockEmpty = !hasBytes;
  }
  ::ReleaseStgMedium(&medium);
  return ok;
}

bool ReadDataBytes(IDataObject* data, CLIPFORMAT format, std::string& bytes) {
  bytes.clear();
  if (!data || !format) return false;
  FORMATETC f = FormatOf(format, TYMED_HGLOBAL);
  STGMEDIUM medium{};
  if (data->GetData(&f, &medium) != S_OK) return false;
  bool ok = medium.tymed == TYMED_HGLOBAL;
  if (ok) {
    GlobalLockGuard lock(medium.hGlobal);
    ok = lock && lock.Size() <= kMaxDroppedBytes;
    if (ok) bytes.assign(static_cast<const char*>(lock.Bytes()), lock.Size());
  }
  ::ReleaseStgMedium(&medium);
  return ok;
}

}  // namespace velkor::win
