// A small stand-in for the Windows Address Book library (WAB32.DLL) that
// Wine lacks: WABOpen and the interface methods the address-book reader calls
// (IAddrBook::GetPAB/OpenEntry, IABContainer::GetContentsTable,
// IMAPITable::SetColumns/SeekRow/QueryRows/GetRowCount, IMAPIProp::GetProps,
// IWABObject::AllocateBuffer/AllocateMore/FreeBuffer, IUnknown). Every other
// method answers MAPI_E_NO_SUPPORT. The contacts come from the vCard file
// named by HKCU "Software\Microsoft\WAB\WAB4\Wab File Name" (or by the open
// parameters); see VCard.h for what a card may hold.
//
// For tests the DLL also exports VelkorWabProviderState: the calls made so
// far and the objects and buffers still alive.

#include <windows.h>
#include "addressbook/WabHeaders_win32.h"

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "VCard.h"

namespace {

using velkor::vcard::Contact;

// ---- bookkeeping for tests -------------------------------------------------

LONG g_liveObjects = 0;
LONG g_liveBuffers = 0;
std::string g_calls;  // method names, space separated

void Note(const char* call) {
  if (g_calls.size() < 60000) {
    g_calls += call;
    g_calls += ' ';
  }
}

// ---- MAPI buffers ----------------------------------------------------------

// Each buffer carries a header; AllocateMore links further blocks to the
// first so FreeBuffer releases the whole chain.
struct alignas(8) BlockHeader {
  BlockHeader* next;
  DWORD magic;
};
constexpr DWORD kBlockMagic = 0x5642414B;  // "KABV"

HRESULT Allocate(ULONG size, void** out) {
  if (!out) return MAPI_E_INVALID_PARAMETER;
  auto* h = static_cast<BlockHeader*>(HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, sizeof(BlockHeader) + size));
  if (!h) return MAPI_E_NOT_ENOUGH_MEMORY;
  h->next = nullptr;
  h->magic = kBlockMagic;
  InterlockedIncrement(&g_liveBuffers);
  *out = h + 1;
  return S_OK;
}

BlockHeader* HeaderOf(void* p) {
  auto* h = static_cast<BlockHeader*>(p) - 1;
  return h->magic == kBlockMagic ? h : nullptr;
}

HRESULT AllocateMore(ULONG size, void* parent, void** out) {
  BlockHeader* root = parent ? HeaderOf(parent) : nullptr;
  if (!root || !out) return MAPI_E_INVALID_PARAMETER;
  void* block = nullptr;
  const HRESULT hr = Allocate(size, &block);
  if (FAILED(hr)) return hr;
  BlockHeader* h = HeaderOf(block);
  h->next = root->next;
  root->next = h;
  *out = block;
  return S_OK;
}

HRESULT Free(void* p) {
  if (!p) return S_OK;
  BlockHeader* h = HeaderOf(p);
  if (!h) return MAPI_E_INVALID_PARAMETER;
  while (h) {
    BlockHeader* next = h->next;
    h->magic = 0;
    HeapFree(GetProcessHeap(), 0, h);
    InterlockedDecrement(&g_liveBuffers);
    h = next;
  }
  return S_OK;
}

char* CopyString(const std::string& s, void* parent) {
  char* out = nullptr;
  if (FAILED(AllocateMore(static_cast<ULONG>(s.size() + 1), parent, reinterpret_cast<void**>(&out)))) return nullptr;
  std::memcpy(out, s.c_str(), s.size() + 1);
  return out;
}

// ---- the store -------------------------------------------------------------

constexpr ULONG kTagDisplayName = 0x3001001E;
constexpr ULONG kTagAddrType = 0x3002001E;
constexpr ULONG kTagEmailAddress = 0x3003001E;
constexpr ULONG kTagEntryId = 0x0FFF0102;
constexpr ULONG kTagObjectType = 0x0FFE0003;
constexpr ULONG kTagDefaultAddressIndex = 0x3A550003;
constexpr ULONG kTagEmailAddresses = 0x3A56101E;

constexpr DWORD kPabIndex = 0xFFFFFFFF;

// abFlags (4 bytes), "VKWB", the card's position (or kPabIndex).
struct StoreEntryId {
  BYTE flags[4];
  BYTE magic[4];
  DWORD index;
};

