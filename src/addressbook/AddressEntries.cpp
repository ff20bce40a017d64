#include "addressbook/AddressEntries.h"

namespace velkor {

void ExpandContact(const std::string& displayName, const ContactProps* props, AddressEntryList* entries) {
  const std::size_t k = entries->Count();
  entries->Append(displayName, std::string());
  if (!props) return;
  if (props->hasEmail) entries->SetAddressAt(k, props->email);
  // Without a default index the further addresses are not listed: the
  // primary address already stands for the contact.
  if (!props->hasDefaultIndex) return;
  for (const auto& list : props->addressLists) {
    for (std::size_t pos = 0; pos < list.size(); ++pos) {
      if (pos != props->defaultIndex) entries->Append(displayName, list[pos]);
    }
  }
}

long LoadAddressEntries(AddressBookSource& source, AddressEntryList* entries) {
  long result = source.Begin();
  if (result != 0) {
    source.End();
    return result;
  }
  for (;;) {
    AddressRow row;
    bool got = false;
    result = source.NextRow(&row, &got);
    if (result != 0 || !got) break;
    if (row.objectType == kMapiMailUser) {
      ContactProps props;
      const bool read = source.ReadProps(&props);
      ExpandContact(row.displayName, read ? &props : nullptr, entries);
    }
    source.EndRow();
  }
  source.End();
  return result;
}

}  // namespace velkor
