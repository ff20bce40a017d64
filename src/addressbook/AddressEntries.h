#pragma once
// The entries of the address book and how one contact becomes entries: its
// primary address, then (only when it names a default address) every further
// address of its address lists except the default one. Distribution lists and
// other objects give no entry; a contact without address gives one entry with
// an empty address. The address book itself is reached through a small source
// interface, so this logic runs without the Windows Address Book.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace velkor {

constexpr std::uint32_t kMapiMailUser = 6;
constexpr std::uint32_t kMapiDistList = 8;

// What the properties of one mail user give.
struct ContactProps {
  bool hasEmail = false;
  std::string email;  // the first PR_EMAIL_ADDRESS
  bool hasDefaultIndex = false;
  std::uint32_t defaultIndex = 0;  // the last PR_CONTACT_DEFAULT_ADDRESS_INDEX
  std::vector<std::vector<std::string>> addressLists;  // every PR_CONTACT_EMAIL_ADDRESSES, in property order
};

struct AddressRow {
  std::string displayName;
  std::uint32_t objectType = 0;
};

class AddressBookSource {
 public:
  virtual ~AddressBookSource() = default;
  // Opens the personal address book's contents table, sets its columns and
  // seeks to the first row. 0 on success.
  virtual long Begin() = 0;
  // Fetches the next row. Returns the call's result; *got is false at the end
  // (or on failure).
  virtual long NextRow(AddressRow* row, bool* got) = 0;
  // Opens the current row's mail user and reads all its properties; false when
  // none came back.
  virtual bool ReadProps(ContactProps* props) = 0;
  // Frees what the current row holds.
  virtual void EndRow() = 0;
  // Releases the table and the container (also after a failed Begin).
  virtual void End() = 0;
};

class AddressEntryList {
 public:
  std::size_t Count() const { return addresses_.size(); }
  const std::string& NameAt(std::size_t i) const { return names_[i]; }
  const std::string& AddressAt(std::size_t i) const { return addresses_[i]; }
  void SetAddressAt(std::size_t i, const std::string& address) { addresses_[i] = address; }
  void Append(const std::string& name, const std::string& address) {
    names_.push_back(name);
    addresses_.push_back(address);
  }
  void Clear() {
    names_.clear();
    addresses_.clear();
  }

 private:
  std::vector<std::string> names_;
  std::vector<std::string> addresses_;
};

// The entries of one mail user (props == nullptr: its properties could not be read).
void ExpandContact(const std::string& displayName, const ContactProps* props, AddressEntryList* entries);

// Appends every entry of the source; returns 0 or the failing call's result.
long LoadAddressEntries(AddressBookSource& source, AddressEntryList* entries);

}  // namespace velkor
