#pragma once
// The e-mail addresses of the Windows Address Book, read through the library
// named by HKEY_LOCAL_MACHINE "Software\Microsoft\WAB\DLLPath" (WAB32.DLL when
// unset): WABOpen, then the personal address book's contents table. A missing
// library, entry point or address book leaves the object closed, silently.

#include <cstddef>
#include <cstdint>
#include <string>

#include "addressbook/AddressEntries.h"

struct HINSTANCE__;
struct IAddrBook;
struct IWABObject;

namespace velkor {

class RegistryAccess;

class AddressBook {
 public:
  explicit AddressBook(RegistryAccess& reg);
  ~AddressBook();  // closes, then unloads the library
  AddressBook(const AddressBook&) = delete;
  AddressBook& operator=(const AddressBook&) = delete;

  // An empty file name opens the current user's default address book.
  bool Open(const std::string& fileName = std::string());
  // Appends the entries of the open address book; 0 or the failing call's result.
  long Load();
  bool IsOpen() const { return opened_; }
  void Close();

  std::size_t Count() const { return entries_.Count(); }
  std::string NameAt(std::size_t i) const { return entries_.NameAt(i); }
  std::string AddressAt(std::size_t i) const { return entries_.AddressAt(i); }
  void SetAddressAt(std::size_t i, const std::string& address) { entries_.SetAddressAt(i, address); }

  // The modification stamp of the file named by "Wab File Name", 0 when unknown.
  std::uint64_t FileStamp() const;

 private:
  RegistryAccess* reg_;
  HINSTANCE__* library_ = nullptr;
  IAddrBook* book_ = nullptr;
  IWABObject* wab_ = nullptr;
  bool opened_ = false;
  AddressEntryList entries_;
};

}  // namespace velkor
