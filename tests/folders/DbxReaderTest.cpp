// The dbx reader against files of the writer, intact and damaged.

#include <gtest/gtest.h>

#include <random>
#include <sstream>

#include "DbxWriter.h"
#include "folders/Dbx.h"
#include "folders/MailFolderList.h"

namespace velkor {
namespace {

using dbxwriter::FolderSpec;
using Bytes = std::vector<std::uint8_t>;

std::istringstream StreamOf(const Bytes& b) {
  return std::istringstream(std::string(b.begin(), b.end()), std::ios::binary);
}

MailFolderList Read(const Bytes& b) {
  auto in = StreamOf(b);
  MailFolderList list;
  list.ReadFrom(in);
  return list;
}

std::vector<FolderSpec> Numbered(std::size_t n) {
  std::vector<FolderSpec> f;
  for (std::size_t i = 0; i < n; ++i) {
    const auto id = static_cast<std::uint32_t>(i + 1);
    f.push_back({id * 7 + 0x1000000 * (i % 3 == 0), id / 2, "フォルダ" + std::to_string(i)});
  }
  return f;
}

void PutInt4(Bytes& b, std::size_t at, std::uint32_t v) {
  for (int k = 0; k < 4; ++k) b[at + k] = static_cast<std::uint8_t>(v >> (8 * k));
}

void ExpectSame(const std::vector<FolderSpec>& want, const MailFolderList& got) {
  ASSERT_EQ(got.Count(), want.size());
  for (std::size_t i = 0; i < want.size(); ++i) {
    EXPECT_EQ(got.Id(i), want[i].id) << i;
    EXPECT_EQ(got.ParentId(i), want[i].parentId) << i;
    EXPECT_EQ(got.Name(i), want[i].name) << i;
  }
}

TEST(DbxRoundTrip, EveryTreeSizeUpTo500GivesBackTheFoldersAndStamp) {
  dbxwriter::Options options;
  options.fileTime = {{0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77, 0x88}};
  for (std::size_t n = 1; n <= 500; ++n) {
    const auto folders = Numbered(n);
    const auto list = Read(dbxwriter::WriteFoldersDbx(folders, options));
    SCOPED_TRACE(n);
    ExpectSame(folders, list);
    EXPECT_EQ(list.Stamp().first, 0x44332211u);
    EXPECT_EQ(list.Stamp().second, 0x776655u);  // byte 7 of the block is not part of the stamp
  }
}

TEST(DbxRoundTrip, DeepTreesWithSmallNodesAndNumbersInTheDataField) {
  struct Case {
    unsigned capacity;
    std::size_t folders;
    bool numbersInData;
  };
  const Case cases[] = {{1, 1, false}, {1, 2, true}, {1, 255, false}, {2, 100, true},
                        {3, 500, false}, {7, 333, true}, {51, 52, false}, {51, 2703, true}};
  for (const auto& c : cases) {
    dbxwriter::Options options;
    options.nodeCapacity = c.capacity;
    options.numbersInData = c.numbersInData;
    dbxwriter::Layout layout;
    const auto folders = Numbered(c.folders);
    const auto bytes = dbxwriter::WriteFoldersDbx(folders, options, &layout);
    SCOPED_TRACE(testing::Message() << c.capacity << " per node, " << c.folders << " folders");
    ExpectSame(folders, Read(bytes));
    if (c.folders > c.capacity) {
      EXPECT_GT(layout.nodeOffsets.size(), 1u);
    }
  }
}

TEST(DbxRoundTrip, RecordsWithoutANameAreSkippedAndEmptyTreeGivesNoFolders) {
  std::vector<FolderSpec> folders = {{1, 0, "a"}, {2, 1, "", false}, {3, 1, ""}};
  const auto list = Read(dbxwriter::WriteFoldersDbx(folders));
  ASSERT_EQ(list.Count(), 2u);
  EXPECT_EQ(list.Id(1), 3u);
  EXPECT_EQ(list.Name(1), "");

  const auto empty = Read(dbxwriter::WriteFoldersDbx({}));
  EXPECT_EQ(empty.Count(), 0u);
  EXPECT_NE(empty.Stamp(), StoreStamp{});  // the stamp does not need a tree
}

TEST(DbxIndexedInfo, DecodesTheDocumentedRecord) {
  const Bytes record = {0x00, 0xBA, 0x00, 0x00, 0x1C, 0x00, 0x00, 0x00, 0x00, 0x00, 0x04, 0x01, 0x80,
                        0x0A, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x02, 0x04, 0x00, 0x00, 0x84, 0xF0,
                        0x30, 0x00, 0x07, 0x09, 0x00, 0x00, 0x80, 0x09, 0x12, 0x56, 0x26, 0x09, 0x81, 0x1B};
  Bytes file(0xBA00, 0);
  file.insert(file.end(), record.begin(), record.end());
  auto in = StreamOf(file);
  const DbxFolderInfo info(in, 0xBA00);
  ASSERT_TRUE(info.IsValid());
  EXPECT_EQ(info.Id(), 0x0Au);
  EXPECT_EQ(info.ParentId(), 0x907u);
  EXPECT_EQ(info.GetValue(4), 0x30F0u);
  EXPECT_TRUE(info.IsFolder());
  EXPECT_EQ(info.Name(), std::string("\x80\x09\x12\x56\x26\x09\x81\x1B"));  // runs to the end of the data
  EXPECT_FALSE(info.Holds(3));

  auto in2 = StreamOf(file);
  EXPECT_FALSE(DbxIndexedInfo(in2, 0xB9FC).IsValid());  // marker differs from the address
}

TEST(DbxDamage, EveryTruncationGivesAPrefixOfTheFolders) {
  dbxwriter::Options options;
  options.nodeCapacity = 4;
  const auto folders = Numbered(40);
  const auto full = dbxwriter::WriteFoldersDbx(folders, options);
  const auto whole = Read(full);
  for (std::size_t len = 0; len < full.size(); len += (len < 0x2600 ? 1 : 3)) {
    const Bytes cut(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(len));
    const auto list = Read(cut);
    SCOPED_TRACE(len);
    if (len < 0x24BC) {
      EXPECT_EQ(list.Stamp(), StoreStamp{});
      EXPECT_EQ(list.Count(), 0u);
      continue;
    }
    EXPECT_EQ(list.Stamp(), len < 0x24BC + 7 ? StoreStamp{} : whole.Stamp());
    ASSERT_LE(list.Count(), folders.size());
    // Records come before the nodes: a file cut inside the records still has
    // no tree; once the tree is complete every folder is back.
    for (std::size_t i = 0; i < list.Count(); ++i) {
      const auto it = std::find_if(folders.begin(), folders.end(), [&](const FolderSpec& f) { return f.id == list.Id(i); });
      ASSERT_NE(it, folders.end());
      EXPECT_EQ(list.Name(i).compare(0, list.Name(i).size(), it->name, 0, list.Name(i).size()), 0);
    }
  }
}

TEST(DbxDamage, BadNodesAreLeftOutWithTheirSubtrees) {
  dbxwriter::Options options;
  options.nodeCapacity = 2;
  const auto folders = Numbered(8);  // root with children: several nodes
  dbxwriter::Layout layout;
  const auto intact = dbxwriter::WriteFoldersDbx(folders, options, &layout);
  ASSERT_GE(layout.nodeOffsets.size(), 3u);
  const std::uint32_t root = layout.nodeOffsets[0];
  const std::uint32_t child = layout.nodeOffsets[1];

  struct Case {
    const char* what;
    void (*damage)(Bytes&, std::uint32_t root, std::uint32_t child);
    bool expectSome;
  };
  const Case cases[] = {
      {"child points back to the root", [](Bytes& b, std::uint32_t r, std::uint32_t c) { PutInt4(b, c + 0x08, r); PutInt4(b, c + 0x18 + 4, c); }, true},
      {"root's left child is itself", [](Bytes& b, std::uint32_t r, std::uint32_t) { PutInt4(b, r + 0x08, r); }, true},
      {"child marker wrong", [](Bytes& b, std::uint32_t, std::uint32_t c) { PutInt4(b, c, c + 1); }, true},
      {"root marker wrong", [](Bytes& b, std::uint32_t r, std::uint32_t) { PutInt4(b, r, 0); }, false},
      {"root entry count above 0x33", [](Bytes& b, std::uint32_t r, std::uint32_t) { b[r + 0x11] = 0x34; }, false},
      {"child pointer past the end", [](Bytes& b, std::uint32_t r, std::uint32_t) { PutInt4(b, r + 0x18 + 4, 0xFFFFFFF0u); }, true},
      {"root pointer past the end", [](Bytes& b, std::uint32_t, std::uint32_t) { PutInt4(b, 0xE4, 0x7FFFFFFFu); }, false},
      {"count far above the tree", [](Bytes& b, std::uint32_t, std::uint32_t) { PutInt4(b, 0xC4, 0xFFFFFFFFu); }, true},
  };
  for (const auto& c : cases) {
    Bytes b = intact;
    c.damage(b, root, child);
    const auto list = Read(b);
    SCOPED_TRACE(c.what);
    EXPECT_LE(list.Count(), folders.size());
    EXPECT_EQ(list.Count() > 0, c.expectSome);
    for (std::size_t i = 0; i < list.Count(); ++i) {
      for (std::size_t j = i + 1; j < list.Count(); ++j) EXPECT_NE(list.Id(i), list.Id(j)) << "a node was read twice";
    }
  }
}

TEST(DbxDamage, RecordsThatRunPastTheirBodyOrTheFile) {
  const std::vector<FolderSpec> folders = {{1, 0, "ローカル"}, {4, 1, "受信トレイ"}};
  dbxwriter::Layout layout;
  const auto intact = dbxwriter::WriteFoldersDbx(folders, {}, &layout);
  const std::uint32_t rec = layout.recordOffsets[1];

  {  // name offset beyond the data field: no index 2, the record is skipped
    Bytes b = intact;
    b[rec + 12 + 2 * 4 + 1] = 0xF0;
    EXPECT_EQ(Read(b).Count(), 1u);
  }
  {  // index count far above the body: only entries inside the body count
    Bytes b = intact;
    b[rec + 0x0A] = 0xFF;
    const auto list = Read(b);
    EXPECT_EQ(list.Count(), 1u);
  }
  {  // a body length reaching past the end of the file reads what is there
    Bytes b = intact;
    PutInt4(b, rec + 4, 0xFFFFFFF0u);
    const auto list = Read(b);
    ASSERT_EQ(list.Count(), 2u);
    EXPECT_EQ(list.Name(1), "受信トレイ");
  }
  {  // a record at the very end of the file whose name has no NUL stops at the end
    Bytes b = intact;
    const auto at = static_cast<std::uint32_t>(b.size());
    const Bytes tail = {0, 0, 0, 0, 0x20, 0, 0, 0, 0, 0, 2, 0, 0x80, 4, 0, 0, 0x02, 0, 0, 0, 'a', 'b'};
    b.insert(b.end(), tail.begin(), tail.end());
    PutInt4(b, at, at);
    PutInt4(b, layout.nodeOffsets[0] + 0x18 + 12, at);  // the root's second value
    const auto list = Read(b);
    ASSERT_EQ(list.Count(), 2u);
    EXPECT_EQ(list.Id(1), 4u);
    EXPECT_EQ(list.ParentId(1), 0u);
    EXPECT_EQ(list.Name(1), "ab");
  }
}

TEST(DbxDamage, ARecordIsReadOnlyUpToTheNextOne) {
  const std::vector<FolderSpec> folders = {{1, 0, "ローカル"}, {4, 1, "受信トレイ"}, {5, 1, "送信トレイ"}};
  dbxwriter::Layout layout;
  const auto intact = dbxwriter::WriteFoldersDbx(folders, {}, &layout);
  const std::uint32_t first = layout.recordOffsets[0];
  const std::uint32_t second = layout.recordOffsets[1];
  // The first record's name and the bytes after it, up to the second record.
  const std::size_t nameEnd = std::string(intact.begin() + first, intact.begin() + second).find("ローカル") + 8;
  struct Case {
    const char* what;
    void (*damage)(Bytes& b, std::uint32_t first, std::uint32_t second, std::size_t nameEnd);
    std::vector<FolderSpec> want;
  };
  const Case cases[] = {
      {"a body length reaching far over the next records",
       [](Bytes& b, std::uint32_t first, std::uint32_t, std::size_t) { PutInt4(b, first + 4, 0x10000); }, folders},
      {"a name without its NUL ends where the next record begins",
       [](Bytes& b, std::uint32_t first, std::uint32_t second, std::size_t nameEnd) {
         PutInt4(b, first + 4, 0x10000);
         std::fill(b.begin() + first + nameEnd, b.begin() + second, std::uint8_t{'x'});
       },
       {{1, 0, "ローカル" + std::string(second - first - nameEnd, 'x')}, folders[1], folders[2]}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Bytes b = intact;
    c.damage(b, first, second, nameEnd);
    ExpectSame(c.want, Read(b));
  }
}

TEST(DbxDamage, WrongSignatureOrGarbageGivesNothingAndNoStamp) {
  auto b = dbxwriter::WriteFoldersDbx(Numbered(5));
  Bytes message = b;
  message[4] = 0xC5;  // a message file, not the folder file
  EXPECT_EQ(Read(message).Count(), 0u);
  EXPECT_EQ(Read(message).Stamp(), StoreStamp{});

  // Random bytes behind a valid signature: whatever comes back, no read goes
  // out of bounds (the sanitizer build checks) and the walk ends.
  std::mt19937 rng(6);
  for (int round = 0; round < 200; ++round) {
    Bytes g(0x24BC + 0x108 + (rng() % 4096));
    for (auto& x : g) x = static_cast<std::uint8_t>(rng());
    std::copy(b.begin(), b.begin() + 8, g.begin());
    PutInt4(g, 0xE4, 0x24BC + 0x108 + (rng() % 64) * 4);
    const auto list = Read(g);
    EXPECT_LE(list.Count(), g.size() / 16);
  }
}

}  // namespace
}  // namespace velkor
