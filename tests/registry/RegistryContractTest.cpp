#include "registry/RegistryContract.h"

#include <cstring>
#include <vector>

#include "platform/Sync.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>

#include <thread>
#endif

namespace velkor::test {

#ifdef _WIN32
struct TestThread::Impl {
  std::function<void()> fn;
  HANDLE thread = nullptr;
  static DWORD WINAPI Run(void* self) {
    static_cast<Impl*>(self)->fn();
    return 0;
  }
};
TestThread::TestThread(std::function<void()> fn) : impl_(std::make_unique<Impl>()) {
  impl_->fn = std::move(fn);
  impl_->thread = CreateThread(nullptr, 0, &Impl::Run, impl_.get(), 0, nullptr);
}
TestThread::~TestThread() {
  WaitForSingleObject(impl_->thread, INFINITE);
  CloseHandle(impl_->thread);
}
static unsigned long ProcessId() { return GetCurrentProcessId(); }
#else
struct TestThread::Impl {
  std::thread thread;
};
TestThread::TestThread(std::function<void()> fn) : impl_(std::make_unique<Impl>()) {
  impl_->thread = std::thread(std::move(fn));
}
TestThread::~TestThread() { impl_->thread.join(); }
static unsigned long ProcessId() { return static_cast<unsigned long>(getpid()); }
#endif

namespace {

constexpr const char* kScratchParent = "Software\\VelkorTest";

std::vector<std::uint8_t> Bytes(const std::string& s) { return std::vector<std::uint8_t>(s.begin(), s.end()); }

std::vector<std::string> SubKeys(RegistryAccess& reg, RegHandle key) {
  std::vector<std::string> names;
  char buffer[256];
  for (std::uint32_t i = 0;; ++i) {
    std::uint32_t size = sizeof buffer;
    if (reg.EnumSubKey(key, i, buffer, &size) != regerr::kSuccess) break;
    names.emplace_back(buffer, size);
  }
  return names;
}

std::vector<std::string> ValueNames(RegistryAccess& reg, RegHandle key) {
  std::vector<std::string> names;
  char buffer[256];
  for (std::uint32_t i = 0;; ++i) {
    std::uint32_t size = sizeof buffer;
    if (reg.EnumValue(key, i, buffer, &size, nullptr, nullptr, nullptr) != regerr::kSuccess) break;
    names.emplace_back(buffer, size);
  }
  return names;
}

}  // namespace

void RegistryContract::SetUp() {
  reg_ = GetParam().make();
  static int serial = 0;
  base_ = std::string(kScratchParent) + "\\" + std::to_string(ProcessId()) + "-" + std::to_string(TickCountMs()) +
          "-" + std::to_string(++serial);
  RegKey key(*reg_);
  ASSERT_EQ(regerr::kSuccess, key.Create(base_));
}

void RegistryContract::TearDown() {
  RegKey parent(*reg_);
  if (parent.Open(kScratchParent, RegAccess::All) != regerr::kSuccess) return;
  parent.DeleteKeyTree(base_.substr(std::strlen(kScratchParent) + 1));
  const bool empty = parent.SubKeyNames().empty();
  parent.Close();
  if (empty) {
    RegKey software(*reg_);
    if (software.Open("Software", RegAccess::All) == regerr::kSuccess) software.DeleteKeyTree("VelkorTest");
  }
}

TEST_P(RegistryContract, OpenFailsForMissingKeyAndCreateMakesThePath) {
  RegHandle h = 12345;
  EXPECT_EQ(regerr::kFileNotFound, reg_->OpenKey(Path("One\\Two"), RegAccess::Read, &h));
  EXPECT_EQ(kNoRegHandle, h);

  RegKey created(*reg_);
  ASSERT_EQ(regerr::kSuccess, created.Create(Path("One\\Two\\Three")));
  EXPECT_EQ(regerr::kSuccess, created.WriteDword("V", 7));

  // Names match without regard to case but keep the spelling they were created with.
  RegKey opened(*reg_);
  ASSERT_EQ(regerr::kSuccess, opened.Open(Path("one\\TWO\\three"), RegAccess::Read));
  std::uint32_t v = 0;
  EXPECT_TRUE(opened.ReadDword("v", &v));
  EXPECT_EQ(7u, v);
  RegKey again(*reg_);
  ASSERT_EQ(regerr::kSuccess, again.Create(Path("ONE")));
  EXPECT_EQ(std::vector<std::string>{"Two"}, again.SubKeyNames());

  // A trailing backslash names the same key.
  RegKey trailing(*reg_);
  EXPECT_EQ(regerr::kSuccess, trailing.Open(Path("One\\"), RegAccess::Read));
}

TEST_P(RegistryContract, ValuesKeepTheirTypeAndExactBytes) {
  struct Case {
    const char* name;
    std::uint32_t type;
    std::string bytes;
  } cases[] = {
      {"sz", regtype::kSz, std::string("text\0", 5)},
      {"japanese", regtype::kSz, std::string("表示する\0", 9)},
      {"expand", regtype::kExpandSz, std::string("%TEMP%\\x\0", 9)},
      {"multi", regtype::kMultiSz, std::string("a\0bc\0\0", 6)},
      {"binary", regtype::kBinary, std::string("\x00\xff\x10\x00", 4)},
      {"dword", regtype::kDword, std::string("\x78\x56\x34\x12", 4)},
      {"empty", regtype::kBinary, std::string()},
      {"odd type", 0x1234, std::string("\x01\x02\x03", 3)},
      {"", regtype::kSz, std::string("default\0", 8)},
  };
  RegKey key(*reg_);
  ASSERT_EQ(regerr::kSuccess, key.Create(Path("Values")));
  for (const Case& c : cases) {
    ASSERT_EQ(regerr::kSuccess, key.WriteBytes(c.name, c.bytes.data(), static_cast<std::uint32_t>(c.bytes.size()),
                                               c.type))
        << c.name;
  }
  RegKey reader(*reg_);
  ASSERT_EQ(regerr::kSuccess, reader.Open(Path("Values"), RegAccess::QueryValue));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::uint32_t type = 0;
    std::uint32_t size = 0;
    ASSERT_EQ(regerr::kSuccess, reg_->QueryValue(reader.Handle(), c.name, &type, nullptr, &size));
    EXPECT_EQ(c.type, type);
    EXPECT_EQ(c.bytes.size(), size);
    std::vector<std::uint8_t> got;
    ASSERT_TRUE(reader.ReadBytes(c.name, &got, &type));
    EXPECT_EQ(Bytes(c.bytes), got);
    EXPECT_EQ(c.type, type);
  }
  std::uint32_t dword = 0;
  EXPECT_TRUE(reader.ReadDword("dword", &dword));
  EXPECT_EQ(0x12345678u, dword);
  EXPECT_FALSE(reader.ReadDword("sz", &dword));  // not four bytes
  std::string text;
  EXPECT_TRUE(reader.ReadString("japanese", &text));
  EXPECT_EQ("表示する", text);
  EXPECT_TRUE(reader.ReadString("", &text));
  EXPECT_EQ("default", text);
}