bool DecodeEntryId(ULONG cb, const void* eid, DWORD* index) {
  if (!eid || cb != sizeof(StoreEntryId)) return false;
  StoreEntryId id;
  std::memcpy(&id, eid, sizeof id);
  if (std::memcmp(id.magic, "VKWB", 4) != 0) return false;
  *index = id.index;
  return true;
}

StoreEntryId MakeEntryId(DWORD index) {
  StoreEntryId id{};
  std::memcpy(id.magic, "VKWB", 4);
  id.index = index;
  return id;
}

struct Store {
  std::vector<Contact> cards;
};

// One property of a card, in plain form until it is copied into a buffer.
struct Prop {
  explicit Prop(ULONG t) : tag(t) {}
  ULONG tag;
  LONG number = 0;
  std::string text;
  std::vector<std::string> texts;
  std::vector<BYTE> bytes;
};

std::vector<Prop> CardProps(const Store& store, DWORD index) {
  const Contact& c = store.cards[index];
  const StoreEntryId eid = MakeEntryId(index);
  std::vector<Prop> props;
  Prop p{kTagEntryId};
  p.bytes.assign(reinterpret_cast<const BYTE*>(&eid), reinterpret_cast<const BYTE*>(&eid) + sizeof eid);
  props.push_back(p);
  p = Prop(kTagObjectType);
  p.number = c.group ? MAPI_DISTLIST : MAPI_MAILUSER;
  props.push_back(p);
  p = Prop(kTagDisplayName);
  p.text = c.name;
  props.push_back(p);
  if (c.group || c.emails.empty()) return props;
  p = Prop(kTagAddrType);
  p.text = "SMTP";
  props.push_back(p);
  p = Prop(kTagEmailAddress);
  p.text = c.emails[c.preferred >= 0 ? c.preferred : 0];
  props.push_back(p);
  if (c.emails.size() > 1 || c.preferred >= 0) {
    p = Prop(kTagEmailAddresses);
    p.texts = c.emails;
    props.push_back(p);
  }
  if (c.preferred >= 0) {
    p = Prop(kTagDefaultAddressIndex);
    p.number = c.preferred;
    props.push_back(p);
  }
  return props;
}

bool FillValue(const Prop& prop, SPropValue* v, void* parent) {
  v->ulPropTag = prop.tag;
  switch (PROP_TYPE(prop.tag)) {
    case PT_LONG:
      v->Value.l = prop.number;
      return true;
    case PT_STRING8:
      v->Value.lpszA = CopyString(prop.text, parent);
      return v->Value.lpszA != nullptr;
    case PT_BINARY:
      v->Value.bin.cb = static_cast<ULONG>(prop.bytes.size());
      if (FAILED(AllocateMore(v->Value.bin.cb, parent, reinterpret_cast<void**>(&v->Value.bin.lpb)))) return false;
      std::memcpy(v->Value.bin.lpb, prop.bytes.data(), prop.bytes.size());
      return true;
    case PT_MV_STRING8: {
      v->Value.MVszA.cValues = static_cast<ULONG>(prop.texts.size());
      if (FAILED(AllocateMore(static_cast<ULONG>(sizeof(LPSTR) * (prop.texts.size() + 1)), parent,
                              reinterpret_cast<void**>(&v->Value.MVszA.lppszA))))
        return false;
      for (std::size_t k = 0; k < prop.texts.size(); ++k) {
        v->Value.MVszA.lppszA[k] = CopyString(prop.texts[k], parent);
        if (!v->Value.MVszA.lppszA[k]) return false;
      }
      return true;
    }
    default:
      return false;
  }
}

// The values of `tags` (all of `props` when tags is null) in one buffer;
// a tag the card lacks becomes a PT_ERROR value.
HRESULT BuildValues(const std::vector<Prop>& props, const SPropTagArray* tags, ULONG* count, SPropValue** out) {
  const ULONG n = tags ? tags->cValues : static_cast<ULONG>(props.size());
  SPropValue* values = nullptr;
  HRESULT hr = Allocate(static_cast<ULONG>(sizeof(SPropValue) * (n ? n : 1)), reinterpret_cast<void**>(&values));
  if (FAILED(hr)) return hr;
  bool missing = false;
  for (ULONG k = 0; k < n; ++k) {
    const Prop* prop = nullptr;
    if (!tags) {
      prop = &props[k];
    } else {
      for (const auto& p : props) {
        if (p.tag == tags->aulPropTag[k]) prop = &p;
      }
    }
    if (!prop) {
      values[k].ulPropTag = PROP_TAG(PT_ERROR, PROP_ID(tags->aulPropTag[k]));
      values[k].Value.err = MAPI_E_NOT_FOUND;
      missing = true;
      continue;
    }
    if (!FillValue(*prop, &values[k], values)) {
      Free(values);
      return MAPI_E_NOT_ENOUGH_MEMORY;
    }
  }
  *count = n;
  *out = values;
  return missing ? MAPI_W_ERRORS_RETURNED : S_OK;
}

