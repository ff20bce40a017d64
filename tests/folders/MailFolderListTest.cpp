// The folder list on disk, folder references and the tree build order.

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <functional>

#include "DbxWriter.h"
#include "folders/FolderTreeOrder.h"
#include "folders/MailFolderList.h"

namespace velkor {
namespace {

using dbxwriter::FolderSpec;
namespace fs = std::filesystem;

class StoreDir : public testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("velkor-folders-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                                        testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(dir_);
    root_ = dir_.string() + "/";
  }
  void TearDown() override { fs::remove_all(dir_); }
  void Write(const std::vector<FolderSpec>& folders, const dbxwriter::Options& o = {}) {
    ASSERT_TRUE(dbxwriter::WriteFoldersDbxFile(root_ + "Folders.dbx", folders, o));
  }
  fs::path dir_;
  std::string root_;
};

TEST_F(StoreDir, LoadReloadAndMissingFile) {
  MailFolderList list;
  EXPECT_EQ(list.Load(root_), 0u);  // no file yet
  EXPECT_EQ(list.Stamp(), StoreStamp{});

  Write({{1, 0, "ローカル フォルダ"}, {4, 1, "受信トレイ"}});
  EXPECT_EQ(list.Load(root_), 2u);
  EXPECT_EQ(list.FilePath(), root_ + "Folders.dbx");
  EXPECT_EQ(list.Name(1), "受信トレイ");
  EXPECT_NE(list.Stamp(), StoreStamp{});

  MailFolderList before = list;
  Write({{1, 0, "ローカル フォルダ"}, {4, 1, "受信トレイ"}, {9, 1, "仕事"}});
  EXPECT_EQ(list.Reload(), 3u);
  EXPECT_FALSE(list.SameContents(before));
  before = list;
  EXPECT_EQ(list.Reload(), 3u);
  EXPECT_TRUE(list.SameContents(before));

  fs::remove(root_ + "Folders.dbx");
  EXPECT_EQ(list.Reload(), 0u);
  EXPECT_EQ(list.Stamp(), StoreStamp{});  // the old stamp does not survive

  Write({{1, 0, "x"}});
  EXPECT_EQ(list.Load(""), 0u);
  EXPECT_EQ(list.Reload(), 0u);
  EXPECT_EQ(list.Stamp(), StoreStamp{});
}

TEST(MailFolderListPath, SeparatorIsAddedOnlyWhenMissing) {
  struct Case {
    const char* root;
    const char* path;
  };
  const Case cases[] = {
      {"C:\\Store\\", "C:\\Store\\Folders.dbx"},
      {"C:\\Store", "C:\\Store\\Folders.dbx"},
      // the second byte of 表 is 0x5C: it does not end the folder name
      {"C:\\表", "C:\\表\\Folders.dbx"},
      {"C:\\表\\", "C:\\表\\Folders.dbx"},
  };
  for (const auto& c : cases) {
    MailFolderList list;
    list.Load(c.root);
    EXPECT_EQ(list.FilePath(), c.path) << c.root;
  }
}

TEST_F(StoreDir, FolderReferencesAreHeldOnlyForThisStore) {
  dbxwriter::Options o;
  o.fileTime = {{0xA1, 0xB2, 0xC3, 0xD4, 0xE5, 0xF6, 0x07, 0x18}};
  Write({{1, 0, "ローカル フォルダ"}, {12, 11, "親が後"}, {11, 1, "親"}, {0x12345678, 99, "大きい番号"}}, o);
  MailFolderList list;
  ASSERT_EQ(list.Load(root_), 4u);
  EXPECT_EQ(list.Stamp().first, 0xD4C3B2A1u);
  EXPECT_EQ(list.Stamp().second, 0x07F6E5u);
  EXPECT_EQ(StampPlaceholderText(list.Stamp()), "D4C3B2A1");

  const auto ref = MakeFolderRef(list.Stamp(), 12);
  const FolderRefBytes want = {0xA1, 0xB2, 0xC3, 0xD4, 0xE5, 0xF6, 0x07, 1, 12, 0, 0, 0};
  EXPECT_EQ(ref, want);
  EXPECT_EQ(FolderRefFolderId(ref.data(), ref.size()), 12u);
  EXPECT_TRUE(list.Holds(ref));  // its parent comes later, so it is not shown, but it is held
  EXPECT_TRUE(list.Holds(MakeFolderRef(list.Stamp(), 0x12345678)));
  EXPECT_FALSE(list.Holds(MakeFolderRef(list.Stamp(), 13)));
  EXPECT_FALSE(list.Holds(ref.data(), 11));
  for (std::size_t k = 0; k < 8; ++k) {
    auto bad = ref;
    bad[k] ^= (k == 7) ? 1 : 0x40;  // byte 7 becomes 0
    EXPECT_FALSE(list.Holds(bad)) << "byte " << k;
  }

  MailFolderList empty;
  empty.Load(root_ + "missing/");
  EXPECT_EQ(StampPlaceholderText(empty.Stamp()), "00000000");
  const auto zeroRef = MakeFolderRef(StoreStamp{}, 1);
  EXPECT_FALSE(empty.Holds(zeroRef));
  EXPECT_TRUE(FolderRefMatchesStore(zeroRef.data(), zeroRef.size(), empty.Stamp()));
}

// The tree a sequence of insertions produces, as indented lines in display order.
std::vector<std::string> Render(const std::vector<FolderTreeInsertion>& ins) {
  std::vector<std::vector<int>> children(ins.size());
  std::vector<int> roots;
  for (std::size_t i = 0; i < ins.size(); ++i) {
    auto& siblings = ins[i].parent == FolderTreeInsertion::kRoot ? roots : children[ins[i].parent];
    EXPECT_LT(ins[i].parent, static_cast<int>(i)) << "parent inserted later";
    if (ins[i].first)
      siblings.insert(siblings.begin(), static_cast<int>(i));
    else
      siblings.push_back(static_cast<int>(i));
  }
  std::vector<std::string> lines;
  std::function<void(int, int)> walk = [&](int item, int depth) {
    lines.push_back(std::string(depth, ' ') + std::to_string(ins[item].folderId) + ":" +
                    std::to_string(ins[item].image));
    for (int c : children[item]) walk(c, depth + 1);
  };
  for (int r : roots) walk(r, 0);
  return lines;
}

MailFolderList ListOf(const std::vector<FolderSpec>& folders) {
  const auto bytes = dbxwriter::WriteFoldersDbx(folders);
  std::istringstream in(std::string(bytes.begin(), bytes.end()), std::ios::binary);
  MailFolderList list;
  list.ReadFrom(in);
  return list;
}

TEST(FolderTreeOrder, BuildsTheTreeInTheFixedOrder) {
  struct Case {
    const char* what;
    std::vector<FolderSpec> folders;
    std::vector<std::string> tree;
  };
  const Case cases[] = {
      {"special folders ascend, user folders keep the file order",
       {{0, 0, "root"}, {1, 0, "L"}, {10, 1, "u10"}, {6, 1, "s6"}, {2, 1, "s2"}, {8, 1, "s8"}, {3, 1, "s3"},
        {9, 1, "u9"}, {5, 1, "s5"}, {4, 1, "s4"}, {7, 1, "s7"}},
       {"0:0", " 1:1", "  2:7", "  3:7", "  4:2", "  5:3", "  6:4", "  7:5", "  8:6", "  10:7", "  9:7"}},
      {"a user folder whose parent comes later is left out",
       {{1, 0, "L"}, {12, 11, "child first"}, {11, 1, "parent"}, {13, 11, "child after"}},
       {"0:0", " 1:1", "  11:7", "   13:7"}},
      {"only the first folder 1; folder 0 and user folders under 0 never show",
       {{1, 0, "L"}, {1, 0, "again"}, {0, 1, "zero"}, {20, 0, "top level user"}, {21, 1, "ok"}},
       {"0:0", " 1:1", "  21:7"}},
      {"nested user folders and a user folder under a special folder",
       {{1, 0, "L"}, {4, 1, "in"}, {9, 1, "a"}, {10, 9, "b"}, {11, 10, "c"}, {12, 4, "under inbox"}},
       {"0:0", " 1:1", "  4:2", "   12:7", "  9:7", "   10:7", "    11:7"}},
      {"a special folder whose parent is missing is left out; one with parent 0 goes to the top",
       {{1, 0, "L"}, {5, 77, "lost"}, {6, 0, "top"}},
       {"0:0", " 6:4", " 1:1"}},
      {"no folder 1 at all", {{4, 1, "in"}, {9, 1, "u"}}, {"0:0"}},
  };
  for (const auto& c : cases) {
    const auto ins = FolderTreeInsertions(ListOf(c.folders));
    EXPECT_EQ(Render(ins), c.tree) << c.what;
    EXPECT_EQ(ins[0].text, "Outlook Express");
  }
}

TEST(FolderTreeOrder, FiveHundredUserFoldersStayInFileOrder) {
  std::vector<FolderSpec> folders = {{1, 0, "L"}};
  for (std::uint32_t id = 600; id > 100; --id) folders.push_back({id, id == 600 ? 1 : id + 1, "f"});
  const auto ins = FolderTreeInsertions(ListOf(folders));
  ASSERT_EQ(ins.size(), 502u);
  for (std::size_t i = 2; i < ins.size(); ++i) EXPECT_EQ(ins[i].parent, static_cast<int>(i) - 1);
}

}  // namespace
}  // namespace velkor