TEST_P(RegistryContract, QueryReportsSizesAndRefusesSmallBuffers) {
  RegKey key(*reg_);
  ASSERT_EQ(regerr::kSuccess, key.Create(Path("Q")));
  ASSERT_EQ(regerr::kSuccess, key.WriteBytes("bin", "\x01\x02\x03\x04\x05\x06", 6));
  std::uint8_t buffer[16];
  std::memset(buffer, 0xAA, sizeof buffer);
  std::uint32_t size = 5;
  std::uint32_t type = 0;
  EXPECT_EQ(regerr::kMoreData, reg_->QueryValue(key.Handle(), "bin", &type, buffer, &size));
  EXPECT_EQ(6u, size);
  EXPECT_EQ(0xAA, buffer[5]);  // nothing written past the caller's size
  size = 6;
  EXPECT_EQ(regerr::kSuccess, reg_->QueryValue(key.Handle(), "bin", &type, buffer, &size));
  EXPECT_EQ(6u, size);
  EXPECT_EQ(0, std::memcmp(buffer, "\x01\x02\x03\x04\x05\x06", 6));
  EXPECT_EQ(regtype::kBinary, type);

  size = sizeof buffer;
  EXPECT_EQ(regerr::kFileNotFound, reg_->QueryValue(key.Handle(), "missing", nullptr, buffer, &size));
  EXPECT_EQ(regerr::kSuccess, reg_->QueryValue(key.Handle(), "BIN", nullptr, nullptr, nullptr));
  EXPECT_EQ(-1, key.ValueSize("missing"));
  EXPECT_FALSE(key.HasValue("missing"));
  EXPECT_EQ(6, key.ValueSize("bin"));
}