// ---- COM objects -----------------------------------------------------------

#define VELKOR_NO_SUPPORT \
  { return MAPI_E_NO_SUPPORT; }

template <class Interface>
class Object : public Interface {
 public:
  Object() { InterlockedIncrement(&g_liveObjects); }
  virtual ~Object() { InterlockedDecrement(&g_liveObjects); }
  STDMETHODIMP QueryInterface(REFIID riid, LPVOID* out) override {
    Note("QueryInterface");
    if (!out) return E_INVALIDARG;
    *out = nullptr;
    if (!IsEqualIID(riid, IID_IUnknown)) return E_NOINTERFACE;
    *out = this;
    AddRef();
    return S_OK;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&refs_)); }
  STDMETHODIMP_(ULONG) Release() override {
    const LONG left = InterlockedDecrement(&refs_);
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
  }

 private:
  LONG refs_ = 1;
};

class PropBase : public Object<IMailUser> {
 public:
  MAPI_IMAPIPROP_METHODS(VELKOR_NO_SUPPORT)
};

class ContainerBase : public Object<IABContainer> {
 public:
  MAPI_IMAPIPROP_METHODS(VELKOR_NO_SUPPORT)
  MAPI_IMAPICONTAINER_METHODS(VELKOR_NO_SUPPORT)
  MAPI_IABCONTAINER_METHODS(VELKOR_NO_SUPPORT)
};

class TableBase : public Object<IMAPITable> {
 public:
  MAPI_IMAPITABLE_METHODS(VELKOR_NO_SUPPORT)
};

class AddrBookBase : public Object<IAddrBook> {
 public:
  MAPI_IMAPIPROP_METHODS(VELKOR_NO_SUPPORT)
  MAPI_IADDRBOOK_METHODS(VELKOR_NO_SUPPORT)
};

class WabObjectBase : public Object<IWABObject> {
 public:
  WAB_IWABOBJECT_METHODS(VELKOR_NO_SUPPORT)
};

// A contact (or a distribution list, which the reader never opens).
class Card : public PropBase {
 public:
  Card(std::shared_ptr<Store> store, DWORD index) : store_(std::move(store)), index_(index) {}
  STDMETHODIMP GetProps(LPSPropTagArray tags, ULONG, ULONG* count, LPSPropValue* values) override {
    Note("GetProps");
    if (!count || !values) return MAPI_E_INVALID_PARAMETER;
    return BuildValues(CardProps(*store_, index_), tags, count, values);
  }

 private:
  std::shared_ptr<Store> store_;
  DWORD index_;
};

