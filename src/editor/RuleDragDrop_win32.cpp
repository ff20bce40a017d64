#include "editor/RuleDragDrop_win32.h"

#include <commctrl.h>

#include <cstring>
#include <vector>

#include "editor/RuleOrder.h"
#include "res/resource.h"
#include "win/Clipboard.h"
#include "win/Com.h"
#include "win/DropTarget.h"
#include "win/GlobalMemory.h"
#include "win/Strings.h"

namespace velkor {
namespace {

FORMATETC RuleFormat() {
  FORMATETC format{};
  format.cfFormat = RuleListClipboardFormat();
  format.dwAspect = DVASPECT_CONTENT;
  format.lindex = -1;
  format.tymed = TYMED_HGLOBAL;
  return format;
}

class FormatEnumerator : public win::ComObject<IEnumFORMATETC> {
 public:
  explicit FormatEnumerator(ULONG position = 0) : ComObject(IID_IEnumFORMATETC), position_(position) {}
  HRESULT STDMETHODCALLTYPE Next(ULONG count, FORMATETC* formats, ULONG* fetched) override {
    ULONG given = 0;
    if (count > 0 && position_ == 0 && formats) {
      formats[0] = RuleFormat();
      position_ = 1;
      given = 1;
    }
    if (fetched) *fetched = given;
    return given == count ? S_OK : S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE Skip(ULONG count) override {
    position_ += count;
    return position_ <= 1 ? S_OK : S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE Reset() override {
    position_ = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Clone(IEnumFORMATETC** clone) override {
    if (!clone) return E_POINTER;
    *clone = new FormatEnumerator(position_);
    return S_OK;
  }

 private:
  ULONG position_;
};

class RuleDataObject : public win::ComObject<IDataObject> {
 public:
  explicit RuleDataObject(int row) : ComObject(IID_IDataObject), row_(row) {}

  HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override {
    if (!format || !medium) return E_INVALIDARG;
    HRESULT ok = QueryGetData(format);
    if (FAILED(ok)) return ok;
    const std::int32_t row = row_;  // little-endian, as the format says
    HGLOBAL block = win::NewGlobalBlock(&row, sizeof row);
    if (!block) return E_OUTOFMEMORY;
    medium->tymed = TYMED_HGLOBAL;
    medium->hGlobal = block;
    medium->pUnkForRelease = nullptr;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override {
    if (!format) return E_INVALIDARG;
    if (format->cfFormat != RuleListClipboardFormat()) return DV_E_FORMATETC;
    if (!(format->tymed & TYMED_HGLOBAL)) return DV_E_TYMED;
    if (format->dwAspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override {
    if (out) out->ptd = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD direction, IEnumFORMATETC** enumerator) override {
    if (!enumerator) return E_POINTER;
    if (direction != DATADIR_GET) return E_NOTIMPL;
    *enumerator = new FormatEnumerator();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override {
    return OLE_E_ADVISENOTSUPPORTED;
  }
  HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
  HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return OLE_E_ADVISENOTSUPPORTED; }

 private:
  int row_;
};

class RuleDropSource : public win::ComObject<IDropSource> {
 public:
  RuleDropSource(HWND window, HWND list) : ComObject(IID_IDropSource), window_(window), list_(list) {}

  HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL escape, DWORD keys) override {
    if (escape) return DRAGDROP_S_CANCEL;
    if (!(keys & (MK_LBUTTON | MK_RBUTTON))) return DRAGDROP_S_DROP;
    ScrollTowardsCursor();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD) override { return DRAGDROP_S_USEDEFAULTCURSORS; }

 private:
  void ScrollTowardsCursor() const {
    POINT cursor;
    if (!::GetCursorPos(&cursor)) return;
    RECT client;
    ::GetClientRect(window_, &client);
    ::MapWindowPoints(window_, nullptr, reinterpret_cast<POINT*>(&client), 2);
    if (!::PtInRect(&client, cursor)) return;
    RECT list;
    ::GetWindowRect(list_, &list);
    int distance = 0;
    if (cursor.y < list.top) distance = cursor.y - list.top;
    else if (cursor.y >= list.bottom) distance = cursor.y - list.bottom + 1;
    if (distance != 0) ::SendMessageA(list_, LVM_SCROLL, 0, distance);
  }

  HWND window_;
  HWND list_;
};

class RuleDropTarget : public win::DropTarget {
 public:
  RuleDropTarget(HWND window, HWND list) : window_(window), list_(list) {}

 protected:
  // Only rows dragged in this list are taken, and they always move.
  DWORD AcceptEffect(IDataObject* data) override {
    return win::DataOffers(data, RuleListClipboardFormat()) ? DROPEFFECT_MOVE : DROPEFFECT_NONE;
  }
  void FollowCursor(POINTL point) override { ShowRowUnder(point); }
  bool TakeDrop(IDataObject* data, POINTL point) override {
    int source = RuleDragRow(data);
    if (source < 0) return false;
    int target = TargetIndex(point);
    if (target < 0) return false;
    ::SendMessageA(window_, kMoveRulesMessage, static_cast<WPARAM>(source), static_cast<LPARAM>(target));
    return true;
  }

 private:
  POINT ToClient(POINTL point) const {
    POINT p{point.x, point.y};
    ::ScreenToClient(list_, &p);
    return p;
  }
  // The row under the cursor by its label rectangle, at any horizontal place.
  void ShowRowUnder(POINTL point) const {
    POINT p = ToClient(point);
    int count = static_cast<int>(::SendMessageA(list_, LVM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
      RECT rect{};
      rect.left = LVIR_LABEL;
      if (!::SendMessageA(list_, LVM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&rect))) continue;
      if (p.y >= rect.top && p.y < rect.bottom) {
        ::SendMessageA(list_, LVM_ENSUREVISIBLE, static_cast<WPARAM>(i), FALSE);
        return;
      }
    }
  }
  int TargetIndex(POINTL point) const {
    POINT p = ToClient(point);
    int count = static_cast<int>(::SendMessageA(list_, LVM_GETITEMCOUNT, 0, 0));
    std::vector<RowSpan> rows;
    rows.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
      RECT rect{};
      rect.left = LVIR_BOUNDS;
      ::SendMessageA(list_, LVM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&rect));
      rows.push_back(RowSpan{rect.top, rect.bottom});
    }
    return DropTargetIndex(rows, p.y);
  }

  HWND window_;
  HWND list_;
};

}  // namespace

CLIPFORMAT RuleListClipboardFormat() {
  static CLIPFORMAT format = 0;
  if (!format) {
    std::string name = win::LoadResString(IDS_RULE_LIST_FORMAT);
    if (name.empty()) name = "Outlook Express Mail Rule List (OstrelSoft)";
    format = static_cast<CLIPFORMAT>(win::RegisteredFormat(name.c_str()));
  }
  return format;
}

IDataObject* CreateRuleDragData(int row) { return new RuleDataObject(row); }

int RuleDragRow(IDataObject* data) {
  if (!data) return -1;
  FORMATETC format = RuleFormat();
  STGMEDIUM medium{};
  if (data->GetData(&format, &medium) != S_OK) return -1;
  int row = -1;
  if (medium.tymed == TYMED_HGLOBAL) {
    win::GlobalLockGuard lock(medium.hGlobal);
    if (lock.Size() >= sizeof(std::int32_t)) {
      std::int32_t value = -1;
      std::memcpy(&value, lock.Bytes(), sizeof value);
      row = value < 0 ? -1 : value;
    }
  }
  ::ReleaseStgMedium(&medium);
  return row;
}

IDropSource* CreateRuleDropSource(HWND window, HWND list) { return new RuleDropSource(window, list); }

bool RegisterRuleDropTarget(HWND window, HWND list) {
  return win::DropTarget::Register(list, new RuleDropTarget(window, list));
}

void DragRuleRow(HWND window, HWND list, int row) {
  ::SetFocus(list);
  IDataObject* data = CreateRuleDragData(row);
  IDropSource* source = CreateRuleDropSource(window, list);
  DWORD effect = DROPEFFECT_NONE;
  ::DoDragDrop(data, source, DROPEFFECT_COPY | DROPEFFECT_MOVE, &effect);
  source->Release();
  data->Release();
}

}  // namespace velkor