TEST_P(RegistryContract, StringWithoutNulIsStoredAsGiven) {
  RegKey key(*reg_);
  ASSERT_EQ(regerr::kSuccess, key.Create(Path("S")));
  // Windows and Wine count a NUL that follows the given bytes in the caller's
  // memory; "abcx" has none right after "abc", so exactly three bytes are stored.
  ASSERT_EQ(regerr::kSuccess, reg_->SetValue(key.Handle(), "raw", regtype::kSz, "abcx", 3));
  EXPECT_EQ(3, key.ValueSize("raw"));
  char buffer[8];
  std::memset(buffer, 'x', sizeof buffer);
  std::uint32_t size = 3;
  ASSERT_EQ(regerr::kSuccess, reg_->QueryValue(key.Handle(), "raw", nullptr, buffer, &size));
  EXPECT_EQ(3u, size);
  EXPECT_EQ('x', buffer[3]);  // an exact buffer gets no terminator
  size = sizeof buffer;
  ASSERT_EQ(regerr::kSuccess, reg_->QueryValue(key.Handle(), "raw", nullptr, buffer, &size));
  EXPECT_EQ(3u, size);
  EXPECT_STREQ("abc", buffer);  // a larger one does, as the ANSI function adds it
  std::string text;
  EXPECT_TRUE(key.ReadString("raw", &text));
  EXPECT_EQ("abc", text);
}

TEST_P(RegistryContract, SubKeysAndValuesEnumerateSortedWithoutRegardToCase) {
  const std::vector<std::string> created = {"b", "a_", "A", "9", "10", "002", "000", "001"};
  const std::vector<std::string> expected = {"000", "001", "002", "10", "9", "A", "a_", "b"};
  RegKey key(*reg_);
  ASSERT_EQ(regerr::kSuccess, key.Create(Path("E")));
  for (const std::string& name : created) {
    RegKey sub(*reg_);
    ASSERT_EQ(regerr::kSuccess, sub.Create(Path("E\\" + name)));
    ASSERT_EQ(regerr::kSuccess, key.WriteDword(name, 1));
  }
  EXPECT_EQ(expected, SubKeys(*reg_, key.Handle()));
  EXPECT_EQ(expected, ValueNames(*reg_, key.Handle()));

  char name[4];
  std::uint32_t size = sizeof name;
  EXPECT_EQ(regerr::kNoMoreItems, reg_->EnumSubKey(key.Handle(), 8, name, &size));
  size = 3;  // "000" needs four bytes with its NUL
  EXPECT_EQ(regerr::kMoreData, reg_->EnumSubKey(key.Handle(), 0, name, &size));
  size = 4;
  EXPECT_EQ(regerr::kSuccess, reg_->EnumSubKey(key.Handle(), 0, name, &size));
  EXPECT_EQ(3u, size);
  EXPECT_STREQ("000", name);
}

