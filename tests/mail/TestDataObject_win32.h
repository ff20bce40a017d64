#pragma once
// A data object that offers exactly the formats a test gives it, each as a
// global-memory block (bytes as given, or a block of size 0) or only as a
// stream (offered, but not readable as global memory); and a drop source that
// drops after a few polls, for real OLE drags without a person.

#include <windows.h>
#include <ole2.h>

#include <cstring>
#include <string>
#include <vector>

#include "win/Com.h"

namespace velkor::test {

struct OfferedFormat {
  enum Shape { Bytes, EmptyBlock, StreamOnly };
  CLIPFORMAT format;
  Shape shape;
  std::string bytes;  // taken whole: add the NUL yourself where the source would
};

class TestDataObject : public win::ComObject<IDataObject> {
 public:
  explicit TestDataObject(std::vector<OfferedFormat> formats)
      : ComObject(IID_IDataObject), formats_(std::move(formats)) {}

  HRESULT STDMETHODCALLTYPE GetData(FORMATETC* f, STGMEDIUM* medium) override {
    const OfferedFormat* offered = Find(f);
    if (!offered) return DV_E_FORMATETC;
    if (offered->shape == OfferedFormat::StreamOnly || !(f->tymed & TYMED_HGLOBAL)) return DV_E_TYMED;
    HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE, offered->bytes.size());
    if (!offered->bytes.empty()) {
      void* p = ::GlobalLock(block);
      std::memcpy(p, offered->bytes.data(), offered->bytes.size());
      ::GlobalUnlock(block);
    }
    medium->tymed = TYMED_HGLOBAL;
    medium->hGlobal = block;
    medium->pUnkForRelease = nullptr;
    ++reads;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* f) override {
    const OfferedFormat* offered = Find(f);
    if (!offered) return DV_E_FORMATETC;
    DWORD medium = offered->shape == OfferedFormat::StreamOnly ? TYMED_ISTREAM : TYMED_HGLOBAL;
    return (f->tymed & medium) ? S_OK : DV_E_TYMED;
  }
  HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override {
    if (out) out->ptd = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD, IEnumFORMATETC**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override {
    return OLE_E_ADVISENOTSUPPORTED;
  }
  HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
  HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return OLE_E_ADVISENOTSUPPORTED; }

  int reads = 0;

 private:
  const OfferedFormat* Find(const FORMATETC* f) const {
    if (!f || f->dwAspect != DVASPECT_CONTENT) return nullptr;
    for (const OfferedFormat& o : formats_) {
      if (o.format == f->cfFormat) return &o;
    }
    return nullptr;
  }
  std::vector<OfferedFormat> formats_;
};

// Drops after `polls` calls of QueryContinueDrag, moving the cursor to `at` first.
class PollingDropSource : public win::ComObject<IDropSource> {
 public:
  PollingDropSource(POINT at, int polls) : ComObject(IID_IDropSource), at_(at), polls_(polls) {}
  HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL escape, DWORD) override {
    if (escape) return DRAGDROP_S_CANCEL;
    ::SetCursorPos(at_.x, at_.y);
    return --polls_ <= 0 ? DRAGDROP_S_DROP : S_OK;
  }
  HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD) override { return DRAGDROP_S_USEDEFAULTCURSORS; }

 private:
  POINT at_;
  int polls_;
};

}  // namespace velkor::test