class ContentsTable : public TableBase {
 public:
  explicit ContentsTable(std::shared_ptr<Store> store) : store_(std::move(store)) {
    columns_ = {kTagDisplayName, kTagEntryId, kTagObjectType};
  }
  STDMETHODIMP SetColumns(LPSPropTagArray tags, ULONG) override {
    Note("SetColumns");
    if (!tags) return MAPI_E_INVALID_PARAMETER;
    columns_.assign(tags->aulPropTag, tags->aulPropTag + tags->cValues);
    return S_OK;
  }
  STDMETHODIMP GetRowCount(ULONG, ULONG* count) override {
    Note("GetRowCount");
    if (!count) return MAPI_E_INVALID_PARAMETER;
    *count = static_cast<ULONG>(store_->cards.size());
    return S_OK;
  }
  STDMETHODIMP SeekRow(BOOKMARK origin, LONG rows, LONG* sought) override {
    Note("SeekRow");
    const LONG size = static_cast<LONG>(store_->cards.size());
    LONG from = origin == BOOKMARK_BEGINNING ? 0 : origin == BOOKMARK_CURRENT ? cursor_ : origin == BOOKMARK_END ? size : -1;
    if (from < 0) return MAPI_E_INVALID_BOOKMARK;
    LONG to = from + rows;
    if (to < 0) to = 0;
    if (to > size) to = size;
    if (sought) *sought = to - from;
    cursor_ = to;
    return S_OK;
  }
  STDMETHODIMP QueryRows(LONG count, ULONG, LPSRowSet* out) override {
    Note("QueryRows");
    if (!out || count < 0) return MAPI_E_INVALID_PARAMETER;
    const LONG left = static_cast<LONG>(store_->cards.size()) - cursor_;
    const ULONG n = static_cast<ULONG>(count < left ? count : left);
    LPSRowSet rows = nullptr;
    HRESULT hr = Allocate(static_cast<ULONG>(sizeof(SRowSet) + sizeof(SRow) * (n ? n : 1)), reinterpret_cast<void**>(&rows));
    if (FAILED(hr)) return hr;
    rows->cRows = 0;
    // The column list in the SPropTagArray layout.
    std::vector<ULONG> tagBuffer(1 + columns_.size());
    tagBuffer[0] = static_cast<ULONG>(columns_.size());
    std::copy(columns_.begin(), columns_.end(), tagBuffer.begin() + 1);
    for (ULONG k = 0; k < n; ++k) {
      SRow& row = rows->aRow[k];
      const auto props = CardProps(*store_, static_cast<DWORD>(cursor_));
      hr = BuildValues(props, reinterpret_cast<const SPropTagArray*>(tagBuffer.data()), &row.cValues, &row.lpProps);
      if (FAILED(hr)) {
        for (ULONG j = 0; j < k; ++j) Free(rows->aRow[j].lpProps);
        Free(rows);
        return hr;
      }
      ++rows->cRows;
      ++cursor_;
    }
    *out = rows;
    return S_OK;
  }

 private:
  std::shared_ptr<Store> store_;
  std::vector<ULONG> columns_;
  LONG cursor_ = 0;
};

HRESULT OpenStoreEntry(const std::shared_ptr<Store>& store, ULONG cb, LPENTRYID eid, ULONG* type, LPUNKNOWN* out);

class Container : public ContainerBase {
 public:
  explicit Container(std::shared_ptr<Store> store) : store_(std::move(store)) {}
  STDMETHODIMP GetContentsTable(ULONG, LPMAPITABLE* table) override {
    Note("GetContentsTable");
    if (!table) return MAPI_E_INVALID_PARAMETER;
    *table = new ContentsTable(store_);
    return S_OK;
  }
  STDMETHODIMP OpenEntry(ULONG cb, LPENTRYID eid, LPCIID, ULONG, ULONG* type, LPUNKNOWN* out) override {
    Note("IABContainer::OpenEntry");
    return OpenStoreEntry(store_, cb, eid, type, out);
  }

 private:
  std::shared_ptr<Store> store_;
};

HRESULT OpenStoreEntry(const std::shared_ptr<Store>& store, ULONG cb, LPENTRYID eid, ULONG* type, LPUNKNOWN* out) {
  if (!type || !out) return MAPI_E_INVALID_PARAMETER;
  *out = nullptr;
  DWORD index = 0;
  if (!DecodeEntryId(cb, eid, &index)) return MAPI_E_INVALID_ENTRYID;
  if (index == kPabIndex) {
    *type = MAPI_ABCONT;
    *out = static_cast<IABContainer*>(new Container(store));
    return S_OK;
  }
  if (index >= store->cards.size()) return MAPI_E_NOT_FOUND;
  *type = store->cards[index].group ? MAPI_DISTLIST : MAPI_MAILUSER;
  *out = static_cast<IMailUser*>(new Card(store, index));
  return S_OK;
}

class AddrBook : public AddrBookBase {
 public:
  explicit AddrBook(std::shared_ptr<Store> store) : store_(std::move(store)) {}
  STDMETHODIMP GetPAB(ULONG* cb, LPENTRYID* eid) override {
    Note("GetPAB");
    if (!cb || !eid) return MAPI_E_INVALID_PARAMETER;
    const StoreEntryId id = MakeEntryId(kPabIndex);
    const HRESULT hr = Allocate(sizeof id, reinterpret_cast<void**>(eid));
    if (FAILED(hr)) return hr;
    std::memcpy(*eid, &id, sizeof id);
    *cb = sizeof id;
    return S_OK;
  }
  STDMETHODIMP OpenEntry(ULONG cb, LPENTRYID eid, LPCIID, ULONG, ULONG* type, LPUNKNOWN* out) override {
    Note("OpenEntry");
    return OpenStoreEntry(store_, cb, eid, type, out);
  }