TEST_P(RegistryContract, EnumValueReportsTypeAndData) {
  RegKey key(*reg_);
  ASSERT_EQ(regerr::kSuccess, key.Create(Path("EV")));
  ASSERT_EQ(regerr::kSuccess, key.WriteString("Name", "規則1"));
  ASSERT_EQ(regerr::kSuccess, key.WriteDword("Version", 3));
  char name[32];
  std::uint32_t nameSize = sizeof name;
  std::uint32_t type = 0;
  std::uint32_t dataSize = 0;
  ASSERT_EQ(regerr::kSuccess, reg_->EnumValue(key.Handle(), 0, name, &nameSize, &type, nullptr, &dataSize));
  EXPECT_STREQ("Name", name);
  EXPECT_EQ(4u, nameSize);
  EXPECT_EQ(regtype::kSz, type);
  EXPECT_EQ(6u, dataSize);
  char data[16];
  dataSize = 5;
  nameSize = sizeof name;
  EXPECT_EQ(regerr::kMoreData, reg_->EnumValue(key.Handle(), 0, name, &nameSize, &type, data, &dataSize));
  EXPECT_EQ(6u, dataSize);
  dataSize = sizeof data;
  nameSize = sizeof name;
  ASSERT_EQ(regerr::kSuccess, reg_->EnumValue(key.Handle(), 0, name, &nameSize, &type, data, &dataSize));
  EXPECT_STREQ("規則1", data);
  nameSize = 4;  // "Name" needs five
  dataSize = sizeof data;
  EXPECT_EQ(regerr::kMoreData, reg_->EnumValue(key.Handle(), 0, name, &nameSize, &type, data, &dataSize));
  nameSize = sizeof name;
  EXPECT_EQ(regerr::kNoMoreItems, reg_->EnumValue(key.Handle(), 2, name, &nameSize, nullptr, nullptr, nullptr));
}

TEST_P(RegistryContract, DeleteValueAndDeleteTree) {
  RegKey key(*reg_);
  ASSERT_EQ(regerr::kSuccess, key.Create(Path("D")));
  ASSERT_EQ(regerr::kSuccess, key.WriteDword("gone", 1));
  EXPECT_EQ(regerr::kSuccess, key.DeleteValue("GONE"));
  EXPECT_FALSE(key.HasValue("gone"));
  EXPECT_EQ(regerr::kFileNotFound, key.DeleteValue("gone"));

  for (const char* sub : {"D\\Tree\\A\\Deep", "D\\Tree\\B", "D\\Keep"}) {
    RegKey k(*reg_);
    ASSERT_EQ(regerr::kSuccess, k.Create(Path(sub)));
    ASSERT_EQ(regerr::kSuccess, k.WriteString("x", "y"));
  }
  EXPECT_EQ(regerr::kSuccess, key.DeleteKeyTree("tree"));
  EXPECT_EQ(std::vector<std::string>{"Keep"}, key.SubKeyNames());
  RegKey probe(*reg_);
  EXPECT_EQ(regerr::kFileNotFound, probe.Open(Path("D\\Tree\\B"), RegAccess::Read));
  EXPECT_NE(regerr::kSuccess, key.DeleteKeyTree("Tree"));

  // A path below the handle's key works too.
  ASSERT_EQ(regerr::kSuccess, probe.Create(Path("D\\Keep\\Child")));
  probe.Close();
  EXPECT_EQ(regerr::kSuccess, key.DeleteKeyTree("Keep\\Child"));
  EXPECT_EQ(regerr::kSuccess, probe.Open(Path("D\\Keep"), RegAccess::Read));
  EXPECT_TRUE(probe.SubKeyNames().empty());
}

