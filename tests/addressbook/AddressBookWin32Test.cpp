// The address book through the real library path under Wine: HKLM DLLPath
// names the stand-in DLL, which serves a vCard file named by "Wab File Name".

#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "addressbook/AddressBook_win32.h"
#include "registry/Win32Registry.h"
#include "win/Procedures.h"

namespace velkor {
namespace {

std::string BinDir() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string s = path;
  return s.substr(0, s.find_last_of("\\/") + 1);
}

// Sets the default value of a key for the test and puts the old one back.
class ScopedDefaultValue {
 public:
  ScopedDefaultValue(RegistryAccess& reg, RegRoot root, const std::string& path) : key_(reg) {
    key_.Create(path, root);
    had_ = key_.ReadBytes("", &old_, &type_);
  }
  ~ScopedDefaultValue() {
    if (had_)
      key_.WriteBytes("", old_.data(), static_cast<std::uint32_t>(old_.size()), type_);
    else
      key_.DeleteValue("");
  }
  void Set(const std::string& value) { ASSERT_EQ(key_.WriteString("", value), 0); }
  void Remove() { key_.DeleteValue(""); }

 private:
  RegKey key_;
  bool had_ = false;
  std::vector<std::uint8_t> old_;
  std::uint32_t type_ = regtype::kSz;
};

struct ProviderState {
  std::string calls;
  LONG objects = -1;
  LONG buffers = -1;
};

ProviderState State() {
  ProviderState s;
  HMODULE dll = GetModuleHandleA("velkor-wab.dll");
  if (!dll) return s;
  using Fn = void(WINAPI*)(char*, DWORD, LONG*, LONG*);
  const Fn fn = win::LibraryEntry<Fn>(dll, "VelkorWabProviderState");
  if (!fn) return s;
  std::vector<char> log(65536);
  fn(log.data(), static_cast<DWORD>(log.size()), &s.objects, &s.buffers);
  s.calls = log.data();
  return s;
}

class AddressBookWine : public testing::Test {
 protected:
  void SetUp() override {
    vcf_ = BinDir() + "addressbook-test.vcf";
    dllPath_.Set(BinDir() + "velkor-wab.dll");
    fileName_.Set(vcf_);
  }
  void TearDown() override { DeleteFileA(vcf_.c_str()); }
  void WriteVcf(const std::string& text) { std::ofstream(vcf_, std::ios::binary) << text; }