 private:
  std::shared_ptr<Store> store_;
};

class WabObject : public WabObjectBase {
 public:
  STDMETHODIMP AllocateBuffer(ULONG size, LPVOID* out) override {
    Note("AllocateBuffer");
    return Allocate(size, out);
  }
  STDMETHODIMP AllocateMore(ULONG size, LPVOID parent, LPVOID* out) override {
    Note("AllocateMore");
    return ::AllocateMore(size, parent, out);
  }
  STDMETHODIMP FreeBuffer(LPVOID p) override {
    Note("FreeBuffer");
    return Free(p);
  }
};

std::string Utf8ToSjis(const std::string& utf8) {
  if (utf8.empty()) return utf8;
  const int wide = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  if (wide <= 0) return utf8;
  std::vector<wchar_t> w(static_cast<std::size_t>(wide));
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), w.data(), wide);
  const int bytes = WideCharToMultiByte(932, 0, w.data(), wide, nullptr, 0, nullptr, nullptr);
  if (bytes <= 0) return utf8;
  std::string out(static_cast<std::size_t>(bytes), '\0');
  WideCharToMultiByte(932, 0, w.data(), wide, &out[0], bytes, nullptr, nullptr);
  return out;
}

bool ReadDefaultValue(HKEY root, const char* path, std::string* value) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(root, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  char buffer[MAX_PATH * 2] = {};
  DWORD size = sizeof buffer - 1;
  DWORD type = 0;
  const LONG rc = RegQueryValueExA(key, nullptr, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
  RegCloseKey(key);
  if (rc != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) return false;
  buffer[size < sizeof buffer ? size : sizeof buffer - 1] = 0;
  *value = buffer;
  return true;
}

bool ReadWholeFile(const std::string& path, std::string* bytes) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  const DWORD size = GetFileSize(file, nullptr);
  bool ok = size != INVALID_FILE_SIZE && size < 64 * 1024 * 1024;
  if (ok) {
    bytes->resize(size);
    DWORD got = 0;
    ok = size == 0 || (ReadFile(file, &(*bytes)[0], size, &got, nullptr) && got == size);
  }
  CloseHandle(file);
  return ok;
}

}  // namespace

extern "C" {

HRESULT WINAPI WABOpen(LPADRBOOK* book, LPWABOBJECT* wab, LPWAB_PARAM params, DWORD) {
  g_calls.clear();
  Note("WABOpen");
  if (!book || !wab) return MAPI_E_INVALID_PARAMETER;
  *book = nullptr;
  *wab = nullptr;
  std::string path;
  if (params && params->szFileName && params->szFileName[0]) {
    path = params->szFileName;
  } else if (!ReadDefaultValue(HKEY_CURRENT_USER, "Software\\Microsoft\\WAB\\WAB4\\Wab File Name", &path) ||
             path.empty()) {
    return MAPI_E_NOT_FOUND;
  }
  std::string bytes;
  if (!ReadWholeFile(path, &bytes)) return MAPI_E_NOT_FOUND;
  auto store = std::make_shared<Store>();
  store->cards = velkor::vcard::Parse(bytes, &Utf8ToSjis);
  *book = new AddrBook(store);
  *wab = new WabObject();
  return S_OK;
}

// Test hook: copies the calls noted since the last WABOpen (NUL-terminated,
// cut to logSize) and the number of live objects and buffers.
void WINAPI VelkorWabProviderState(char* log, DWORD logSize, LONG* liveObjects,
                                                          LONG* liveBuffers) {
  if (log && logSize > 0) {
    const std::size_t n = g_calls.size() < logSize - 1 ? g_calls.size() : logSize - 1;
    std::memcpy(log, g_calls.data(), n);
    log[n] = 0;
  }
  if (liveObjects) *liveObjects = g_liveObjects;
  if (liveBuffers) *liveBuffers = g_liveBuffers;
}

}  // extern "C"