TEST_P(RegistryContract, HandlesSeeLaterChangesAndAnswerKeyDeletedOnceRemoved) {
  RegKey writer(*reg_);
  ASSERT_EQ(regerr::kSuccess, writer.Create(Path("H\\Child")));
  RegKey reader(*reg_);
  ASSERT_EQ(regerr::kSuccess, reader.Open(Path("H\\Child"), RegAccess::Read));
  ASSERT_EQ(regerr::kSuccess, writer.WriteDword("late", 9));
  std::uint32_t v = 0;
  EXPECT_TRUE(reader.ReadDword("late", &v));
  EXPECT_EQ(9u, v);

  RegKey parent(*reg_);
  ASSERT_EQ(regerr::kSuccess, parent.Open(Path("H"), RegAccess::All));
  ASSERT_EQ(regerr::kSuccess, parent.DeleteKeyTree("Child"));
  std::uint32_t size = 0;
  EXPECT_EQ(regerr::kKeyDeleted, reg_->QueryValue(reader.Handle(), "late", nullptr, nullptr, &size));
  EXPECT_EQ(regerr::kKeyDeleted, writer.WriteDword("late", 1));
  char name[16];
  size = sizeof name;
  EXPECT_EQ(regerr::kKeyDeleted, reg_->EnumSubKey(reader.Handle(), 0, name, &size));

  // A key created again under the same name is a new key: old handles stay dead.
  RegKey again(*reg_);
  ASSERT_EQ(regerr::kSuccess, again.Create(Path("H\\Child")));
  EXPECT_EQ(regerr::kKeyDeleted, writer.WriteDword("late", 1));
  EXPECT_EQ(regerr::kSuccess, again.WriteDword("late", 1));
}

TEST_P(RegistryContract, ReadHandlesCannotWrite) {
  RegKey key(*reg_);
  ASSERT_EQ(regerr::kSuccess, key.Create(Path("R")));
  RegKey reader(*reg_);
  ASSERT_EQ(regerr::kSuccess, reader.Open(Path("R"), RegAccess::Read));
  EXPECT_EQ(regerr::kAccessDenied, reader.WriteDword("x", 1));
  RegKey all(*reg_);
  ASSERT_EQ(regerr::kSuccess, all.Open(Path("R"), RegAccess::All));
  EXPECT_EQ(regerr::kSuccess, all.WriteDword("x", 1));
}

TEST_P(RegistryContract, WatchSignalsOnceForAChangeFromAnotherThread) {
  RegKey key(*reg_);
  ASSERT_EQ(regerr::kSuccess, key.Create(Path("W\\Below")));
  RegKey watched(*reg_);
  ASSERT_EQ(regerr::kSuccess, watched.Open(Path("W"), RegAccess::Notify));
  Event event;
  ASSERT_EQ(regerr::kSuccess, reg_->Watch(watched.Handle(), true, regnotify::kAll, event));
  EXPECT_FALSE(event.Wait(50));
  {
    TestThread writer([this] {
      SleepMs(30);
      RegKey k(*reg_);
      k.Create(Path("W\\Below"));
      k.WriteString("changed", "1");
    });
    EXPECT_TRUE(event.Wait(5000));
  }
  // One shot: the next change goes unseen until the watch is armed again.
  event.Reset();
  ASSERT_EQ(regerr::kSuccess, key.WriteString("changed", "2"));
  EXPECT_FALSE(event.Wait(100));
  ASSERT_EQ(regerr::kSuccess, reg_->Watch(watched.Handle(), true, regnotify::kAll, event));
  ASSERT_EQ(regerr::kSuccess, key.WriteString("changed", "3"));
  EXPECT_TRUE(event.Wait(5000));
}

