#include "addressbook/AddressBook_win32.h"

#include <windows.h>
#include "addressbook/WabHeaders_win32.h"

#include <cstring>

#include "addressbook/FileStamp.h"
#include "win/Procedures.h"

namespace velkor {

namespace {

// Property tags as the address book stores them (ANSI strings).
constexpr ULONG kTagDisplayName = 0x3001001E;
constexpr ULONG kTagEntryId = 0x0FFF0102;
constexpr ULONG kTagObjectType = 0x0FFE0003;
constexpr ULONG kTagEmailAddress = 0x3003001E;
constexpr ULONG kTagDefaultAddressIndex = 0x3A550003;
constexpr ULONG kTagEmailAddresses = 0x3A56101E;

// The open parameters are 32 bytes on 32-bit Windows (the 64-bit test build
// has wider handles and pointers).
static_assert(sizeof(void*) != 4 || sizeof(WAB_PARAM) == 32, "the open parameters are 32 bytes on 32-bit Windows");

std::string Text(const char* s) { return s ? std::string(s) : std::string(); }

// The entry source over an opened IAddrBook; every buffer it gets back is
// freed with the WAB object's buffer functions, every interface released.
class WabSource : public AddressBookSource {
 public:
  WabSource(IAddrBook* book, IWABObject* wab) : book_(book), wab_(wab) {}

  long Begin() override {
    ULONG cb = 0;
    LPENTRYID eid = nullptr;
    HRESULT hr = book_->GetPAB(&cb, &eid);
    if (FAILED(hr)) return hr;
    ULONG type = 0;
    IUnknown* unknown = nullptr;
    hr = book_->OpenEntry(cb, eid, nullptr, 0, &type, &unknown);
    if (eid) wab_->FreeBuffer(eid);
    if (FAILED(hr)) return hr;
    if (!unknown) return MAPI_E_NOT_FOUND;
    container_ = static_cast<IABContainer*>(unknown);
    hr = container_->GetContentsTable(0, &table_);
    if (FAILED(hr)) return hr;
    if (!table_) return MAPI_E_NOT_FOUND;
    struct {
      ULONG count;
      ULONG tags[3];
    } columns = {3, {kTagDisplayName, kTagEntryId, kTagObjectType}};
    hr = table_->SetColumns(reinterpret_cast<LPSPropTagArray>(&columns), 0);
    if (FAILED(hr)) return hr;
    hr = table_->SeekRow(BOOKMARK_BEGINNING, 0, nullptr);
    if (FAILED(hr)) return hr;
    return S_OK;
  }

  long NextRow(AddressRow* row, bool* got) override {
    *got = false;
    rows_ = nullptr;
    const HRESULT hr = table_->QueryRows(1, 0, &rows_);
    if (FAILED(hr)) {
      rows_ = nullptr;  // nothing to free after a failure
      return hr;
    }
    if (!rows_) return S_OK;
    if (rows_->cRows == 0) {
      EndRow();
      return S_OK;
    }
    const SRow& r = rows_->aRow[0];
    entryId_ = nullptr;
    for (ULONG k = 0; k < r.cValues; ++k) {
      const SPropValue& v = r.lpProps[k];
      if (v.ulPropTag == kTagDisplayName) row->displayName = Text(v.Value.lpszA);
      if (v.ulPropTag == kTagObjectType) row->objectType = static_cast<std::uint32_t>(v.Value.l);
      if (v.ulPropTag == kTagEntryId) entryId_ = &v.Value.bin;
    }
    *got = true;
    return S_OK;
  }

