#include <gtest/gtest.h>

#include <memory>

#include "platform/Sync.h"
#include "registry/MemoryRegistry.h"
#include "registry/RegistryContract.h"

namespace velkor::test {

INSTANTIATE_TEST_SUITE_P(Memory, RegistryContract,
                         ::testing::Values(RegistryBackend{"Memory", [] {
                           return std::unique_ptr<RegistryAccess>(new MemoryRegistry);
                         }}),
                         [](const ::testing::TestParamInfo<RegistryBackend>& info) { return info.param.label; });

namespace {

class MemoryRegistryTest : public ::testing::Test {
 protected:
  MemoryRegistryTest() { reg_.StartLog(); }
  MemoryRegistry reg_;
};

TEST_F(MemoryRegistryTest, NthWriteFailsAndOnlyThatOne) {
  RegKey key(reg_);
  ASSERT_EQ(regerr::kSuccess, key.Create("A"));
  reg_.FailNthWrite(2);
  EXPECT_EQ(regerr::kSuccess, key.WriteDword("one", 1));
  EXPECT_EQ(regerr::kWriteFault, key.WriteDword("two", 2));
  EXPECT_EQ(regerr::kSuccess, key.WriteDword("three", 3));
  EXPECT_FALSE(key.HasValue("two"));

  // Opening an existing key with Create is no write; making a new key is.
  reg_.FailNthWrite(1);
  RegKey other(reg_);
  EXPECT_EQ(regerr::kSuccess, other.Create("a"));
  EXPECT_EQ(regerr::kWriteFault, other.Create("A\\New"));
  EXPECT_FALSE(other.IsOpen());
  EXPECT_FALSE(reg_.KeyExists(RegRoot::CurrentUser, "A\\New"));
}

TEST_F(MemoryRegistryTest, OperationFaultsMatchPathOrValueNameUntilCleared) {
  RegKey key(reg_);
  ASSERT_EQ(regerr::kSuccess, key.Create("Rules\\Mail\\000"));
  ASSERT_EQ(regerr::kSuccess, key.WriteString("Name", "x"));
  reg_.FailOperation(RegOp::Query, "name", regerr::kAccessDenied);
  reg_.FailOperation(RegOp::Open, "mail\\000");
  std::string text;
  EXPECT_FALSE(key.ReadString("Name", &text));
  RegKey again(reg_);
  EXPECT_EQ(regerr::kAccessDenied, again.Open("Rules\\Mail\\000", RegAccess::Read));
  EXPECT_EQ(regerr::kSuccess, again.Open("Rules\\Mail", RegAccess::Read));
  reg_.ClearFaults();
  EXPECT_TRUE(key.ReadString("Name", &text));
  EXPECT_EQ("x", text);
}

TEST_F(MemoryRegistryTest, LogCountsOperationsWritesAndOpenHandles) {
  {
    RegKey key(reg_);
    ASSERT_EQ(regerr::kSuccess, key.Create("P\\Q"));
    EXPECT_EQ(1, reg_.OpenHandleCount());
    key.WriteDword("d", 1);
    key.DeleteValue("missing");
    std::uint32_t v;
    key.ReadDword("d", &v);
    RegKey same(reg_);
    same.Create("P\\Q");  // exists: not a write
    EXPECT_EQ(2, reg_.OpenHandleCount());
  }
  EXPECT_EQ(0, reg_.OpenHandleCount());
  EXPECT_EQ(3, reg_.CountWrites());
  EXPECT_EQ(2, reg_.CountOps(RegOp::Create));
  EXPECT_EQ(2, reg_.CountOps(RegOp::Close));
  const std::vector<RegLogEntry> log = reg_.Log();
  ASSERT_EQ(7u, log.size());  // two creates, set, delete, query, two closes
  EXPECT_EQ(RegOp::DeleteValue, log[2].op);
  EXPECT_EQ("P\\Q", log[2].path);
  EXPECT_EQ("missing", log[2].name);
  EXPECT_EQ(regerr::kFileNotFound, log[2].result);
  reg_.StartLog();
  EXPECT_EQ(0, reg_.CountWrites());
}

TEST(MemoryRegistryLogTest, OffUntilATestStartsIt) {
  MemoryRegistry reg;
  {
    RegKey key(reg);
    ASSERT_EQ(regerr::kSuccess, key.Create("P"));
    key.WriteDword("d", 1);
  }
#if GTEST_HAS_DEATH_TEST && !defined(_WIN32)
  // A count of a log nobody started would be a zero that proves nothing.
  EXPECT_DEATH(reg.CountWrites(), "never started");
#endif
  reg.StartLog();
  RegKey key(reg);
  ASSERT_EQ(regerr::kSuccess, key.Open("P", RegAccess::All));
  key.WriteDword("d", 2);
  EXPECT_EQ(1, reg.CountWrites());
  EXPECT_EQ(2u, reg.Log().size());  // the open and the write, nothing from before
}

// A key nested 100,000 levels deep (only a program, never a .reg file, can
// make one) is removed and freed without a walk that recurses per level.
TEST(MemoryRegistryDepthTest, AHundredThousandLevelsAreRemovedAndFreed) {
  std::string path = "Deep";
  for (int i = 0; i < 100000; ++i) path += "\\k";
  enum class End { FreedWithTheRegistry, DeletedAsATree, DeletedWhileTheDeepestIsOpen };
  for (End end : {End::FreedWithTheRegistry, End::DeletedAsATree, End::DeletedWhileTheDeepestIsOpen}) {
    SCOPED_TRACE(static_cast<int>(end));
    auto reg = std::make_unique<MemoryRegistry>();
    RegKey deepest(*reg);
    ASSERT_EQ(regerr::kSuccess, deepest.Create(path));
    deepest.WriteDword("v", 1);
    if (end != End::DeletedWhileTheDeepestIsOpen) deepest.Close();
    if (end != End::FreedWithTheRegistry) {
      RegKey root(*reg);
      ASSERT_EQ(regerr::kSuccess, root.Open("", RegAccess::All));
      EXPECT_EQ(regerr::kSuccess, root.DeleteKeyTree("Deep"));
      EXPECT_FALSE(reg->KeyExists(RegRoot::CurrentUser, "Deep"));
      EXPECT_EQ("[]\n", reg->Dump(RegRoot::CurrentUser, ""));
    }
    if (deepest.IsOpen()) {
      std::uint32_t v = 0;
      EXPECT_FALSE(deepest.ReadDword("v", &v));
      EXPECT_EQ(regerr::kKeyDeleted, deepest.WriteDword("v", 2));
      deepest.Close();
    }
    reg.reset();
  }
}

TEST_F(MemoryRegistryTest, RawAccessAndDumpShowTheStoredTree) {
  ASSERT_TRUE(reg_.SetRaw(RegRoot::CurrentUser, "Top\\Sub", "bin", regtype::kBinary, {0x01, 0xab}));
  ASSERT_TRUE(reg_.SetRaw(RegRoot::CurrentUser, "top", "", regtype::kSz, {'h', 'i', 0}));
  ASSERT_TRUE(reg_.SetRaw(RegRoot::LocalMachine, "Top", "other", regtype::kDword, {1, 0, 0, 0}));
  EXPECT_EQ(0, reg_.CountWrites());
  EXPECT_EQ(
      "[Top]\n"
      "\"\"=1:68,69,00\n"
      "[Top\\Sub]\n"
      "\"bin\"=3:01,ab\n",
      reg_.Dump(RegRoot::CurrentUser, "TOP"));
  EXPECT_EQ("", reg_.Dump(RegRoot::CurrentUser, "Missing"));
  std::uint32_t type = 0;
  std::vector<std::uint8_t> data;
  EXPECT_TRUE(reg_.GetRaw(RegRoot::LocalMachine, "top", "OTHER", &type, &data));
  EXPECT_EQ(regtype::kDword, type);
  EXPECT_FALSE(reg_.GetRaw(RegRoot::CurrentUser, "Top", "other", &type, &data));
  EXPECT_TRUE(reg_.KeyExists(RegRoot::LocalMachine, "TOP"));
  EXPECT_FALSE(reg_.KeyExists(RegRoot::LocalMachine, "Top\\Sub"));
}

TEST_F(MemoryRegistryTest, RawWritesWakeWatchersLikeAnotherProgram) {
  RegKey key(reg_);
  ASSERT_EQ(regerr::kSuccess, key.Create("Watched"));
  Event event;
  ASSERT_EQ(regerr::kSuccess, reg_.Watch(key.Handle(), true, regnotify::kAll, event));
  reg_.SetRaw(RegRoot::CurrentUser, "Watched\\Deep", "v", regtype::kDword, {1, 0, 0, 0});
  EXPECT_TRUE(event.Wait(0));
}

TEST_F(MemoryRegistryTest, RewritingTheSameValueNotifiesNoOne) {
  // Wine skips a write that changes nothing, and so do we, so that tests and
  // the product see the same notifications.
  RegKey key(reg_);
  ASSERT_EQ(regerr::kSuccess, key.Create("Same"));
  ASSERT_EQ(regerr::kSuccess, key.WriteDword("v", 1));
  Event event;
  ASSERT_EQ(regerr::kSuccess, reg_.Watch(key.Handle(), false, regnotify::kAll, event));
  ASSERT_EQ(regerr::kSuccess, key.WriteDword("v", 1));
  EXPECT_FALSE(event.Wait(0));
  ASSERT_EQ(regerr::kSuccess, key.WriteBytes("v", "\x01\x00\x00\x00", 4));  // same bytes, other type
  EXPECT_TRUE(event.Wait(0));
}

TEST_F(MemoryRegistryTest, BadPathsAndHandlesAreRefused) {
  RegHandle h = kNoRegHandle;
  EXPECT_EQ(regerr::kBadPathname, reg_.CreateKey("\\Lead", &h));
  EXPECT_EQ(regerr::kBadPathname, reg_.CreateKey("Double\\\\Slash", &h));
  EXPECT_EQ(regerr::kInvalidHandle, reg_.SetValue(999, "x", regtype::kDword, "1234", 4));
  // A second byte of 0x5C inside a double-byte character is no separator.
  RegKey key(reg_);
  ASSERT_EQ(regerr::kSuccess, key.Create("表\\示"));
  EXPECT_TRUE(reg_.KeyExists(RegRoot::CurrentUser, "表"));
  RegKey parent(reg_);
  ASSERT_EQ(regerr::kSuccess, parent.Open("表", RegAccess::Read));
  EXPECT_EQ(std::vector<std::string>{"示"}, parent.SubKeyNames());
  RegKey root(reg_);
  ASSERT_EQ(regerr::kSuccess, root.Open("", RegAccess::All));
  EXPECT_EQ(std::vector<std::string>{"表"}, root.SubKeyNames());
  EXPECT_EQ(regerr::kInvalidParameter, root.DeleteKeyTree(""));
}

TEST_F(MemoryRegistryTest, FullWidthLettersMatchWithoutRegardToCase) {
  RegKey key(reg_);
  ASSERT_EQ(regerr::kSuccess, key.Create("ａｂｃ"));
  EXPECT_TRUE(reg_.KeyExists(RegRoot::CurrentUser, "ＡＢＣ"));
  EXPECT_FALSE(reg_.KeyExists(RegRoot::CurrentUser, "ABC"));
}

}  // namespace
}  // namespace velkor::test