TEST_P(RegistryContract, WatchSeesEachKindOfChange) {
  struct Case {
    const char* what;
    bool subtree;
    std::function<void(RegistryAccess&, const std::string&)> change;
    bool signals;
  };
  const Case cases[] = {
      {"value set", false,
       [](RegistryAccess& r, const std::string& p) {
         RegKey k(r);
         k.Create(p);
         k.WriteDword("v", 2);
       },
       true},
      {"the same value written again", false,
       [](RegistryAccess& r, const std::string& p) {
         RegKey k(r);
         k.Create(p);
         k.WriteDword("v", 1);
       },
       false},
      {"value deleted", false,
       [](RegistryAccess& r, const std::string& p) {
         RegKey k(r);
         k.Create(p);
         k.DeleteValue("old");
       },
       true},
      {"subkey created", false,
       [](RegistryAccess& r, const std::string& p) { RegKey(r).Create(p + "\\New"); }, true},
      {"subkey deleted", false,
       [](RegistryAccess& r, const std::string& p) {
         RegKey k(r);
         k.Create(p);
         k.DeleteKeyTree("Sub");
       },
       true},
      {"value below, not watching the subtree", false,
       [](RegistryAccess& r, const std::string& p) {
         RegKey k(r);
         k.Create(p + "\\Sub");
         k.WriteDword("v", 1);
       },
       false},
      {"value below, watching the subtree", true,
       [](RegistryAccess& r, const std::string& p) {
         RegKey k(r);
         k.Create(p + "\\Sub");
         k.WriteDword("v", 1);
       },
       true},
      {"the watched key deleted with its subkeys", true,
       [](RegistryAccess& r, const std::string& p) {
         RegKey k(r);
         k.Open(p.substr(0, p.rfind('\\')), RegAccess::All);
         k.DeleteKeyTree(p.substr(p.rfind('\\') + 1));
       },
       true},
  };
  int serial = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string path = Path("K" + std::to_string(++serial));
    RegKey setup(*reg_);
    ASSERT_EQ(regerr::kSuccess, setup.Create(path + "\\Sub"));
    setup.Close();
    ASSERT_EQ(regerr::kSuccess, setup.Create(path));
    ASSERT_EQ(regerr::kSuccess, setup.WriteDword("old", 1));
    ASSERT_EQ(regerr::kSuccess, setup.WriteDword("v", 1));
    RegKey watched(*reg_);
    ASSERT_EQ(regerr::kSuccess, watched.Open(path, RegAccess::Read));
    Event event;
    ASSERT_EQ(regerr::kSuccess, reg_->Watch(watched.Handle(), c.subtree, regnotify::kAll, event));
    c.change(*reg_, path);
    EXPECT_EQ(c.signals, event.Wait(c.signals ? 5000 : 150));
    event.Reset();
    // Every watch ends before its event goes out of scope.
    watched.Close();
  }
}

TEST_P(RegistryContract, DeletingAWatchedLeafKeyIsNotSignalled) {
  RegKey parent(*reg_);
  ASSERT_EQ(regerr::kSuccess, parent.Create(Path("L")));
  RegKey leaf(*reg_);
  ASSERT_EQ(regerr::kSuccess, leaf.Create(Path("L\\Leaf")));
  Event event;
  ASSERT_EQ(regerr::kSuccess, reg_->Watch(leaf.Handle(), true, regnotify::kAll, event));
  ASSERT_EQ(regerr::kSuccess, parent.DeleteKeyTree("Leaf"));
  EXPECT_FALSE(event.Wait(150));
  // The watcher learns of it by asking again.
  EXPECT_EQ(regerr::kKeyDeleted, reg_->Watch(leaf.Handle(), true, regnotify::kAll, event));
  leaf.Close();
}

TEST_P(RegistryContract, ClosingAWatchedHandleSignalsItsEvent) {
  RegKey key(*reg_);
  ASSERT_EQ(regerr::kSuccess, key.Create(Path("C")));
  Event event;
  ASSERT_EQ(regerr::kSuccess, reg_->Watch(key.Handle(), true, regnotify::kAll, event));
  key.Close();
  EXPECT_TRUE(event.Wait(2000));
}

}  // namespace velkor::test