  bool ReadProps(ContactProps* props) override {
    if (!entryId_) return false;
    // A copy of the entry identifier in a buffer of the address book's own.
    SBinary* copy = nullptr;
    if (FAILED(wab_->AllocateBuffer(sizeof(SBinary), reinterpret_cast<void**>(&copy))) || !copy) return false;
    copy->cb = entryId_->cb;
    copy->lpb = nullptr;
    if (entryId_->cb > 0 &&
        (FAILED(wab_->AllocateMore(entryId_->cb, copy, reinterpret_cast<void**>(&copy->lpb))) || !copy->lpb)) {
      wab_->FreeBuffer(copy);
      return false;
    }
    if (copy->cb > 0) std::memcpy(copy->lpb, entryId_->lpb, copy->cb);

    ULONG type = 0;
    IUnknown* unknown = nullptr;
    ULONG count = 0;
    LPSPropValue values = nullptr;
    if (SUCCEEDED(book_->OpenEntry(copy->cb, reinterpret_cast<LPENTRYID>(copy->lpb), nullptr, 0, &type, &unknown)) &&
        unknown) {
      static_cast<IMAPIProp*>(static_cast<IMailUser*>(unknown))->GetProps(nullptr, 0, &count, &values);
      unknown->Release();
    }
    const bool gotProps = values != nullptr;
    if (values) {
      for (ULONG k = 0; k < count; ++k) {
        const SPropValue& v = values[k];
        if (v.ulPropTag == kTagEmailAddress && !props->hasEmail) {
          props->hasEmail = true;
          props->email = Text(v.Value.lpszA);
        } else if (v.ulPropTag == kTagDefaultAddressIndex) {
          props->hasDefaultIndex = true;
          props->defaultIndex = static_cast<std::uint32_t>(v.Value.l);
        } else if (v.ulPropTag == kTagEmailAddresses) {
          std::vector<std::string> list;
          for (ULONG j = 0; j < v.Value.MVszA.cValues; ++j) {
            list.push_back(v.Value.MVszA.lppszA ? Text(v.Value.MVszA.lppszA[j]) : std::string());
          }
          props->addressLists.push_back(std::move(list));
        }
      }
      wab_->FreeBuffer(values);
    }
    wab_->FreeBuffer(copy);
    return gotProps;
  }

  void EndRow() override {
    entryId_ = nullptr;
    if (!rows_) return;
    for (ULONG k = 0; k < rows_->cRows; ++k) {
      if (rows_->aRow[k].lpProps) wab_->FreeBuffer(rows_->aRow[k].lpProps);
    }
    wab_->FreeBuffer(rows_);
    rows_ = nullptr;
  }

  void End() override {
    EndRow();
    if (table_) table_->Release();
    if (container_) container_->Release();
    table_ = nullptr;
    container_ = nullptr;
  }

 private:
  IAddrBook* book_;
  IWABObject* wab_;
  IABContainer* container_ = nullptr;
  IMAPITable* table_ = nullptr;
  LPSRowSet rows_ = nullptr;
  const SBinary* entryId_ = nullptr;  // inside rows_
};

}  // namespace

AddressBook::AddressBook(RegistryAccess& reg) : reg_(&reg) {}

AddressBook::~AddressBook() {
  Close();
  if (library_) FreeLibrary(library_);
}

bool AddressBook::Open(const std::string& fileName) {
  if (opened_) Close();
  entries_.Clear();
  if (!library_) {
    const std::string path = AddressBookLibraryPath(*reg_);
    // No "cannot find the DLL" box: a missing address book is not an error to show.
    const UINT oldMode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    library_ = LoadLibraryA(path.c_str());
    SetErrorMode(oldMode);
  }
  if (!library_) return false;
  const LPWABOPEN open = win::LibraryEntry<LPWABOPEN>(library_, "WABOpen");
  if (!open) return false;

  WAB_PARAM params;
  std::memset(&params, 0, sizeof params);
  params.cbSize = sizeof params;
  std::string name = fileName;
  params.szFileName = name.empty() ? nullptr : &name[0];
  IAddrBook* book = nullptr;
  IWABObject* wab = nullptr;
  const HRESULT hr = open(&book, &wab, &params, 0);
  if (hr == S_OK && book && wab) {
    book_ = book;
    wab_ = wab;
    opened_ = true;
  } else {
    if (book) book->Release();
    if (wab) wab->Release();
  }
  return opened_;
}

long AddressBook::Load() {
  if (!opened_) return MAPI_E_NOT_INITIALIZED;
  WabSource source(book_, wab_);
  return LoadAddressEntries(source, &entries_);
}

void AddressBook::Close() {
  if (!opened_) return;
  book_->Release();
  wab_->Release();
  book_ = nullptr;
  wab_ = nullptr;
  entries_.Clear();
  opened_ = false;
}

std::uint64_t AddressBook::FileStamp() const { return AddressBookFileStamp(*reg_); }

}  // namespace velkor
