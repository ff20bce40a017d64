// Entry expansion over a scripted address-book source, the registry lookups
// and the file stamp.

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <thread>

#include "addressbook/AddressEntries.h"
#include "addressbook/FileStamp.h"
#include "registry/MemoryRegistry.h"

namespace velkor {
namespace {

struct ScriptRow {
  std::string name;
  std::uint32_t type = kMapiMailUser;
  bool hasProps = true;
  ContactProps props;
};

ContactProps Props(const char* email, std::vector<std::vector<std::string>> lists = {}, int defaultIndex = -1) {
  ContactProps p;
  p.hasEmail = email != nullptr;
  if (email) p.email = email;
  p.addressLists = std::move(lists);
  p.hasDefaultIndex = defaultIndex >= 0;
  p.defaultIndex = defaultIndex >= 0 ? static_cast<std::uint32_t>(defaultIndex) : 0;
  return p;
}

class ScriptSource : public AddressBookSource {
 public:
  std::vector<ScriptRow> rows;
  long beginResult = 0;
  int failAtRow = -1;  // NextRow fails when this row is asked for
  std::string calls;

  long Begin() override {
    calls += "Begin ";
    return beginResult;
  }
  long NextRow(AddressRow* row, bool* got) override {
    calls += "Next ";
    *got = false;
    if (static_cast<int>(next_) == failAtRow) return 0x80004005L;
    if (next_ >= rows.size()) return 0;
    current_ = &rows[next_++];
    row->displayName = current_->name;
    row->objectType = current_->type;
    *got = true;
    return 0;
  }
  bool ReadProps(ContactProps* props) override {
    calls += "Props ";
    if (!current_->hasProps) return false;
    *props = current_->props;
    return true;
  }
  void EndRow() override { calls += "EndRow "; }
  void End() override { calls += "End"; }

