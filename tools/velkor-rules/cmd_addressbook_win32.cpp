// velkor-rules addressbook: the entries of the Windows Address Book as Velkor
// lists them, through the library named by HKLM "Software\Microsoft\WAB\DLLPath".

#include <cstdio>

#include "Commands.h"
#include "addressbook/AddressBook_win32.h"
#include "addressbook/FileStamp.h"
#include "registry/Win32Registry.h"

namespace velkor::cli {
namespace {

int ListAddressBook(const Args& args) {
  if (!args.empty()) {
    std::fprintf(stderr, "usage: velkor-rules addressbook\n");
    return 2;
  }
  Win32Registry reg;
  AddressBook book(reg);
  if (!book.Open()) {
    std::fprintf(stderr, "velkor-rules: the address book cannot be opened (library %s, file %s)\n",
                 AddressBookLibraryPath(reg).c_str(), AddressBookFileName(reg).c_str());
    return 3;
  }
  const long result = book.Load();
  for (std::size_t i = 0; i < book.Count(); ++i) {
    std::printf("entry\t%s\t%s\n", book.NameAt(i).c_str(), book.AddressAt(i).c_str());
  }
  if (result != 0) {
    std::fprintf(stderr, "velkor-rules: reading the address book failed (0x%08lX)\n", static_cast<unsigned long>(result));
    return 3;
  }
  return 0;
}

}  // namespace

VELKOR_CLI_COMMAND(addressbook, "addressbook", "addressbook", ListAddressBook);

}  // namespace velkor::cli