  Win32Registry reg_;
  ScopedDefaultValue dllPath_{reg_, RegRoot::LocalMachine, "Software\\Microsoft\\WAB\\DLLPath"};
  ScopedDefaultValue fileName_{reg_, RegRoot::CurrentUser, "Software\\Microsoft\\WAB\\WAB4\\Wab File Name"};
  std::string vcf_;
};

using Entries = std::vector<std::pair<std::string, std::string>>;

Entries Listed(const AddressBook& book) {
  Entries out;
  for (std::size_t i = 0; i < book.Count(); ++i) out.emplace_back(book.NameAt(i), book.AddressAt(i));
  return out;
}

const char* const kCards =
    "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:\xE5\xB1\xB1\xE7\x94\xB0 \xE5\xA4\xAA\xE9\x83\x8E\r\n"  // 山田 太郎 in UTF-8
    "EMAIL;TYPE=INTERNET,PREF:taro@example.jp\r\nEMAIL:taro@work.example.jp\r\nEMAIL:taro@mobile.example.jp\r\nEND:VCARD\r\n"
    "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:No Default\r\nEMAIL:first@example.jp\r\nEMAIL:second@example.jp\r\nEND:VCARD\r\n"
    "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Group\r\nKIND:group\r\nEND:VCARD\r\n"
    "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Phone Only\r\nEND:VCARD\r\n";

const Entries kExpected = {{"山田 太郎", "taro@example.jp"},
                           {"山田 太郎", "taro@work.example.jp"},
                           {"山田 太郎", "taro@mobile.example.jp"},
                           {"No Default", "first@example.jp"},
                           {"Phone Only", ""}};

TEST_F(AddressBookWine, ListsEntriesThroughWabOpenAndReleasesEverything) {
  WriteVcf(kCards);
  AddressBook book(reg_);
  ASSERT_TRUE(book.Open());
  EXPECT_TRUE(book.IsOpen());
  EXPECT_EQ(book.Load(), 0);
  EXPECT_EQ(Listed(book), kExpected);

  // Opening again starts from an empty list: one set of entries.
  ASSERT_TRUE(book.Open());
  EXPECT_EQ(book.Count(), 0u);
  EXPECT_EQ(book.Load(), 0);
  EXPECT_EQ(Listed(book), kExpected);

  const std::string calls = State().calls;
  EXPECT_EQ(calls.rfind("WABOpen GetPAB OpenEntry FreeBuffer GetContentsTable SetColumns SeekRow QueryRows "
                        "AllocateBuffer AllocateMore OpenEntry GetProps FreeBuffer FreeBuffer FreeBuffer FreeBuffer QueryRows ",
                        0),
            0u)
      << calls;
  // The group row is not opened: between its QueryRows and the next only the row is freed.
  EXPECT_NE(calls.find("QueryRows FreeBuffer FreeBuffer QueryRows"), std::string::npos) << calls;

  book.Close();
  EXPECT_FALSE(book.IsOpen());
  EXPECT_EQ(book.Count(), 0u);
  const auto state = State();
  EXPECT_EQ(state.objects, 0) << "interfaces not released";
  EXPECT_EQ(state.buffers, 0) << "buffers not freed";
}

TEST_F(AddressBookWine, MissingPiecesLeaveTheBookClosedAndEmpty) {
  struct Case {
    const char* what;
    std::string dll;  // "" removes the value (WAB32.DLL, which Wine lacks)
    bool writeVcf;
  };
  const Case cases[] = {
      {"no such library", "C:\\nowhere\\wab32.dll", true},
      {"no DLLPath value", "", true},
      {"library without WABOpen", "kernel32.dll", true},
      {"missing vCard file", BinDir() + "velkor-wab.dll", false},
  };
  for (const auto& c : cases) {
    if (c.dll.empty())
      dllPath_.Remove();
    else
      dllPath_.Set(c.dll);
    DeleteFileA(vcf_.c_str());
    if (c.writeVcf) WriteVcf(kCards);
    AddressBook book(reg_);
    EXPECT_FALSE(book.Open()) << c.what;
    EXPECT_FALSE(book.IsOpen()) << c.what;
    EXPECT_NE(book.Load(), 0) << c.what;
    EXPECT_EQ(book.Count(), 0u) << c.what;
  }
}

TEST_F(AddressBookWine, FileStampFollowsTheVcardFile) {
  WriteVcf(kCards);
  AddressBook book(reg_);
  const auto first = book.FileStamp();
  EXPECT_NE(first, 0u);
  EXPECT_EQ(book.FileStamp(), first);
  Sleep(30);
  WriteVcf(std::string(kCards) + "BEGIN:VCARD\r\nFN:New\r\nEND:VCARD\r\n");
  EXPECT_NE(book.FileStamp(), first);
  fileName_.Remove();
  EXPECT_EQ(book.FileStamp(), 0u);
}

TEST_F(AddressBookWine, DemoAddressBook) {
  fileName_.Set(VELKOR_SOURCE_DIR "/data/demo/addressbook.vcf");
  AddressBook book(reg_);
  ASSERT_TRUE(book.Open());
  ASSERT_EQ(book.Load(), 0);
  ASSERT_GE(book.Count(), 12u);
  EXPECT_EQ(book.NameAt(0), "山田 太郎");
  EXPECT_EQ(book.AddressAt(0), "taro.yamada@example.jp");
  for (std::size_t i = 0; i < book.Count(); ++i) EXPECT_NE(book.NameAt(i), "家族") << "a group became an entry";
}

}  // namespace
}  // namespace velkor