 private:
  std::size_t next_ = 0;
  ScriptRow* current_ = nullptr;
};

using Entries = std::vector<std::pair<std::string, std::string>>;

Entries Listed(const AddressEntryList& list) {
  Entries out;
  for (std::size_t i = 0; i < list.Count(); ++i) out.emplace_back(list.NameAt(i), list.AddressAt(i));
  return out;
}

TEST(AddressEntries, ContactsBecomeEntries) {
  struct Case {
    const char* what;
    ScriptRow row;
    Entries want;
  };
  const std::vector<std::vector<std::string>> three = {{"a@x.jp", "b@x.jp", "c@x.jp"}};
  const Case cases[] = {
      {"primary and two further, default 0", {"山田", kMapiMailUser, true, Props("a@x.jp", three, 0)},
       {{"山田", "a@x.jp"}, {"山田", "b@x.jp"}, {"山田", "c@x.jp"}}},
      {"default 1 leaves out the second value", {"山田", kMapiMailUser, true, Props("b@x.jp", three, 1)},
       {{"山田", "b@x.jp"}, {"山田", "a@x.jp"}, {"山田", "c@x.jp"}}},
      {"no default index: only the primary", {"山田", kMapiMailUser, true, Props("a@x.jp", three)},
       {{"山田", "a@x.jp"}}},
      {"default index beyond the list keeps every value", {"山田", kMapiMailUser, true, Props("a@x.jp", {{"a@x.jp", "b@x.jp"}}, 5)},
       {{"山田", "a@x.jp"}, {"山田", "a@x.jp"}, {"山田", "b@x.jp"}}},
      {"two address lists, each without its default position",
       {"佐藤", kMapiMailUser, true, Props("p@x.jp", {{"p@x.jp", "q@x.jp"}, {"r@x.jp", "s@x.jp"}}, 0)},
       {{"佐藤", "p@x.jp"}, {"佐藤", "q@x.jp"}, {"佐藤", "s@x.jp"}}},
      {"contact without address", {"鈴木", kMapiMailUser, true, Props(nullptr)}, {{"鈴木", ""}}},
      {"properties could not be read", {"鈴木", kMapiMailUser, false, {}}, {{"鈴木", ""}}},
      {"distribution list", {"家族", kMapiDistList, true, Props("x@x.jp")}, {}},
      {"other object", {"何か", 3, true, Props("x@x.jp")}, {}},
  };
  for (const auto& c : cases) {
    ScriptSource source;
    source.rows = {c.row};
    AddressEntryList list;
    EXPECT_EQ(LoadAddressEntries(source, &list), 0) << c.what;
    EXPECT_EQ(Listed(list), c.want) << c.what;
    // Only mail users are opened; every row is freed; the table is released last.
    EXPECT_EQ(source.calls, c.row.type == kMapiMailUser ? "Begin Next Props EndRow Next End" : "Begin Next EndRow Next End")
        << c.what;
  }
}

TEST(AddressEntries, FailuresEndTheLoadWithTheirResult) {
  ScriptSource failedBegin;
  failedBegin.rows = {{"a", kMapiMailUser, true, Props("a@x.jp")}};
  failedBegin.beginResult = 0x8004010FL;
  AddressEntryList list;
  EXPECT_EQ(LoadAddressEntries(failedBegin, &list), 0x8004010FL);
  EXPECT_EQ(list.Count(), 0u);
  EXPECT_EQ(failedBegin.calls, "Begin End");  // what Begin opened is still released

  ScriptSource failedRow;
  failedRow.rows = {{"a", kMapiMailUser, true, Props("a@x.jp")}, {"b", kMapiMailUser, true, Props("b@x.jp")}};
  failedRow.failAtRow = 1;
  list.Append("前から", "keep@x.jp");  // load appends to what is there
  EXPECT_EQ(LoadAddressEntries(failedRow, &list), 0x80004005L);
  EXPECT_EQ(Listed(list), (Entries{{"前から", "keep@x.jp"}, {"a", "a@x.jp"}}));
}

namespace fs = std::filesystem;

TEST(AddressBookRegistry, LibraryPathAndFileStamp) {
  MemoryRegistry reg;
  EXPECT_EQ(AddressBookLibraryPath(reg), "WAB32.DLL");
  EXPECT_EQ(AddressBookFileStamp(reg), 0u);

  ASSERT_TRUE(reg.SetRaw(RegRoot::LocalMachine, kWabDllPathKey, "", regtype::kSz, {0}));
  EXPECT_EQ(AddressBookLibraryPath(reg), "WAB32.DLL");  // empty value
  const std::string dll = "C:\\Program Files\\共通\\wab32.dll";
  ASSERT_TRUE(reg.SetRaw(RegRoot::LocalMachine, kWabDllPathKey, "", regtype::kSz,
                         std::vector<std::uint8_t>(dll.begin(), dll.end() + 0)));
  EXPECT_EQ(AddressBookLibraryPath(reg), dll);  // no NUL stored: still the whole text
  const std::string longPath = "C:\\" + std::string(300, 'x');
  ASSERT_TRUE(reg.SetRaw(RegRoot::LocalMachine, kWabDllPathKey, "", regtype::kSz,
                         std::vector<std::uint8_t>(longPath.begin(), longPath.end())));
  EXPECT_EQ(AddressBookLibraryPath(reg).size(), 259u);
  // The current user's key of the same name is not looked at.
  ASSERT_TRUE(reg.SetRaw(RegRoot::LocalMachine, kWabDllPathKey, "", regtype::kSz, {0}));
  ASSERT_TRUE(reg.SetRaw(RegRoot::CurrentUser, kWabDllPathKey, "", regtype::kSz, {'a', '.', 'd', 'l', 'l', 0}));
  EXPECT_EQ(AddressBookLibraryPath(reg), "WAB32.DLL");

  const fs::path file = fs::temp_directory_path() / ("velkor-stamp-" + std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()) + ".vcf");
  const std::string path = file.string();
  ASSERT_TRUE(reg.SetRaw(RegRoot::CurrentUser, kWabFileNameKey, "", regtype::kSz,
                         std::vector<std::uint8_t>(path.begin(), path.end())));
  EXPECT_EQ(AddressBookFileStamp(reg), 0u);  // named but missing
  std::ofstream(path) << "BEGIN:VCARD\n";
  const auto first = AddressBookFileStamp(reg);
  EXPECT_NE(first, 0u);
  EXPECT_EQ(AddressBookFileStamp(reg), first);
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  std::ofstream(path) << "BEGIN:VCARD\nEND:VCARD\n";
  EXPECT_NE(AddressBookFileStamp(reg), first);
  fs::remove(file);
  EXPECT_EQ(AddressBookFileStamp(reg), 0u);
}

}  // namespace
}  // namespace velkor
